// Stands in for the default web browser in the popup tests: writes the parameters it was
// started with to "opened.txt" beside itself (UTF-8) and ends.
#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR parameters, int) {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring file(path, length);
  file = file.substr(0, file.rfind(L'\\') + 1) + L"opened.txt";
  const std::wstring text = parameters ? parameters : L"";
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), utf8.data(), size, nullptr, nullptr);
  std::ofstream(std::filesystem::path(file), std::ios::binary) << utf8;
  return 0;
}
