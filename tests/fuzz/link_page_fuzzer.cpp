// The link-list pane's reading of a page: its bytes decoded, its title and links read, and each
// address resolved against the page's own. A resolved address is final: resolving it again
// against the same page gives it back.
#include "common/text/utf.h"
#include "play/panes/link_page.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  // The page's address, then its bytes.
  const auto parts = SplitInput(data, size, 2);
  const std::u16string base = Utf8ToUtf16(parts[0]);
  const std::u16string html = DecodePageBytes(parts[1]);
  const LinkPage page = ParseLinkPage(html, base);
  for (const PageLink& link : page.links) FUZZ_CHECK(ResolveAddress(base, link.href) == link.href);
  DecodeHtmlEntities(html);
  return 0;
}
