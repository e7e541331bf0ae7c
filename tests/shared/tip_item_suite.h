#pragma once
// Item selection and write-back of the popup on real documents, run natively over pugixml
// and under Wine over MSXML.
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "tests/shared/test_folder.h"
#include "tip_popup/tip_environment.h"

struct TipBackend {
  std::string name;
  std::function<std::unique_ptr<TipEnvironment>()> make;
  // The test folder as the program sees its own folder: a Windows path with a drive and a
  // trailing backslash.
  std::function<std::u16string(const TestFolder&)> folder_text;
};

inline std::string TipBackendName(const testing::TestParamInfo<TipBackend>& info) { return info.param.name; }

class TipItemSuite : public testing::TestWithParam<TipBackend> {};
