#pragma once
// The tips document's daily schedule and its disabling.
#include <string>
#include <string_view>

#include "tips/tips_environment.h"

inline constexpr std::u16string_view kTipsRoot = u"vexotips";
inline constexpr std::string_view kLocalDocumentName = "VexoTips.xml";
inline constexpr std::string_view kDownloadedDocumentName = "VexoTips_.xml";
// The most a tips document and one movie may bring; a larger answer is refused.
inline constexpr std::uint64_t kMaxDocumentBytes = 4u << 20;
inline constexpr std::uint64_t kMaxMovieBytes = 64u << 20;

// "%04d-%02d-%02d" of the date, as stored in the root's updatetime.
std::u16string FormatDocumentDate(const LocalDate& date);

// The part of the address after its last '/', or the whole address when it has none.
std::string LocalNameOfUrl(std::string_view url);

// True when the local document (store folder + local name of the address) is not stamped
// with today's date, or cannot be read at all.
bool CheckUpdateDue(TipsEnvironment& env, const std::string& tips_url, const std::string& store_folder);

// The server turned the tips off: mark the local VexoTips.xml disabled and dated today, so the
// rest of the day does nothing. Without a local document nothing is written.
void DisableTips(TipsEnvironment& env, const std::string& store_folder);

// Saves `doc` to `path` through a temporary file beside it, so `path` always holds a whole
// document. False (and `path` untouched) when the save or the replace fails.
bool SaveDocumentReplacing(TipsEnvironment& env, XmlDoc& doc, const std::string& path);
