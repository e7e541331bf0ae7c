#include "tip_popup/win32/text_tip_window_win32.h"

#include <commctrl.h>
#include <richedit.h>
#include <windowsx.h>

#include "common/win32/gdi_scope.h"
#include "common/win32/wide.h"
#include "tip_popup/browser_command.h"
#include "tip_popup/win32/open_in_browser_win32.h"

namespace {

constexpr UINT_PTR kRichTextId = 100;
constexpr UINT_PTR kToolId = 1;
constexpr WPARAM kDragMove = 0xF012;  // SC_MOVE in its drag-with-the-mouse form

HFONT MakeFont(int height, int weight, bool underline) {
  return CreateFontW(height, 0, 0, 0, weight, FALSE, underline, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体");
}

void SetRichText(HWND rich, const std::u16string& text) {
  SETTEXTEX how{ST_DEFAULT, 1200};  // code page 1200: the text is UTF-16 as it stands
  SendMessageW(rich, EM_SETTEXTEX, reinterpret_cast<WPARAM>(&how), reinterpret_cast<LPARAM>(WidePtr(text)));
}

}  // namespace

TextTipWindow::TextTipWindow(Args args)
    : args_(std::move(args)), normal_font_(MakeFont(12, FW_NORMAL, false)), hover_font_(MakeFont(14, FW_BOLD, true)) {
  fonts_.normal = normal_font_.get();
  fonts_.hover = hover_font_.get();
}

// The window goes first, while the fonts it draws with still exist.
TextTipWindow::~TextTipWindow() { Destroy(); }

bool TextTipWindow::Create(const TipRect& rect) {
  WNDCLASSEXW wc{sizeof wc};
  wc.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
  wc.hInstance = args_.instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = kTextTipClass;
  RegisterWindowClass(wc);
  // Topmost from the start as well: Wine refuses to raise a window to the topmost band once
  // it owns a topmost tooltip, and the caller's SetWindowPos would then do nothing.
  CreateBound(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, kTextTipClass, kTipWindowTitle,
              WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS | WS_SYSMENU, rect.left, rect.top, rect.width(), rect.height(),
              nullptr, nullptr, args_.instance);
  return hwnd_ != nullptr;
}

LRESULT TextTipWindow::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_CREATE: OnCreate(); return 0;
    case WM_TIMER: OnTimer(wparam); return 0;
    case WM_SIZE: Layout(); return 0;
    case WM_ERASEBKGND: PaintEverything(reinterpret_cast<HDC>(wparam)); return 1;
    case WM_PAINT: {
      PAINTSTRUCT ps;
      BeginPaint(hwnd_, &ps);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_SETCURSOR:
      if (LOWORD(lparam) == HTCLIENT && hovered_ && hovered_->hand_cursor) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE: OnMouseMove(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam), wparam); return 0;
    case WM_MOUSELEAVE: OnMouseLeave(); return 0;
    case WM_LBUTTONDOWN: OnButtonDown(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)); return 0;
    case WM_LBUTTONUP: OnButtonUp(GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)); return 0;
    case WM_CLOSE: DestroyWindow(hwnd_); return 0;
    case WM_DESTROY:
      destroying_ = true;
      KillTimer(hwnd_, TextTipFade::kFadeInTimer);
      KillTimer(hwnd_, TextTipFade::kFadeOutTimer);
      KillTimer(hwnd_, TextTipFade::kLifeTimer);
      if (tooltip_) DestroyWindow(tooltip_);
      tooltip_ = nullptr;
      PostQuitMessage(0);
      return 0;
  }
  return Default(message, wparam, lparam);
}

void TextTipWindow::OnCreate() {
  std::vector<SkinElement*> pending{args_.skin.get()};
  while (!pending.empty()) {
    SkinElement* element = pending.back();
    pending.pop_back();
    if (element->kind() == SkinKind::kWindowHolder && element->id.find(u"RICHEDIT") != std::u16string::npos) {
      CreateRichText(*element);
    }
    for (const auto& child : element->children()) pending.push_back(child.get());
  }
  tooltip_ =
      CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP, CW_USEDEFAULT,
                      CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, hwnd_, nullptr, args_.instance, nullptr);
  // Opacity 0: nothing shows until the first fade step.
  SetLayeredWindowAttributes(hwnd_, 0, 0, LWA_ALPHA);
  fade_in_timer_ = SetTimer(hwnd_, TextTipFade::kFadeInTimer, TextTipFade::kFadeIntervalMs, nullptr) != 0;
  SetTimer(hwnd_, TextTipFade::kLifeTimer, static_cast<UINT>(args_.life_period_ms), nullptr);
}

void TextTipWindow::CreateRichText(SkinElement& element) {
  static const HMODULE library = LoadLibraryW(L"RICHED20.DLL");  // once per process
  if (!library) return;
  const SkinRect& r = element.rect;
  HWND rich = CreateWindowExW(WS_EX_TRANSPARENT, L"RichEdit20A", L"",
                              WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_READONLY | ES_WANTRETURN,
                              r.left, r.top, r.width(), r.height(), hwnd_, reinterpret_cast<HMENU>(kRichTextId),
                              args_.instance, nullptr);
  if (!rich) return;
  if (!element.text.empty()) SetRichText(rich, element.text);
  SetWindowLongPtrW(rich, GWL_EXSTYLE, GetWindowLongPtrW(rich, GWL_EXSTYLE) | WS_EX_TRANSPARENT);
  SendMessageW(rich, WM_SETFONT, reinterpret_cast<WPARAM>(fonts_.normal), TRUE);
  rich_texts_.emplace_back(&element, rich);
}

void TextTipWindow::OnTimer(UINT_PTR id) {
  if (id == TextTipFade::kFadeInTimer) fade_.OnFadeInTick();
  else if (id == TextTipFade::kFadeOutTimer) fade_.OnFadeOutTick();
  else if (id == TextTipFade::kLifeTimer) fade_.OnLifeTick();
  ApplyFade();
}

void TextTipWindow::ApplyFade() {
  if (fade_in_timer_ && !fade_.fading_in()) fade_in_timer_ = !KillTimer(hwnd_, TextTipFade::kFadeInTimer);
  if (fade_.fading_out() && !fade_out_timer_) {
    fade_out_timer_ = SetTimer(hwnd_, TextTipFade::kFadeOutTimer, TextTipFade::kFadeIntervalMs, nullptr) != 0;
  }
  if (fade_.closed()) {
    SendMessageW(hwnd_, WM_CLOSE, 0, 0);
    return;
  }
  SetLayeredWindowAttributes(hwnd_, 0, static_cast<BYTE>(fade_.alpha()), LWA_ALPHA);
}

void TextTipWindow::PaintEverything(HDC dc) {
  if (painting_ || destroying_ || !args_.skin) return;
  painting_ = true;
  RECT client;
  GetClientRect(hwnd_, &client);
  // One off-screen bitmap, copied in one step: no flicker.
  const UniqueMemoryDc memory(CreateCompatibleDC(dc));
  const UniqueBitmap bitmap(CreateCompatibleBitmap(dc, client.right, client.bottom));
  if (memory && bitmap) {
    const ScopedSelect select_bitmap(memory.get(), bitmap.get());
    FillRect(memory.get(), &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    PaintSkin(memory.get(), *args_.skin, fonts_, args_.instance);
    BitBlt(dc, 0, 0, client.right, client.bottom, memory.get(), 0, 0, SRCCOPY);
  }
  // The rich text draws over the new background.
  for (const auto& [element, rich] : rich_texts_) InvalidateRect(rich, nullptr, TRUE);
  painting_ = false;
}

void TextTipWindow::Layout() {
  if (!args_.skin) return;
  RECT client;
  GetClientRect(hwnd_, &client);
  args_.skin->Layout(0, 0, client.right, client.bottom);
  for (const auto& [element, rich] : rich_texts_) {
    MoveWindow(rich, element->rect.left, element->rect.top, element->rect.width(), element->rect.height(), TRUE);
  }
}

long TextTipWindow::MeasureText(const std::u16string& text) {
  const WindowDc dc(hwnd_);
  const ScopedSelect select_font(dc.get(), fonts_.normal);
  SIZE size{};
  GetTextExtentPoint32W(dc.get(), WidePtr(text), static_cast<int>(text.size()), &size);
  return size.cx;
}

void TextTipWindow::OnMouseMove(long x, long y, WPARAM keys) {
  if (!tracking_) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd_, 0};
    tracking_ = TrackMouseEvent(&track) != FALSE;
  }
  const SkinTextMeasure measure = [this](const std::u16string& text) { return MeasureText(text); };
  SkinElement* hit = args_.skin->HitTest(SkinHit::kMouseMove, x, y, measure);
  if (hit != hovered_) {
    if (hovered_) {
      hovered_->MouseLeft();
      Redraw(hovered_);
    }
    hovered_ = hit;
    if (hovered_ && hovered_ != args_.skin.get()) Redraw(hovered_);
  }
  ShowToolFor(hovered_);
  if ((keys & MK_LBUTTON) && !pressed_) {
    // Pressed on the background: the whole tip moves with the mouse.
    SendMessageW(hwnd_, WM_SYSCOMMAND, kDragMove, 0);
  }
}

void TextTipWindow::OnMouseLeave() {
  tracking_ = false;
  if (hovered_) {
    hovered_->MouseLeft();
    Redraw(hovered_);
  }
  hovered_ = nullptr;
  RemoveTool();
}

void TextTipWindow::OnButtonDown(long x, long y) {
  const SkinTextMeasure measure = [this](const std::u16string& text) { return MeasureText(text); };
  pressed_ = args_.skin->HitTest(SkinHit::kButtonDown, x, y, measure);
  if (pressed_) Redraw(pressed_);
}

void TextTipWindow::OnButtonUp(long x, long y) {
  const SkinTextMeasure measure = [this](const std::u16string& text) { return MeasureText(text); };
  SkinElement* hit = args_.skin->HitTest(SkinHit::kButtonUp, x, y, measure);
  if (pressed_ && pressed_ != hit) {
    pressed_->pressed = false;
    Redraw(pressed_);
  }
  pressed_ = nullptr;
  if (!hit) return;
  Redraw(hit);
  if (hit->ReportsClicks()) OnClick(hit->id);
}

void TextTipWindow::OnClick(const std::u16string& id) {
  if (fade_.OnClick(id) == TextTipFade::Click::kOpenLink && IsOpenableWebAddress(args_.click_url)) {
    OpenInBrowser(args_.click_url);
  }
  ApplyFade();
}

void TextTipWindow::ShowToolFor(SkinElement* element) {
  if (!tooltip_) return;
  if (!element || element->tooltip_string == 0) {
    RemoveTool();
    return;
  }
  if (element == tool_element_) return;  // the same tool is already up
  RemoveTool();
  tool_text_ = LoadTableString(args_.instance, element->tooltip_string);
  TOOLINFOW tool{sizeof tool};
  tool.uFlags = TTF_SUBCLASS;
  tool.hwnd = hwnd_;
  tool.uId = kToolId;
  tool.rect = RECT{element->rect.left, element->rect.top, element->rect.right, element->rect.bottom};
  tool.hinst = args_.instance;
  tool.lpszText = tool_text_.data();
  SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  SendMessageW(tooltip_, TTM_ACTIVATE, TRUE, 0);
  tool_element_ = element;
}

void TextTipWindow::RemoveTool() {
  if (!tooltip_ || !tool_element_) return;
  TOOLINFOW tool{sizeof tool};
  tool.hwnd = hwnd_;
  tool.uId = kToolId;
  SendMessageW(tooltip_, TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  tool_element_ = nullptr;
}

void TextTipWindow::Redraw(const SkinElement* element) {
  if (!element || destroying_) return;
  RECT area{element->rect.left, element->rect.top, element->rect.right, element->rect.bottom};
  InvalidateRect(hwnd_, &area, TRUE);
}
