#pragma once
// Every section and key of config.ini with the value written when the file is created or a
// key is repaired. On/off options store "2" for on and "1" for off; "0" means unset.
#include <array>
#include <string_view>

namespace config {

struct Key {
  std::u16string_view section;
  std::u16string_view name;
  std::u16string_view default_value;  // empty: no fixed default (computed, or never written at start)
};

inline constexpr std::u16string_view kFileName = u"config.ini";
inline constexpr std::u16string_view kProductTitle = u"绮映影视盒";
inline constexpr std::u16string_view kCurrentVersion = u"3.3";
// What every caller passes as the default: a missing file, section or key reads as this.
inline constexpr std::u16string_view kUnset = u"0";
inline constexpr std::u16string_view kOn = u"2";
inline constexpr std::u16string_view kOff = u"1";

inline constexpr Key kMainName{u"main", u"Name", kProductTitle};
inline constexpr Key kUserName{u"User", u"Name", u""};  // UserId, computed at start
inline constexpr Key kSkinNum{u"Skin", u"Num", u"1"};
inline constexpr Key kVerName{u"Ver", u"Name", kCurrentVersion};
// First-close question: "3" not asked yet, "1" asked.
inline constexpr Key kTs{u"S_q", u"ts", u"3"};
inline constexpr Key kQuit{u"S_q", u"quit", kOn};      // closing minimizes to the tray
inline constexpr Key kVexok{u"S_q", u"vexok", kOn};    // exit also ends the player's processes
inline constexpr Key kSSize{u"S_q", u"s_size", kOn};   // restore the saved window size
inline constexpr Key kHW{u"S_q", u"h_w", u"13560"};    // saved outer width, twips
inline constexpr Key kHH{u"S_q", u"h_h", u"8475"};     // saved outer height, twips
inline constexpr Key kSH{u"S_q", u"s_h", kOn};         // pre-buffer the next episode
inline constexpr Key kSBo{u"S_q", u"s_bo", kOn};       // play the next episode on its own
inline constexpr Key kSJd{u"S_q", u"s_jd", kOn};       // remember positions (settings window only)
inline constexpr Key kSJj{u"S_q", u"s_jj", kOn};       // hide the transport bar in compact playback
inline constexpr Key kVexoqi{u"S_q", u"vexoqi", kOn};  // close the player started with the control
inline constexpr Key kSPao{u"S_q", u"s_pao", kOn};     // balloon messages on the tray icon
inline constexpr Key kVexow{u"S_q", u"vexow", u""};    // PlayerFolder, ends in a backslash
inline constexpr Key kNiX{u"S_q", u"ni_x", u""};       // read at start, not acted on

// The keys a new config.ini receives, in the order they are written.
inline constexpr std::array<Key, 16> kCreationOrder{kMainName, kUserName, kSkinNum, kVerName, kTs, kQuit,
                                                    kVexok,    kSSize,    kHW,      kHH,      kSH, kSBo,
                                                    kSJd,      kSJj,      kVexoqi,  kSPao};

}  // namespace config
