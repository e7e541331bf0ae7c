// The popup's skin document PopMessage.xml, edited by hand or replaced by a skin maker: loading,
// layout at its own size and at the popup's, and hit tests across the whole card. Offsets,
// stretches and sizes of any magnitude must not overflow, and a hit is always an element of
// the tree.
#include <functional>

#include "tests/fuzz/store_folder.h"
#include "tests/shared/fixed_size_image.h"
#include "tip_popup/skin/skin_loader.h"

namespace {

// Any ".bmp" loads, sized by its name, so the document chooses the sizes too.
struct NamedSizeImages final : SkinImageLoader {
  std::shared_ptr<SkinImage> Load(const std::u16string& path) override {
    if (path.size() < 4 || path.substr(path.size() - 4) != u".bmp") return nullptr;
    std::size_t hash = std::hash<std::u16string>()(path);
    return std::make_shared<FixedSizeImage>(static_cast<long>(hash % 400), static_cast<long>((hash >> 16) % 300));
  }
};

bool InTree(const SkinElement& root, const SkinElement* wanted) {
  if (&root == wanted) return true;
  for (const auto& child : root.children()) {
    if (InTree(*child, wanted)) return true;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  static StoreFolder store;
  store.Write("PopMessage.xml", std::string_view(reinterpret_cast<const char*>(data), size));
  auto doc = CreatePugiXmlDoc();
  NamedSizeImages images;
  auto root = LoadSkin(*doc, FromAnsi(store.windows()), images, u"今日推荐", u"正文");
  if (!root) return 0;
  const SkinTextMeasure measure = [](const std::u16string& text) { return static_cast<long>(text.size()) * 6; };
  for (const auto& [width, height] : {std::pair<long, long>{root->NaturalWidth(), root->NaturalHeight()}, {256, 183}}) {
    root->Layout(0, 0, width, height);
    for (long y = -8; y < 200; y += 13) {
      for (long x = -8; x < 270; x += 11) {
        for (SkinHit hit : {SkinHit::kMouseMove, SkinHit::kButtonDown, SkinHit::kButtonUp}) {
          const SkinElement* found = root->HitTest(hit, x, y, measure);
          FUZZ_CHECK(found == nullptr || InTree(*root, found));
        }
      }
    }
  }
  return 0;
}
