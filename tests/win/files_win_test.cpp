#include <windows.h>

#include <algorithm>

#include <gtest/gtest.h>

#include "play/ports/ansi_text.h"
#include "play/startup/list_files.h"
#include "play/win32/files_win32.h"
#include "tests/shared/test_folder.h"

namespace {

TEST(Win32Files, ListFilesFollowsTheSystemWildcards) {
  TestFolder folder;
  Win32Files files;
  std::vector<std::u16string> names{u"kept"};
  EXPECT_FALSE(ListFiles(files, folder.Text(), names, u"*.*"));
  EXPECT_EQ(names, std::vector<std::u16string>{u"kept"});

  folder.Write(u"c.htm", "x");
  folder.Write(u"f.HTM", "x");
  folder.Write(u"第1集.rmvb", "x");
  folder.Write(u"README", "x");
  CreateDirectoryW(reinterpret_cast<const wchar_t*>(folder.File(u"sub.htm").c_str()), nullptr);
  ASSERT_TRUE(ListFiles(files, folder.Text(), names, u"*.htm"));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"c.htm", u"f.HTM"}));
  ASSERT_TRUE(ListFiles(files, folder.Text() + u"\\", names, u"*.*"));
  EXPECT_EQ(names.size(), 4u);

  // Hidden and system files stay out, as in a plain listing of the folder.
  folder.Write(u"desktop.ini", "x");
  folder.Write(u"hidden.rmvb", "x");
  SetFileAttributesW(reinterpret_cast<const wchar_t*>(folder.File(u"desktop.ini").c_str()),
                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  SetFileAttributesW(reinterpret_cast<const wchar_t*>(folder.File(u"hidden.rmvb").c_str()), FILE_ATTRIBUTE_HIDDEN);
  ASSERT_TRUE(ListFiles(files, folder.Text(), names, u"*.*"));
  EXPECT_EQ(names.size(), 4u);
  EXPECT_EQ(std::count(names.begin(), names.end(), u"hidden.rmvb"), 0);
}

TEST(Win32Files, ReplaceWritesWholeFilesInTheCodePage) {
  TestFolder folder;
  Win32Files files;
  SystemCodePage code_page;
  const std::u16string path = folder.File(u"date.dat");
  folder.Write(u"date.dat", "old\r\n");
  ASSERT_TRUE(ReplaceAnsiText(files, code_page, path, u"绮映|1\r\n"));
  EXPECT_EQ(folder.Read(u"date.dat"), "\xE7\xB2\xD3\xB3|1\r\n");
  EXPECT_EQ(ReadAnsiText(files, code_page, path), u"绮映|1\r\n");
  // No temporary file is left beside it.
  EXPECT_EQ(files.List(folder.File(u"*")), std::vector<std::u16string>{u"date.dat"});
  // A folder that does not exist: the write fails and reports it.
  EXPECT_FALSE(files.ReplaceBytes(folder.File(u"missing\\date.dat"), "x"));
  EXPECT_TRUE(files.Delete(path));
  EXPECT_FALSE(files.Exists(path));
}

}  // namespace
