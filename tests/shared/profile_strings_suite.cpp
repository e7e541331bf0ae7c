#include "tests/shared/profile_strings_suite.h"

#include <vector>

#include "common/text/utf.h"
#include "play/startup/config_store.h"
#include "tests/shared/test_folder.h"

namespace {

class Profile {
 public:
  explicit Profile(const ProfileBackend& backend) : strings_(backend.make()), path_(folder_.File(u"config.ini")) {}

  std::u16string Read(std::u16string_view section, std::u16string_view key) {
    return ReadIniValue(*strings_, path_, section, key, u"0");
  }
  void Write(std::u16string_view section, std::u16string_view key, std::u16string_view value) {
    EXPECT_TRUE(strings_->WriteString(section, key, value, path_)) << Utf16ToUtf8(key);
  }
  void Seed(std::string_view bytes) { folder_.Write(u"config.ini", bytes); }
  std::string Bytes() const { return folder_.Read(u"config.ini"); }
  bool Exists() const { return folder_.Has(u"config.ini"); }
  ProfileStrings& strings() { return *strings_; }
  const std::u16string& path() const { return path_; }

 private:
  TestFolder folder_;
  std::unique_ptr<ProfileStrings> strings_;
  std::u16string path_;
};

const std::string kTitleGbk = "\xE7\xB2\xD3\xB3\xD3\xB0\xCA\xD3\xBA\xD0";  // 绮映影视盒 in code page 936

}  // namespace

TEST_P(ProfileStringsSuite, MissingFileReadsUnsetForEveryKeyAndStaysMissing) {
  Profile profile(GetParam());
  for (const config::Key& key : config::kCreationOrder) {
    EXPECT_EQ(ReadIniValue(profile.strings(), profile.path(), key), u"0") << Utf16ToUtf8(key.name);
  }
  EXPECT_EQ(profile.Read(u"S_q", u"vexow"), u"0");
  EXPECT_FALSE(profile.Exists());
}

// Key by key, or a whole new section at a time: the same bytes.
TEST_P(ProfileStringsSuite, FirstWritesCreateFileAndSectionsInOrderAsAnsi) {
  for (const bool by_section : {false, true}) {
    Profile profile(GetParam());
    std::string expected;
    std::u16string_view section;
    std::vector<ProfileStrings::Entry> entries;
    for (const config::Key& key : config::kCreationOrder) {
      const std::u16string_view value = key.default_value.empty() ? u"00-1A-2B-3C-4D-5E" : key.default_value;
      if (by_section && key.section != section && !entries.empty()) {
        EXPECT_TRUE(profile.strings().WriteNewSection(section, entries, profile.path()));
        entries.clear();
      }
      if (by_section) {
        entries.push_back({key.name, value});
      } else {
        profile.Write(key.section, key.name, value);
      }
      if (key.section != section) expected += "[" + Utf16ToUtf8(key.section) + "]\r\n";
      section = key.section;
      expected += Utf16ToUtf8(key.name) + "=" +
                  (key.name == u"Name" && key.section == u"main" ? kTitleGbk : Utf16ToUtf8(value)) + "\r\n";
    }
    if (by_section) {
      EXPECT_TRUE(profile.strings().WriteNewSection(section, entries, profile.path()));
    }
    EXPECT_EQ(profile.Bytes(), expected) << (by_section ? "by section" : "key by key");
    EXPECT_EQ(profile.Read(u"main", u"Name"), u"绮映影视盒");
    EXPECT_EQ(profile.Read(u"S_q", u"h_h"), u"8475");
  }
}

TEST_P(ProfileStringsSuite, SectionsAndKeysMatchWithoutRegardToCase) {
  Profile profile(GetParam());
  profile.Write(u"User", u"Name", u"12345");
  profile.Write(u"Ver", u"Name", u"3.2");
  EXPECT_EQ(profile.Read(u"user", u"Name"), u"12345");
  EXPECT_EQ(profile.Read(u"USER", u"nAmE"), u"12345");
  profile.Write(u"ver", u"NAME", u"3.3");
  EXPECT_EQ(profile.Read(u"Ver", u"Name"), u"3.3");
  // Still one section and one key: the second write replaced the first.
  EXPECT_EQ(profile.Bytes(), "[User]\r\nName=12345\r\n[Ver]\r\nName=3.3\r\n");
}

TEST_P(ProfileStringsSuite, EmptyValueReadsEmptyAndLongValueIsCut) {
  Profile profile(GetParam());
  profile.Seed("[S_q]\r\nh_w=\r\nh_h=8475\r\n");
  EXPECT_EQ(profile.Read(u"S_q", u"h_w"), u"");
  EXPECT_EQ(profile.Read(u"S_q", u"h_h"), u"8475");

  std::u16string long_value;
  for (int i = 0; i < 300; ++i) long_value += static_cast<char16_t>(u'a' + i % 26);
  profile.Write(u"S_q", u"vexow", long_value);
  EXPECT_EQ(profile.Read(u"S_q", u"vexow"), long_value.substr(0, 254));

  char16_t buffer[255];
  std::fill(std::begin(buffer), std::end(buffer), u'#');
  EXPECT_EQ(profile.strings().GetString(u"S_q", u"vexow", u"0", buffer, 255, profile.path()), 254u);
  EXPECT_EQ(buffer[254], u'\0');
}

TEST_P(ProfileStringsSuite, ValuesAreTrimmedAndLoseMatchingQuotes) {
  Profile profile(GetParam());
  profile.Seed(
      "[S_q]\r\n"
      "  spaced  =  two words \t\r\n"
      "double=\"quoted value\"\r\n"
      "single='quoted'\r\n"
      "mixed=\"open'\r\n"
      "lone=\"\r\n"
      "bare\r\n"
      "first=1\r\n"
      "first=2\r\n");
  EXPECT_EQ(profile.Read(u"S_q", u"spaced"), u"two words");
  EXPECT_EQ(profile.Read(u"S_q", u"double"), u"quoted value");
  EXPECT_EQ(profile.Read(u"S_q", u"single"), u"quoted");
  EXPECT_EQ(profile.Read(u"S_q", u"mixed"), u"\"open'");
  EXPECT_EQ(profile.Read(u"S_q", u"lone"), u"\"");
  EXPECT_EQ(profile.Read(u"S_q", u"bare"), u"0");  // a line without '=' has no value
  EXPECT_EQ(profile.Read(u"S_q", u"first"), u"1");
  EXPECT_EQ(profile.Read(u"S_q", u" spaced "), u"two words");
}

TEST_P(ProfileStringsSuite, DefaultLosesTrailingBlanks) {
  Profile profile(GetParam());
  EXPECT_EQ(profile.Read(u"S_q", u"none"), u"0");
  EXPECT_EQ(ReadIniValue(profile.strings(), profile.path(), u"S_q", u"none", u"ab  "), u"ab");
  EXPECT_EQ(ReadIniValue(profile.strings(), profile.path(), u"S_q", u"none", u""), u"");
}

TEST_P(ProfileStringsSuite, WritesKeepOtherKeysInOrderAndAddNewKeysToTheirSection) {
  Profile profile(GetParam());
  profile.Seed("[Skin]\r\nNum=1\r\n[S_q]\r\nts=3\r\nquit=2\r\nvexok=2\r\n");
  profile.Write(u"S_q", u"quit", u"1");
  profile.Write(u"Skin", u"Num", u"3");
  profile.Write(u"S_q", u"vexow", u"C:\\Program Files\\播放器\\");
  profile.Write(u"S_q", u"ts", u"3");  // same value: nothing changes
  EXPECT_EQ(profile.Bytes(),
            "[Skin]\r\nNum=3\r\n[S_q]\r\nts=3\r\nquit=1\r\nvexok=2\r\nvexow=C:\\Program "
            "Files\\\xB2\xA5\xB7\xC5\xC6\xF7\\\r\n");
  EXPECT_EQ(profile.Read(u"S_q", u"vexow"), u"C:\\Program Files\\播放器\\");
}

TEST_P(ProfileStringsSuite, ReadsAnsiWrittenByOthers) {
  Profile profile(GetParam());
  profile.Seed("[main]\r\nName=" + kTitleGbk + "\r\n[S_q]\nts=1\n");  // bare LF line ends too
  EXPECT_EQ(profile.Read(u"main", u"Name"), u"绮映影视盒");
  EXPECT_EQ(profile.Read(u"S_q", u"ts"), u"1");
}

TEST_P(ProfileStringsSuite, NewKeysJoinTheirSectionAndUntouchedLinesSurvive) {
  Profile profile(GetParam());
  profile.Seed("; settings\r\n[A]\r\na=1\r\n\r\n[B]\r\nb = 2\r\n");
  profile.Write(u"A", u"c", u"3");
  profile.Write(u"C", u"d", u"4");
  EXPECT_EQ(profile.Read(u"A", u"c"), u"3");
  EXPECT_EQ(profile.Read(u"B", u"b"), u"2");
  // Windows keeps the layout of untouched lines and Wine normalises it, so only the order is
  // common ground: the comment stays first, c follows a inside [A], [C] is appended.
  const std::string bytes = profile.Bytes();
  EXPECT_EQ(bytes.rfind("; settings\r\n[A]\r\na=1\r\nc=3\r\n", 0), 0u) << bytes;
  EXPECT_LT(bytes.find("c=3"), bytes.find("[B]")) << bytes;
  EXPECT_EQ(bytes.substr(bytes.size() - 10), "[C]\r\nd=4\r\n") << bytes;
}
