#pragma once
#include "play/ports/processes.h"

class Win32Processes final : public Processes {
 public:
  bool AnyNamed(std::u16string_view name_part) override;
  void StartMinimized(std::u16string_view program) override;
};
