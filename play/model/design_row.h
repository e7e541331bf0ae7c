#pragma once
// One row of a window's design table: a control as the designer placed it.
#include <string>
#include <vector>

#include "play/model/window_model.h"

struct DesignRow {
  ControlName name;
  int index = -1;
  ControlKind kind = ControlKind::kPictureBox;
  ControlName parent;
  int parent_index = -1;
  long left = 0, top = 0, width = 0, height = 0;
  const char16_t* caption = u"";
  const char16_t* tip = u"";
  bool visible = true;
  Color back = Rgb(255, 255, 255);
  Color fore = Rgb(0, 0, 0);
  bool auto_size = false;
};

inline Control ControlOfRow(const DesignRow& row) {
  Control control;
  control.id = ControlId{row.name, row.index};
  control.kind = row.kind;
  control.parent = ControlId{row.parent, row.parent_index};
  control.left = row.left;
  control.top = row.top;
  control.width = row.width;
  control.height = row.height;
  control.caption = row.caption;
  control.tool_tip = row.tip;
  control.visible = row.visible;
  control.back_color = row.back;
  control.fore_color = row.fore;
  control.auto_size = row.auto_size;
  return control;
}

// A designed window: its controls and timers, its caption, and its design client size (twips),
// which is also its inner size until it is first laid out.
inline WindowModel DesignedWindow(std::vector<Control> controls, std::vector<TimerSpec> timers, std::u16string caption,
                                  long width_twips, long height_twips) {
  WindowModel model(std::move(controls), std::move(timers));
  model.caption = std::move(caption);
  model.width_twips = width_twips;
  model.height_twips = height_twips;
  model.scale_width = width_twips / kTwipsPerPixel;
  model.scale_height = height_twips / kTwipsPerPixel;
  return model;
}
