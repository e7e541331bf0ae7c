#pragma once
// The main window's core over real files in a test folder, the emulated profile functions, a
// recording player and a recording host.
#include <gtest/gtest.h>

#include "common/codepage.h"
#include "common/text/utf.h"
#include "play/main_window.h"
#include "play/native/files_std.h"
#include "play/native/profile_strings_emulated.h"
#include "tests/native/fake_player.h"
#include "tests/native/fake_window_host.h"
#include "tests/shared/test_folder.h"

class MainWindowFixture : public testing::Test {
 protected:
  explicit MainWindowFixture(std::u16string content_base)
      : window({profile, files, player, lists, host, host, host, host, host, host, host, host, host}, folder.Text(),
               std::move(content_base)) {}
  // A file of the program folder, decoded from the code page.
  std::string Ansi(std::u16string_view name) { return Utf16ToUtf8(FromAnsi(folder.Read(name))); }

  TestFolder folder;
  StdFiles files;
  SystemCodePage code_page;
  EmulatedProfileStrings profile{files, code_page};
  HistoryLists lists{files, code_page, folder.Text()};
  FakePlayer player;
  RecordingHost host;
  MainWindow window;
};
