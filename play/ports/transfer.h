#pragma once
// The transfer control (Inet1): fetches an address as text, synchronously for the caller, while
// window events keep running.
#include <optional>
#include <string>
#include <string_view>

class Transfer {
 public:
  virtual ~Transfer() = default;
  // The reply body as text; nothing when no reply was obtained (no connection, a time-out, a
  // cancel, or an error status).
  virtual std::optional<std::u16string> OpenUrl(std::u16string_view address) = 0;
  virtual bool Busy() const = 0;
  virtual void Cancel() = 0;
};
