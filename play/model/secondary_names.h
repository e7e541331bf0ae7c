#pragma once
// The names of the secondary windows: the settings window BA3 and the tips window tip.
#include "play/model/control.h"

namespace ba3 {
inline constexpr ControlName d_z{u"d_z"};        // the two tabs
inline constexpr ControlName Frame1{u"Frame1"};  // the tab strip
inline constexpr ControlName P1{u"P1"};          // the two pages
inline constexpr ControlName bb{u"bb"};          // the current tab's name
inline constexpr ControlName Label{u"Label"};    // the about page's texts
inline constexpr ControlName Frame2{u"Frame2"};  // "关于"
inline constexpr ControlName Frame3{u"Frame3"};  // "播放设置"
inline constexpr ControlName Check1{u"Check1"};
inline constexpr ControlName cmdApply{u"cmdApply"};
inline constexpr ControlName cmdOK{u"cmdOK"};
inline constexpr ControlName cmdCancel{u"cmdCancel"};
}  // namespace ba3

namespace tipwin {
inline constexpr ControlName picback{u"picback"};
inline constexpr ControlName heading{u"heading"};
inline constexpr ControlName Line{u"Line"};
inline constexpr ControlName Image{u"Image"};
inline constexpr ControlName Pi{u"Pi"};  // the six pages
inline constexpr ControlName La{u"La"};  // the pages' texts and the counter (21 to 23)
inline constexpr ControlName cmdnext{u"cmdnext"};
inline constexpr ControlName cmdclose{u"cmdclose"};
}  // namespace tipwin
