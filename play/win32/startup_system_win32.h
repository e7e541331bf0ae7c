#pragma once
#include <future>
#include <string>

#include "play/startup/run_startup.h"

// Start-up's system side on Windows: the player probe, the question box, the shell, the
// adapter address over NetBIOS and the random number.
class Win32StartupSystem final : public StartupSystem {
 public:
  bool PlayerControlInstalled() override;
  bool AskYesNo(std::u16string_view title, std::u16string_view text) override;
  void OpenHidden(std::u16string_view address) override;
  std::u16string MacAddress() override;
  // Starts looking the address up beside the rest of the start (loading the network
  // libraries takes a while); MacAddress then waits for it.
  void LookUpMacAddressAhead();
  int Random100To999() override;
  void ShowMainWindow() override { main_window_wanted_ = true; }

  bool main_window_wanted() const { return main_window_wanted_; }

 private:
  bool main_window_wanted_ = false;
  std::future<std::u16string> mac_address_;
};

// GetMacAddress: the first adapter's address over NetBIOS, "00-00-00-00-00-00" when none
// answers, the empty text when the work buffer cannot be had.
std::u16string GetMacAddress();
