#pragma once
// The settings window BA3: an about page and a settings page with nine check boxes, one per
// on/off option of config.ini; Apply writes them, OK writes them and closes, Cancel closes.
#include <string>

#include "play/model/secondary_names.h"
#include "play/model/window_model.h"
#include "play/ports/profile_strings.h"

// The about page's line when the program plays through its own control.
inline constexpr char16_t kOwnPlayerNote[] = u"自带播放器：FFmpeg（LGPL）、dav1d（BSD）";

// The window's design client size, in twips.
inline constexpr long kSettingsWidthTwips = 7275;
inline constexpr long kSettingsHeightTwips = 4545;

WindowModel MakeSettingsWindowDesign();

class SettingsWindow {
 public:
  SettingsWindow(ProfileStrings& profile, std::u16string config_path);

  // Reads the options into the check boxes and selects the about tab.
  void Form_Load();
  // Names the player control on the about page; empty leaves the line out.
  void SetPlayerNote(std::u16string_view note);
  void d_z_Click(int index);
  void cmdApply_Click();
  void cmdOK_Click();
  void cmdCancel_Click();
  // A click on a control, routed to its handler; a check box toggles its mark.
  void OnClick(const ControlId& id);

  WindowModel& model() { return model_; }
  // OK, Cancel or the close box asked for the window to go.
  bool unload_requested() const { return unload_requested_; }
  void Unload() { unload_requested_ = true; }

 private:
  ProfileStrings& profile_;
  std::u16string config_path_;
  WindowModel model_;
  bool unload_requested_ = false;
};
