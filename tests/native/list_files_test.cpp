#include "play/startup/list_files.h"

#include <gtest/gtest.h>

#include "play/native/files_std.h"
#include "tests/shared/test_folder.h"

namespace {

TEST(ListFiles, EmptyFolderLeavesTheArrayAlone) {
  TestFolder folder;
  StdFiles files;
  std::vector<std::u16string> names{u"kept"};
  EXPECT_FALSE(ListFiles(files, folder.Text(), names, u"*.*"));
  EXPECT_EQ(names, std::vector<std::u16string>{u"kept"});
}

TEST(ListFiles, MatchesThePatternAndReplacesTheArray) {
  TestFolder folder;
  folder.Write(u"c.htm", "x");
  folder.Write(u"f.HTM", "x");
  folder.Write(u"date.dat", "x");
  folder.Write(u"README", "x");
  std::filesystem::create_directory(folder.path() / "sub.htm");
  StdFiles files;
  std::vector<std::u16string> names{u"old1", u"old2", u"old3", u"old4", u"old5"};
  ASSERT_TRUE(ListFiles(files, folder.Text() + u"\\", names, u"*.htm"));
  EXPECT_EQ(names, (std::vector<std::u16string>{u"c.htm", u"f.HTM"}));
  ASSERT_TRUE(ListFiles(files, folder.Text(), names, u"*.*"));
  EXPECT_EQ(names.size(), 4u);  // "*.*" takes names without a dot too; folders never
}

}  // namespace
