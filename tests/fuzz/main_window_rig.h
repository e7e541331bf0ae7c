#pragma once
// The main window's core over files in memory, the emulated profile functions, a recording
// player and a recording host whose site answers every request with the same reply, for the
// fuzzers that drive play.exe's handlers.
#include <cctype>
#include <set>

#include "common/codepage.h"
#include "common/text/utf.h"
#include "common/text/web_address.h"
#include "play/main_window.h"
#include "play/native/profile_strings_emulated.h"
#include "play/ports/ansi_text.h"
#include "play/text/text_procedures.h"
#include "tests/fuzz/fuzz_check.h"
#include "tests/fuzz/memory_files.h"
#include "tests/native/fake_player.h"
#include "tests/native/fake_window_host.h"

inline constexpr std::u16string_view kRigFolder = u"C:\\Vexo";
inline constexpr std::u16string_view kRigBase = u"http://site/soft/";

struct MainWindowRig {
  explicit MainWindowRig(std::string_view site_reply = {}) {
    files.files[std::u16string(kRigFolder) + u"\\config.ini"] =
        "[S_q]\r\ns_h=2\r\ns_bo=2\r\ns_pao=2\r\nvexow=C:\\Vexo\\\r\n";
    files.files[lists.PathOf(kWebListFile)] = "\r\n";
    files.files[lists.PathOf(kLocalListFile)] = "\r\n";
    host.during_request = [this, reply = std::string(site_reply)](const std::string& address) {
      host.replies[address] = reply;
    };
  }

  // Entries of a list file: its lines that hold fields.
  std::vector<std::u16string> Entries(std::u16string_view list_file) {
    std::vector<std::u16string> entries;
    const auto text = ReadAnsiText(files, code_page, lists.PathOf(list_file));
    for (std::u16string& line : SplitLines(text.value_or(u""))) {
      if (line.find(u'|') != std::u16string::npos) entries.push_back(std::move(line));
    }
    return entries;
  }

  // Whatever a handler did, the program folder holds only the program's own files, the lists
  // keep their bound, and only web addresses went to the shell.
  void CheckInvariants() {
    static const std::set<std::u16string> kOwnFiles = {u"config.ini", u"date.dat", u"date_f.dat", u"c.htm", u"f.htm"};
    for (const auto& [path, bytes] : files.files) {
      FUZZ_CHECK(path.compare(0, kRigFolder.size() + 1, std::u16string(kRigFolder) + u"\\") == 0);
      FUZZ_CHECK(kOwnFiles.count(path.substr(kRigFolder.size() + 1)) == 1);
    }
    FUZZ_CHECK(Entries(kWebListFile).size() <= 101);
    FUZZ_CHECK(Entries(kLocalListFile).size() <= 101);
    for (const std::string& call : host.calls) {
      if (call.rfind("Open ", 0) == 0) FUZZ_CHECK(IsOpenableWebAddress(Utf8ToUtf16(call.substr(5))));
    }
  }

  MemoryFiles files;
  SystemCodePage code_page;
  EmulatedProfileStrings profile{files, code_page};
  HistoryLists lists{files, code_page, std::u16string(kRigFolder)};
  FakePlayer player;
  RecordingHost host;
  MainWindow window{{profile, files, player, lists, host, host, host, host, host, host, host, host, host},
                    std::u16string(kRigFolder),
                    std::u16string(kRigBase)};
};
