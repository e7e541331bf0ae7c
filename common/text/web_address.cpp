#include "common/text/web_address.h"

#include "common/text/ascii_case.h"

bool IsOpenableWebAddress(std::u16string_view address) {
  const auto starts = [address](std::u16string_view scheme) {
    return address.size() > scheme.size() && EqualsIgnoringAsciiCase(address.substr(0, scheme.size()), scheme);
  };
  if (!starts(u"http://") && !starts(u"https://")) return false;
  for (char16_t c : address) {
    // Blanks of every width count: the ideographic one (U+3000) and the no-break one too.
    if (c <= 0x20 || c == 0x7F || c == u'"' || c == 0x3000 || c == 0xA0 || (c >= 0x80 && c <= 0x9F)) return false;
  }
  return true;
}
