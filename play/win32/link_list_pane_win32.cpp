#include "play/win32/link_list_pane_win32.h"

#include <wininet.h>

#include <optional>

#include "common/win32/detached_thread.h"
#include "common/win32/gdi_scope.h"
#include "common/win32/unique_internet.h"
#include "common/win32/web_request.h"
#include "common/win32/wide.h"

namespace {

constexpr wchar_t kPaneClass[] = L"VexoLinkListPane";
constexpr UINT kFetchDone = WM_APP + 20;
constexpr int kListId = 1;
constexpr std::size_t kMaxPageBytes = 8 << 20;
constexpr long kUnknownProtocol = static_cast<long>(0x800C000D);  // INET_E_UNKNOWN_PROTOCOL
constexpr long kNotFound = static_cast<long>(0x800C0005);         // INET_E_RESOURCE_NOT_FOUND

bool StartsWithNoCase(std::u16string_view text, std::u16string_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t i = 0; i < prefix.size(); ++i) {
    char16_t a = text[i], b = prefix[i];
    if (a >= u'A' && a <= u'Z') a = static_cast<char16_t>(a + 32);
    if (a != b) return false;
  }
  return true;
}

// A local file address: "C:\...", a share "\\host\...", or "file:///C:/..." (and
// "file://///host/..." for a share).
std::optional<std::u16string> LocalPath(std::u16string_view address) {
  const auto separator = [](char16_t c) { return c == u'\\' || c == u'/'; };
  const bool file_scheme = StartsWithNoCase(address, u"file:");
  std::u16string path;
  if (address.size() > 2 && address[1] == u':' && separator(address[2])) {
    path = address;
  } else if (address.size() > 2 && separator(address[0]) && separator(address[1])) {
    path = address;
  } else if (file_scheme) {
    const auto start = address.find_first_not_of(u'/', 5);
    path = start == std::u16string_view::npos ? std::u16string() : std::u16string(address.substr(start));
  } else {
    return std::nullopt;
  }
  for (char16_t& c : path) {
    if (c == u'/') c = u'\\';
  }
  // "file:////host/x" and "file://///host/x" both name a share.
  if (file_scheme && !(path.size() > 1 && path[1] == u':')) path = u"\\\\" + path;
  return path;
}

bool IsWebPage(std::u16string_view address) {
  return StartsWithNoCase(address, u"http://") || StartsWithNoCase(address, u"https://");
}

// A local page, read as a browser reads one: a file on a disk (never a device, a pipe or a
// console, which a name like "CON" or "\\.\" would open), and no more of it than a page.
long ReadLocalPage(const std::u16string& path, std::string& bytes) {
  if (path.rfind(u"\\\\.\\", 0) == 0 || path.rfind(u"\\\\?\\", 0) == 0) return kNotFound;
  const UniqueHandle file(CreateFileW(WidePtr(path), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!file.valid()) return kNotFound;
  BY_HANDLE_FILE_INFORMATION info{};
  if (GetFileType(file.get()) != FILE_TYPE_DISK || !GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || info.nFileSizeHigh != 0 ||
      info.nFileSizeLow > kMaxPageBytes) {
    return kNotFound;
  }
  char chunk[16384];
  DWORD read = 0;
  while (bytes.size() < kMaxPageBytes && ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read > 0) {
    bytes.append(chunk, read);
  }
  if (bytes.size() > kMaxPageBytes) bytes.resize(kMaxPageBytes);
  return 0;
}

}  // namespace

// One http fetch on its helper thread; the result comes back to the pane window.
struct LinkListPane::Fetch {
  std::u16string address;
  unsigned generation = 0;
  bool record = true;
  long status = 0;  // 0: fetched
  std::string bytes;
};

LinkListPane::LinkListPane(HWND parent, ControlName name, BrowserPaneEvents& events)
    : name_(name), events_(events), alive_(std::make_shared<std::atomic<bool>>(true)) {
  WNDCLASSEXW wc{sizeof wc};
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  wc.lpszClassName = kPaneClass;
  RegisterWindowClass(wc);
  font_.reset(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, GB2312_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"宋体"));
  CreateBound(0, kPaneClass, ToWide(name_.text()).c_str(), WS_CHILD | WS_CLIPCHILDREN, 0, 0, 10, 10, parent, nullptr,
              GetModuleHandleW(nullptr));
}

LinkListPane::~LinkListPane() {
  alive_->store(false);
  Destroy();
}

void LinkListPane::Navigate(std::u16string_view address) {
  bool cancel = false;
  events_.BeforeNavigate(name_, address, cancel);
  if (cancel) return;
  Load(std::u16string(address), true);
}

void LinkListPane::Refresh() {
  if (!location_.empty()) Load(location_, false);
}

void LinkListPane::GoBack() {
  if (auto address = history_.Back()) Load(*address, false);
}

// A list of links has no selection to copy and no field to paste into.
void LinkListPane::Copy() {}
void LinkListPane::Paste() {}

void LinkListPane::GoForward() {
  if (auto address = history_.Forward()) Load(*address, false);
}

void LinkListPane::Load(const std::u16string& address, bool record) {
  const unsigned generation = ++generation_;
  events_.DownloadBegin(name_);
  if (address == u"about:blank") {
    Show(address, "", record);
    return;
  }
  const std::optional<std::u16string> path = LocalPath(address);
  if (!path && !IsWebPage(address)) {
    Fail(address, kUnknownProtocol);
    return;
  }
  // Neither the network nor a disk (a share, a slow drive) holds up the window: the page is
  // read on a helper thread.
  auto fetch = std::make_unique<Fetch>(Fetch{address, generation, record, 0, {}});
  const bool started = StartDetachedThread([fetch = std::move(fetch), path, hwnd = hwnd_, alive = alive_]() mutable {
    if (path) {
      fetch->status = ReadLocalPage(*path, fetch->bytes);
      if (alive->load() && PostMessageW(hwnd, kFetchDone, 0, reinterpret_cast<LPARAM>(fetch.get()))) fetch.release();
      return;
    }
    const UniqueInternet session(InternetOpenW(L"VexoPlay", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
    WebRequest web;
    if (session) {
      web = OpenWebRequest(session.get(), WidePtr(fetch->address), INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE,
                           15000);
    }
    const UniqueInternet& request = web.request;
    if (!request || !SendWebRequest(request.get(), {})) {
      fetch->status = static_cast<long>(GetLastError());
    } else {
      DWORD code = 0, size = sizeof code;
      if (HttpQueryInfoW(request.get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code, &size, nullptr) &&
          (code < 200 || code > 299)) {
        fetch->status = static_cast<long>(code);
      }
      char buffer[16384];
      DWORD read = 0;
      while (fetch->status == 0 && alive->load() && InternetReadFile(request.get(), buffer, sizeof buffer, &read) &&
             read > 0 && fetch->bytes.size() < kMaxPageBytes) {
        fetch->bytes.append(buffer, read);
      }
    }
    if (alive->load() && PostMessageW(hwnd, kFetchDone, 0, reinterpret_cast<LPARAM>(fetch.get()))) fetch.release();
  });
  if (!started) Fail(address, static_cast<long>(E_OUTOFMEMORY));
}

void LinkListPane::Show(const std::u16string& address, const std::string& bytes, bool record) {
  location_ = address;
  if (record) history_.Visit(address);
  page_ = ParseLinkPage(DecodePageBytes(bytes), address);
  // An empty page (about:blank, an advertisement without links) is the pane's white ground.
  if (!page_.links.empty()) MakeList();
  // Each row carries its link's text, which screen readers and automation read; the rows are
  // still drawn by us.
  labels_.clear();
  for (const PageLink& link : page_.links) labels_.push_back(ToWide(link.text));
  label_widths_.assign(labels_.size(), -1);
  if (list_) {
    SendMessageW(list_, WM_SETREDRAW, FALSE, 0);
    SendMessageW(list_, LB_RESETCONTENT, 0, 0);
    for (const std::wstring& label : labels_) {
      SendMessageW(list_, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(label.c_str()));
    }
    SendMessageW(list_, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list_, nullptr, TRUE);
  }
  events_.DownloadComplete(name_);
}

void LinkListPane::Fail(const std::u16string& address, long status) {
  events_.NavigateError(name_, address, status);
  events_.DownloadComplete(name_);
}

void LinkListPane::Follow(int row) {
  if (row < 0 || static_cast<std::size_t>(row) >= page_.links.size()) return;
  const std::u16string href = page_.links[static_cast<std::size_t>(row)].href;
  // As the system's browser keeps its zones apart: a page from the web never opens a file of
  // this computer or of a share.
  if (IsWebPage(location_) && LocalPath(href)) return;
  Navigate(href);
}

void LinkListPane::DrawRow(const DRAWITEMSTRUCT& item) {
  if (item.itemID == static_cast<UINT>(-1) || item.itemID >= labels_.size()) return;
  const bool selected = item.itemState & ODS_SELECTED;
  // The DC's own brush: no brush or pen is made per row.
  const ScopedSelect select_brush(item.hDC, GetStockObject(DC_BRUSH));
  SetDCBrushColor(item.hDC, selected          ? RGB(0xD6, 0xEE, 0xAF)
                            : item.itemID % 2 ? RGB(0xEE, 0xEE, 0xEE)
                                              : RGB(0xFF, 0xFF, 0xFF));
  RECT back = item.rcItem;
  back.bottom -= 1;
  FillRect(item.hDC, &back, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
  RECT text = item.rcItem;
  text.left += 4;
  text.right -= 2;
  {
    const ScopedSelect select_font(item.hDC, font_.get());
    SetBkMode(item.hDC, TRANSPARENT);
    SetTextColor(item.hDC, RGB(2, 2, 2));
    const std::wstring& label = labels_[item.itemID];
    int& width = label_widths_[item.itemID];
    if (width < 0 || font_height_ == 0) {
      SIZE size{};
      GetTextExtentPoint32W(item.hDC, label.c_str(), static_cast<int>(label.size()), &size);
      width = size.cx;
      font_height_ = size.cy;
    }
    if (width <= text.right - text.left) {
      const int top = text.top + (text.bottom - text.top - font_height_) / 2;
      ExtTextOutW(item.hDC, text.left, top, ETO_CLIPPED, &text, label.c_str(), static_cast<UINT>(label.size()),
                  nullptr);
    } else {
      DrawTextW(item.hDC, label.c_str(), static_cast<int>(label.size()), &text,
                DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS);
    }
  }
  SetDCBrushColor(item.hDC, RGB(0xCC, 0xCC, 0xCC));
  RECT line{item.rcItem.left, item.rcItem.bottom - 1, item.rcItem.right, item.rcItem.bottom};
  FillRect(item.hDC, &line, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

void LinkListPane::MakeList() {
  if (list_) return;
  RECT client{};
  GetClientRect(hwnd_, &client);
  list_ = CreateWindowExW(
      0, L"LISTBOX", L"",
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT, 0,
      0, client.right, client.bottom, hwnd_, reinterpret_cast<HMENU>(kListId), GetModuleHandleW(nullptr), nullptr);
}

LRESULT LinkListPane::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      if (list_) {
        // The list covers the pane: it repaints, frame and all, and the pane below it does not.
        SetWindowPos(list_, nullptr, 0, 0, LOWORD(lparam), HIWORD(lparam),
                     SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOREDRAW | SWP_NOCOPYBITS | SWP_DEFERERASE);
        RedrawWindow(list_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME);
      }
      return 0;
    case WM_MEASUREITEM: reinterpret_cast<MEASUREITEMSTRUCT*>(lparam)->itemHeight = 20; return TRUE;
    case WM_DRAWITEM: DrawRow(*reinterpret_cast<const DRAWITEMSTRUCT*>(lparam)); return TRUE;
    case WM_COMMAND:
      if (LOWORD(wparam) == kListId && HIWORD(wparam) == LBN_SELCHANGE) {
        const int row = static_cast<int>(SendMessageW(list_, LB_GETCURSEL, 0, 0));
        SendMessageW(list_, LB_SETCURSEL, static_cast<WPARAM>(-1), 0);
        Follow(row);
      }
      return 0;
    case WM_CONTEXTMENU: {
      POINT at{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
      ScreenToClient(list_, &at);
      const LRESULT hit = list_ ? SendMessageW(list_, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y)) : MAKELRESULT(0, 1);
      const std::size_t row = LOWORD(hit);
      const bool outside = HIWORD(hit) != 0 || row >= page_.links.size();
      events_.ContextMenu(name_, outside ? std::u16string() : page_.links[row].href);
      return 0;
    }
    case kFetchDone: {
      std::unique_ptr<Fetch> fetch(reinterpret_cast<Fetch*>(lparam));
      if (fetch->generation != generation_) return 0;  // a newer navigation took over
      if (fetch->status != 0) Fail(fetch->address, fetch->status);
      else Show(fetch->address, fetch->bytes, fetch->record);
      return 0;
    }
  }
  return Default(message, wparam, lparam);
}
