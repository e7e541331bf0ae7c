#pragma once
// The desktop player's processes, as far as the main window looks at them.
#include <string_view>

class Processes {
 public:
  virtual ~Processes() = default;
  // Whether a running process has a name containing `name_part`.
  virtual bool AnyNamed(std::u16string_view name_part) = 0;
  // Starts a program with a minimised, focused window; failures are silent.
  virtual void StartMinimized(std::u16string_view program) = 0;
};
