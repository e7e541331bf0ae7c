#pragma once
// The transfer control (Inet1): fetches an address as text, synchronously for the caller, while
// window events keep running.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

class Transfer {
 public:
  virtual ~Transfer() = default;
  // Replies larger than this are not wanted from any request.
  static constexpr std::size_t kMaxReplyBytes = 4u << 20;
  // The reply body as text; nothing when no reply was obtained (no connection, a time-out, a
  // cancel, an error status, or a body of more than `max_bytes`).
  virtual std::optional<std::u16string> OpenUrl(std::u16string_view address, std::size_t max_bytes) = 0;
  std::optional<std::u16string> OpenUrl(std::u16string_view address) { return OpenUrl(address, kMaxReplyBytes); }
  virtual bool Busy() const = 0;
  virtual void Cancel() = 0;
};
