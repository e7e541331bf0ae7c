// The site's news and upgrade file lib/wen.txt: parsed on its own, then met by the upgrade
// check of a running window, which fills the footer and may ask about a new version.
#include "play/services/upgrade_file.h"
#include "tests/fuzz/main_window_rig.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::u16string text = Utf8ToUtf16(bytes);
  if (const auto file = ParseUpgradeFile(text)) {
    FUZZ_CHECK(file->news.size() <= 4);
    for (char16_t c : file->latest_version) FUZZ_CHECK(c >= 0x20 && c != 0x7F);
  }

  MainWindowRig rig(bytes);
  rig.host.answers = {true};  // yes to a new version: the download is asked for, and fails
  rig.window.Timer5_Timer();
  rig.window.Timer7_Timer();
  rig.window.Timer7_Timer();
  rig.CheckInvariants();
  return 0;
}
