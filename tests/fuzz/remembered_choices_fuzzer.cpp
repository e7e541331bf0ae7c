// The control's file of remembered choices, damaged in any way: it is read without a fault,
// holds no more than its bound, and what it writes back reads back the same.
#include <cstdint>
#include <string>

#include "media_player/core/remembered_choices.h"
#include "tests/fuzz/fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  RememberedChoices choices;
  choices.Parse(bytes);
  FUZZ_CHECK(choices.size() <= RememberedChoices::kMaxItems);
  const std::string written = choices.Serialize();
  RememberedChoices again;
  again.Parse(written);
  FUZZ_CHECK(again.Serialize() == written);
  // Any item and choice from the input: the file stays one line per item.
  const std::string item(bytes.substr(0, std::min<std::size_t>(bytes.size(), 64)));
  choices.Put(item, ItemChoices{std::string(bytes.substr(std::min<std::size_t>(bytes.size(), 64), 16)),
                                static_cast<std::int64_t>(size) * 997 - 500000, static_cast<int>(size % 7) - 2});
  RememberedChoices after;
  after.Parse(choices.Serialize());
  FUZZ_CHECK(after.Serialize() == choices.Serialize());
  return 0;
}
