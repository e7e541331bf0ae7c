// Times the library's day of work against the content site: a document of 100 Flash items of
// 1 MiB each, all new, then the same document again with every movie in place.
// Run through scripts/bench-tips.sh, which also times curl on the same files.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>

#include "common/codepage.h"
#include "common/win32/unique_handle.h"
#include "tests/shared/test_folder.h"
#include "tests/win/site_client.h"

namespace {

using StartFn = bool(__cdecl*)(const char*, const char*);
using FlagFn = bool(__cdecl*)();

double RunOnce(const std::string& url, const std::string& store) {
  UniqueModule library(LoadLibraryW(L"VexoTips.dll"));
  const HMODULE module = library.get();
  auto start = reinterpret_cast<StartFn>(reinterpret_cast<void*>(GetProcAddress(module, "Start_VexoTips")));
  auto query = reinterpret_cast<FlagFn>(reinterpret_cast<void*>(GetProcAddress(module, "Query_VexoTips")));
  const auto t0 = std::chrono::steady_clock::now();
  start(url.c_str(), store.c_str());
  while (!query()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  library.reset();
  while (GetModuleHandleW(L"VexoTips.dll")) std::this_thread::sleep_for(std::chrono::milliseconds(5));
  return seconds;
}

}  // namespace

int main() {
  constexpr int kItems = 100;
  constexpr std::size_t kMovieBytes = 1 << 20;
  SiteClient site;
  site.Reset();
  std::string items;
  const std::string movie(kMovieBytes, 'F');
  for (int i = 0; i < kItems; ++i) {
    const std::string path = "/bench/m" + std::to_string(i) + ".swf";
    site.Put(path, movie);
    items += "<tip id=\"t" + std::to_string(i) + "\" tiptype=\"0\" flashurl=\"" + site.Url(path) + "\"/>\r\n";
  }
  site.Put("/bench/VexoTips.xml", "<?xml version=\"1.0\"?>\r\n<vexotips enable=\"1\">\r\n" + items + "</vexotips>\r\n");

  TestFolder folder;
  const std::string store = ToAnsi(folder.Text()) + "\\";
  const std::string url = site.Url("/bench/VexoTips.xml");
  const double all_new = RunOnce(url, store);
  // Make the local document yesterday's again, so the next start does the day's work.
  std::string local = folder.Read(u"VexoTips.xml");
  const auto at = local.find("updatetime=\"");
  if (at != std::string::npos) local.replace(at + 12, 10, "2000-01-01");
  folder.Write(u"VexoTips.xml", local);
  const double no_change = RunOnce(url, store);

  int present = 0;
  for (int i = 0; i < kItems; ++i) {
    const std::string name = "m" + std::to_string(i) + ".swf";
    present += folder.Read(std::u16string(name.begin(), name.end())).size() == kMovieBytes;
  }
  std::printf("movies stored: %d of %d\n", present, kItems);
  std::printf("all new:   %.3f s  (%.1f MiB/s)\n", all_new, kItems / all_new);
  std::printf("no change: %.3f s\n", no_change);
  return present == kItems ? 0 : 1;
}
