#pragma once
// What the fuzzers share: a property check that stops the run with its reason (libFuzzer keeps
// the input that broke it), and the splitting of one input into the parts a target feeds.
#include <cstdio>
#include <cstdlib>
#include <string_view>
#include <vector>

#define FUZZ_CHECK(condition)                                                                \
  do {                                                                                       \
    if (!(condition)) {                                                                      \
      std::fprintf(stderr, "property broken: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                          \
    }                                                                                        \
  } while (0)

// Parts of an input are separated by this line, so that seeds stay readable files.
inline constexpr std::string_view kPartSeparator = "\n--8<--\n";

// The first `count` parts of the input; missing parts are empty, the last takes the rest.
inline std::vector<std::string_view> SplitInput(const unsigned char* data, std::size_t size, std::size_t count) {
  std::string_view rest(reinterpret_cast<const char*>(data), size);
  std::vector<std::string_view> parts;
  while (parts.size() + 1 < count) {
    const auto at = rest.find(kPartSeparator);
    if (at == std::string_view::npos) break;
    parts.push_back(rest.substr(0, at));
    rest.remove_prefix(at + kPartSeparator.size());
  }
  parts.push_back(rest);
  parts.resize(count);
  return parts;
}
