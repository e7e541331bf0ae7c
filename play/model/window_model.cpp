#include "play/model/window_model.h"

#include "common/text/utf.h"

WindowModel::WindowModel(std::vector<Control> controls, std::vector<TimerSpec> timers)
    : controls_(std::move(controls)), timers_(std::move(timers)) {}

Control* WindowModel::Find(const ControlId& id) {
  for (Control& control : controls_) {
    if (control.id == id) return &control;
  }
  return nullptr;
}

Control& WindowModel::operator()(ControlName name, int index) {
  if (Control* control = Find({name, index})) return *control;
  throw std::out_of_range("no control " + Utf16ToUtf8(ControlText({name, index})));
}

const Control& WindowModel::operator()(ControlName name, int index) const {
  return const_cast<WindowModel&>(*this)(name, index);
}

std::vector<Control*> WindowModel::Array(ControlName name) {
  std::vector<Control*> members;
  for (Control& control : controls_) {
    if (control.id.name == name && control.id.index >= 0) members.push_back(&control);
  }
  return members;
}

TimerSpec& WindowModel::Timer(TimerName name) {
  for (TimerSpec& timer : timers_) {
    if (timer.name == name) return timer;
  }
  throw std::out_of_range("no timer " + Utf16ToUtf8(name.text()));
}

std::u16string ControlText(const ControlId& id) {
  if (id.index < 0) return id.name.str();
  const std::string index = std::to_string(id.index);
  return id.name.str() + u"(" + std::u16string(index.begin(), index.end()) + u")";
}
