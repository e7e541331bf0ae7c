#include <gtest/gtest.h>

#include <pugixml.hpp>

#include "tests/native/fake_tips_environment.h"
#include "tips/media_name.h"
#include "tips/tips_document.h"
#include "tips/tips_work.h"

namespace {

const std::string kUrl = "http://tips.example/soft/VexoTips.xml";

std::string Document(const std::string& root_attributes, const std::string& items) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<vexotips " + root_attributes + ">\n" + items + "</vexotips>\n";
}

std::string FlashItem(const std::string& id, const std::string& movie, const std::string& localpath = "") {
  return "  <tip id=\"" + id + "\" tiptype=\"0\" ver=\"1\" sticktime=\"3\" flashurl=\"http://media.example/f/" + movie +
         "\"" + (localpath.empty() ? "" : " localpath=\"" + localpath + "\"") + "/>\n";
}

const std::string kTextItem =
    "  <tip id=\"news\" tiptype=\"1\" ver=\"0\" sticktime=\"2\" mtitle=\"今日推荐\" mcontent=\"a &amp; b\" "
    "clickurl=\"http://x/?a=1&amp;b=2\"/>\n";

struct Saved {
  pugi::xml_document doc;
  explicit Saved(const FakeTipsEnvironment& env) { doc.load_string(env.Read("VexoTips.xml").c_str()); }
  pugi::xml_node root() const { return doc.child("vexotips"); }
  pugi::xml_node item(const char* id) const { return root().find_child_by_attribute("id", id); }
};

TEST(CheckUpdateDue, OnlyALocalDocumentStampedTodayIsUpToDate) {
  TestFolder folder;
  FakeTipsEnvironment env(folder);
  EXPECT_TRUE(CheckUpdateDue(env, kUrl, env.store));  // no local document
  env.Write("VexoTips.xml", Document("updatetime=\"2026-12-07\"", ""));
  EXPECT_FALSE(CheckUpdateDue(env, kUrl, env.store));
  EXPECT_TRUE(CheckUpdateDue(env, "http://tips.example/soft/Other.xml", env.store));  // local name follows the address
  env.Write("VexoTips.xml", Document("updatetime=\"2026-12-7\"", ""));
  EXPECT_TRUE(CheckUpdateDue(env, kUrl, env.store));
  env.Write("VexoTips.xml", Document("updatetime=\"2026-12-06\"", ""));
  EXPECT_TRUE(CheckUpdateDue(env, kUrl, env.store));
  env.Write("VexoTips.xml", "<tips updatetime=\"2026-12-07\"/>");
  EXPECT_TRUE(CheckUpdateDue(env, kUrl, env.store));
  env.Write("VexoTips.xml", "<vexotips updatetime=\"2026-12-07\"");
  EXPECT_TRUE(CheckUpdateDue(env, kUrl, env.store));
  env.Write("VexoTips.xml", Document("updatetime=\"2026-12-07\"", ""));
  env.has_dom = false;
  EXPECT_TRUE(CheckUpdateDue(env, kUrl, env.store));
  EXPECT_TRUE(env.downloads.empty());
}

TEST(TipsWork, ServerDisablesTipsForTheDay) {
  TestFolder folder;
  FakeTipsEnvironment env(folder);
  env.server[kUrl] = Document("enable=\"0\"", "");
  // Without a local document there is nothing to mark.
  EXPECT_EQ(RunTipsWork(env, kUrl, env.store), TipsWorkOutcome::kDisabled);
  EXPECT_FALSE(env.Has("VexoTips.xml"));

  env.Write("VexoTips.xml",
            Document("enable=\"1\" updatetime=\"2026-12-01\"", FlashItem("a", "a.swf", env.store + "a.swf")));
  EXPECT_EQ(RunTipsWork(env, kUrl, env.store), TipsWorkOutcome::kDisabled);
  Saved saved(env);
  EXPECT_STREQ(saved.root().attribute("enable").value(), "0");
  EXPECT_STREQ(saved.root().attribute("updatetime").value(), "2026-12-07");
  EXPECT_TRUE(saved.item("a"));
  EXPECT_TRUE(env.Has("VexoTips_.xml"));  // the download stays where it is
  EXPECT_FALSE(CheckUpdateDue(env, kUrl, env.store));
}

TEST(TipsWork, SyncKeepsDropsFetchesAndRefetchesMovies) {
  TestFolder folder;
  FakeTipsEnvironment env(folder);
  const std::string s = env.store;
  env.Write("VexoTips.xml",
            Document("updatetime=\"2026-12-06\"", FlashItem("kept", "kept.swf", s + "kept.swf") +
                                                      FlashItem("gone", "gone.swf", s + "gone.swf") +
                                                      FlashItem("lost", "lost.swf", s + "lost.swf") + kTextItem));
  env.Write("kept.swf", "old kept movie");
  env.Write("gone.swf", "gone movie");  // lost.swf was deleted by the user
  env.server[kUrl] = Document("enable=\"1\" updatetime=\"2020-01-01\"",
                              FlashItem("kept", "kept.swf") + FlashItem("lost", "lost.swf") +
                                  FlashItem("new", "new.swf") + kTextItem + FlashItem("new", "second-of-same-id.swf"));
  env.server["http://media.example/f/lost.swf"] = "lost again";
  env.server["http://media.example/f/new.swf"] = "new movie";

  EXPECT_EQ(RunTipsWork(env, kUrl, env.store), TipsWorkOutcome::kSynced);
  EXPECT_EQ(env.downloads,
            (std::vector<std::string>{kUrl, "http://media.example/f/lost.swf", "http://media.example/f/new.swf"}));
  EXPECT_EQ(env.Read("kept.swf"), "old kept movie");
  EXPECT_FALSE(env.Has("gone.swf"));
  EXPECT_EQ(env.Read("lost.swf"), "lost again");
  EXPECT_EQ(env.Read("new.swf"), "new movie");
  EXPECT_FALSE(env.Has("VexoTips_.xml"));
  EXPECT_FALSE(env.Has("VexoTips.xml.~test"));

  Saved saved(env);
  EXPECT_STREQ(saved.root().attribute("updatetime").value(), "2026-12-07");
  EXPECT_EQ(saved.item("kept").attribute("localpath").value(), s + "kept.swf");
  EXPECT_EQ(saved.item("new").attribute("localpath").value(), s + "new.swf");
  EXPECT_FALSE(saved.item("gone"));
  const pugi::xml_node text = saved.item("news");
  EXPECT_STREQ(text.attribute("mtitle").value(), "今日推荐");
  EXPECT_STREQ(text.attribute("mcontent").value(), "a & b");
  EXPECT_STREQ(text.attribute("clickurl").value(), "http://x/?a=1&b=2");
  EXPECT_FALSE(text.attribute("localpath"));
  EXPECT_FALSE(CheckUpdateDue(env, kUrl, env.store));
}

TEST(TipsWork, DroppedMovieIsDeletedBeforeANewItemFetchesTheSameName) {
  TestFolder folder;
  FakeTipsEnvironment env(folder);
  env.Write("VexoTips.xml", Document("", FlashItem("old", "same.swf", env.store + "same.swf")));
  env.Write("same.swf", "old content");
  env.server[kUrl] = Document("", FlashItem("fresh", "same.swf"));
  env.server["http://media.example/f/same.swf"] = "new content";
  EXPECT_EQ(RunTipsWork(env, kUrl, env.store), TipsWorkOutcome::kSynced);
  EXPECT_EQ(env.Read("same.swf"), "new content");
}

TEST(TipsWork, AnUnreadableDownloadLeavesEverythingLocalAlone) {
  for (const std::string& body : {std::string("<html><body>502 Bad Gateway</body></html"),
                                  Document("", FlashItem("a", "a.swf")).substr(0, 60), std::string("<other/>")}) {
    TestFolder folder;
    FakeTipsEnvironment env(folder);
    const std::string local = Document("updatetime=\"2026-12-01\"", FlashItem("a", "a.swf", env.store + "a.swf"));
    env.Write("VexoTips.xml", local);
    env.Write("a.swf", "movie");
    env.server[kUrl] = body;
    EXPECT_EQ(RunTipsWork(env, kUrl, env.store), TipsWorkOutcome::kDocumentUnreadable) << body;
    EXPECT_EQ(env.Read("VexoTips.xml"), local);
    EXPECT_EQ(env.Read("a.swf"), "movie");
    EXPECT_FALSE(env.Has("VexoTips_.xml"));
  }
}

TEST(TipsWork, FailedDownloadChangesNothing) {
  TestFolder folder;
  FakeTipsEnvironment env(folder);
  env.Write("VexoTips.xml", "local");
  EXPECT_EQ(RunTipsWork(env, kUrl, env.store), TipsWorkOutcome::kDownloadFailed);
  EXPECT_EQ(env.Read("VexoTips.xml"), "local");
  EXPECT_TRUE(env.removed.empty());
}

TEST(TipsWork, MovieNamesFromTheServerNeverLeaveTheStoreFolder) {
  TestFolder folder;
  FakeTipsEnvironment env(folder, "store");
  const std::string outside = folder.path().string() + "/outside.txt";
  std::ofstream(outside) << "precious";
  env.Write("VexoTips.xml", Document("", "  <tip id=\"x\" tiptype=\"0\" localpath=\"" + env.store +
                                             "..\\outside.txt\"/>\n"
                                             "  <tip id=\"y\" tiptype=\"0\" localpath=\"" +
                                             outside + "\"/>\n"));
  std::string items;
  int n = 0;
  for (const char* url : {"http://m/..\\evil.swf", "http://m/c:evil.swf", "http://m/", "no-slash.swf",
                          "http://m/a.swf?v=2", "http://m/..", "http://m/sub\\x.swf"}) {
    items += "  <tip id=\"i" + std::to_string(n++) + "\" tiptype=\"0\" flashurl=\"" + url + "\"/>\n";
  }
  env.server[kUrl] = Document("", items);
  EXPECT_EQ(RunTipsWork(env, kUrl, env.store), TipsWorkOutcome::kSynced);
  EXPECT_EQ(env.downloads, std::vector<std::string>{kUrl});
  Saved saved(env);
  for (pugi::xml_node item : saved.root().children()) {
    EXPECT_STREQ(item.attribute("localpath").value(), "") << item.attribute("id").value();
  }
  std::ifstream in(outside);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "precious");
}

TEST(TipsWork, StopDuringTheMoviesLeavesTheLocalDocument) {
  TestFolder folder;
  FakeTipsEnvironment env(folder);
  env.Write("VexoTips.xml", "local");
  env.server[kUrl] = Document("", FlashItem("a", "a.swf") + FlashItem("b", "b.swf"));
  env.server["http://media.example/f/a.swf"] = "A";
  env.server["http://media.example/f/b.swf"] = "B";
  env.stop_after_downloads = 2;
  EXPECT_EQ(RunTipsWork(env, kUrl, env.store), TipsWorkOutcome::kStopped);
  EXPECT_EQ(env.downloads.size(), 2u);
  EXPECT_EQ(env.Read("VexoTips.xml"), "local");
}

TEST(MediaName, OnlyPlainMovieNamesAreAccepted) {
  for (const char* name : {"a.swf", "Intro-2_b.SWF", "x.y.swf"}) {
    EXPECT_TRUE(IsAcceptedMovieName(name)) << name;
  }
  for (const char* name : {"VexoTip.exe", "PopMessage.xml", "VexoTips.xml", ".swf", "a.swf.exe", "a swf.swf", "a~1.swf",
                           "..swf", "a..swf", "dir\\a.swf", "c:a.swf", "a.swf\n", "电影.swf", ""}) {
    EXPECT_FALSE(IsAcceptedMovieName(name)) << name;
  }
  EXPECT_TRUE(IsAcceptedMovieName(std::string(60, 'a') + ".swf"));
  EXPECT_FALSE(IsAcceptedMovieName(std::string(61, 'a') + ".swf"));
  EXPECT_EQ(StoreFolderWithBackslash("C:\\Tips"), "C:\\Tips\\");
  EXPECT_EQ(StoreFolderWithBackslash("C:\\Tips\\"), "C:\\Tips\\");
  // In code page 936 the byte 0x5C can end a double-byte character ("表" is B1 ED, "\x95\x5C" is
  // one character): only a real backslash at the end counts.
  EXPECT_EQ(StoreFolderWithBackslash("C:\\\x95\x5C"), "C:\\\x95\x5C\\");
}

// What a hostile or broken tips server can send, and what must hold whatever it sends.
TEST(TipsWork, AServerCannotReachTheProgramsOwnFiles) {
  TestFolder folder;
  FakeTipsEnvironment env(folder);
  env.Write("VexoTip.exe", "program");
  env.Write("PopMessage.xml", "skin");
  env.Write("own.swf", "movie");
  // Yesterday's document claims the program and the skin as the movies of its items.
  env.Write("VexoTips.xml",
            Document("", FlashItem("old1", "VexoTip.exe", env.store + "VexoTip.exe") +
                             FlashItem("old2", "x.swf", env.store + "PopMessage.xml") + FlashItem("old3", "own.swf")));
  env.server[kUrl] =
      Document("", FlashItem("a", "VexoTip.exe") + FlashItem("b", "PopMessage.xml") +
                       FlashItem("c", "evil.exe", "\\\\evilhost\\share\\x.swf") + FlashItem("d", "own.swf"));
  env.server["http://media.example/f/VexoTip.exe"] = "MZ server bytes";
  env.server["http://media.example/f/PopMessage.xml"] = "<skin/>";
  EXPECT_EQ(RunTipsWork(env, kUrl, env.store), TipsWorkOutcome::kSynced);
  EXPECT_EQ(env.Read("VexoTip.exe"), "program");
  EXPECT_EQ(env.Read("PopMessage.xml"), "skin");
  EXPECT_EQ(env.Read("own.swf"), "movie") << "dropped id old3, but the new item d uses the same movie";
  EXPECT_EQ(env.downloads, std::vector<std::string>({kUrl, "http://media.example/f/own.swf"}));
  Saved saved(env);
  for (const char* id : {"a", "b", "c"}) {
    ASSERT_TRUE(saved.item(id)) << id;
    EXPECT_STREQ(saved.item(id).attribute("localpath").value(), "") << id;
  }
  EXPECT_EQ(saved.item("d").attribute("localpath").value(), env.store + "own.swf");
  EXPECT_EQ(env.limits.front(), kMaxDocumentBytes);
  EXPECT_EQ(env.limits.back(), kMaxMovieBytes);
}

TEST(TipsWork, ADocumentNamedLikeTheDownloadIsKept) {
  TestFolder folder;
  FakeTipsEnvironment env(folder);
  const std::string url = "http://tips.example/soft/VexoTips_.xml";
  env.server[url] = Document("", kTextItem);
  EXPECT_EQ(RunTipsWork(env, url, env.store), TipsWorkOutcome::kSynced);
  ASSERT_TRUE(env.Has("VexoTips_.xml"));
  EXPECT_NE(env.Read("VexoTips_.xml").find("今日推荐"), std::string::npos);
  EXPECT_FALSE(CheckUpdateDue(env, url, env.store));
}

TEST(TipsWork, AnOversizedDocumentChangesNothing) {
  TestFolder folder;
  FakeTipsEnvironment env(folder);
  env.Write("VexoTips.xml", "local");
  env.server[kUrl] = Document("", std::string(kMaxDocumentBytes, ' '));
  EXPECT_EQ(RunTipsWork(env, kUrl, env.store), TipsWorkOutcome::kDownloadFailed);
  EXPECT_EQ(env.Read("VexoTips.xml"), "local");
}

}  // namespace
