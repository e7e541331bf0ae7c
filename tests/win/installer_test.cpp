// The setup program as a user runs it, in a Wine prefix of its own: a silent install for all
// users and for the current user, the installed program started against the content site, a
// silent uninstall that keeps the user's lists, "Open with" for the video types beside other
// programs' associations, and the site's upgrade download being this very setup program.
#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/win/child_process.h"
#include "tests/win/site_client.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const wchar_t kProduct[] = L"绮映影视盒";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VexoPlay";
const wchar_t kPlayerClassKey[] = L"Software\\Classes\\CLSID\\{E1C24F98-0161-4903-919F-EAFC37068410}\\InprocServer32";

const wchar_t kAppKey[] = L"Software\\Classes\\Applications\\play.exe";
const wchar_t kVideoProgId[] = L"VexoPlay.Video";
const std::vector<std::wstring> kVideoTypes = {L".mp4",  L".mkv", L".avi", L".wmv", L".webm", L".mpg",
                                               L".mpeg", L".ts",  L".m4v", L".mov", L".flv"};

fs::path SetupProgram() { return fs::path(TestProgramFolder()).parent_path() / "setup" / "vexo-setup.exe"; }

fs::path KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

// Runs a program to its end and gives its exit code (-1 when it did not end in time).
long RunToEnd(const fs::path& program, const std::wstring& arguments, std::chrono::milliseconds* took = nullptr) {
  const auto start = std::chrono::steady_clock::now();
  ChildProcess child(program.wstring(), arguments, program.parent_path().wstring());
  if (!child.started()) return -1;
  const auto code = child.WaitExit(120s);
  if (took) *took = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start);
  return code ? static_cast<long>(*code) : -1;
}

std::wstring RegistryText(HKEY root, const wchar_t* key, const wchar_t* value) {
  wchar_t text[512] = {};
  DWORD size = sizeof text;
  if (RegGetValueW(root, key, value, RRF_RT_REG_SZ, nullptr, text, &size) != ERROR_SUCCESS) return L"";
  return text;
}

bool KeyExists(HKEY root, const wchar_t* key) {
  HKEY opened = nullptr;
  if (RegOpenKeyExW(root, key, 0, KEY_READ, &opened) != ERROR_SUCCESS) return false;
  RegCloseKey(opened);
  return true;
}

bool ValueExists(HKEY root, const std::wstring& key, const wchar_t* value) {
  return RegGetValueW(root, key.c_str(), value, RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

std::wstring ClassesKey(const std::wstring& name) { return L"Software\\Classes\\" + name; }

// Another program's association of .mkv, which setup must leave as it is, and which file
// types had a key of their own before setup.
std::vector<std::wstring> PrepareOtherAssociations(HKEY root) {
  RegSetKeyValueW(root, ClassesKey(L".mkv").c_str(), nullptr, REG_SZ, L"Other.mkv", 20);
  RegSetKeyValueW(root, ClassesKey(L".mkv\\OpenWithProgids").c_str(), L"Other.mkv", REG_NONE, nullptr, 0);
  std::vector<std::wstring> existing;
  for (const std::wstring& type : kVideoTypes) {
    if (KeyExists(root, ClassesKey(type).c_str())) existing.push_back(type);
  }
  return existing;
}

void ExpectOpenWith(HKEY root, const fs::path& folder) {
  const std::wstring command = L"\"" + (folder / "play.exe").wstring() + L"\" \"%1\"";
  EXPECT_EQ(RegistryText(root, (std::wstring(kAppKey) + L"\\shell\\open\\command").c_str(), nullptr), command);
  EXPECT_EQ(RegistryText(root, ClassesKey(std::wstring(kVideoProgId) + L"\\shell\\open\\command").c_str(), nullptr),
            command);
  EXPECT_FALSE(RegistryText(root, ClassesKey(kVideoProgId).c_str(), nullptr).empty()) << "a friendly type name";
  for (const std::wstring& type : kVideoTypes) {
    EXPECT_TRUE(ValueExists(root, std::wstring(kAppKey) + L"\\SupportedTypes", type.c_str())) << type;
    EXPECT_TRUE(ValueExists(root, ClassesKey(type + L"\\OpenWithProgids"), kVideoProgId)) << type;
  }
  EXPECT_EQ(RegistryText(root, ClassesKey(L".mkv").c_str(), nullptr), L"Other.mkv") << "nothing taken away";
}

void ExpectOpenWithGone(HKEY root, const std::vector<std::wstring>& existed) {
  EXPECT_FALSE(KeyExists(root, kAppKey));
  EXPECT_FALSE(KeyExists(root, ClassesKey(kVideoProgId).c_str()));
  for (const std::wstring& type : kVideoTypes) {
    const bool was_there = std::find(existed.begin(), existed.end(), type) != existed.end();
    EXPECT_EQ(KeyExists(root, ClassesKey(type).c_str()), was_there) << type;
    EXPECT_FALSE(ValueExists(root, ClassesKey(type + L"\\OpenWithProgids"), kVideoProgId)) << type;
  }
  EXPECT_EQ(RegistryText(root, ClassesKey(L".mkv").c_str(), nullptr), L"Other.mkv");
  EXPECT_TRUE(ValueExists(root, ClassesKey(L".mkv\\OpenWithProgids"), L"Other.mkv"));
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WaitForText(const fs::path& path, const std::string& text, std::chrono::milliseconds limit) {
  for (auto waited = 0ms; waited < limit; waited += 100ms) {
    if (ReadAll(path).find(text) != std::string::npos) return true;
    std::this_thread::sleep_for(100ms);
  }
  return false;
}

// Opens a file through the shell with the type setup registered, as Explorer's "Open with"
// does: the shell runs the registered command line.
bool OpenThroughTheShell(const fs::path& file) {
  SHELLEXECUTEINFOW info{sizeof info};
  info.fMask = SEE_MASK_CLASSNAME | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpClass = kVideoProgId;
  info.lpVerb = L"open";
  const std::wstring path = file.wstring();
  info.lpFile = path.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}

std::size_t Count(const std::string& text, const std::string& part, std::size_t from = 0) {
  std::size_t count = 0;
  for (auto at = text.find(part, from); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// A clip opened with the shell plays; a selection of two opened with it running (Explorer
// starts one copy of the program per file) plays one and puts the other on the local list.
void ExpectFilesOpenedWithTheProgramPlay(const fs::path& folder) {
  const char* clips = std::getenv("VEXO_TEST_CLIPS");
  ASSERT_TRUE(clips) << "VEXO_TEST_CLIPS names no clip folder";
  const fs::path player_log = folder / "player.log";
  SiteClient site;
  const std::string base = site.Url("/soft/");
  SetEnvironmentVariableW(L"VEXO_PLAYER_LOG", player_log.wstring().c_str());
  SetEnvironmentVariableW(L"PLAY_CONTENT_BASE", std::wstring(base.begin(), base.end()).c_str());
  ASSERT_TRUE(OpenThroughTheShell(fs::path(clips) / "clip.mp4"));
  EXPECT_TRUE(WaitForText(player_log, "Opened", 60s)) << ReadAll(player_log);
  EXPECT_NE(ReadAll(player_log).find("clip.mp4"), std::string::npos) << ReadAll(player_log);
  std::this_thread::sleep_for(2500ms);  // a later choice of the user's, not part of the first
  const std::size_t before = ReadAll(player_log).size();
  for (const char* next : {"clip.mkv", "clip.avi"}) EXPECT_TRUE(OpenThroughTheShell(fs::path(clips) / next));
  for (const char* name : {"clip.mp4", "clip.mkv", "clip.avi"}) {
    EXPECT_TRUE(WaitForText(folder / "date_f.dat", name, 30s)) << name << ReadAll(folder / "date_f.dat");
  }
  std::this_thread::sleep_for(1000ms);
  const std::string log = ReadAll(player_log);
  EXPECT_EQ(Count(log, "MediaUrl ", before), 1u) << "one file of the selection plays: " << log.substr(before);
  HWND main = FindWindowW(L"VexoPlayMainWindow", nullptr);
  ASSERT_TRUE(main);
  DWORD process_id = 0;
  GetWindowThreadProcessId(main, &process_id);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, process_id);
  PostMessageW(main, WM_CLOSE, 0, 0);
  if (process) {
    EXPECT_EQ(WaitForSingleObject(process, 30000), WAIT_OBJECT_0);
    CloseHandle(process);
  }
  SetEnvironmentVariableW(L"VEXO_PLAYER_LOG", nullptr);
  fs::remove(player_log);
}

void ExpectInstalled(const fs::path& folder) {
  for (const char* name :
       {"play.exe", "i.gif", "VexoTip.exe", "PopMessage.xml", "VexoTips.dll", "VexoMedia.dll", "uninstall.exe",
        "avformat-59.dll", "avcodec-59.dll", "avutil-57.dll", "swscale-6.dll", "swresample-4.dll", "avfilter-8.dll",
        "libdav1d.dll", "licenses/FFmpeg-LGPL-2.1.txt", "licenses/dav1d-BSD-2-Clause.txt"}) {
    EXPECT_TRUE(fs::is_regular_file(folder / name)) << name;
  }
  EXPECT_FALSE(fs::is_empty(folder / "skin"));
  EXPECT_FALSE(fs::exists(folder / "player_standin.dll"));  // the test stand-in never ships
}

// The installed play.exe starts against the content site and shows its main window.
void ExpectProgramStarts(const fs::path& folder) {
  SiteClient site;
  const std::string base = site.Url("/soft/");
  ChildProcess app((folder / "play.exe").wstring(), L"", folder.wstring(),
                   {{L"PLAY_CONTENT_BASE", std::wstring(base.begin(), base.end())}});
  HWND main = app.WaitWindow(L"VexoPlayMainWindow", 60s);
  ASSERT_TRUE(main);
  for (int i = 0; i < 100 && !IsWindowVisible(main); ++i) std::this_thread::sleep_for(100ms);
  EXPECT_TRUE(IsWindowVisible(main));
  PostMessageW(main, WM_CLOSE, 0, 0);
  EXPECT_TRUE(app.WaitExit(30s));
}

TEST(Installer, ForAllUsersSilentlyThenUninstalledKeepingTheLists) {
  const fs::path folder = L"C:\\Program Files\\Vexo Test";
  const std::vector<std::wstring> existed = PrepareOtherAssociations(HKEY_LOCAL_MACHINE);
  std::chrono::milliseconds took{};
  ASSERT_EQ(RunToEnd(SetupProgram(), L"/S /AllUsers /D=" + folder.wstring(), &took), 0);
  std::printf("silent install for all users: %lld ms\n", static_cast<long long>(took.count()));
  ExpectInstalled(folder);
  const fs::path menu = KnownFolder(CSIDL_COMMON_PROGRAMS) / kProduct;
  EXPECT_TRUE(fs::exists(menu / (std::wstring(kProduct) + L".lnk")));
  EXPECT_TRUE(fs::exists(KnownFolder(CSIDL_COMMON_DESKTOPDIRECTORY) / (std::wstring(kProduct) + L".lnk")));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName"), kProduct);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion"), L"3.3.1.0");
  EXPECT_NE(RegistryText(HKEY_LOCAL_MACHINE, kUninstallKey, L"UninstallString").find(L"uninstall.exe"),
            std::wstring::npos);

  // The player control is registered for all users, from the installed folder.
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kPlayerClassKey, nullptr), (folder / "VexoMedia.dll").wstring());
  ExpectOpenWith(HKEY_LOCAL_MACHINE, folder);
  ExpectProgramStarts(folder);
  ExpectFilesOpenedWithTheProgramPlay(folder);
  // The program made its settings and lists at its start; the user's history is in them.
  ASSERT_TRUE(fs::exists(folder / "config.ini"));
  std::ofstream(folder / "date.dat", std::ios::binary) << "7|%u661F|x|vexo%3A//m|1|2|30\r\n\r\n";

  // The upgrade: setup again over the installed program, into the folder it remembers.
  ASSERT_EQ(RunToEnd(SetupProgram(), L"/S /AllUsers"), 0);
  ExpectInstalled(folder);
  EXPECT_EQ(fs::file_size(folder / "date.dat"), 32u);

  // "_?=" keeps the uninstaller in place, so its end is the end of the uninstall.
  ASSERT_EQ(RunToEnd(folder / "uninstall.exe", L"/S /AllUsers _?=" + folder.wstring()), 0);
  fs::remove(folder / "uninstall.exe");  // an uninstaller run in place cannot remove itself
  for (const char* name : {"play.exe", "i.gif", "VexoTip.exe", "PopMessage.xml", "VexoTips.dll", "VexoMedia.dll",
                           "c.htm", "f.htm", "avcodec-59.dll", "libdav1d.dll", "licenses"}) {
    EXPECT_FALSE(fs::exists(folder / name)) << name;
  }
  EXPECT_FALSE(fs::exists(folder / "skin"));
  EXPECT_FALSE(fs::exists(menu));
  EXPECT_FALSE(fs::exists(KnownFolder(CSIDL_COMMON_DESKTOPDIRECTORY) / (std::wstring(kProduct) + L".lnk")));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kPlayerClassKey));
  ExpectOpenWithGone(HKEY_LOCAL_MACHINE, existed);
  // What the user made stays.
  EXPECT_TRUE(fs::exists(folder / "config.ini"));
  EXPECT_TRUE(fs::exists(folder / "date_f.dat"));
  std::ifstream kept(folder / "date.dat", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "7|%u661F|x|vexo%3A//m|1|2|30\r\n\r\n");
}

TEST(Installer, ForTheCurrentUserSilentlyThenUninstalled) {
  const fs::path folder = KnownFolder(CSIDL_LOCAL_APPDATA) / "Vexo Mine";
  const std::vector<std::wstring> existed = PrepareOtherAssociations(HKEY_CURRENT_USER);
  ASSERT_EQ(RunToEnd(SetupProgram(), L"/S /CurrentUser /D=" + folder.wstring()), 0);
  ExpectInstalled(folder);
  EXPECT_TRUE(fs::exists(KnownFolder(CSIDL_PROGRAMS) / kProduct / (std::wstring(kProduct) + L".lnk")));
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayName"), kProduct);
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation"), folder.wstring());
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kPlayerClassKey, nullptr), (folder / "VexoMedia.dll").wstring());
  ExpectOpenWith(HKEY_CURRENT_USER, folder);
  // It starts on the player control beside it (this Wine does not merge the user's classes
  // into the system's, as Windows does).
  ExpectProgramStarts(folder);
  for (const char* made : {"config.ini", "date.dat", "date_f.dat"}) fs::remove(folder / made);

  // As Add/Remove Programs runs it: the uninstaller hands over to a copy of itself and ends.
  ASSERT_EQ(RunToEnd(folder / "uninstall.exe", L"/S /CurrentUser"), 0);
  for (int i = 0; i < 300 && fs::exists(folder); ++i) std::this_thread::sleep_for(100ms);
  EXPECT_FALSE(fs::exists(folder));  // nothing of the user's was there: the folder goes too
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUninstallKey));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kPlayerClassKey));
  ExpectOpenWithGone(HKEY_CURRENT_USER, existed);
  EXPECT_FALSE(fs::exists(KnownFolder(CSIDL_PROGRAMS) / kProduct));
}

TEST(Installer, TheSiteOffersThisSetupProgramAsTheUpgrade) {
  std::ifstream built(SetupProgram(), std::ios::binary);
  const std::string setup((std::istreambuf_iterator<char>(built)), {});
  ASSERT_GT(setup.size(), 100000u);
  EXPECT_EQ(SiteClient().Get("/soft/update/setup.exe"), setup);
}

}  // namespace
