#pragma once
// The transfer control over WinINet: the request runs on a helper thread while this thread
// keeps handling window events, so a slow site never freezes the window.
#include <atomic>
#include <memory>

#include "play/ports/transfer.h"

class Win32Transfer final : public Transfer {
 public:
  // A request that has not answered after `limit_ms` is given up.
  explicit Win32Transfer(unsigned limit_ms = 30000) : limit_ms_(limit_ms) {}
  std::optional<std::u16string> OpenUrl(std::u16string_view address) override;
  bool Busy() const override { return busy_.load(); }
  void Cancel() override;

 private:
  struct Request;
  unsigned limit_ms_;
  std::atomic<bool> busy_{false};
  std::shared_ptr<Request> current_;
};
