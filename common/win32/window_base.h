#pragma once
// The one window procedure of every window class of the three programs. The object is bound
// to its window at WM_NCCREATE and unbound at WM_NCDESTROY; DefWindowProcW always gets the
// real window; and no C++ exception ever leaves a window procedure (it is traced and the
// message gets its default handling).
#include <windows.h>

class WindowBase {
 public:
  WindowBase(const WindowBase&) = delete;
  WindowBase& operator=(const WindowBase&) = delete;

 protected:
  WindowBase() = default;
  // Destroys a window that is still there. The binding goes first, so a subclass that wants
  // its own WM_DESTROY handling destroys the window in its own destructor (Destroy()).
  virtual ~WindowBase();

  // Registers a window class whose procedure is this one (once per class name and module);
  // `wc.lpfnWndProc` is filled in.
  static bool RegisterWindowClass(WNDCLASSEXW wc);
  // CreateWindowExW with this object bound to the new window.
  HWND CreateBound(DWORD ex_style, const wchar_t* class_name, const wchar_t* title, DWORD style, int x, int y,
                   int width, int height, HWND parent, HMENU menu, HINSTANCE instance);
  void Destroy();

  // Every message but WM_NCCREATE and WM_NCDESTROY comes here.
  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) { return Default(message, wparam, lparam); }
  // The window is going: called at WM_NCDESTROY, while hwnd_ still names it.
  virtual void OnFinalMessage() {}
  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam) { return DefWindowProcW(hwnd_, message, wparam, lparam); }

  HWND hwnd_ = nullptr;

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
};
