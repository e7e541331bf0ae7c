// The shared profile suite against the system's functions (the reference) and against our
// emulation running over the Windows file functions and code page.
#include "play/native/profile_strings_emulated.h"
#include "play/win32/files_win32.h"
#include "play/win32/profile_strings_win32.h"
#include "tests/shared/profile_strings_suite.h"

namespace {
Win32Files g_files;
SystemCodePage g_code_page;
}  // namespace

INSTANTIATE_TEST_SUITE_P(
    Profile, ProfileStringsSuite,
    testing::Values(ProfileBackend{"System", [] { return std::make_unique<Win32ProfileStrings>(); }},
                    ProfileBackend{"Emulated",
                                   [] { return std::make_unique<EmulatedProfileStrings>(g_files, g_code_page); }}),
    BackendName);
