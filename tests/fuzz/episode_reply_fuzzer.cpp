// The site's h.asp replies: the one that resolves a catalogue item, and the one that names the
// next episode. Whatever they say, the program must not fail, and the next episode's link must
// play exactly the media that was fetched ahead for it.
#include "tests/fuzz/main_window_rig.h"

namespace {

void DeliverToCatalogue(MainWindowRig& rig) {
  for (std::size_t delivered = 0; delivered < rig.host.navigations.size(); ++delivered) {
    FUZZ_CHECK(delivered < 16);
    const std::string& record = rig.host.navigations[delivered];
    if (record.rfind("Web1 ", 0) != 0) continue;
    bool cancel = false;
    rig.window.BeforeNavigate(ba1::Web1, Utf8ToUtf16(record.substr(5)), cancel);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  // The resolve reply and the next-episode reply, as the site's bytes (UTF-8, as the transfer
  // port hands them on decoded).
  const auto parts = SplitInput(data, size, 2);
  MainWindowRig rig(parts[0]);
  bool cancel = false;
  rig.window.BeforeNavigate(ba1::Web1, u"eebovod://12-3-4-星河/", cancel);
  DeliverToCatalogue(rig);
  rig.CheckInvariants();

  rig.host.during_request = [&rig, reply = std::string(parts[1])](const std::string& address) {
    rig.host.replies[address] = reply;
  };
  rig.window.context().current_key = u"12-3-4-%u661F";
  rig.window.QueryNextEpisode();
  const std::u16string next_link = rig.window.context().next_link;
  const std::u16string next_media = rig.window.context().next_media;
  if (next_link.rfind(u"eevexo://", 0) == 0) {
    rig.host.navigations.clear();
    rig.window.BeforeNavigate(ba1::Web1, next_link, cancel);
    FUZZ_CHECK(rig.player.media_url == next_media);
  }
  rig.CheckInvariants();
  return 0;
}
