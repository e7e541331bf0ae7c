#pragma once
// The text links of the chrome: "x" (leave compact mode) and the clear-list link, at rest and
// under the pointer; and the footer links' colour.
#include "play/model/control.h"

inline constexpr Color kJbiRest = Rgb(0, 0, 255);
inline constexpr Color kQkRest = Rgb(90, 90, 90);
inline constexpr Color kLinkHover = Rgb(128, 0, 0);
inline constexpr Color kFooterLink = Rgb(17, 64, 96);
