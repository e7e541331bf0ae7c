#include "play/startup/run_startup.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "common/text/decimal.h"
#include "play/lists/history_lists.h"
#include "play/startup/config_store.h"

namespace {

// A missing list file starts as one empty line, and a missing page is made from its list.
void EnsureListFiles(StartupContext& c) {
  HistoryLists lists(c.files, c.code_page, c.program_folder);
  for (std::u16string_view list : {kWebListFile, kLocalListFile}) {
    if (!c.files.Exists(lists.PathOf(list))) c.files.ReplaceBytes(lists.PathOf(list), "\r\n");
  }
  if (!c.files.Exists(lists.PathOf(kWebListPage))) lists.WriteListPage(kWebListFile);
  if (!c.files.Exists(lists.PathOf(kLocalListPage))) lists.WriteListPage(kLocalListFile);
}

}  // namespace

std::u16string ByteToHex2(unsigned char byte) {
  constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  return std::u16string{kDigits[byte >> 4], kDigits[byte & 0xF]};
}

std::u16string GeneratedUserId(const LocalTime& now, int random) {
  return Decimal(now.year) + Decimal(now.month) + Decimal(now.day) + Decimal(now.hour) + Decimal(now.minute) +
         Decimal(now.second) + Decimal(random);
}

std::u16string ComputeUserId(StartupSystem& system, Clock& clock) {
  const std::u16string mac = system.MacAddress();
  if (mac != u"0" && mac.find(u"00-00-00-00-00-00") == std::u16string::npos) return mac;
  const LocalTime now = clock.Now();
  return GeneratedUserId(now, system.Random100To999());
}

long long IniNumber(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == u' ' || text.back() == u'\t')) text.remove_suffix(1);
  if (text.empty() || text.size() > 30) return 0;
  std::string ascii;
  for (char16_t c : text) {
    if (c > 0x7F) return 0;
    ascii += static_cast<char>(c);
  }
  std::size_t used = 0;
  double value = 0;
  try {
    value = std::stod(ascii, &used);
  } catch (...) {
    return 0;
  }
  if (used != ascii.size() || !std::isfinite(value) || std::fabs(value) > 9e15 ||
      ascii.find_first_of("eExXnNiI") != std::string::npos) {
    return 0;
  }
  return static_cast<long long>(std::nearbyint(value));  // the default rounding: half to even
}

StartupOutcome RunStartup(StartupContext& c) {
  if (!c.system.PlayerControlInstalled()) {
    if (c.system.AskYesNo(kNoPlayerTitle, kNoPlayerQuestion)) c.system.OpenHidden(kPlayerDownloadPage);
    return StartupOutcome::kNoPlayerControl;
  }
  const std::u16string config = c.program_folder + u"\\" + std::u16string(config::kFileName);
  ProfileStrings& profile = c.profile;

  if (!c.files.Exists(config)) {
    const std::u16string user_id = ComputeUserId(c.system, c.clock);
    // A section at a time, in the order of their first keys: one write of the file each.
    std::vector<std::u16string_view> sections;
    for (const config::Key& key : config::kCreationOrder) {
      if (std::find(sections.begin(), sections.end(), key.section) == sections.end()) sections.push_back(key.section);
    }
    for (const std::u16string_view section : sections) {
      std::vector<ProfileStrings::Entry> entries;
      for (const config::Key& key : config::kCreationOrder) {
        if (key.section != section) continue;
        const bool user = key.name == config::kUserName.name && key.section == config::kUserName.section;
        entries.push_back({key.name, user ? std::u16string_view(user_id) : key.default_value});
      }
      profile.WriteNewSection(section, entries, config);
    }
  }

  // Read back everything and repair what reads as unset or wrong. Readers ask for "user" and
  // "ver": sections are the same whatever their case.
  const std::u16string user = ReadIniValue(profile, config, u"user", u"Name", config::kUnset);
  const std::u16string version = ReadIniValue(profile, config, u"ver", u"Name", config::kUnset);
  auto number = [&](const config::Key& key) { return IniNumber(ReadIniValue(profile, config, key)); };
  const long long ts = number(config::kTs);
  ReadIniValue(profile, config, config::kNiX);  // read as it always was; nothing acts on it

  if (user == u"0" || user.empty()) WriteIniValue(profile, config, config::kUserName, ComputeUserId(c.system, c.clock));
  if (version != config::kCurrentVersion) WriteIniValue(profile, config, config::kVerName, config::kCurrentVersion);
  if (ts != 1 && ts != 2) WriteIniValue(profile, config, config::kTs, config::kTs.default_value);
  for (const config::Key* key :
       {&config::kQuit, &config::kVexok, &config::kSSize, &config::kHW, &config::kHH, &config::kSH, &config::kSBo,
        &config::kSJd, &config::kSJj, &config::kVexoqi, &config::kSPao}) {
    if (number(*key) == 0) WriteIniValue(profile, config, *key, key->default_value);
  }

  EnsureListFiles(c);
  c.system.ShowMainWindow();
  return StartupOutcome::kMainWindowShown;
}
