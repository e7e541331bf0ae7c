#pragma once
// The text tip's look as a tree of elements read from the skin document: images with
// anchoring and stretching rules, laid out over the popup, painted layer by layer and
// hit-tested from the top layer down. Pure code: images and text widths come from outside.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "tip_popup/tip_rect.h"

enum class SkinKind { kPlain, kButton, kTextLine, kWindowHolder };
enum class SkinHit { kMouseMove, kButtonDown, kButtonUp };

using SkinRect = TipRect;

// A loaded bitmap; the platform side knows how to draw it.
class SkinImage {
 public:
  virtual ~SkinImage() = default;
  virtual long width() const = 0;
  virtual long height() const = 0;
};

// The width in pixels of a text in the popup's normal font.
using SkinTextMeasure = std::function<long(const std::u16string&)>;

// Coordinates stay well inside what windows and GDI take, whatever numbers a skin holds.
inline constexpr long long kSkinCoordinateLimit = 1 << 24;

// Colours are 0x00BBGGRR, as the system takes them.
using SkinColor = std::uint32_t;

// String numbers of the program's string table.
inline constexpr int kStringCloseTip = 1;     // "关闭"
inline constexpr int kStringViewCaption = 2;  // "查看详情"
inline constexpr int kStringViewTip = 3;      // "点击查看详情"

class SkinElement {
 public:
  static constexpr long long kAbsent = -1;

  SkinElement(SkinKind kind, std::u16string tag) : kind_(kind), tag_(std::move(tag)) {}

  // Attributes, as read from the skin document.
  std::u16string id;
  std::shared_ptr<SkinImage> image;
  bool hand_cursor = false;
  bool anchor_right = false;
  bool anchor_bottom = false;
  long long offset_x = kAbsent;
  long long offset_y = kAbsent;
  long long stretch_x = kAbsent;
  long long stretch_y = kAbsent;
  long long layer = kAbsent;  // no layer: never laid out, painted or hit
  int tooltip_string = 0;     // 0: none
  int caption_string = 0;
  long long text_left = 0;
  long long text_top = 0;
  SkinColor text_color = 0;
  SkinColor over_color = 0;
  std::u16string text;  // a text line's text; a child-window holder's text

  // State.
  SkinRect rect;
  bool over = false;
  bool pressed = false;

  SkinKind kind() const { return kind_; }
  const std::u16string& tag() const { return tag_; }
  const std::vector<std::unique_ptr<SkinElement>>& children() const { return children_; }
  void AddChild(std::unique_ptr<SkinElement> child);

  // Size from the image: a button's image holds four frames side by side.
  long NaturalWidth() const;
  long NaturalHeight() const;

  // Places the element in the parent's rectangle, then its children, layer by layer.
  void Layout(long x, long y, long width, long height);
  // Children that take part in layout and painting, from the lowest layer up (document order
  // within a layer).
  std::vector<SkinElement*> LayeredChildren() const;
  // The element under the point, children of the highest layer first; marks it as under the
  // mouse (and pressed or released). Nothing when only a container that takes no hits is there.
  SkinElement* HitTest(SkinHit hit, long x, long y, const SkinTextMeasure& measure);
  void MouseLeft() { over = pressed = false; }
  // A button or text line reports clicks; the others do not.
  bool ReportsClicks() const { return kind_ == SkinKind::kButton || kind_ == SkinKind::kTextLine; }
  // The element with this id, this one or one below it, compared without regard to case.
  SkinElement* Find(std::u16string_view wanted);
  // The rectangle a text line answers hits in: its text's width, centred.
  SkinRect TextHitRect(const SkinTextMeasure& measure) const;

 private:
  bool TakesHitItself(SkinHit hit) const;

  SkinKind kind_;
  std::u16string tag_;
  std::vector<std::unique_ptr<SkinElement>> children_;
};

bool SkinIdEquals(std::u16string_view a, std::u16string_view b);
