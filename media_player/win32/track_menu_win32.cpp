#include "media_player/win32/track_menu_win32.h"

#include <algorithm>
#include <array>
#include <string>

#include "common/win32/wide.h"

namespace {

constexpr std::array<int, 6> kSpeeds = {500, 750, 1000, 1250, 1500, 2000};
constexpr std::array<const wchar_t*, 6> kSpeedNames = {L"0.5 倍(&1)",  L"0.75 倍(&2)", L"正常 1.0 倍(&3)",
                                                       L"1.25 倍(&4)", L"1.5 倍(&5)",  L"2.0 倍(&6)"};

}  // namespace

void AppendAudioMenu(HMENU menu, const std::vector<MediaTrack>& audio, int current) {
  HMENU part = CreatePopupMenu();
  const std::size_t listed = std::min<std::size_t>(audio.size(), kLastAudioCommand - kFirstAudioCommand + 1);
  for (std::size_t i = 0; i < listed; ++i) {
    const UINT checked = static_cast<int>(i) == current ? MF_CHECKED : 0;
    ::AppendMenuW(part, MF_STRING | checked, kFirstAudioCommand + static_cast<UINT>(i),
                  ToWide(AudioTrackLabel(audio[i], static_cast<int>(i))).c_str());
  }
  if (listed == 0) ::AppendMenuW(part, MF_STRING | MF_GRAYED, 0, L"无音轨");
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(part), L"音轨(&A)");
}

void AppendSpeedMenu(HMENU menu, int speed) {
  HMENU part = CreatePopupMenu();
  for (std::size_t i = 0; i < kSpeeds.size(); ++i) {
    ::AppendMenuW(part, MF_STRING | (kSpeeds[i] == speed ? MF_CHECKED : 0), kFirstSpeedCommand + static_cast<UINT>(i),
                  kSpeedNames[i]);
  }
  ::AppendMenuW(part, MF_SEPARATOR, 0, nullptr);
  ::AppendMenuW(part, MF_STRING | MF_GRAYED, 0, L"减速 [    加速 ]");
  ::AppendMenuW(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(part), L"播放速度(&P)");
}

int SpeedOfCommand(UINT id) {
  const UINT index = id - kFirstSpeedCommand;
  return id >= kFirstSpeedCommand && index < kSpeeds.size() ? kSpeeds[index] : 0;
}

int NextSpeed(int speed, int step) {
  if (step > 0) {
    const auto faster = std::upper_bound(kSpeeds.begin(), kSpeeds.end(), speed);
    return faster == kSpeeds.end() ? kSpeeds.back() : *faster;
  }
  const auto slower = std::lower_bound(kSpeeds.begin(), kSpeeds.end(), speed);
  return slower == kSpeeds.begin() ? kSpeeds.front() : *(slower - 1);
}
