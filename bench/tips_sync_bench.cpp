// Times the library's day of work against the content site: a document of 100 Flash items of
// 1 MiB each, all new, then the same document again with every movie in place.
// Run through scripts/bench-tips.sh, which also times curl on the same files.
#include <winsock2.h>
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

// One GET over a plain blocking socket, a new connection, the answer received 64 KiB at a time:
// what Wine's sockets cost with no parsing. With a `file`, each block is written to it as it
// comes, which adds what Wine's file writes cost. Returns the bytes received.
std::size_t PlainFetch(unsigned short port, const std::string& path, HANDLE file) {
  const SOCKET s = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_port = htons(port);
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  std::size_t total = 0;
  if (connect(s, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0) {
    const std::string request = "GET " + path + " HTTP/1.1\r\nHost: 127.0.0.1\r\nConnection: close\r\n\r\n";
    send(s, request.data(), static_cast<int>(request.size()), 0);
    static char buffer[64 * 1024];
    int n;
    DWORD written;
    while ((n = recv(s, buffer, sizeof buffer, 0)) > 0) {
      total += static_cast<std::size_t>(n);
      if (file != INVALID_HANDLE_VALUE) WriteFile(file, buffer, static_cast<DWORD>(n), &written, nullptr);
    }
  }
  closesocket(s);
  return total;
}

// The 100 movies fetched by PlainFetch, into new files of `folder` when it is given.
double PlainFetches(unsigned short port, int items, const TestFolder* folder) {
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < items; ++i) {
    const std::string name = "m" + std::to_string(i) + ".swf";
    UniqueHandle file(folder ? CreateFileW(reinterpret_cast<const wchar_t*>(
                                               folder->File(std::u16string(name.begin(), name.end())).c_str()),
                                           GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr)
                             : INVALID_HANDLE_VALUE);
    PlainFetch(port, "/bench/" + name, file.get());
  }
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
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

  // Wine's own floors for the same work, in the same run: the sockets alone, then the
  // sockets and the file writes (no flush, no parsing, no document).
  const double sockets = PlainFetches(site.port(), kItems, nullptr);
  const TestFolder plain_folder;
  const double sockets_and_files = PlainFetches(site.port(), kItems, &plain_folder);

  int present = 0;
  for (int i = 0; i < kItems; ++i) {
    const std::string name = "m" + std::to_string(i) + ".swf";
    present += folder.Read(std::u16string(name.begin(), name.end())).size() == kMovieBytes;
  }
  std::printf("movies stored: %d of %d\n", present, kItems);
  std::printf("all new:   %.3f s  (%.1f MiB/s)\n", all_new, kItems / all_new);
  std::printf("no change: %.3f s\n", no_change);
  std::printf("plain sockets under Wine:           %.3f s  (%.1f MiB/s)\n", sockets, kItems / sockets);
  std::printf("plain sockets and files under Wine: %.3f s  (%.1f MiB/s); the sync takes %.2fx that\n",
              sockets_and_files, kItems / sockets_and_files, all_new / sockets_and_files);
  return present == kItems ? 0 : 1;
}
