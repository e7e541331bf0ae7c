// The upgrade and news file: the footer's links, the exit page, the version question and the
// upgrade run, from the timed check and from the program menu.
#include <gtest/gtest.h>

#include <algorithm>

#include "play/services/upgrade_file.h"
#include "tests/native/main_window_fixture.h"

namespace {

constexpr char kFile[] = "http://site/soft/lib/wen.txt";

class UpgradeCheckTest : public MainWindowFixture {
 protected:
  UpgradeCheckTest() : MainWindowFixture(u"http://site/soft/") {
    folder.Write(u"config.ini", "[Ver]\r\nName= 3.3 \r\n");
    window.LoadFirstInstance(u"");
    host.calls.clear();
  }
  bool Called(const std::string& call) {
    return std::find(host.calls.begin(), host.calls.end(), call) != host.calls.end();
  }
  std::string Footer(int i) { return Utf16ToUtf8(window.model()(ba1::Lab2, i).caption); }
  std::string Address(int i) { return Utf16ToUtf8(window.model()(ba1::Te, i).caption); }
};

TEST_F(UpgradeCheckTest, FiveNewsItemsFillTheFourLinksAndTheSameVersionAsksNothing) {
  host.replies[kFile] =
      "甲****http://a/1@@@@@乙****http://a/2@@@@@丙****http://a/3@@@@@丁****http://a/4@@@@@戊****http://a/5"
      "====1****http://a/bye====3.3\r\n";
  WindowModel& w = window.model();
  window.Timer5_Timer();
  EXPECT_FALSE(w.Timer(ba1::Timer5).enabled);
  EXPECT_EQ(Footer(0) + Footer(3), "甲丁");
  EXPECT_EQ(Address(3), "http://a/4");
  EXPECT_EQ(w(ba1::Lab2, 2).fore_color, Rgb(17, 64, 96));
  EXPECT_TRUE(w.Timer(ba1::Timer7).enabled);
  EXPECT_TRUE(host.questions.empty());
  // The exit page comes from the same file.
  window.ttt_v();
  EXPECT_TRUE(Called("Open http://a/bye"));
}

TEST_F(UpgradeCheckTest, ADifferentVersionAsksEvenALowerOneAndTheUpgradeExits) {
  host.replies[kFile] = "====0****x====3.2\r\n";
  host.answers = {true};
  window.Timer5_Timer();
  EXPECT_EQ(host.questions, (std::vector<std::string>{"绮映影视盒提示： 检测到最新版本 3.2 ,你需要现在升级吗？"}));
  // No updater beside the program: the installer's address goes to the shell, then the exit.
  EXPECT_TRUE(Called("Open http://site/soft/update/setup.exe"));
  EXPECT_TRUE(Called("Unload"));
  EXPECT_FALSE(window.model().Timer(ba1::Timer7).enabled);  // no news in the file
}

TEST_F(UpgradeCheckTest, TheMenuCheckUsesWhatTheTimedCheckFound) {
  window.shengji();  // before the timed check: up to date
  EXPECT_EQ(host.messages, (std::vector<std::string>{"你现在使用的是最新版本，无需升级！"}));
  EXPECT_EQ(host.message_titles, (std::vector<std::string>{"提示："}));

  folder.Write(u"update.exe", "MZ");
  host.replies[kFile] = "====0****x====3.4";
  host.answers = {false, true};
  window.Timer5_Timer();
  EXPECT_FALSE(Called("Unload"));
  window.shengji();
  EXPECT_EQ(host.questions.back(), "提示： 检测到最新版本 3.4 ,你需要现在升级吗？");
  EXPECT_EQ(host.started, (std::vector<std::string>{Utf16ToUtf8(folder.Text()) + "\\update.exe"}));
  EXPECT_TRUE(Called("Unload"));
}

TEST_F(UpgradeCheckTest, BrokenOrHostileFilesChangeNothingAndAskNothing) {
  for (const std::string& body : {std::string("<html>error</html>"), std::string(""),
                                  "x****http://a/1====0****y====3.4" + std::string(70 * 1024, ' '),
                                  std::string("====0****y====3.\x01"
                                              "4")}) {
    host.replies[kFile] = body;
    window.Timer5_Timer();
  }
  EXPECT_TRUE(host.questions.empty());
  EXPECT_EQ(Footer(0), "");
  EXPECT_TRUE(window.latest_version().empty());
}

// Servers end the version line as their system does; only other control characters make it
// no version.
TEST(UpgradeFile, TheVersionLosesItsLineEndAndBlanksButNotOtherControls) {
  const std::pair<const char16_t*, const char16_t*> cases[] = {
      {u"3.4", u"3.4"},
      {u"3.4\r\n", u"3.4"},
      {u"3.4\n", u"3.4"},
      {u"\r\n3.4\n\n", u"3.4"},
      {u" 3.4\t", u"3.4"},
      {u"\t 3.4 \r\n", u"3.4"},
      {u"3.\x01"
       u"4",
       u""},
      {u"3.4\x0b", u""},
      {u"3.4\x7f", u""},
      {u" \t\r\n", u""},
      {u"3. 4\n", u"3. 4"},
  };
  for (const auto& [section, version] : cases) {
    const auto file = ParseUpgradeFile(u"====0====" + std::u16string(section));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->latest_version, version) << Utf16ToUtf8(section);
  }
}

TEST(UpgradeFile, NewsWithoutAnAddressKeepsTheTitleOnly) {
  const auto file = ParseUpgradeFile(u"甲****http://a/1@@@@@乙====1****b");
  ASSERT_TRUE(file);
  ASSERT_EQ(file->news.size(), 2u);
  EXPECT_FALSE(file->news[1].address);
  EXPECT_EQ(file->news[1].title, u"乙");
  EXPECT_EQ(file->exit_action, u"1****b");
  EXPECT_EQ(file->latest_version, u"");
  EXPECT_TRUE(ParseUpgradeFile(u"====")->news.empty());
}

}  // namespace
