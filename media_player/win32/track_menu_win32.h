#pragma once
// The picture menu's sound part: the item's audio tracks (音轨) and the playing speed
// (播放速度), with the current ones checked, and the speeds the keys step through.
#include <windows.h>

#include <vector>

#include "media_player/core/media_tracks.h"

inline constexpr UINT kFirstAudioCommand = 0x5200, kLastAudioCommand = 0x52FF;
inline constexpr UINT kFirstSpeedCommand = 0x5300, kLastSpeedCommand = 0x530F;

void AppendAudioMenu(HMENU menu, const std::vector<MediaTrack>& audio, int current);
void AppendSpeedMenu(HMENU menu, int speed);
// The speed a command of the speed part chooses, per mille, or 0 for none of them.
int SpeedOfCommand(UINT id);
// The speed one step faster (`step` 1) or slower (-1) than `speed`, within 0.5x to 2x.
int NextSpeed(int speed, int step);
