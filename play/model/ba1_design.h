#pragma once
// The main window BA1 as it is designed: every control with its container, design size,
// captions and tool tips, and the seven timers. Like a form file, this is data: the layout
// code moves things at run time.
#include "play/model/ba1_names.h"
#include "play/model/window_model.h"

WindowModel MakeMainWindowDesign();

// The window's design client size, in twips.
inline constexpr long kMainDesignWidthTwips = 13170;
inline constexpr long kMainDesignHeightTwips = 8280;

// The transport buttons' pictures but(0) to but(17) are the bitmap resources from this one on.
inline constexpr int kTransportImageFirstId = 501;
// The cover picture adp shows over the picture while nothing plays; it is its own holder.
inline constexpr int kCoverImageId = 531;
