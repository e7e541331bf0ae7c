// Start-up over a real folder: config.ini, the history files and their pages.
#include "play/startup/run_startup.h"

#include <gtest/gtest.h>

#include "common/codepage.h"
#include "common/text/utf.h"
#include "play/native/files_std.h"
#include "play/native/profile_strings_emulated.h"
#include "play/startup/command_line.h"
#include "play/startup/config_store.h"
#include "tests/shared/test_folder.h"

namespace {

class FakeSystem final : public StartupSystem {
 public:
  bool PlayerControlInstalled() override { return installed; }
  bool AskYesNo(std::u16string_view title, std::u16string_view text) override {
    asked = Utf16ToUtf8(title) + Utf16ToUtf8(text);
    return answer_yes;
  }
  void OpenHidden(std::u16string_view address) override { opened = Utf16ToUtf8(address); }
  std::u16string MacAddress() override { return mac; }
  int Random100To999() override { return 417; }
  void ShowMainWindow() override { ++shown; }

  bool installed = true;
  bool answer_yes = false;
  std::u16string mac = u"00-1A-2B-3C-4D-5E";
  std::string asked, opened;
  int shown = 0;
};

class FixedClock final : public Clock {
 public:
  LocalTime Now() override { return {2026, 1, 2, 9, 3, 5}; }
  std::uint64_t MonotonicMs() override { return 0; }
};

class StartupTest : public testing::Test {
 protected:
  StartupOutcome Run() {
    StartupContext context{profile, files, code_page, clock, system, folder.Text()};
    return RunStartup(context);
  }
  std::string Config() { return Utf16ToUtf8(FromAnsi(folder.Read(u"config.ini"))); }
  std::u16string Read(const config::Key& key) { return ReadIniValue(profile, folder.File(u"config.ini"), key); }

  TestFolder folder;
  StdFiles files;
  SystemCodePage code_page;
  EmulatedProfileStrings profile{files, code_page};
  FixedClock clock;
  FakeSystem system;
};

TEST_F(StartupTest, AFreshFolderGetsEverythingInOrder) {
  EXPECT_EQ(Run(), StartupOutcome::kMainWindowShown);
  EXPECT_EQ(Config(),
            "[main]\r\nName=绮映影视盒\r\n[User]\r\nName=00-1A-2B-3C-4D-5E\r\n[Skin]\r\nNum=1\r\n[Ver]\r\nName=3.3\r\n"
            "[S_q]\r\nts=3\r\nquit=2\r\nvexok=2\r\ns_size=2\r\nh_w=13560\r\nh_h=8475\r\ns_h=2\r\ns_bo=2\r\ns_jd=2\r\n"
            "s_jj=2\r\nvexoqi=2\r\ns_pao=2\r\n");
  EXPECT_EQ(folder.Read(u"date.dat"), "\r\n");
  EXPECT_EQ(folder.Read(u"date_f.dat"), "\r\n");
  EXPECT_NE(Utf16ToUtf8(FromAnsi(folder.Read(u"c.htm"))).find("暂无观看记录"), std::string::npos);
  EXPECT_TRUE(folder.Has(u"f.htm"));
  EXPECT_EQ(system.shown, 1);
  const std::string first = Config();
  Run();  // a second start changes nothing
  EXPECT_EQ(Config(), first);
}

TEST_F(StartupTest, WithoutThePlayerItAsksAndEnds) {
  system.installed = false;
  system.answer_yes = true;
  EXPECT_EQ(Run(), StartupOutcome::kNoPlayerControl);
  EXPECT_EQ(system.asked, "提示：程序检测到您的电脑未安装绮映(Vexo)播放器，是否要下载Vexo播放器？");
  EXPECT_EQ(system.opened, Utf16ToUtf8(kPlayerDownloadPage));
  EXPECT_FALSE(folder.Has(u"config.ini"));
  EXPECT_FALSE(folder.Has(u"date.dat"));
  EXPECT_EQ(system.shown, 0);

  FakeSystem said_no;
  said_no.installed = false;
  StartupContext context{profile, files, code_page, clock, said_no, folder.Text()};
  RunStartup(context);
  EXPECT_EQ(said_no.opened, "");
}

TEST_F(StartupTest, ADamagedConfigIsRepairedKeyByKey) {
  folder.Write(u"config.ini",
               "[Ver]\r\nName=3.2\r\n[S_q]\r\nts=5\r\nquit=abc\r\nvexok=1\r\nh_w=\r\nh_h=9000\r\ns_h=0\r\n");
  system.mac = u"00-00-00-00-00-00";  // no adapter answered
  Run();
  EXPECT_EQ(Read(config::kUserName), u"202612935417");
  EXPECT_EQ(Read(config::kVerName), u"3.3");
  EXPECT_EQ(Read(config::kTs), u"3");
  EXPECT_EQ(Read(config::kQuit), u"2");
  EXPECT_EQ(Read(config::kVexok), u"1");
  EXPECT_EQ(Read(config::kHW), u"13560");
  EXPECT_EQ(Read(config::kHH), u"9000");
  EXPECT_EQ(Read(config::kSH), u"2");
  EXPECT_EQ(Read(config::kSPao), u"2");
  EXPECT_EQ(Read(config::kSkinNum), u"0");  // not a repaired key

  folder.Write(u"config.ini", "[User]\r\nName=x\r\n[S_q]\r\nts=1\r\n");
  Run();
  EXPECT_EQ(Read(config::kTs), u"1");
  EXPECT_EQ(Read(config::kUserName), u"x");
}

TEST_F(StartupTest, AnUnreadableAdapterAddressIsKeptAsItIs) {
  folder.Write(u"config.ini", "[S_q]\r\nts=1\r\n");
  system.mac = u"";
  Run();
  // The empty text is neither "0" nor all zeros, so it is taken; the next start tries again.
  EXPECT_EQ(Read(config::kUserName), u"");
}

TEST(IniNumber, AsTheReadersConvert) {
  EXPECT_EQ(IniNumber(u"13560"), 13560);
  EXPECT_EQ(IniNumber(u" 12 "), 12);
  EXPECT_EQ(IniNumber(u"-3"), -3);
  EXPECT_EQ(IniNumber(u"2.5"), 2);
  EXPECT_EQ(IniNumber(u"3.5"), 4);
  for (const char16_t* bad : {u"", u"abc", u"12abc", u"1e3", u"0x10", u"nan", u"inf", u"二"}) {
    EXPECT_EQ(IniNumber(bad), 0) << Utf16ToUtf8(bad);
  }
}

TEST(UserId, HexPairsAndTheGeneratedForm) {
  EXPECT_EQ(ByteToHex2(0x0A), u"0A");
  EXPECT_EQ(ByteToHex2(0xFF), u"FF");
  EXPECT_EQ(GeneratedUserId({2026, 12, 31, 23, 59, 59}, 100), u"20261231235959100");
}

TEST(CommandLine, PageLinksMediaAndNothing) {
  auto page = ClassifyCommandLine(u"\"niba:// 123-4-5 /\"");
  EXPECT_EQ(page.kind, CommandLineRequest::Kind::kPageLink);
  EXPECT_EQ(page.text, u"123-4-5");
  auto media = ClassifyCommandLine(u"niba://abc");
  EXPECT_EQ(media.kind, CommandLineRequest::Kind::kMedia);
  EXPECT_EQ(media.text, u"niba://abc");
  auto file = ClassifyCommandLine(u"\"C:\\影视\\第1集.rmvb\"");
  EXPECT_EQ(file.kind, CommandLineRequest::Kind::kMedia);
  EXPECT_EQ(file.text, u"C:\\影视\\第1集.rmvb");
  EXPECT_EQ(ClassifyCommandLine(u"\"\"").kind, CommandLineRequest::Kind::kNothing);
}

}  // namespace
