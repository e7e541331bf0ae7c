#pragma once
// Strings of the popup (string table numbers are shared with the skin tables).
#define IDS_TIP_CLOSE 1
#define IDS_TIP_VIEW_CAPTION 2
#define IDS_TIP_VIEW 3
