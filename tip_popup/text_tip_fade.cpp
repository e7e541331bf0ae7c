#include "tip_popup/text_tip_fade.h"

namespace {
bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    auto fold = [](char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; };
    if (fold(a[i]) != fold(b[i])) return false;
  }
  return true;
}
}  // namespace

void TextTipFade::OnFadeInTick() {
  if (closed_) return;
  alpha_ += kStep;
  if (alpha_ > 254) {
    fading_in_ = false;
    alpha_ = 255;
  }
}

void TextTipFade::OnFadeOutTick() {
  if (closed_) return;
  alpha_ -= kStep;
  if (alpha_ <= 0) {
    fading_out_ = false;
    alpha_ = 0;
    closed_ = true;
  }
}

void TextTipFade::OnLifeTick() {
  if (closed_) return;
  if (--remaining_ <= 0) {
    // Time is up: the window closes at once, without a fade.
    life_running_ = false;
    closed_ = true;
  }
}

TextTipFade::Click TextTipFade::OnClick(std::u16string_view id) {
  if (closed_) return Click::kNone;
  Click click = Click::kNone;
  if (EqualsNoCase(id, u"close")) click = Click::kClose;
  else if (EqualsNoCase(id, u"maintext") || EqualsNoCase(id, u"view")) click = Click::kOpenLink;
  if (click != Click::kNone) {
    fading_in_ = false;
    fading_out_ = true;
  }
  return click;
}
