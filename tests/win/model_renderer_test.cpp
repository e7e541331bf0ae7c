// The renderer draws a model's controls on the form (only a container that holds a pane or
// the player gets a window), reports clicks by name and index under a real mouse, and shows
// its controls to screen readers.
#include <windows.h>
#include <oleacc.h>

#include <gtest/gtest.h>

#include "common/win32/com.h"
#include "play/model/ba1_names.h"
#include "play/win32/model_renderer_win32.h"
#include "tests/win/drawn_controls.h"
#include "tests/win/message_pump.h"
#include "tests/win/real_input.h"

namespace {

using namespace std::chrono_literals;

Control Box(ControlName name, int index, ControlName parent, long left, long top, long width, long height,
            ControlKind kind = ControlKind::kPictureBox) {
  Control c;
  c.id = {name, index};
  c.kind = kind;
  c.parent = {parent, -1};
  c.left = left, c.top = top, c.width = width, c.height = height;
  return c;
}

// A panel with a pane (so it has a window) holding a button and a label; a second panel with
// no window holding a button that reaches past its edge; a cover over the pane.
WindowModel SmallModel() {
  Control panel = Box(ba1::zz, -1, {}, 10, 20, 200, 100);
  Control button = Box(ba1::npc, 4, ba1::zz, 5, 6, 21, 19);
  button.tool_tip = u"置顶";
  Control label = Box(ba1::bo_name, -1, ba1::zz, 30, 6, 100, 14, ControlKind::kLabel);
  label.caption = u"第1集.rmvb";
  Control pane = Box(ba1::Web1, -1, ba1::zz, 0, 30, 200, 70, ControlKind::kWebBrowser);
  Control cover = Box(ba1::bo_ad, -1, ba1::zz, 20, 40, 50, 30);
  cover.visible = false;
  cover.back_color = RGB(0, 0, 200);
  Control strip = Box(ba1::l2, -1, {}, 250, 20, 100, 40);
  Control grip = Box(ba1::npc, 7, ba1::l2, 90, 5, 30, 10);  // its right part is outside the strip
  grip.tool_tip = u"打开";
  Control on_cover = Box(ba1::adp, -1, ba1::bo_ad, 5, 5, 20, 10);  // over the pane too, on the cover
  on_cover.back_color = RGB(0, 200, 0);
  return WindowModel({panel, button, label, pane, cover, strip, grip, on_cover}, {});
}

ModelRenderer* g_renderer = nullptr;

// The form as the program's windows are: its paint and the mouse over drawn controls go to
// the renderer.
LRESULT CALLBACK FormProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (g_renderer) {
    if (message == WM_PAINT) {
      g_renderer->PaintForm(RGB(255, 255, 255));
      return 0;
    }
    if (const std::optional<LRESULT> answer = g_renderer->OnFormMessage(message, wparam, lparam)) return *answer;
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}

class RendererTest : public testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSW wc{};
    wc.lpfnWndProc = FormProcedure;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = L"RendererTestForm";
    RegisterClassW(&wc);
    form = CreateWindowExW(0, L"RendererTestForm", L"测试窗口", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400, 300,
                           nullptr, nullptr, nullptr, nullptr);
    SetForegroundWindow(form);
  }
  void TearDown() override {
    g_renderer = nullptr;
    DestroyWindow(form);
  }
  // The renderer under test, drawing on the form.
  std::unique_ptr<ModelRenderer> Render(ModelRenderer::ClickHandler on_click = {},
                                        ModelRenderer::PlaceExternal place = {}) {
    auto renderer = std::make_unique<ModelRenderer>(form, model, std::move(on_click), std::move(place));
    g_renderer = renderer.get();
    return renderer;
  }
  void Paint() {
    RedrawWindow(form, nullptr, nullptr, RDW_INVALIDATE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(50ms);
  }
  // The control as a screen reader finds it.
  std::optional<DrawnControl> Find(const std::wstring& name) {
    for (const DrawnControl& c : DrawnControls(form)) {
      if (c.name == name) return c;
    }
    return std::nullopt;
  }
  static COLORREF ScreenPixel(int x, int y) {
    HDC screen = GetDC(nullptr);
    const COLORREF colour = GetPixel(screen, x, y);
    ReleaseDC(nullptr, screen);
    return colour;
  }

  HWND form = nullptr;
  WindowModel model = SmallModel();
};

TEST_F(RendererTest, DrawsControlsOnTheFormAndGivesWindowsOnlyWhereWindowsLie) {
  std::vector<std::u16string> placed;
  auto renderer = Render({}, [&](const Control& c, HWND container, bool) {
    placed.push_back(c.id.name.str());
    EXPECT_TRUE(IsWindow(container));
  });
  const HWND panel = renderer->WindowOf({ba1::zz, -1});
  ASSERT_TRUE(panel) << "the pane's container has a window";
  EXPECT_EQ(renderer->WindowOf({ba1::npc, 4}), nullptr);
  EXPECT_EQ(renderer->WindowOf({ba1::l2, -1}), nullptr);
  EXPECT_EQ(placed, std::vector<std::u16string>{u"Web1"});
  int windows = 0;
  for (HWND c = GetWindow(form, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) ++windows;
  EXPECT_EQ(windows, 1);

  // Places on the screen: inside a container with a window, inside one without, and cut
  // off by its container's edge.
  struct Case {
    const wchar_t* name;
    RECT screen;
    bool shown;
  };
  const auto expect = [&](const std::vector<Case>& cases) {
    for (const Case& want : cases) {
      const std::optional<DrawnControl> got = Find(want.name);
      SCOPED_TRACE(testing::Message() << "control " << (&want - cases.data()));
      ASSERT_TRUE(got);
      EXPECT_EQ(got->shown, want.shown);
      if (!want.shown) continue;
      EXPECT_EQ(got->screen.left, want.screen.left);
      EXPECT_EQ(got->screen.top, want.screen.top);
      EXPECT_EQ(got->screen.right, want.screen.right);
      EXPECT_EQ(got->screen.bottom, want.screen.bottom);
    }
  };
  expect({{L"置顶", {15, 26, 36, 45}, true},
          {L"第1集.rmvb", {40, 26, 140, 40}, true},
          {L"打开", {340, 25, 350, 35}, true}});

  model(ba1::npc, 4).Move(50, 60);
  model(ba1::bo_name).caption = u"第2集.rmvb";
  model(ba1::l2).Move(260, 30);
  placed.clear();
  renderer->Sync();
  expect({{L"置顶", {60, 80, 81, 99}, true},
          {L"第2集.rmvb", {40, 26, 140, 40}, true},
          {L"打开", {350, 35, 360, 45}, true}});
  EXPECT_TRUE(placed.empty());  // the pane did not change

  // A hidden container hides what it holds, window or not.
  model(ba1::zz).visible = false;
  model(ba1::l2).visible = false;
  renderer->Sync();
  EXPECT_FALSE(IsWindowVisible(panel));
  expect({{L"置顶", {}, false}, {L"打开", {}, false}});
  renderer->Sync();  // nothing changed: nothing is done again
}

TEST_F(RendererTest, ClicksComeBackByNameUnderARealMouse) {
  std::vector<std::u16string> clicks;
  std::vector<std::u16string> moves;
  auto renderer = Render([&](const ControlId& id) { clicks.push_back(ControlText(id)); });
  // As the caption and transport buttons do, the hover path takes the mouse to see the pointer
  // leave, and lets it go once it has.
  renderer->SetMouseHandler([&](const ControlId& id, ModelRenderer::MouseEvent kind, WPARAM, long x, long y) {
    if (kind != ModelRenderer::MouseEvent::kMove) return;
    moves.push_back(ControlText(id));
    const Control* c = model.Find(id);
    if (x < 0 || y < 0 || x >= c->width || y >= c->height) ReleaseCapture();
    else renderer->CaptureMouse(id);
  });
  Paint();
  const std::optional<DrawnControl> button = Find(L"置顶"), grip = Find(L"打开");
  ASSERT_TRUE(button && grip);
  // Twice in quick succession, as a user toggles a button on and off again; then the grip,
  // whose container has no window.
  ClickWithMouse(*button);
  Pump(100ms);
  ClickWithMouse(*button);
  ClickWithMouse(*grip);
  EXPECT_TRUE(PumpUntil([&] { return clicks.size() >= 3; }, 2000ms));
  EXPECT_EQ(clicks, (std::vector<std::u16string>{u"npc(4)", u"npc(4)", u"npc(7)"}));
  EXPECT_NE(std::find(moves.begin(), moves.end(), u"npc(4)"), moves.end());
  // Released outside the control: no click; a disabled control gives none either; over the
  // form's own surface the form has the mouse.
  DragWithMouse(form, button->InWindow(), POINT{300, 200});
  model(ba1::npc, 7).enabled = false;
  renderer->Sync();
  ClickWithMouse(*grip);
  ClickWithMouse(form, POINT{300, 200});
  Pump(300ms);
  EXPECT_EQ(clicks.size(), 3u);
  ReleaseCapture();
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

// Pictures stretch and blend, a transparent label shows its container's colour, text lies
// under the picture boxes of its container, containers clip what they hold, captions break
// at their line breaks, and a control over a pane's window gets a window above it.
TEST_F(RendererTest, PaintsInTheDesignsOrderClippedByContainers) {
  const COLORREF kFrame = RGB(10, 20, 30), kBack = RGB(0, 160, 0), kGlyph = RGB(250, 250, 250);
  HBITMAP frame = SolidBitmap(3, 25, 24, kFrame), glyph = SolidBitmap(26, 23, 32, kGlyph);
  Control& panel = model(ba1::zz);
  panel.back_color = RGB(200, 0, 0);
  Control& button = model(ba1::npc, 4);
  button.width = 100, button.height = 25;
  button.picture = PictureSource{u"frame", 0, 0, 3, 25, 100, 25};
  Control& label = model(ba1::bo_name);
  label.caption.clear();
  label.left = 95;  // under the right end of the button, though it comes later
  label.back_color = kBack;
  label.picture = PictureSource{u"glyph", 0, 0, 26, 23};
  label.transparent = true;  // in a container: its container's colour shows through
  model(ba1::l2).back_color = RGB(0, 200, 200);
  model(ba1::npc, 7).back_color = RGB(200, 200, 0);
  model.frame = {FramePiece{PictureSource{u"frame", 0, 0, 3, 25}, 0, 0, 400, 300}};
  auto renderer = Render();
  renderer->SetImageSource([&](const std::u16string& slot) -> HBITMAP {
    return slot == u"frame" ? frame : slot == u"glyph" ? glyph : nullptr;
  });
  renderer->Sync();
  Paint();
  // The panel is at (10, 20); the button at (15, 26), 100 x 25; the label at (105, 26).
  struct Pixel {
    int x, y;
    COLORREF want;
    const char* what;
  };
  const auto check = [&](const std::vector<Pixel>& pixels) {
    for (const Pixel& p : pixels) EXPECT_EQ(ScreenPixel(p.x, p.y), p.want) << p.what;
  };
  check({
      {5, 5, kFrame, "the frame, stretched over the form"},
      {20, 35, kFrame, "3 pixels stretched over the button's 100"},
      {110, 35, kFrame, "the label lies under the button"},
      {116, 35, RGB(200, 0, 0), "the label's clear half: its container's colour"},
      {125, 35, kGlyph, "the label's blended half"},
      {345, 30, RGB(200, 200, 0), "the grip inside its strip"},
      {352, 30, kFrame, "the grip cut off at the strip's edge"},
  });

  // The cover shows over the pane's window (the panel's child): it takes a window above it.
  const HWND pane = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, 30, 200, 70,
                                    renderer->WindowOf({ba1::zz, -1}), nullptr, nullptr, nullptr);
  model(ba1::bo_ad).visible = true;
  renderer->Sync();
  Paint();
  const HWND cover = renderer->WindowOf({ba1::bo_ad, -1});
  ASSERT_TRUE(cover);
  check({{70, 85, RGB(0, 0, 200), "the cover over the pane"}, {40, 70, RGB(0, 200, 0), "what the cover holds"}});
  EXPECT_EQ(renderer->WindowOf({ba1::adp, -1}), nullptr) << "drawn on the cover's window";
  DestroyWindow(pane);

  // Captions break at their line breaks: three lines of ink, an empty line after the first.
  model(ba1::bo_name).caption = u"Error\r\n\r\n1.first\r\n2.second\r\n";
  model(ba1::bo_name).picture.reset();
  model(ba1::bo_name).transparent = false;
  model(ba1::bo_name).back_color = RGB(255, 255, 255);
  model(ba1::bo_name).Move(5, 2, 150, 90);
  model(ba1::npc, 4).visible = false;
  model(ba1::bo_ad).visible = false;
  renderer->Sync();
  Paint();
  std::vector<std::pair<int, int>> runs;
  bool in_run = false;
  for (int y = 22; y < 20 + 92; ++y) {
    bool ink = false;
    for (int x = 15; x < 165 && !ink; ++x) ink = GetRValue(ScreenPixel(x, y)) < 128;
    if (ink && !in_run) runs.push_back({y, y});
    if (ink) runs.back().second = y;
    in_run = ink;
  }
  ASSERT_EQ(runs.size(), 3u) << "three lines of text, the empty one between the first two";
  EXPECT_GT(runs[1].first - runs[0].first, (runs[2].first - runs[1].first) * 3 / 2) << "an empty line after the first";
  DeleteObject(frame);
  DeleteObject(glyph);
}

TEST_F(RendererTest, AutoSizedLabelsTakeTheirTextsSize) {
  model(ba1::bo_name).auto_size = true;
  model(ba1::bo_name).visible = false;
  auto renderer = Render();
  const long short_width = model(ba1::bo_name).width;
  EXPECT_GT(short_width, 0);
  model(ba1::bo_name).caption = u"第1集.rmvb 第1集.rmvb";
  renderer->Sync();
  EXPECT_GT(model(ba1::bo_name).width, short_width);
  EXPECT_EQ(renderer->MeasureText(u"第1集.rmvb 第1集.rmvb").cx, model(ba1::bo_name).width);
}

// What a screen reader asks of the form: the controls' names, roles and states, which one is
// at a point, and their default action, a click.
TEST_F(RendererTest, ScreenReadersFindEveryControlAndCanPressIt) {
  std::vector<std::u16string> clicks;
  model(ba1::l2).enabled = false;
  auto renderer = Render([&](const ControlId& id) { clicks.push_back(ControlText(id)); });
  const ComApartment apartment;
  ComPtr<IAccessible> accessible;
  ASSERT_HRESULT_SUCCEEDED(AccessibleObjectFromWindow(form, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                      accessible.ReceiveVoid()));
  LONG count = 0;
  ASSERT_HRESULT_SUCCEEDED(accessible->get_accChildCount(&count));
  EXPECT_EQ(count, static_cast<LONG>(model.controls().size()) - 1) << "all but the pane";
  struct Case {
    LONG child;
    const wchar_t* name;
    LONG role;
    LONG state;
  };
  const Case cases[] = {
      {1, nullptr, ROLE_SYSTEM_GROUPING, 0},                       // the panel, holding others
      {2, L"置顶", ROLE_SYSTEM_PUSHBUTTON, 0},                     // named by its tool tip
      {3, L"第1集.rmvb", ROLE_SYSTEM_STATICTEXT, 0},               // by its caption
      {4, nullptr, ROLE_SYSTEM_GROUPING, STATE_SYSTEM_INVISIBLE},  // the hidden cover
      {5, nullptr, ROLE_SYSTEM_GROUPING, STATE_SYSTEM_UNAVAILABLE},
  };
  for (const Case& want : cases) {
    SCOPED_TRACE("child " + std::to_string(want.child));
    VARIANT child{};
    child.vt = VT_I4;
    child.lVal = want.child;
    BSTR name = nullptr;
    accessible->get_accName(child, &name);
    EXPECT_EQ(std::wstring(name ? name : L""), std::wstring(want.name ? want.name : L""));
    SysFreeString(name);
    VARIANT role{}, state{};
    ASSERT_HRESULT_SUCCEEDED(accessible->get_accRole(child, &role));
    EXPECT_EQ(role.lVal, want.role);
    ASSERT_HRESULT_SUCCEEDED(accessible->get_accState(child, &state));
    EXPECT_EQ(state.lVal & (STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_UNAVAILABLE), want.state);
  }
  VARIANT at{};
  ASSERT_HRESULT_SUCCEEDED(accessible->accHitTest(17, 30, &at));
  EXPECT_EQ(at.vt, VT_I4);
  EXPECT_EQ(at.lVal, 2) << "the button at (17, 30) of the screen";
  VARIANT button{};
  button.vt = VT_I4;
  button.lVal = 2;
  EXPECT_HRESULT_SUCCEEDED(accessible->accDoDefaultAction(button));
  EXPECT_EQ(clicks, std::vector<std::u16string>{u"npc(4)"});
  // The renderer goes first: the object a reader still holds answers no more, and harms none.
  g_renderer = nullptr;
  renderer.reset();
  LONG after = 0;
  EXPECT_HRESULT_FAILED(accessible->get_accChildCount(&after));
}

}  // namespace
