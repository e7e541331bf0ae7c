#pragma once
#include "play/ports/processes.h"

// Processes through the process snapshot; paths through QueryFullProcessImageNameW (the
// management service lacks them under Wine).
class Win32Processes final : public Processes {
 public:
  bool AnyNamed(std::u16string_view name_part) override;
  void StartMinimized(std::u16string_view program) override;
  std::vector<ProcessEntry> List() override;
  std::u16string ImagePath(unsigned long id) override;
  bool Terminate(unsigned long id) override;
};
