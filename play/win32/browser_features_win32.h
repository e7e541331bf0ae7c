#pragma once
// The hosted browser's feature controls, set for this program and the current user before the
// first pane is made: without them the system's web control renders every page as the
// browser of 2006 did (IE7 mode) on today's Windows.
#include <string>

// Whether every value could be written.
bool SetBrowserFeatures();
// Where they are kept: one key per feature under this one, a value named after the program's
// file.
inline constexpr wchar_t kBrowserFeatureRoot[] = L"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\";
