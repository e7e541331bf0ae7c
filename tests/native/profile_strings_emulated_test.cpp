#include "play/native/profile_strings_emulated.h"
#include "play/native/files_std.h"
#include "tests/shared/profile_strings_suite.h"

namespace {
StdFiles g_files;
SystemCodePage g_code_page;  // CP936 through iconv on the host
}  // namespace

INSTANTIATE_TEST_SUITE_P(Profile, ProfileStringsSuite,
                         testing::Values(ProfileBackend{
                             "Emulated",
                             [] { return std::make_unique<EmulatedProfileStrings>(g_files, g_code_page); }}),
                         BackendName);
