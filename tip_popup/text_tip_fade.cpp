#include "tip_popup/text_tip_fade.h"

#include "common/text/ascii_case.h"

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
  if (EqualsIgnoringAsciiCase(id, u"close")) click = Click::kClose;
  else if (EqualsIgnoringAsciiCase(id, u"maintext") || EqualsIgnoringAsciiCase(id, u"view")) click = Click::kOpenLink;
  if (click != Click::kNone) {
    fading_in_ = false;
    fading_out_ = true;
  }
  return click;
}
