#pragma once
// The program's secondary windows, shown not modal and owned by the main window: each is
// loaded (reading its settings) when it is not open, and brought forward when it is.
class SecondaryWindows {
 public:
  virtual ~SecondaryWindows() = default;
  // The settings window on a tab: 0 about, 1 settings.
  virtual void ShowSettings(int tab) = 0;
  virtual void ShowTips() = 0;
};
