#include "play/lists/media_file_key.h"

#include "play/text/js_escape.h"
#include "play/text/text_procedures.h"

std::size_t HalfRoundedToEven(std::size_t n) {
  const std::size_t half = n / 2;
  if (n % 2 == 0) return half;
  return half % 2 == 0 ? half : half + 1;  // x.5 goes to the even neighbour
}

std::optional<MediaFileKey> MediaFileKeyOf(std::u16string_view media) {
  if (media.find(u'|') == std::u16string_view::npos) return std::nullopt;
  std::u16string_view rest = media;
  for (int i = 0; i < 2; ++i) {
    const auto bar = rest.find(u'|');
    rest = bar == std::u16string_view::npos ? std::u16string_view() : rest.substr(bar + 1);
  }
  const std::u16string name = JsUnescape(rest.substr(0, rest.find(u'|')));
  const std::u16string base = StripExtension(name);
  std::size_t half = HalfRoundedToEven(base.size());
  if (half < 3) half = base.size();
  if (half == 0) return std::nullopt;
  return MediaFileKey{base.substr(0, half), half};
}
