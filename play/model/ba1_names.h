#pragma once
// The names of the main window BA1: every control, pane and timer, declared once. Code names
// them through these constants (ba1::zhun, ba1::Web1, ba1::Timer1), so a typo is a compile
// error; the text of each is the name the behaviour writes.
#include "play/model/control.h"

namespace ba1 {

// Header: caption buttons, title, mode labels
inline constexpr ControlName npc{u"npc"};
inline constexpr ControlName ni_name{u"ni_name"};
inline constexpr ControlName jian{u"jian"};
inline constexpr ControlName jbi{u"jbi"};
inline constexpr ControlName ni_bo1{u"ni_bo1"};

// Content area and its panes
inline constexpr ControlName zz{u"zz"};
inline constexpr ControlName l1{u"l1"};
inline constexpr ControlName Pic1{u"Pic1"};
inline constexpr ControlName Web1{u"Web1"};
inline constexpr ControlName Pic2{u"Pic2"};
inline constexpr ControlName Web2{u"Web2"};
inline constexpr ControlName wait{u"wait"};
inline constexpr ControlName jia{u"jia"};
inline constexpr ControlName webe{u"webe"};

// Player panel
inline constexpr ControlName vexo{u"vexo"};
inline constexpr ControlName VexoC{u"VexoC"};
inline constexpr ControlName bo_ad{u"bo_ad"};
inline constexpr ControlName adp{u"adp"};
inline constexpr ControlName ad_huan{u"ad_huan"};
inline constexpr ControlName Web7{u"Web7"};
inline constexpr ControlName next_s{u"next_s"};
inline constexpr ControlName bo_zt{u"bo_zt"};
inline constexpr ControlName zhun{u"zhun"};
inline constexpr ControlName times{u"times"};
inline constexpr ControlName gunt{u"gunt"};
inline constexpr ControlName huan{u"huan"};
inline constexpr ControlName gunt1{u"gunt1"};
inline constexpr ControlName bo_foot{u"bo_foot"};
inline constexpr ControlName bo_but{u"bo_but"};
inline constexpr ControlName yin{u"yin"};
inline constexpr ControlName bo_y{u"bo_y"};
inline constexpr ControlName bo_v{u"bo_v"};
inline constexpr ControlName bo_name{u"bo_name"};

// Side panel
inline constexpr ControlName l2{u"l2"};
inline constexpr ControlName l3{u"l3"};
inline constexpr ControlName u_k{u"u_k"};
inline constexpr ControlName Weby{u"Weby"};
inline constexpr ControlName Pic3{u"Pic3"};
inline constexpr ControlName Web3{u"Web3"};
inline constexpr ControlName Pic4{u"Pic4"};
inline constexpr ControlName Web4{u"Web4"};
inline constexpr ControlName Pic5{u"Pic5"};
inline constexpr ControlName Web5{u"Web5"};
inline constexpr ControlName shan{u"shan"};
inline constexpr ControlName qk{u"qk"};
inline constexpr ControlName Line1{u"Line1"};

// Footer, balloon, hand-off, statistics
inline constexpr ControlName Lab2{u"Lab2"};
inline constexpr ControlName hzhuo{u"hzhuo"};
inline constexpr ControlName Lab{u"Lab"};
inline constexpr ControlName Te{u"Te"};
inline constexpr ControlName P1{u"P1"};
inline constexpr ControlName bo_tip{u"bo_tip"};
inline constexpr ControlName dde{u"dde"};
inline constexpr ControlName Web6{u"Web6"};

// Image holders (skin slots and transport pictures)
inline constexpr ControlName ppt{u"ppt"};
inline constexpr ControlName but{u"but"};

// Timers
inline constexpr TimerName Timer1{u"Timer1"};
inline constexpr TimerName Timer2{u"Timer2"};
inline constexpr TimerName Timer3{u"Timer3"};
inline constexpr TimerName Timer4{u"Timer4"};
inline constexpr TimerName Timer5{u"Timer5"};
inline constexpr TimerName Timer6{u"Timer6"};
inline constexpr TimerName Timer7{u"Timer7"};

}  // namespace ba1
