#pragma once
// Popup menus of the program, shown at the mouse pointer.
#include <string>
#include <vector>

struct MenuEntry {
  std::u16string text;  // empty: a separator
  bool checked = false;
};

class Menus {
 public:
  virtual ~Menus() = default;
  // Shows the entries at the pointer; the index of the chosen one, or -1 when none was.
  virtual int Popup(const std::vector<MenuEntry>& entries) = 0;
  // The same at a point of the main window, in its pixels.
  virtual int PopupAt(const std::vector<MenuEntry>& entries, long x, long y) = 0;
};
