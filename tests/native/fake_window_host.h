#pragma once
// The main window's surroundings for host tests: records what the window asks of the system,
// its panes and processes, and answers site requests from a table.
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "common/text/utf.h"
#include "play/model/window_model.h"
#include "play/ports/clock.h"
#include "play/ports/desktop_session.h"
#include "play/ports/dialogs.h"
#include "play/ports/menus.h"
#include "play/ports/processes.h"
#include "play/ports/secondary_windows.h"
#include "play/ports/transfer.h"
#include "play/ports/window_host.h"

class RecordingHost final : public WindowHost,
                            public BrowserPanes,
                            public Transfer,
                            public Processes,
                            public Menus,
                            public Dialogs,
                            public SecondaryWindows,
                            public DesktopSession,
                            public Clock {
 public:
  // WindowHost
  PixelRect WorkArea() override { return {0, 0, 1280, 994}; }
  void InstallMaxSizeHook(long w, long h) override {
    calls.push_back("MaxSize " + std::to_string(w) + "x" + std::to_string(h));
  }
  void AddMinimizeMaximizeBoxes() override { calls.push_back("MinMaxBoxes"); }
  void BringToFront() override { calls.push_back("Front"); }
  // Events that arrive while a handler lets them run, or while a request waits.
  void LetPendingEventsRun() override {
    if (pending_events) pending_events();
  }
  void AddTrayIcon(std::u16string_view tip) override { calls.push_back("Tray " + Utf16ToUtf8(tip)); }
  void TrayBalloon(std::u16string_view text) override { balloons.push_back(Utf16ToUtf8(text)); }
  void MessageOk(std::u16string_view text, std::u16string_view title) override {
    messages.push_back(Utf16ToUtf8(text));
    message_titles.push_back(Utf16ToUtf8(title));
  }
  // Questions: answered with the next of `answers` (No when none is left).
  bool AskYesNo(std::u16string_view text, std::u16string_view title) override {
    questions.push_back(Utf16ToUtf8(title) + " " + Utf16ToUtf8(text));
    if (answers.empty()) return false;
    const bool answer = answers.front();
    answers.erase(answers.begin());
    return answer;
  }
  void OpenFolder(std::u16string_view folder) override { calls.push_back("Explorer " + Utf16ToUtf8(folder)); }
  void SetTopmost(bool on) override { topmost.push_back(on); }
  PixelRect Screen() override { return {0, 0, 1280, 1024}; }
  void ShowState(int state) override { states.push_back(state); }
  // Seven pixels a character, as a narrow font would take.
  TextExtent MeasureCaption(std::u16string_view caption) override {
    return {static_cast<long>(caption.size()) * 7, 12};
  }
  // BrowserPanes
  void Navigate(ControlName pane, std::u16string_view address) override {
    navigations.push_back(Utf16ToUtf8(pane.text()) + " " + Utf16ToUtf8(address));
  }
  void Refresh(ControlName pane) override { navigations.push_back(Utf16ToUtf8(pane.text()) + " refresh"); }
  void GoBack(ControlName pane) override { navigations.push_back(Utf16ToUtf8(pane.text()) + " back"); }
  void GoForward(ControlName pane) override { navigations.push_back(Utf16ToUtf8(pane.text()) + " forward"); }
  void Copy(ControlName pane) override { navigations.push_back(Utf16ToUtf8(pane.text()) + " copy"); }
  void Paste(ControlName pane) override { navigations.push_back(Utf16ToUtf8(pane.text()) + " paste"); }
  void SetSilent(ControlName pane, bool) override { silent.push_back(Utf16ToUtf8(pane.text())); }
  // Transfer
  using Transfer::OpenUrl;
  std::optional<std::u16string> OpenUrl(std::u16string_view address, std::size_t max_bytes) override {
    const std::string asked = Utf16ToUtf8(address);
    requests.push_back(asked);
    if (during_request) during_request(asked);
    const auto found = replies.find(asked);
    if (found == replies.end() || found->second.size() > max_bytes) return std::nullopt;
    return Utf8ToUtf16(found->second);
  }
  bool Busy() const override { return busy; }
  void Cancel() override { calls.push_back("Cancel"); }
  void RemoveTrayIcon() override { calls.push_back("TrayRemove"); }
  void SweepTrayIcons() override { calls.push_back("Sweep"); }
  void OpenAddress(std::u16string_view address) override { calls.push_back("Open " + Utf16ToUtf8(address)); }
  void EndProcessNow() override { calls.push_back("EndProcess"); }
  void UnloadWindows() override { calls.push_back("Unload"); }
  bool Minimized() override { return minimized; }
  bool Shown() override { return shown; }
  void SetShown(bool show) override {
    shown = show;
    calls.push_back(show ? "Show" : "Hide");
  }
  void ShutdownComputer(bool force) override { calls.push_back(force ? "Shutdown force" : "Shutdown"); }
  // DesktopSession
  void KeepAwake(bool awake) override { calls.push_back(awake ? "Awake on" : "Awake off"); }
  void ShowOnTaskbar(const TaskbarView& view) override { taskbar.push_back(view); }
  // Clock: the test moves it.
  LocalTime Now() override { return {}; }
  std::uint64_t MonotonicMs() override { return now_ms; }
  void SetRoundedRegion(long width, long height) override {
    regions.push_back(std::to_string(width) + "x" + std::to_string(height));
  }
  void SetPointer(Pointer shape) override { pointer = shape; }
  void CaptureMouse(const ControlId& control) override { captured = Utf16ToUtf8(ControlText(control)); }
  void ReleaseMouse() override { captured.clear(); }
  // The loop runs `during_loop` (the window's resizes while the user drags), then returns.
  void RunMoveSizeLoop(int hit_code) override {
    loops.push_back(hit_code);
    if (during_loop) during_loop();
  }
  // SecondaryWindows
  void ShowSettings(int tab) override { calls.push_back("Settings " + std::to_string(tab)); }
  void ShowTips() override { calls.push_back("Tips"); }
  // Dialogs: the file the user picks next (nothing: cancelled).
  std::optional<std::u16string> OpenFile(std::u16string_view filter, std::u16string_view title) override {
    dialogs.push_back(Utf16ToUtf8(title) + " " + Utf16ToUtf8(filter));
    return picked_file;
  }
  // Processes
  bool AnyNamed(std::u16string_view name) override { return running.count(Utf16ToUtf8(name)) > 0; }
  void StartMinimized(std::u16string_view program) override { started.push_back(Utf16ToUtf8(program)); }
  std::vector<ProcessEntry> List() override { return processes; }
  std::u16string ImagePath(unsigned long id) override {
    const auto found = paths.find(id);
    return found == paths.end() ? std::u16string() : found->second;
  }
  bool Terminate(unsigned long id) override {
    calls.push_back("Terminate " + std::to_string(id));
    for (auto it = processes.begin(); it != processes.end(); ++it) {
      if (it->id == id) {
        processes.erase(it);
        return true;
      }
    }
    return false;
  }
  // Menus: answers with the next of `menu_answers` (-1 when none is left).
  int PopupAt(const std::vector<MenuEntry>& entries, long x, long y) override {
    menu_points.push_back(std::to_string(x) + "," + std::to_string(y));
    return Popup(entries);
  }
  int Popup(const std::vector<MenuEntry>& entries) override {
    std::string shown_entries;
    for (const MenuEntry& entry : entries) shown_entries += (entry.checked ? "*" : "") + Utf16ToUtf8(entry.text) + "|";
    menus.push_back(shown_entries);
    if (menu_answers.empty()) return -1;
    const int answer = menu_answers.front();
    menu_answers.erase(menu_answers.begin());
    return answer;
  }

  std::vector<std::string> calls, navigations, silent, requests, balloons, messages, started;
  std::vector<TaskbarView> taskbar;
  std::uint64_t now_ms = 100000;
  std::vector<bool> topmost;
  std::vector<int> states;
  std::map<std::string, std::string> replies;  // address -> reply body
  std::map<std::string, int> running;
  std::function<void()> pending_events;
  std::vector<ProcessEntry> processes;
  std::map<unsigned long, std::u16string> paths;
  std::vector<std::string> menus;
  std::vector<int> menu_answers;
  std::vector<std::string> questions;
  std::vector<bool> answers;
  std::vector<std::string> regions, dialogs, menu_points, message_titles;
  std::vector<int> loops;
  std::function<void()> during_loop;
  std::optional<std::u16string> picked_file;
  Pointer pointer = Pointer::kDefault;
  std::string captured;
  bool minimized = false;
  bool shown = true;
  bool busy = false;
  std::function<void(const std::string& address)> during_request;
};
