#pragma once
// The tips window: six pages of hints, one at a time, with a counter; "下一条(&N)" steps to the
// next page (after the sixth, the first), "关闭(&C)" closes.
#include "play/model/secondary_names.h"
#include "play/model/window_model.h"

// The window's design client size, in twips.
inline constexpr long kTipsWidthTwips = 5475;
inline constexpr long kTipsHeightTwips = 2655;

WindowModel MakeTipsWindowDesign();

class TipsWindow {
 public:
  TipsWindow() : model_(MakeTipsWindowDesign()) {}

  void cmdnext_Click();
  void OnClick(const ControlId& id);
  int page() const { return page_; }
  WindowModel& model() { return model_; }
  bool unload_requested() const { return unload_requested_; }
  void Unload() { unload_requested_ = true; }

 private:
  WindowModel model_;
  int page_ = 0;  // TipPageIndex
  bool unload_requested_ = false;
};
