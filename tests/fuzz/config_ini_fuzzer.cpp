// config.ini as a user's editor may leave it (any encoding mark, any line ends, duplicate and
// broken sections), read and written through the profile functions and repaired at start.
// The repair is idempotent: a second start changes nothing. A plain value written is read
// back as written, and reads into small buffers stay inside them.
#include <fuzzer/FuzzedDataProvider.h>

#include "common/codepage.h"
#include "play/native/profile_strings_emulated.h"
#include "play/startup/config_store.h"
#include "play/startup/run_startup.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/memory_files.h"

namespace {

constexpr std::u16string_view kFolder = u"C:\\Vexo";
const std::u16string kConfig = std::u16string(kFolder) + u"\\config.ini";

class QuietSystem final : public StartupSystem {
 public:
  bool PlayerControlInstalled() override { return true; }
  bool AskYesNo(std::u16string_view, std::u16string_view) override { return false; }
  void OpenHidden(std::u16string_view) override {}
  std::u16string MacAddress() override { return u"00-1A-2B-3C-4D-5E"; }
  int Random100To999() override { return 417; }
  void ShowMainWindow() override {}
};

class FixedClock final : public Clock {
 public:
  LocalTime Now() override { return {2026, 1, 2, 9, 3, 5}; }
  std::uint64_t MonotonicMs() override { return 0; }
};

// A value the profile functions keep as it is: printable, no blanks around, no line break.
bool PlainValue(std::u16string_view value, const CodePage& code_page) {
  if (value.empty() || value.size() > 200 || value.front() == u' ' || value.back() == u' ') return false;
  for (char16_t c : value) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  return code_page.FromAnsi(code_page.ToAnsi(value)) == value;
}

bool PlainName(std::u16string_view name) {
  if (name.empty() || name.size() > 20) return false;
  for (char16_t c : name) {
    if (!((c >= u'a' && c <= u'z') || (c >= u'0' && c <= u'9') || c == u'_')) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  // The file, then the values written and read back.
  const auto parts = SplitInput(data, size, 2);
  MemoryFiles files;
  SystemCodePage code_page;
  EmulatedProfileStrings profile(files, code_page);
  FixedClock clock;
  QuietSystem system;
  files.files[kConfig] = std::string(parts[0]);

  for (const config::Key* key : {&config::kMainName, &config::kUserName, &config::kTs, &config::kVexow}) {
    for (std::size_t size : {1u, 2u, 255u}) {
      std::vector<char16_t> buffer(size, u'#');
      const std::size_t copied =
          profile.GetString(key->section, key->name, key->default_value, buffer.data(), size, kConfig);
      FUZZ_CHECK(copied < size && buffer[copied] == u'\0');
    }
  }

  StartupContext context{profile, files, code_page, clock, system, std::u16string(kFolder)};
  FUZZ_CHECK(RunStartup(context) == StartupOutcome::kMainWindowShown);
  const auto repaired = files.files;
  RunStartup(context);
  FUZZ_CHECK(files.files == repaired);
  FUZZ_CHECK(ReadIniValue(profile, kConfig, config::kVerName) == config::kCurrentVersion);
  for (const config::Key* key : {&config::kTs, &config::kQuit, &config::kSH, &config::kSPao}) {
    FUZZ_CHECK(IniNumber(ReadIniValue(profile, kConfig, *key)) != 0);
  }

  FuzzedDataProvider input(reinterpret_cast<const unsigned char*>(parts[1].data()), parts[1].size());
  while (input.remaining_bytes() > 0) {
    const std::u16string section = FromAnsi(input.ConsumeRandomLengthString(12));
    const std::u16string key = FromAnsi(input.ConsumeRandomLengthString(12));
    const std::u16string value = FromAnsi(input.ConsumeRandomLengthString(40));
    profile.WriteString(section, key, value, kConfig);
    if (PlainName(section) && PlainName(key) && PlainValue(value, code_page)) {
      FUZZ_CHECK(ReadIniValue(profile, kConfig, section, key, u"absent") == value);
    }
  }
  return 0;
}
