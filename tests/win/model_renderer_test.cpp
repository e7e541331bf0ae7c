// The renderer mirrors a model into child windows and reports clicks by name and index.
#include <windows.h>

#include <gtest/gtest.h>

#include "play/model/ba1_names.h"
#include "play/win32/model_renderer_win32.h"
#include "tests/win/message_pump.h"
#include "tests/win/real_input.h"

namespace {

WindowModel SmallModel() {
  Control panel;
  panel.id = {ba1::zz, -1};
  panel.left = 10, panel.top = 20, panel.width = 200, panel.height = 100;
  Control button;
  button.id = {ba1::npc, 4};
  button.parent = {ba1::zz, -1};
  button.left = 5, button.top = 6, button.width = 21, button.height = 19;
  button.tool_tip = u"置顶";
  Control label;
  label.id = {ba1::bo_name, -1};
  label.kind = ControlKind::kLabel;
  label.parent = {ba1::zz, -1};
  label.left = 30, label.top = 6, label.width = 100, label.height = 14;
  label.caption = u"第1集.rmvb";
  Control pane;
  pane.id = {ba1::Web1, -1};
  pane.kind = ControlKind::kWebBrowser;
  pane.parent = {ba1::zz, -1};
  return WindowModel({panel, button, label, pane}, {});
}

class RendererTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.lpszClassName = L"RendererTestForm";
    RegisterClassW(&wc);
    form = CreateWindowExW(0, L"RendererTestForm", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 300,
                           nullptr, nullptr, nullptr, nullptr);
  }
  void TearDown() override { DestroyWindow(form); }

  static RECT PlaceIn(HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
  }

  HWND form = nullptr;
  WindowModel model = SmallModel();
};

TEST_F(RendererTest, MirrorsPlacesVisibilityAndCaptions) {
  std::vector<std::u16string> placed;
  ModelRenderer renderer(form, model, {}, [&](const Control& c, HWND container) {
    placed.push_back(c.id.name.str());
    EXPECT_TRUE(IsWindow(container));
  });
  HWND zz = renderer.WindowOf({ba1::zz, -1});
  HWND npc4 = renderer.WindowOf({ba1::npc, 4});
  HWND name = renderer.WindowOf({ba1::bo_name, -1});
  ASSERT_TRUE(zz && npc4 && name);
  EXPECT_EQ(GetParent(npc4), zz);
  EXPECT_EQ(renderer.WindowOf({ba1::Web1, -1}), nullptr);
  EXPECT_EQ(placed, std::vector<std::u16string>{u"Web1"});
  RECT r = PlaceIn(npc4);
  EXPECT_EQ(r.left, 5);
  EXPECT_EQ(r.bottom - r.top, 19);
  wchar_t text[64] = {};
  GetWindowTextW(name, text, 64);
  EXPECT_STREQ(text, L"第1集.rmvb");

  model(ba1::npc, 4).Move(50, 60);
  model(ba1::bo_name).caption = u"第2集.rmvb";
  model(ba1::zz).visible = false;
  placed.clear();
  renderer.Sync();
  r = PlaceIn(npc4);
  EXPECT_EQ(r.left, 50);
  EXPECT_EQ(r.right - r.left, 21);
  GetWindowTextW(name, text, 64);
  EXPECT_STREQ(text, L"第2集.rmvb");
  EXPECT_FALSE(IsWindowVisible(zz));
  EXPECT_TRUE(placed.empty());  // the pane did not change
  renderer.Sync();              // nothing changed: nothing is done again
}

TEST_F(RendererTest, ClicksAndMouseEventsComeBackByNameAndIndex) {
  std::vector<std::u16string> clicks;
  std::vector<int> mouse;
  ModelRenderer renderer(form, model, [&](const ControlId& id) { clicks.push_back(ControlText(id)); }, {});
  renderer.SetMouseHandler([&](const ControlId& id, ModelRenderer::MouseEvent kind, WPARAM, long x, long) {
    if (id.name == ba1::npc) mouse.push_back(static_cast<int>(kind) * 100 + x);
  });
  HWND npc4 = renderer.WindowOf({ba1::npc, 4});
  SendMessageW(npc4, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  SendMessageW(npc4, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
  EXPECT_EQ(clicks, std::vector<std::u16string>{u"npc(4)"});
  EXPECT_EQ(mouse, (std::vector<int>{3, 203}));
  // Released outside the control: no click; a disabled control gives none either.
  SendMessageW(npc4, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  SendMessageW(npc4, WM_LBUTTONUP, 0, MAKELPARAM(300, 4));
  model(ba1::npc, 4).enabled = false;
  renderer.Sync();
  SendMessageW(npc4, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(3, 4));
  SendMessageW(npc4, WM_LBUTTONUP, 0, MAKELPARAM(3, 4));
  EXPECT_EQ(clicks.size(), 1u);
}

// A real mouse: the pointer comes onto the button first, and its hover path takes the mouse
// (as the caption and transport buttons do to see the pointer leave); the press and the
// release that follow are still one click.
TEST_F(RendererTest, AButtonThatTookTheMouseOnHoverClicksUnderARealMouse) {
  std::vector<std::u16string> clicks;
  ModelRenderer* self = nullptr;
  ModelRenderer renderer(form, model, [&](const ControlId& id) { clicks.push_back(ControlText(id)); }, {});
  self = &renderer;
  renderer.SetMouseHandler([&](const ControlId& id, ModelRenderer::MouseEvent kind, WPARAM, long, long) {
    if (kind == ModelRenderer::MouseEvent::kMove) SetCapture(self->WindowOf(id));
  });
  renderer.Sync();
  HWND npc4 = renderer.WindowOf({ba1::npc, 4});
  Pump(std::chrono::milliseconds(200));
  // Twice in quick succession, as a user toggles a button on and off again.
  ClickWithMouse(npc4);
  Pump(std::chrono::milliseconds(100));
  ClickWithMouse(npc4);
  EXPECT_TRUE(PumpUntil([&] { return clicks.size() >= 2; }, std::chrono::milliseconds(2000)));
  EXPECT_EQ(clicks, (std::vector<std::u16string>{u"npc(4)", u"npc(4)"}));
  ReleaseCapture();
}

// The runs of rows with ink (pixels darker than the white back) from top to bottom: one per
// line of text drawn.
std::vector<std::pair<int, int>> InkRuns(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  HDC dc = GetDC(window);
  std::vector<std::pair<int, int>> runs;
  bool in_run = false;
  for (int y = 0; y < r.bottom; ++y) {
    bool ink = false;
    for (int x = 0; x < r.right && !ink; ++x) ink = GetRValue(GetPixel(dc, x, y)) < 128;
    if (ink && !in_run) runs.push_back({y, y});
    if (ink) runs.back().second = y;
    in_run = ink;
  }
  ReleaseDC(window, dc);
  return runs;
}

TEST_F(RendererTest, LineBreaksInACaptionAreDrawnAsLines) {
  model(ba1::bo_name).caption = u"Error\r\n\r\n1.first\r\n2.second\r\n";
  model(ba1::bo_name).Move(10, 10, 150, 90);
  ModelRenderer renderer(form, model, {}, {});
  HWND label = renderer.WindowOf({ba1::bo_name, -1});
  ASSERT_TRUE(label);
  RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE);
  const auto runs = InkRuns(label);
  ASSERT_EQ(runs.size(), 3u) << "three lines of text, the empty one between the first two";
  const int line = runs[2].first - runs[1].first;
  EXPECT_GT(runs[1].first - runs[0].first, line * 3 / 2) << "an empty line after the first";
}

TEST_F(RendererTest, HiddenControlsGetTheirWindowWhenFirstShownInTheirDesignPlace) {
  Control behind;
  behind.id = {ba1::wait, -1};
  behind.parent = {ba1::zz, -1};
  behind.visible = false;
  behind.left = 5, behind.top = 6, behind.width = 30, behind.height = 19;
  auto& controls = model.controls();
  controls.insert(controls.begin() + 1, behind);  // before npc(4): under it in the design
  ModelRenderer renderer(form, model, {}, {});
  HWND npc4 = renderer.WindowOf({ba1::npc, 4});
  HWND zz = GetParent(npc4);
  int children = 0;
  for (HWND c = GetWindow(zz, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++children;
  EXPECT_EQ(children, 2) << "the hidden control has no window yet";
  model(ba1::wait).visible = true;
  renderer.Sync();
  HWND wait = GetWindow(npc4, GW_HWNDNEXT);
  ASSERT_TRUE(wait) << "made, and placed under the control that comes after it";
  EXPECT_TRUE(IsWindowVisible(wait));
  EXPECT_EQ(PlaceIn(wait).left, 5);
}

TEST_F(RendererTest, AutoSizedLabelsTakeTheirTextsSizeWindowOrNot) {
  model(ba1::bo_name).auto_size = true;
  model(ba1::bo_name).visible = false;
  ModelRenderer renderer(form, model, {}, {});
  const long short_width = model(ba1::bo_name).width;
  EXPECT_GT(short_width, 0);
  model(ba1::bo_name).caption = u"第1集.rmvb 第1集.rmvb";
  renderer.Sync();
  EXPECT_GT(model(ba1::bo_name).width, short_width);
  EXPECT_EQ(renderer.MeasureText(u"第1集.rmvb 第1集.rmvb").cx, model(ba1::bo_name).width);
}

// A bitmap of one colour; 32-bit ones carry premultiplied alpha, clear in their left half.
HBITMAP SolidBitmap(int width, int height, int bits, COLORREF colour) {
  BITMAPINFO info{};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), width, -height, 1, static_cast<WORD>(bits), BI_RGB};
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &pixels, nullptr, 0);
  const int stride = ((width * bits / 8) + 3) & ~3;
  for (int y = 0; y < height; ++y) {
    auto* row = static_cast<BYTE*>(pixels) + y * stride;
    for (int x = 0; x < width; ++x) {
      BYTE* p = row + x * (bits / 8);
      const bool clear = bits == 32 && x < width / 2;
      p[0] = clear ? 0 : GetBValue(colour);
      p[1] = clear ? 0 : GetGValue(colour);
      p[2] = clear ? 0 : GetRValue(colour);
      if (bits == 32) p[3] = clear ? 0 : 255;
    }
  }
  return bitmap;
}

COLORREF ScreenPixel(HWND window, int x, int y) {
  POINT at{x, y};
  ClientToScreen(window, &at);
  HDC screen = GetDC(nullptr);
  const COLORREF colour = GetPixel(screen, at.x, at.y);
  ReleaseDC(nullptr, screen);
  return colour;
}

TEST_F(RendererTest, PicturesStretchBlendAndLabelsShowTheFrameThrough) {
  const COLORREF kFrame = RGB(10, 20, 30), kBack = RGB(0, 160, 0), kGlyph = RGB(250, 250, 250);
  HBITMAP frame = SolidBitmap(3, 25, 24, kFrame), glyph = SolidBitmap(26, 23, 32, kGlyph);
  Control& panel = model(ba1::zz);
  panel.back_color = RGB(200, 0, 0);
  Control& button = model(ba1::npc, 4);
  button.width = 100, button.height = 25;
  button.picture = PictureSource{u"frame", 0, 0, 3, 25, 100, 25};
  Control& label = model(ba1::bo_name);
  label.caption.clear();
  label.left = 120;
  label.back_color = kBack;
  label.picture = PictureSource{u"glyph", 0, 0, 26, 23};
  label.transparent = true;  // in a container: its container's colour shows through
  model.frame = {FramePiece{PictureSource{u"frame", 0, 0, 3, 25}, 0, 0, 400, 300}};
  ModelRenderer renderer(form, model, {}, {});
  renderer.SetImageSource([&](const std::u16string& slot) -> HBITMAP {
    return slot == u"frame" ? frame : slot == u"glyph" ? glyph : nullptr;
  });
  renderer.Sync();
  RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  HWND stretched = renderer.WindowOf({ba1::npc, 4});
  HWND blended = renderer.WindowOf({ba1::bo_name, -1});
  EXPECT_EQ(ScreenPixel(stretched, 10, 10), kFrame);      // 3 pixels stretched over 100
  EXPECT_EQ(ScreenPixel(blended, 3, 5), RGB(200, 0, 0));  // clear: the container's colour
  EXPECT_EQ(ScreenPixel(blended, 20, 5), kGlyph);
  // Text lies under the picture boxes of its container, though it comes later.
  bool label_below = false;
  for (HWND below = GetWindow(stretched, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT)) {
    label_below = label_below || below == blended;
  }
  EXPECT_TRUE(label_below);
  // The frame as the window paints it: every piece stretched into place.
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP surface = CreateCompatibleBitmap(screen, 50, 50);
  HGDIOBJ old = SelectObject(memory, surface);
  renderer.PaintFrame(memory, POINT{300, 200}, SIZE{50, 50}, RGB(1, 2, 3));
  EXPECT_EQ(GetPixel(memory, 49, 49), kFrame);
  SelectObject(memory, old);
  DeleteObject(surface);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  DeleteObject(frame);
  DeleteObject(glyph);
}

}  // namespace
