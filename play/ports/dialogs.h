#pragma once
// The system's common dialogs that handlers open.
#include <optional>
#include <string>
#include <string_view>

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // The file-open dialog with a filter ("name|patterns|name|patterns") and a title: the chosen
  // path, or nothing when the user cancelled or the dialog failed.
  virtual std::optional<std::u16string> OpenFile(std::u16string_view filter, std::u16string_view title) = 0;
};
