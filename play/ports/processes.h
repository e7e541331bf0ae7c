#pragma once
// The desktop player's processes, as far as the main window looks at them.
#include <string>
#include <string_view>
#include <vector>

struct ProcessEntry {
  unsigned long id = 0;
  std::u16string name;  // the executable's file name
};

class Processes {
 public:
  virtual ~Processes() = default;
  // Whether a running process has a name containing `name_part`.
  virtual bool AnyNamed(std::u16string_view name_part) = 0;
  // Starts a program with a minimised, focused window; failures are silent.
  virtual void StartMinimized(std::u16string_view program) = 0;
  // The running processes, in the system's order.
  virtual std::vector<ProcessEntry> List() = 0;
  // The full path of a process's executable; empty when it cannot be read.
  virtual std::u16string ImagePath(unsigned long id) = 0;
  // Ends a process; false when it could not be opened or ended.
  virtual bool Terminate(unsigned long id) = 0;
};
