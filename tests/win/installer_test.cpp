// The setup program as a user runs it, in a Wine prefix of its own: a silent install for all
// users and for the current user, the installed program started against the content site, a
// silent uninstall that keeps the user's lists, and the site's upgrade download being this
// very setup program.
#include <windows.h>
#include <shlobj.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include <gtest/gtest.h>

#include "tests/win/child_process.h"
#include "tests/win/site_client.h"

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

const wchar_t kProduct[] = L"绮映影视盒";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\VexoPlay";
const wchar_t kPlayerClassKey[] = L"Software\\Classes\\CLSID\\{E1C24F98-0161-4903-919F-EAFC37068410}\\InprocServer32";

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
  ExpectProgramStarts(folder);
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
  // What the user made stays.
  EXPECT_TRUE(fs::exists(folder / "config.ini"));
  EXPECT_TRUE(fs::exists(folder / "date_f.dat"));
  std::ifstream kept(folder / "date.dat", std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), "7|%u661F|x|vexo%3A//m|1|2|30\r\n\r\n");
}

TEST(Installer, ForTheCurrentUserSilentlyThenUninstalled) {
  const fs::path folder = KnownFolder(CSIDL_LOCAL_APPDATA) / "Vexo Mine";
  ASSERT_EQ(RunToEnd(SetupProgram(), L"/S /CurrentUser /D=" + folder.wstring()), 0);
  ExpectInstalled(folder);
  EXPECT_TRUE(fs::exists(KnownFolder(CSIDL_PROGRAMS) / kProduct / (std::wstring(kProduct) + L".lnk")));
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, L"DisplayName"), kProduct);
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUninstallKey, L"InstallLocation"), folder.wstring());
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kPlayerClassKey, nullptr), (folder / "VexoMedia.dll").wstring());
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
  EXPECT_FALSE(fs::exists(KnownFolder(CSIDL_PROGRAMS) / kProduct));
}

TEST(Installer, TheSiteOffersThisSetupProgramAsTheUpgrade) {
  std::ifstream built(SetupProgram(), std::ios::binary);
  const std::string setup((std::istreambuf_iterator<char>(built)), {});
  ASSERT_GT(setup.size(), 100000u);
  EXPECT_EQ(SiteClient().Get("/soft/update/setup.exe"), setup);
}

}  // namespace
