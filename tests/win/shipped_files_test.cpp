// What Explorer shows of the shipped files: the version resource of each, the program's icon,
// and the manifests' settings.
#include <windows.h>

#include <string>

#include <gtest/gtest.h>

#include "common/version.h"
#include "tests/win/child_process.h"

namespace {

std::wstring Shipped(const wchar_t* name) { return TestProgramFolder() + L"\\" + name; }

struct VersionInfo {
  std::vector<BYTE> data;
  std::wstring String(const wchar_t* name) {
    void* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\080404B0\\") + name;
    if (!VerQueryValueW(data.data(), query.c_str(), &value, &length) || length == 0) return L"";
    return std::wstring(static_cast<const wchar_t*>(value));
  }
};

VersionInfo ReadVersion(const std::wstring& path) {
  DWORD handle = 0;
  const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &handle);
  VersionInfo info;
  if (size == 0) return info;
  info.data.resize(size);
  if (!GetFileVersionInfoW(path.c_str(), 0, size, info.data.data())) info.data.clear();
  return info;
}

std::string ManifestOf(const std::wstring& path) {
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return "";
  std::string text;
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24))) {
    const HGLOBAL loaded = LoadResource(module, found);
    text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, found));
  }
  FreeLibrary(module);
  return text;
}

TEST(ShippedFiles, EachCarriesItsVersionAndDescription) {
  for (const wchar_t* name : {L"play.exe", L"VexoTip.exe", L"VexoTips.dll", L"VexoMedia.dll"}) {
    SCOPED_TRACE(std::string(name, name + wcslen(name)));
    VersionInfo info = ReadVersion(Shipped(name));
    ASSERT_FALSE(info.data.empty());
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, static_cast<DWORD>(MAKELONG(VEXO_VERSION_MINOR, VEXO_VERSION_MAJOR)));
    EXPECT_EQ(fixed->dwFileVersionLS, static_cast<DWORD>(MAKELONG(0, VEXO_VERSION_PATCH)));
    EXPECT_EQ(info.String(L"ProductName"), L"绮映影视盒");
    EXPECT_EQ(info.String(L"OriginalFilename"), name);
    EXPECT_EQ(info.String(L"FileVersion"), L"3.3.1.0");
    EXPECT_NE(info.String(L"FileDescription"), L"");
    EXPECT_NE(info.String(L"LegalCopyright").find(L"2026"), std::wstring::npos);
  }
}

TEST(ShippedFiles, TheProgramsCarryTheirManifestAndPlayItsIcon) {
  for (const wchar_t* name : {L"play.exe", L"VexoTip.exe"}) {
    const std::string manifest = ManifestOf(Shipped(name));
    EXPECT_NE(manifest.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">false"),
              std::string::npos);
    EXPECT_NE(manifest.find("asInvoker"), std::string::npos);
  }
  HMODULE play = LoadLibraryExW(Shipped(L"play.exe").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(play);
  for (int size : {16, 32, 48}) {
    HICON icon = static_cast<HICON>(LoadImageW(play, MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, 0));
    ASSERT_TRUE(icon) << size;
    ICONINFO parts{};
    ASSERT_TRUE(GetIconInfo(icon, &parts));
    BITMAP colour{};
    GetObjectW(parts.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, size);
    DeleteObject(parts.hbmColor);
    DeleteObject(parts.hbmMask);
    DestroyIcon(icon);
  }
  FreeLibrary(play);
}

}  // namespace
