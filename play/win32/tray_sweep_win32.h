#pragma once
// Removes the notification-area icons of processes that are gone: the shell drops such an
// icon when the pointer passes over it, so a mouse move is posted for every point of the
// icon toolbars (posted, never sent: the shell cannot hold us up).
#include <windows.h>

#include <vector>

// The icon toolbars of the task bar's notification area and of its overflow window.
std::vector<HWND> FindTrayToolbars();
void SweepTrayIcons();
