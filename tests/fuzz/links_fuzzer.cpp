// The private links that pages hand the program (eebovod://, eevexo://, open://, delk://,
// niba://, the finish signal), met by every pane, with the list files and the site's reply
// as the fuzzer makes them. A link a pane passes on to another pane is delivered there, as
// the browser would, so loops between panes would show. Nothing may land outside the
// program's own files, and the lists keep their bound.
#include "tests/fuzz/main_window_rig.h"

namespace {

constexpr ControlName kPanes[] = {ba1::Web1, ba1::Web2, ba1::Web3, ba1::Web4, ba1::Web5};

std::optional<ControlName> PaneNamed(std::u16string_view name) {
  for (ControlName pane : kPanes) {
    if (pane == name) return pane;
  }
  return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  // The link, date.dat, date_f.dat, and what the site answers to any request.
  const auto parts = SplitInput(data, size, 4);
  MainWindowRig rig(parts[3]);
  rig.files.files[rig.lists.PathOf(kWebListFile)] = std::string(parts[1]);
  rig.files.files[rig.lists.PathOf(kLocalListFile)] = std::string(parts[2]);
  const std::u16string link = FromAnsi(parts[0]);

  for (ControlName first_pane : kPanes) {
    rig.host.navigations.clear();
    bool cancel = false;
    rig.window.BeforeNavigate(first_pane, link, cancel);
    // Links handed from pane to pane: a handful of steps at most, never a loop.
    for (std::size_t delivered = 0; delivered < rig.host.navigations.size(); ++delivered) {
      FUZZ_CHECK(delivered < 16);
      const std::u16string record = Utf8ToUtf16(rig.host.navigations[delivered]);
      const auto space = record.find(u' ');
      const auto pane = PaneNamed(std::u16string_view(record).substr(0, space));
      if (!pane || space == std::u16string::npos) continue;
      const std::u16string address = record.substr(space + 1);
      bool passed_cancel = false;
      rig.window.BeforeNavigate(*pane, address, passed_cancel);
    }
    rig.CheckInvariants();
    // What a page started plays from the web, or is an entry of the user's own local list.
    const std::string local_list = std::string(parts[2]);
    for (const std::string& call : rig.player.calls) {
      if (call.rfind("MediaUrl ", 0) != 0) continue;
      const std::string media = call.substr(9);
      FUZZ_CHECK(media.empty() || IsSiteMediaAddress(Utf8ToUtf16(media)) ||
                 FromAnsi(local_list).find(Utf8ToUtf16(media)) != std::u16string::npos);
    }
    // The web player goes to the web only, never to a file of this computer.
    for (const std::string& navigation : rig.host.navigations) {
      if (navigation.rfind("Web2 ", 0) != 0) continue;
      std::string scheme = navigation.substr(5, 8);
      for (char& c : scheme) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      FUZZ_CHECK(scheme.rfind("http://", 0) == 0 || scheme.rfind("https://", 0) == 0 ||
                 navigation == "Web2 about:blank");
    }
  }
  rig.window.l_com(link);
  rig.CheckInvariants();
  return 0;
}
