#pragma once
// A browser pane that lives in a window of its own (the system's web control, or the built-in
// link-list pane).
#include <windows.h>

#include "play/ports/browser_pane.h"

class PaneWindow : public BrowserPane {
 public:
  virtual HWND hwnd() const = 0;
};
