// Placement, the fade and the browser lookup of the popup.
#include <gtest/gtest.h>

#include "tip_popup/browser_command.h"
#include "tip_popup/placement.h"
#include "tip_popup/text_tip_fade.h"

namespace {

const TipRect kWork{0, 0, 1280, 994};  // a 1280 x 1024 screen with a 30-pixel taskbar below

TEST(Placement, FlashTipsInTheFiveCornersAndTheFallback) {
  EXPECT_EQ(FlashTipRect(kWork, 300, 200, 0), (TipRect{0, 0, 300, 200}));
  EXPECT_EQ(FlashTipRect(kWork, 300, 200, 1), (TipRect{980, 0, 1280, 200}));
  EXPECT_EQ(FlashTipRect(kWork, 300, 200, 2), (TipRect{980, 794, 1280, 994}));
  EXPECT_EQ(FlashTipRect(kWork, 300, 200, 3), (TipRect{0, 794, 300, 994}));
  EXPECT_EQ(FlashTipRect(kWork, 301, 201, 4), (TipRect{489, 396, 790, 597}));
  EXPECT_EQ(FlashTipRect(kWork, 300, 200, 9), kWork);
  EXPECT_EQ(FlashTipRect(kWork, 300, 200, -1), kWork);
  // Absurd sizes stay within what a window can be.
  EXPECT_EQ(FlashTipRect(kWork, 1LL << 40, -(1LL << 40), 0), (TipRect{0, 0, 32767, -32767}));
}

TEST(Placement, TextTipsStackUpwardFourPixelsApart) {
  const TipRect first = TextTipRect(kWork, std::nullopt);
  EXPECT_EQ(first, (TipRect{1020, 807, 1276, 990}));
  const TipRect second = TextTipRect(kWork, first.top);
  EXPECT_EQ(second, (TipRect{1020, 620, 1276, 803}));
  EXPECT_EQ(second.width(), 256);
  EXPECT_EQ(second.height(), 183);
}

TEST(TextTipFade, FadesInInStepsOf25ThenHolds) {
  TextTipFade fade;
  std::vector<int> steps;
  while (fade.fading_in()) {
    fade.OnFadeInTick();
    steps.push_back(fade.alpha());
  }
  EXPECT_EQ(steps, (std::vector<int>{25, 50, 75, 100, 125, 150, 175, 200, 225, 250, 255}));
}

TEST(TextTipFade, ClosesAfterSevenPeriodsWithoutFading) {
  TextTipFade fade;
  for (int i = 0; i < 6; ++i) fade.OnLifeTick();
  EXPECT_FALSE(fade.closed());
  fade.OnLifeTick();
  EXPECT_TRUE(fade.closed());
  EXPECT_FALSE(fade.fading_out());
}

TEST(TextTipFade, ACloseClickDuringFadeInFadesOutFromWhereItIs) {
  TextTipFade fade;
  for (int i = 0; i < 3; ++i) fade.OnFadeInTick();
  ASSERT_EQ(fade.alpha(), 75);
  EXPECT_EQ(fade.OnClick(u"Close"), TextTipFade::Click::kClose);
  EXPECT_FALSE(fade.fading_in());
  EXPECT_TRUE(fade.fading_out());
  fade.OnFadeOutTick();
  fade.OnFadeOutTick();
  EXPECT_FALSE(fade.closed());
  fade.OnFadeOutTick();
  EXPECT_EQ(fade.alpha(), 0);
  EXPECT_TRUE(fade.closed());
}

TEST(TextTipFade, TitleAndViewOpenTheLinkOtherIdsDoNothing) {
  TextTipFade fade;
  EXPECT_EQ(fade.OnClick(u"bg"), TextTipFade::Click::kNone);
  EXPECT_TRUE(fade.fading_in());
  EXPECT_EQ(fade.OnClick(u"MAINTEXT"), TextTipFade::Click::kOpenLink);
  EXPECT_EQ(TextTipFade().OnClick(u"view"), TextTipFade::Click::kOpenLink);
}

TEST(BrowserProgram, QuotedPathOrTheFallback) {
  EXPECT_EQ(BrowserProgram(u"\"C:\\Program Files\\Web\\browser.exe\" -osint -url \"%1\""),
            u"C:\\Program Files\\Web\\browser.exe");
  EXPECT_EQ(BrowserProgram(u"C:\\browser.exe %1"), u"IEXPLORE.EXE");
  // Not of the quoted form: the quote inside does not make a program path.
  EXPECT_EQ(BrowserProgram(u"C:\\browser.exe \"%1\""), u"IEXPLORE.EXE");
  EXPECT_EQ(BrowserProgram(std::nullopt), u"IEXPLORE.EXE");
  EXPECT_EQ(BrowserProgram(u"\""), u"IEXPLORE.EXE");
  EXPECT_EQ(BrowserProgram(u"\"\" x"), u"");
}

}  // namespace
