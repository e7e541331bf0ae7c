#include "play/win32/startup_system_win32.h"

#include "play/win32/own_player_win32.h"

#include <windows.h>
#include <nb30.h>
#include <shellapi.h>

#include <cstring>
#include <random>

#include "common/text/web_address.h"
#include "common/win32/system_function.h"
#include "common/win32/wide.h"
#include "play/win32/player_host_win32.h"

// The maker's control, or else our own: the program asks the user only when neither is there.
bool Win32StartupSystem::PlayerControlInstalled() { return ::PlayerControlInstalled() || OwnPlayerAvailable(); }

bool Win32StartupSystem::AskYesNo(std::u16string_view title, std::u16string_view text) {
  return MessageBoxW(nullptr, ToWide(text).c_str(), ToWide(title).c_str(), MB_YESNO | MB_ICONQUESTION) == IDYES;
}

void Win32StartupSystem::OpenHidden(std::u16string_view address) {
  if (!IsOpenableWebAddress(address)) return;
  ShellExecuteW(nullptr, L"Open", ToWide(address).c_str(), nullptr, nullptr, SW_HIDE);
}

std::u16string Win32StartupSystem::MacAddress() { return mac_address_.valid() ? mac_address_.get() : GetMacAddress(); }

void Win32StartupSystem::LookUpMacAddressAhead() { mac_address_ = std::async(std::launch::async, GetMacAddress); }

int Win32StartupSystem::Random100To999() {
  static std::mt19937 generator(static_cast<unsigned>(GetTickCount64()));
  return std::uniform_int_distribution<int>(100, 999)(generator);
}

std::u16string GetMacAddress() {
  // Asked once, at the first start: the network library loads only then.
  const auto netbios = SystemFunction<decltype(&Netbios)>(L"netapi32.dll", "Netbios");
  if (!netbios) return u"0";
  NCB reset{};
  reset.ncb_command = NCBRESET;
  reset.ncb_lana_num = 0;
  netbios(&reset);

  constexpr std::size_t kBufferSize = 680;
  auto* buffer = static_cast<unsigned char*>(HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, kBufferSize));
  if (!buffer) return {};
  NCB status{};
  status.ncb_command = NCBASTAT;
  status.ncb_lana_num = 0;
  std::memset(status.ncb_callname, ' ', NCBNAMSZ);
  status.ncb_callname[0] = '*';
  status.ncb_buffer = buffer;
  status.ncb_length = kBufferSize;
  netbios(&status);
  unsigned char address[6];
  std::memcpy(address, buffer, sizeof address);  // the adapter status begins with the address
  HeapFree(GetProcessHeap(), 0, buffer);

  std::u16string text;
  for (int i = 0; i < 6; ++i) {
    if (i) text += u'-';
    text += ByteToHex2(address[i]);
  }
  return text;
}
