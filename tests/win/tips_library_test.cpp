// VexoTips.dll as a host uses it: loaded with LoadLibrary, reached through GetProcAddress,
// against the content site on 127.0.0.1.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

#include "common/codepage.h"
#include "common/text/utf.h"
#include "common/win32/com.h"
#include "common/xml/xml_doc_msxml.h"
#include "tests/shared/test_folder.h"
#include "tests/win/site_client.h"

namespace {

using namespace std::chrono_literals;
using StartFn = bool(__cdecl*)(const char*, const char*);
using FlagFn = bool(__cdecl*)();

class TipsLibrary {
 public:
  TipsLibrary() : module_(LoadLibraryW(L"VexoTips.dll")) {
    if (!module_) return;
    start = reinterpret_cast<StartFn>(reinterpret_cast<void*>(GetProcAddress(module_, "Start_VexoTips")));
    query = reinterpret_cast<FlagFn>(reinterpret_cast<void*>(GetProcAddress(module_, "Query_VexoTips")));
    close = reinterpret_cast<FlagFn>(reinterpret_cast<void*>(GetProcAddress(module_, "Close_VexoTips")));
  }
  ~TipsLibrary() { Unload(); }
  bool ok() const { return module_ && start && query && close; }
  void Unload() {
    if (module_) FreeLibrary(std::exchange(module_, nullptr));
  }
  // Waits until no reference is left, the worker's included.
  static bool GoneWithin(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (GetModuleHandleW(L"VexoTips.dll")) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(10ms);
    }
    return true;
  }
  bool WaitDone(std::chrono::milliseconds limit = 10s) const {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (!query()) {
      if (std::chrono::steady_clock::now() > end) return false;
      std::this_thread::sleep_for(10ms);
    }
    return true;
  }

  StartFn start = nullptr;
  FlagFn query = nullptr;
  FlagFn close = nullptr;

 private:
  HMODULE module_;
};

std::string Today() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char text[16];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d", now.wYear, now.wMonth, now.wDay);
  return text;
}

std::string Document(const std::string& root_attributes, const std::string& items) {
  return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<vexotips " + root_attributes + ">\r\n" + items +
         "</vexotips>\r\n";
}

std::string FlashItem(const SiteClient& site, const std::string& id, const std::string& movie_path) {
  return "<tip id=\"" + id +
         "\" tiptype=\"0\" ver=\"1\" sticktime=\"3\" pos=\"2\" width=\"300\" height=\"200\" flashurl=\"" +
         site.Url(movie_path) + "\"/>\r\n";
}

const std::string kTextItem =
    "<tip id=\"news\" tiptype=\"1\" ver=\"0\" sticktime=\"2\" "
    "mtitle=\"\xE4\xBB\x8A\xE6\x97\xA5\xE6\x8E\xA8\xE8\x8D\x90\" "
    "mcontent=\"line &amp; more\" clickurl=\"http://example.invalid/?a=1&amp;b=2\"/>\r\n";

// Temporary files left in a folder (a download's ".part").
int PartFiles(const TestFolder& folder) {
  int count = 0;
  for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
    if (entry.path().extension() == ".part") ++count;
  }
  return count;
}

class TipsLibraryTest : public testing::Test {
 protected:
  void SetUp() override {
    site.Reset();
    ASSERT_TRUE(TipsLibrary::GoneWithin(2s)) << "a worker of an earlier test is still running";
    store = ToAnsi(folder.Text()) + "\\";
  }
  void TearDown() override { EXPECT_TRUE(TipsLibrary::GoneWithin(2s)); }

  // The local document as the platform DOM reads it back.
  struct Local {
    ComApartment com;
    std::unique_ptr<XmlDoc> doc = CreateMsxmlDoc(DomProbe::kThreeClasses);
    std::unique_ptr<XmlNode> root;
    explicit Local(const TestFolder& folder) {
      if (doc && doc->Load(folder.File(u"VexoTips.xml"))) root = doc->SelectSingleNode(u"vexotips");
    }
    std::u16string Attribute(std::u16string_view id, std::u16string_view name) const {
      for (std::size_t i = 0; root && i < root->ChildCount(); ++i) {
        auto item = root->Child(i);
        if (item && item->GetAttribute(u"id") == std::u16string(id))
          return item->GetAttribute(name).value_or(u"<none>");
      }
      return u"<no item>";
    }
  };

  SiteClient site;
  TestFolder folder;
  std::string store;
};

TEST_F(TipsLibraryTest, CloseWithoutStartAndTodaysDocumentDoNothing) {
  TipsLibrary lib;
  ASSERT_TRUE(lib.ok());
  EXPECT_TRUE(lib.close());
  EXPECT_FALSE(lib.query());

  const std::string local = Document("enable=\"1\" updatetime=\"" + Today() + "\"", "");
  folder.Write(u"VexoTips.xml", local);
  EXPECT_TRUE(lib.start(site.Url("/soft/VexoTips.xml").c_str(), store.c_str()));
  EXPECT_TRUE(lib.query());  // at once: no worker
  std::this_thread::sleep_for(200ms);
  EXPECT_EQ(site.ConnectionCount(), 0);
  EXPECT_EQ(folder.Read(u"VexoTips.xml"), local);
}

TEST_F(TipsLibraryTest, SyncFetchesMoviesAndSendsTheExactRequest) {
  // A date without leading zeros never matches: the day's work runs.
  const std::string old_doc = Document("updatetime=\"2001-1-1\"",
                                       FlashItem(site, "gone", "/f/gone.swf") + FlashItem(site, "kept", "/f/kept.swf"));
  folder.Write(u"VexoTips.xml", old_doc);
  folder.Write(u"gone.swf", "old");
  folder.Write(u"kept.swf", "kept movie");
  site.Put("/soft/VexoTips.xml",
           Document("enable=\"1\"", FlashItem(site, "kept", "/f/kept.swf") + FlashItem(site, "new", "/f/new.swf") +
                                        kTextItem + FlashItem(site, "broken", "/bad/404/f/x.swf")));
  const std::string movie(300000, 'M');
  site.Put("/f/new.swf", movie);
  site.TakeRequests();

  TipsLibrary lib;
  ASSERT_TRUE(lib.ok());
  EXPECT_TRUE(lib.start(site.Url("/soft/VexoTips.xml").c_str(), store.c_str()));
  ASSERT_TRUE(lib.WaitDone());

  const std::string host_line = "Host:127.0.0.1 \r\n";
  EXPECT_EQ(
      site.TakeRequests(),
      "GET /soft/VexoTips.xml HTTP/1.1\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, deflate\r\n"
      "User-Agent: VexoPlayer\r\n" +
          host_line +
          "Connection: Keep-Alive\r\n\r\n"
          "GET /bad/404/f/x.swf HTTP/1.1\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, deflate\r\n"
          "User-Agent: VexoPlayer\r\n" +
          host_line +
          "Connection: Keep-Alive\r\n\r\n"
          "GET /f/new.swf HTTP/1.1\r\nAccept: */*\r\nAccept-Language: zh-cn\r\nAccept-Encoding: gzip, deflate\r\n"
          "User-Agent: VexoPlayer\r\n" +
          host_line + "Connection: Keep-Alive\r\n\r\n");
  EXPECT_FALSE(folder.Has(u"gone.swf"));
  EXPECT_EQ(folder.Read(u"kept.swf"), "kept movie");
  EXPECT_EQ(folder.Read(u"new.swf"), movie);
  EXPECT_FALSE(folder.Has(u"x.swf"));  // an error page is not a movie
  EXPECT_EQ(PartFiles(folder), 0);
  EXPECT_FALSE(folder.Has(u"VexoTips_.xml"));

  Local local(folder);
  ASSERT_TRUE(local.root);
  EXPECT_EQ(local.root->GetAttribute(u"updatetime"), FromAnsi(Today()));
  EXPECT_EQ(local.Attribute(u"new", u"localpath"), FromAnsi(store + "new.swf"));
  EXPECT_EQ(local.Attribute(u"broken", u"localpath"), FromAnsi(store + "x.swf"));
  EXPECT_EQ(local.Attribute(u"news", u"mtitle"), u"今日推荐");
  EXPECT_EQ(local.Attribute(u"news", u"clickurl"), u"http://example.invalid/?a=1&b=2");
  EXPECT_EQ(local.Attribute(u"news", u"localpath"), u"<none>");
  EXPECT_EQ(local.Attribute(u"gone", u"id"), u"<no item>");

  // The same day again: no connection at all.
  lib.Unload();
  ASSERT_TRUE(TipsLibrary::GoneWithin(2s));
  const int before = site.ConnectionCount();
  TipsLibrary again;
  EXPECT_TRUE(again.start(site.Url("/soft/VexoTips.xml").c_str(), store.c_str()));
  EXPECT_TRUE(again.query());
  EXPECT_EQ(site.ConnectionCount(), before);
}

TEST_F(TipsLibraryTest, DisabledByTheServer) {
  folder.Write(u"VexoTips.xml", Document("enable=\"1\" updatetime=\"2001-01-01\"", kTextItem));
  site.Put("/soft/VexoTips.xml", Document("enable=\"0\"", ""));
  TipsLibrary lib;
  EXPECT_TRUE(lib.start(site.Url("/soft/VexoTips.xml").c_str(), store.c_str()));
  ASSERT_TRUE(lib.WaitDone());
  Local local(folder);
  ASSERT_TRUE(local.root);
  EXPECT_EQ(local.root->GetAttribute(u"enable"), u"0");
  EXPECT_EQ(local.root->GetAttribute(u"updatetime"), FromAnsi(Today()));
  EXPECT_EQ(local.Attribute(u"news", u"sticktime"), u"2");
}

struct ModeCase {
  const char* mode;
  bool replaces_document;
};

TEST_F(TipsLibraryTest, MisbehavingServersNeverDamageTheLocalFiles) {
  const ModeCase cases[] = {{"no-length", true}, {"big-header", true}, {"short", false},
                            {"zero", false},     {"404", false},       {"huge-header", false}};
  for (const ModeCase& c : cases) {
    TestFolder here;
    const std::string dir = ToAnsi(here.Text()) + "\\";
    const std::string old_doc =
        Document("updatetime=\"2001-01-01\"", "<tip id=\"a\" tiptype=\"0\" localpath=\"" + dir + "a.swf\" flashurl=\"" +
                                                  site.Url("/f/a.swf") + "\"/>\r\n");
    here.Write(u"VexoTips.xml", old_doc);
    here.Write(u"a.swf", "movie a");
    site.Put("/soft/VexoTips.xml", Document("enable=\"1\"", "<tip id=\"b\" tiptype=\"1\"/>\r\n"));
    TipsLibrary lib;
    EXPECT_TRUE(lib.start(site.Url(std::string("/bad/") + c.mode + "/soft/VexoTips.xml").c_str(), dir.c_str()));
    ASSERT_TRUE(lib.WaitDone()) << c.mode;
    lib.Unload();
    ASSERT_TRUE(TipsLibrary::GoneWithin(2s)) << c.mode;
    EXPECT_FALSE(here.Has(u"VexoTips_.xml")) << c.mode;
    EXPECT_EQ(PartFiles(here), 0) << c.mode;
    if (c.replaces_document) {
      EXPECT_FALSE(here.Has(u"a.swf")) << c.mode;  // item a was dropped by the new document
      EXPECT_NE(here.Read(u"VexoTips.xml").find("id=\"b\""), std::string::npos) << c.mode;
    } else {
      EXPECT_EQ(here.Read(u"a.swf"), "movie a") << c.mode;
      EXPECT_EQ(here.Read(u"VexoTips.xml"), old_doc) << c.mode;
    }
  }
}

TEST_F(TipsLibraryTest, UnreachableServerEndsTheWorkAndChangesNothing) {
  folder.Write(u"VexoTips.xml", "local");
  TipsLibrary lib;
  // Port 1 on the loopback: refused at once.
  EXPECT_TRUE(lib.start("http://127.0.0.1:1/soft/VexoTips.xml", store.c_str()));
  ASSERT_TRUE(lib.WaitDone());
  EXPECT_EQ(folder.Read(u"VexoTips.xml"), "local");
  EXPECT_FALSE(folder.Has(u"VexoTips_.xml"));
}

TEST_F(TipsLibraryTest, CloseStopsASilentServerAtOnceAndTheHostMayUnload) {
  folder.Write(u"VexoTips.xml", "local");
  site.Put("/soft/VexoTips.xml", Document("", ""));
  TipsLibrary lib;
  EXPECT_TRUE(lib.start(site.Url("/bad/silent/soft/VexoTips.xml").c_str(), store.c_str()));
  std::this_thread::sleep_for(300ms);
  EXPECT_FALSE(lib.query());

  // A second start while the worker runs changes nothing.
  TestFolder other;
  const std::string other_store = ToAnsi(other.Text()) + "\\";
  EXPECT_TRUE(lib.start(site.Url("/soft/VexoTips.xml").c_str(), other_store.c_str()));
  EXPECT_FALSE(lib.query());

  const auto t0 = std::chrono::steady_clock::now();
  EXPECT_TRUE(lib.close());
  const auto took = std::chrono::steady_clock::now() - t0;
  EXPECT_LT(took, 100ms);
  lib.Unload();  // right after Close: the worker keeps the module loaded until it has left it
  EXPECT_TRUE(TipsLibrary::GoneWithin(1s));

  EXPECT_EQ(folder.Read(u"VexoTips.xml"), "local");
  EXPECT_FALSE(folder.Has(u"VexoTips_.xml"));
  EXPECT_EQ(PartFiles(folder), 0);
  EXPECT_FALSE(other.Has(u"VexoTips.xml"));
  EXPECT_EQ(site.TakeRequests().find("GET /soft/VexoTips.xml "), std::string::npos);
}

TEST_F(TipsLibraryTest, QueryStaysZeroAfterClose) {
  site.Put("/soft/VexoTips.xml", Document("", ""));
  TipsLibrary lib;
  EXPECT_TRUE(lib.start(site.Url("/bad/silent/soft/VexoTips.xml").c_str(), store.c_str()));
  std::this_thread::sleep_for(200ms);
  lib.close();
  for (int i = 0; i < 15; ++i) {
    EXPECT_FALSE(lib.query());
    std::this_thread::sleep_for(100ms);
  }
}

TEST_F(TipsLibraryTest, AHostileServerCannotReplaceOrPointAtTheProgramsFiles) {
  folder.Write(u"VexoTip.exe", "program");
  folder.Write(u"PopMessage.xml", "skin");
  folder.Write(u"VexoTips.xml", Document("updatetime=\"2001-01-01\"", ""));
  site.Put("/f/VexoTip.exe", "MZ server bytes");
  site.Put("/f/PopMessage.xml", "<skin/>");
  site.Put(
      "/soft/VexoTips.xml",
      Document("enable=\"1\"", FlashItem(site, "exe", "/f/VexoTip.exe") + FlashItem(site, "skin", "/f/PopMessage.xml") +
                                   "<tip id=\"unc\" tiptype=\"0\" flashurl=\"" + site.Url("/f/a b.swf") +
                                   "\" localpath=\"\\\\evilhost\\share\\x.swf\"/>\r\n"));
  TipsLibrary lib;
  ASSERT_TRUE(lib.start(site.Url("/soft/VexoTips.xml").c_str(), store.c_str()));
  ASSERT_TRUE(lib.WaitDone());
  EXPECT_EQ(folder.Read(u"VexoTip.exe"), "program");
  EXPECT_EQ(folder.Read(u"PopMessage.xml"), "skin");
  Local local(folder);
  ASSERT_TRUE(local.root);
  for (const char16_t* id : {u"exe", u"skin", u"unc"})
    EXPECT_EQ(local.Attribute(id, u"localpath"), u"") << Utf16ToUtf8(id);

  // The next day the items are gone: nothing but movies is ever deleted.
  lib.Unload();
  ASSERT_TRUE(TipsLibrary::GoneWithin(2s));
  std::string yesterday = folder.Read(u"VexoTips.xml");
  yesterday.replace(yesterday.find(Today()), 10, "2001-01-01");
  folder.Write(u"VexoTips.xml", yesterday);
  site.Put("/soft/VexoTips.xml", Document("enable=\"1\"", kTextItem));
  TipsLibrary next_day;
  ASSERT_TRUE(next_day.start(site.Url("/soft/VexoTips.xml").c_str(), store.c_str()));
  ASSERT_TRUE(next_day.WaitDone());
  EXPECT_EQ(folder.Read(u"VexoTip.exe"), "program");
  EXPECT_EQ(folder.Read(u"PopMessage.xml"), "skin");
}

TEST_F(TipsLibraryTest, EndlessAndBodilessAnswersEndTheWork) {
  // A document that never ends is cut at 4 MiB; a 204 on a kept connection ends at once.
  for (const char* mode : {"endless", "no-content"}) {
    TestFolder here;
    const std::string dir = ToAnsi(here.Text()) + "\\";
    here.Write(u"VexoTips.xml", "local");
    site.Put("/soft/VexoTips.xml", Document("", kTextItem));
    TipsLibrary lib;
    const auto t0 = std::chrono::steady_clock::now();
    ASSERT_TRUE(lib.start(site.Url(std::string("/bad/") + mode + "/soft/VexoTips.xml").c_str(), dir.c_str()));
    ASSERT_TRUE(lib.WaitDone(20s)) << mode;
    EXPECT_LT(std::chrono::steady_clock::now() - t0, 15s) << mode;
    EXPECT_EQ(here.Read(u"VexoTips.xml"), "local") << mode;
    EXPECT_EQ(PartFiles(here), 0) << mode;
    lib.Unload();
    ASSERT_TRUE(TipsLibrary::GoneWithin(5s)) << mode;
  }
  // A movie that never ends is cut at 64 MiB: no file, and the rest of the work goes on.
  folder.Write(u"VexoTips.xml", Document("updatetime=\"2001-01-01\"", ""));
  site.Put("/f/big.swf", std::string(65536, 'B'));
  site.Put("/soft/VexoTips.xml",
           Document("enable=\"1\"", FlashItem(site, "big", "/bad/endless/f/big.swf") + kTextItem));
  TipsLibrary lib;
  ASSERT_TRUE(lib.start(site.Url("/soft/VexoTips.xml").c_str(), store.c_str()));
  ASSERT_TRUE(lib.WaitDone(60s));
  EXPECT_FALSE(folder.Has(u"big.swf"));
  EXPECT_EQ(PartFiles(folder), 0);
  EXPECT_NE(folder.Read(u"VexoTips.xml").find("news"), std::string::npos);
}

TEST_F(TipsLibraryTest, AStartAfterCloseRunsTheDaysWorkAgain) {
  folder.Write(u"VexoTips.xml", Document("updatetime=\"2001-01-01\"", ""));
  site.Put("/soft/VexoTips.xml", Document("enable=\"1\"", kTextItem));
  TipsLibrary lib;
  ASSERT_TRUE(lib.start(site.Url("/bad/silent/soft/VexoTips.xml").c_str(), store.c_str()));
  std::this_thread::sleep_for(200ms);
  lib.close();
  // The store folder without its final backslash, as a careless host may pass it.
  const std::string bare = store.substr(0, store.size() - 1);
  ASSERT_TRUE(lib.start(site.Url("/soft/VexoTips.xml").c_str(), bare.c_str()));
  EXPECT_TRUE(lib.WaitDone(10s));
  EXPECT_NE(folder.Read(u"VexoTips.xml").find("news"), std::string::npos);
}

// The library against a real web server as commonly set up (tools/nginx/with-nginx.sh).
class TipsNginx : public TipsLibraryTest {
 protected:
  void SetUp() override {
    TipsLibraryTest::SetUp();
    char root[MAX_PATH] = {}, gzip[16] = {}, plain[16] = {};
    GetEnvironmentVariableA("VEXO_NGINX_ROOT", root, MAX_PATH);
    GetEnvironmentVariableA("VEXO_NGINX_GZIP_PORT", gzip, 16);
    GetEnvironmentVariableA("VEXO_NGINX_PLAIN_PORT", plain, 16);
    ASSERT_TRUE(root[0] && gzip[0] && plain[0]) << "run through tools/nginx/with-nginx.sh";
    www = std::filesystem::path("Z:" + std::string(root));
    gzip_port = gzip;
    plain_port = plain;
  }
  void Serve(const std::string& name, const std::string& bytes) const {
    std::ofstream(www / name, std::ios::binary) << bytes;
  }
  std::filesystem::path www;
  std::string gzip_port, plain_port;
};

TEST_F(TipsNginx, DocumentsAndMoviesArriveWholeWithGzipOnAndOff) {
  std::string movie;
  for (int i = 0; i < 200000; ++i) movie += static_cast<char>((i * 7919) % 251);
  Serve("m1.swf", movie);
  Serve("m2.swf", std::string(500000, 'F'));
  Serve("m3.swf", "small");
  for (const std::string& port : {gzip_port, plain_port}) {
    TestFolder here;
    const std::string dir = ToAnsi(here.Text()) + "\\";
    const std::string base = "http://127.0.0.1:" + port + "/";
    std::string items;
    for (const char* id : {"m1", "m2", "m3"}) {
      items += "<tip id=\"" + std::string(id) + "\" tiptype=\"0\" flashurl=\"" + base + id + ".swf\"/>\r\n";
    }
    Serve("VexoTips.xml", Document("enable=\"1\"", items + kTextItem));
    TipsLibrary lib;
    ASSERT_TRUE(lib.start((base + "VexoTips.xml").c_str(), dir.c_str()));
    ASSERT_TRUE(lib.WaitDone(20s)) << port;
    EXPECT_EQ(here.Read(u"m1.swf"), movie) << port;
    EXPECT_EQ(here.Read(u"m2.swf"), std::string(500000, 'F')) << port;
    EXPECT_EQ(here.Read(u"m3.swf"), "small") << port;
    const std::string saved = here.Read(u"VexoTips.xml");
    EXPECT_NE(saved.find("localpath=\"" + dir + "m2.swf\""), std::string::npos) << port << saved;
    EXPECT_NE(saved.find(Today()), std::string::npos) << port;
    lib.Unload();
    ASSERT_TRUE(TipsLibrary::GoneWithin(5s));
  }
}

}  // namespace
