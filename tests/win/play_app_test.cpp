// play.exe as its users meet it, with the stand-in player registered in the prefix.
#include <windows.h>
#include <ddeml.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

#include "common/codepage.h"
#include "common/text/utf.h"
#include "common/win32/wide.h"
#include "tests/shared/test_folder.h"
#include "tests/win/child_process.h"
#include "tests/win/drawn_controls.h"
#include "tests/win/real_input.h"

namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

constexpr wchar_t kMainClass[] = L"VexoPlayMainWindow";

class PlayApp : public testing::Test {
 protected:
  void SetUp() override {
    fs::copy_file(fs::path(TestProgramFolder()) / "play.exe", folder.path() / "play.exe");
    ASSERT_TRUE(WindowsOfClass(kMainClass).empty()) << "a play.exe of an earlier test is still running";
  }
  std::unique_ptr<ChildProcess> Start(const std::wstring& argument) {
    const std::u16string log = folder.File(u"player.log");
    return std::make_unique<ChildProcess>(
        (folder.path() / "play.exe").wstring(), argument, folder.path().wstring(),
        std::vector<std::pair<std::wstring, std::wstring>>{{L"VEXO_STANDIN_LOG", std::wstring(log.begin(), log.end())},
                                                           {L"PLAY_CONTENT_BASE", L"http://127.0.0.1:9/soft/"}});
  }
  std::string Ansi(std::u16string_view name) { return Utf16ToUtf8(FromAnsi(folder.Read(name))); }
  static void Close(HWND hwnd) { PostMessageW(hwnd, WM_CLOSE, 0, 0); }
  // The window is ready once its load has run and it is shown.
  static bool WaitShown(HWND hwnd) {
    for (int i = 0; i < 600 && IsWindow(hwnd); ++i) {
      if (IsWindowVisible(hwnd)) return true;
      std::this_thread::sleep_for(50ms);
    }
    return false;
  }

  TestFolder folder;
};

TEST_F(PlayApp, AFreshFolderGetsItsFilesAndTheWindowItsSavedSize) {
  auto app = Start(L"");
  HWND main = app->WaitWindow(kMainClass, 30s);
  ASSERT_TRUE(main);
  ASSERT_TRUE(WaitShown(main));
  for (const char16_t* name : {u"config.ini", u"date.dat", u"date_f.dat", u"c.htm", u"f.htm"}) {
    EXPECT_TRUE(folder.Has(name)) << Utf16ToUtf8(name);
  }
  EXPECT_NE(Ansi(u"config.ini").find("[S_q]\r\nts=3\r\nquit=2\r\nvexok=2\r\ns_size=2\r\nh_w=13560\r\nh_h=8475\r\n"),
            std::string::npos);
  EXPECT_EQ(folder.Read(u"date.dat"), "\r\n");
  const RECT r = WindowRect(main);
  EXPECT_EQ(r.right - r.left, 13560 / 15);
  EXPECT_EQ(r.bottom - r.top, 8475 / 15);
  EXPECT_TRUE(GetWindowLongW(main, GWL_STYLE) & WS_MINIMIZEBOX);
  EXPECT_NE(folder.Read(u"player.log").find("AdUrl http://127.0.0.1:9/soft/js/ads/vexoad.html"), std::string::npos);
  // The system's web control renders in its own standards mode for this program, per user.
  for (const auto& [feature, expected] :
       {std::pair{L"FEATURE_BROWSER_EMULATION", 11001u}, std::pair{L"FEATURE_GPU_RENDERING", 1u}}) {
    DWORD value = 0, size = sizeof value;
    const std::wstring key = std::wstring(L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\") + feature;
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, key.c_str(), L"play.exe", RRF_RT_REG_DWORD, nullptr, &value, &size),
              ERROR_SUCCESS);
    EXPECT_EQ(value, expected);
  }
  Close(main);
  EXPECT_EQ(app->WaitExit(15s), 0u);
}

TEST_F(PlayApp, ASecondCopyHandsItsFileToTheFirstAndEnds) {
  // A folder whose name the system code page cannot hold: it must still arrive, and be kept.
  const fs::path film_folder = folder.path() / L"\u0e01\u0e02 films";
  fs::create_directories(film_folder);
  const fs::path film = film_folder / L"第1集.avi";
  { std::ofstream(film) << "movie"; }

  auto first = Start(L"");
  HWND main = first->WaitWindow(kMainClass, 30s);
  ASSERT_TRUE(main);
  ASSERT_TRUE(WaitShown(main));
  auto second = Start(L"\"" + film.wstring() + L"\"");
  EXPECT_EQ(second->WaitExit(30s), 0u);
  EXPECT_EQ(WindowsOfClass(kMainClass).size(), 1u);

  const std::string log = folder.Read(u"player.log");
  EXPECT_NE(log.find("MediaUrl " + Utf16ToUtf8(fs::path(film).u16string())), std::string::npos) << log;
  EXPECT_NE(log.find("\r\nPlay "), std::string::npos);
  EXPECT_EQ(DrawnControlText(main, L"第1集"), L"第1集.avi");  // the title label
  const std::string list = Ansi(u"date_f.dat");
  EXPECT_EQ(list.rfind("第1集.avi|", 0), 0u) << list;
  EXPECT_EQ(list.find('?'), std::string::npos) << list;  // stored in its short form, not as "?"
  const std::u16string stored = Utf8ToUtf16(list.substr(list.find('|') + 1, list.rfind('|') - list.find('|') - 1));
  EXPECT_NE(GetFileAttributesW(reinterpret_cast<const wchar_t*>(stored.c_str())), INVALID_FILE_ATTRIBUTES);
  EXPECT_NE(Ansi(u"f.htm").find("·第1集.avi"), std::string::npos);
  Close(main);
  EXPECT_EQ(first->WaitExit(15s), 0u);
}

TEST_F(PlayApp, TheRunningCopyAnswersDdeExecute) {
  auto app = Start(L"");
  HWND main = app->WaitWindow(kMainClass, 30s);
  ASSERT_TRUE(main);
  ASSERT_TRUE(WaitShown(main));
  // As the shell does for a file association: the command goes once the program waits for input.
  WaitForInputIdle(app->handle(), 10000);
  DWORD instance = 0;
  ASSERT_EQ(DdeInitializeW(&instance, nullptr, APPCLASS_STANDARD | APPCMD_CLIENTONLY, 0), DMLERR_NO_ERROR);
  HSZ service = DdeCreateStringHandleW(instance, L"绮映影视盒", CP_WINUNICODE);
  HSZ topic = DdeCreateStringHandleW(instance, L"BA1", CP_WINUNICODE);
  HSZ other_topic = DdeCreateStringHandleW(instance, L"System", CP_WINUNICODE);
  EXPECT_FALSE(DdeConnect(instance, service, other_topic, nullptr));  // only its own topic answers
  HCONV conversation = DdeConnect(instance, service, topic, nullptr);
  EXPECT_TRUE(conversation);
  if (conversation) {
    // It takes commands, not requests for data; the refusal leaves the conversation open.
    DWORD refused = 0;
    EXPECT_FALSE(
        DdeClientTransaction(nullptr, 0, conversation, other_topic, CF_UNICODETEXT, XTYP_REQUEST, 10000, &refused));
    std::wstring command = L"C:\\v\\dde.avi?standin=connect:50,buffer:50,duration:9";
    DWORD result = 0;
    EXPECT_TRUE(DdeClientTransaction(reinterpret_cast<LPBYTE>(command.data()),
                                     static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)), conversation, nullptr,
                                     0, XTYP_EXECUTE, 10000, &result));
    DdeDisconnect(conversation);
  }
  DdeFreeStringHandle(instance, service);
  DdeFreeStringHandle(instance, topic);
  DdeFreeStringHandle(instance, other_topic);
  DdeUninitialize(instance);
  EXPECT_NE(folder.Read(u"player.log").find("MediaUrl C:\\v\\dde.avi?standin="), std::string::npos)
      << folder.Read(u"player.log");
  EXPECT_EQ(DrawnControlText(main, L"dde"), L"dde.avi?standin=connect:50,buffer:50,duration:9");
  Close(main);
  EXPECT_EQ(app->WaitExit(15s), 0u);
}

// A registered server of the test prefix, unregistered for one test and registered again.
class Unregistered {
 public:
  explicit Unregistered(const wchar_t* dll) : module_(LoadLibraryW((TestProgramFolder() + L"\\" + dll).c_str())) {
    if (module_) ok_ = Call("DllUnregisterServer") == S_OK;
  }
  ~Unregistered() {
    if (module_) {
      EXPECT_EQ(Call("DllRegisterServer"), S_OK);
      FreeLibrary(module_);
    }
  }
  bool ok() const { return ok_; }

 private:
  HRESULT Call(const char* entry) {
    using Register = HRESULT(__stdcall*)();
    auto call = reinterpret_cast<Register>(reinterpret_cast<void*>(GetProcAddress(module_, entry)));
    return call ? call() : E_FAIL;
  }
  HMODULE module_;
  bool ok_ = false;
};

TEST_F(PlayApp, WithoutAWorkingPlayerItAsksAndEndsWithoutAWindow) {
  // Neither the maker's control nor ours is registered. Ours beside the program plays only
  // with its decoding libraries beside it: they load when it first decodes, so a missing one
  // must be found when the control is made, or the program would fail at the first film.
  const Unregistered makers(L"player_standin.dll");
  const Unregistered ours(L"VexoMedia.dll");
  ASSERT_TRUE(makers.ok() && ours.ok());
  const fs::path programs = TestProgramFolder();
  struct Case {
    const char* name;
    bool control_beside, libraries_beside, plays;
  };
  for (const Case& c :
       {Case{"no control beside", false, false, false}, Case{"the control without its libraries", true, false, false},
        Case{"the control with its libraries", true, true, true}}) {
    SCOPED_TRACE(c.name);
    if (c.control_beside)
      fs::copy_file(programs / "VexoMedia.dll", folder.path() / "VexoMedia.dll", fs::copy_options::overwrite_existing);
    for (const auto& file : fs::directory_iterator(programs)) {
      const std::wstring name = file.path().filename().wstring();
      const bool library = name.rfind(L"av", 0) == 0 || name.rfind(L"sw", 0) == 0 || name == L"libdav1d.dll";
      if (c.libraries_beside && library && file.path().extension() == L".dll") {
        fs::copy_file(file.path(), folder.path() / name, fs::copy_options::overwrite_existing);
      }
    }

    auto app = Start(L"");
    HWND question = nullptr;
    HWND main = nullptr;
    for (int i = 0; i < 600 && !question && !main; ++i) {
      for (HWND dialog : WindowsOfClass(L"#32770")) {
        wchar_t title[64] = {};
        GetWindowTextW(dialog, title, 64);
        if (std::wstring(title) == L"提示：") question = dialog;
      }
      for (HWND window : WindowsOfClass(kMainClass)) {
        if (IsWindowVisible(window)) main = window;
      }
      std::this_thread::sleep_for(50ms);
    }
    if (c.plays) {
      EXPECT_TRUE(main && !question);
      if (main) Close(main);
    } else {
      EXPECT_TRUE(question && !main);
      if (question) PostMessageW(question, WM_COMMAND, IDNO, 0);
      EXPECT_FALSE(folder.Has(u"config.ini"));
    }
    EXPECT_EQ(app->WaitExit(15s), 0u);
    EXPECT_TRUE(WindowsOfClass(kMainClass).empty());
  }
}

// The process ids of running processes with this executable name (case ignored).
std::vector<DWORD> ProcessesNamed(const wchar_t* name) {
  std::vector<DWORD> ids;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return ids;
  PROCESSENTRY32W entry{sizeof entry};
  for (BOOL more = Process32FirstW(snapshot, &entry); more; more = Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, name) == 0) ids.push_back(entry.th32ProcessID);
  }
  CloseHandle(snapshot);
  return ids;
}

// Whether the shell knows an icon of this window and id: a change that changes nothing is
// accepted only for an icon that is there.
bool HasTrayIcon(HWND owner, UINT id) {
  NOTIFYICONDATAW data{};
  data.cbSize = sizeof data;
  data.hWnd = owner;
  data.uID = id;
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (std::chrono::steady_clock::now() < end) {
    if (done()) return true;
    std::this_thread::sleep_for(50ms);
  }
  return done();
}

// The stand-ins of the maker's desktop player (tools/player-processes) in a folder of their own.
class PlayWithDesktopPlayer : public PlayApp {
 protected:
  void SetUp() override {
    PlayApp::SetUp();
    player_folder = folder.path() / "Player";
    fs::create_directories(player_folder);
    for (const char* program : {"VexoPlayer.exe", "VexoTerminal.exe"}) {
      fs::copy_file(fs::path(TestProgramFolder()) / program, player_folder / program);
    }
  }
  void TearDown() override {
    for (const wchar_t* name : {L"VexoPlayer.exe", L"VexoTerminal.exe"}) {
      for (DWORD id : ProcessesNamed(name)) {
        if (HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, id)) {
          TerminateProcess(process, 0);
          CloseHandle(process);
        }
      }
    }
  }
  // The main window once play.exe has loaded and shown it, or nullptr.
  static HWND Shown(ChildProcess& app) {
    HWND main = app.WaitWindow(kMainClass, 30s);
    return main && WaitShown(main) ? main : nullptr;
  }
  fs::path player_folder;
};

TEST_F(PlayWithDesktopPlayer, ThePlayerWindowGoesItsTerminalRunsAndBothEndAtExit) {
  ASSERT_TRUE(ProcessesNamed(L"VexoTerminal.exe").empty());
  ChildProcess desktop((player_folder / "VexoPlayer.exe").wstring(), L"", player_folder.wstring());
  ASSERT_TRUE(desktop.WaitWindow(L"VexoPlayerProcessStandin", 10s));
  auto app = Start(L"");
  const HWND main = Shown(*app);
  ASSERT_TRUE(main);
  EXPECT_TRUE(WaitUntil([&] { return HasTrayIcon(main, 1); }, 10s)) << "the program's icon is in the notification area";
  EXPECT_FALSE(HasTrayIcon(main, 2));
  // Shortly after the load the desktop player is closed and its terminal started from its folder.
  EXPECT_TRUE(desktop.WaitExit(10s)) << "the desktop player still runs";
  EXPECT_TRUE(WaitUntil([] { return ProcessesNamed(L"VexoTerminal.exe").size() == 1; }, 10s));
  std::string expected = ToAnsi(FromWide(player_folder.wstring())) + "\\";
  // The folder is stored once the terminal is on its way.
  std::string config;
  WaitUntil([&] { return (config = folder.Read(u"config.ini")).find("vexow=") != std::string::npos; }, 10s);
  const auto at = config.find("vexow=");
  ASSERT_NE(at, std::string::npos) << config;
  const std::string stored = config.substr(at + 6, config.find("\r\n", at) - at - 6);
  EXPECT_EQ(lstrcmpiA(stored.c_str(), expected.c_str()), 0) << stored << " / " << expected;

  // vexok = 2 (the default): the exit ends the terminal too, and play.exe leaves nothing behind.
  Close(main);
  EXPECT_EQ(app->WaitExit(15s), 0u);
  EXPECT_TRUE(WaitUntil([] { return ProcessesNamed(L"VexoTerminal.exe").empty(); }, 10s));
  EXPECT_TRUE(WindowsOfClass(kMainClass).empty());
  EXPECT_FALSE(HasTrayIcon(main, 1));
}

TEST_F(PlayWithDesktopPlayer, KeepingThePlayerTouchesNoProcess) {
  folder.Write(u"config.ini", "[S_q]\r\nvexoqi=1\r\nvexok=1\r\n");
  ChildProcess desktop((player_folder / "VexoPlayer.exe").wstring(), L"", player_folder.wstring());
  ASSERT_TRUE(desktop.WaitWindow(L"VexoPlayerProcessStandin", 10s));
  auto app = Start(L"");
  const HWND main = Shown(*app);
  ASSERT_TRUE(main);
  std::this_thread::sleep_for(1500ms);
  EXPECT_FALSE(desktop.WaitExit(0ms)) << "the desktop player was closed against vexoqi=1";
  EXPECT_TRUE(ProcessesNamed(L"VexoTerminal.exe").empty());
  Close(main);
  EXPECT_EQ(app->WaitExit(15s), 0u);
  EXPECT_FALSE(desktop.WaitExit(0ms)) << "vexok=1: exit leaves the player running";
}

}  // namespace

namespace {

class PlayShutdown : public PlayApp {
 protected:
  // Plays a 3-second item; the shutdown request goes to a file instead of the system.
  std::unique_ptr<ChildProcess> StartShortItem() {
    const std::u16string log = folder.File(u"shutdown.log");
    return std::make_unique<ChildProcess>(
        (folder.path() / "play.exe").wstring(), L"vexo://t/a.rmvb?standin=connect:0,buffer:0,duration:3,download:1",
        folder.path().wstring(),
        std::vector<std::pair<std::wstring, std::wstring>>{{L"VEXO_SHUTDOWN_LOG", std::wstring(log.begin(), log.end())},
                                                           {L"PLAY_CONTENT_BASE", L"http://127.0.0.1:9/soft/"}});
  }
  std::string ShutdownLog() { return folder.Has(u"shutdown.log") ? folder.Read(u"shutdown.log") : ""; }
};

TEST_F(PlayShutdown, AnArmedItemShutsDownOnceAtItsEnd) {
  auto app = StartShortItem();
  HWND main = app->WaitWindow(kMainClass, 30s);
  ASSERT_TRUE(main && WaitShown(main));
  std::optional<DrawnControl> button;
  ASSERT_TRUE(WaitUntil([&] { return (button = DrawnControlStartingWith(main, L"计划关机")).has_value(); }, 10s));
  // The shutdown button's menu: the first entry arms it.
  ClickWithMouse(*button);
  ASSERT_TRUE(app->ChooseFromMenu(1));
  EXPECT_TRUE(WaitUntil([&] { return DrawnControlStartingWith(main, L"已开启自动关机").has_value(); }, 10s));
  EXPECT_TRUE(WaitUntil([&] { return !ShutdownLog().empty(); }, 20s));
  std::this_thread::sleep_for(3s);
  EXPECT_EQ(ShutdownLog(), "shutdown force\r\n");
  Close(main);
  EXPECT_EQ(app->WaitExit(15s), 0u);
}

TEST_F(PlayShutdown, ADisarmedItemEndsWithoutShutdown) {
  auto app = StartShortItem();
  HWND main = app->WaitWindow(kMainClass, 30s);
  ASSERT_TRUE(main && WaitShown(main));
  EXPECT_TRUE(WaitUntil([&] { return !DrawnControlText(main, L"播放完毕").empty(); }, 20s));
  std::this_thread::sleep_for(3s);
  EXPECT_EQ(ShutdownLog(), "");
  Close(main);
  EXPECT_EQ(app->WaitExit(15s), 0u);
}

}  // namespace
