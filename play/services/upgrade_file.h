#pragma once
// The site's upgrade and news file lib/wen.txt: sections split by "====" (news, the exit
// action, the newest version), news items split by "@@@@@", each a title and an address split
// by "****".
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The file is small: anything larger is not an upgrade file.
inline constexpr std::size_t kMaxUpgradeFileBytes = 64 * 1024;

struct UpgradeNews {
  std::u16string title;
  std::optional<std::u16string> address;  // none when the item has no "****"
};

struct UpgradeFile {
  std::u16string exit_action;
  std::vector<UpgradeNews> news;  // at most four, the first ones of the file
  std::u16string latest_version;  // empty when the file names none, or not as plain text
};

// Nothing when the text is empty or has no "====".
std::optional<UpgradeFile> ParseUpgradeFile(std::u16string_view text);
