#pragma once
// One suite for every implementation of the profile-strings port: natively it runs against the
// emulation, under Wine against the system's functions and the emulation, so the emulation
// is held to the platform's behaviour.
#include <functional>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include "play/ports/files.h"
#include "play/ports/profile_strings.h"

struct ProfileBackend {
  std::string name;
  std::function<std::unique_ptr<ProfileStrings>()> make;
};

inline std::string BackendName(const testing::TestParamInfo<ProfileBackend>& info) { return info.param.name; }

class ProfileStringsSuite : public testing::TestWithParam<ProfileBackend> {};
