#pragma once
// The transfer control over WinINet: the request runs on a helper thread while this thread
// keeps handling window events, so a slow site never freezes the window. Requests run one
// after another: one made by a handler that ran while another waited first waits for that one
// to end, and each fails only on its own merits.
#include <memory>
#include <vector>

#include "play/ports/transfer.h"

class Win32Transfer final : public Transfer {
 public:
  // A request that has not answered after `limit_ms` is given up.
  explicit Win32Transfer(unsigned limit_ms = 30000) : limit_ms_(limit_ms) {}
  using Transfer::OpenUrl;
  std::optional<std::u16string> OpenUrl(std::u16string_view address, std::size_t max_bytes) override;
  bool Busy() const override { return !active_.empty(); }
  // Gives up every request that is outstanding or waiting.
  void Cancel() override;

 private:
  struct Request;
  unsigned limit_ms_;
  std::vector<std::shared_ptr<Request>> active_;  // outstanding and waiting
  std::shared_ptr<Request> running_;              // the one on the wire
};
