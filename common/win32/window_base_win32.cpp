#include "common/win32/window_base.h"

#include <exception>

#include "common/win32/trace.h"

WindowBase::~WindowBase() {
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  hwnd_ = nullptr;
}

bool WindowBase::RegisterWindowClass(WNDCLASSEXW wc) {
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = &WindowBase::Procedure;
  WNDCLASSEXW existing{sizeof existing};
  if (GetClassInfoExW(wc.hInstance, wc.lpszClassName, &existing)) return existing.lpfnWndProc == &WindowBase::Procedure;
  if (RegisterClassExW(&wc)) return true;
  TraceLastError(L"RegisterClassExW");
  return false;
}

HWND WindowBase::CreateBound(DWORD ex_style, const wchar_t* class_name, const wchar_t* title, DWORD style, int x, int y,
                             int width, int height, HWND parent, HMENU menu, HINSTANCE instance) {
  // The base pointer is what the procedure reads back, whatever the subclass's layout.
  HWND created = CreateWindowExW(ex_style, class_name, title, style, x, y, width, height, parent, menu, instance,
                                 static_cast<WindowBase*>(this));
  if (!created) TraceLastError(L"CreateWindowExW");
  return created;
}

void WindowBase::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);
}

LRESULT CALLBACK WindowBase::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* self = static_cast<WindowBase*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    if (self) {
      self->hwnd_ = hwnd;
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    }
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  auto* self = reinterpret_cast<WindowBase*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  if (message == WM_NCDESTROY) {
    try {
      self->OnFinalMessage();
    } catch (const std::exception& error) {
      TraceException(L"OnFinalMessage", error.what());
    } catch (...) {
      TraceException(L"OnFinalMessage", nullptr);
    }
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return DefWindowProcW(hwnd, message, wparam, lparam);
  }
  try {
    return self->OnMessage(message, wparam, lparam);
  } catch (const std::exception& error) {
    TraceException(L"window procedure", error.what());
  } catch (...) {
    TraceException(L"window procedure", nullptr);
  }
  return DefWindowProcW(hwnd, message, wparam, lparam);
}
