#pragma once
#include "tip_popup/tip_environment.h"

// MSXML found by the four-class probe (first class as the fallback), and the W file functions.
class Win32TipEnvironment final : public TipEnvironment {
 public:
  std::unique_ptr<XmlDoc> NewDocument() override;
  bool MoveOver(const std::u16string& from, const std::u16string& to) override;
  bool RemoveFile(const std::u16string& path) override;
  bool Exists(const std::u16string& path) override;
  std::u16string TempSuffix() override;
};
