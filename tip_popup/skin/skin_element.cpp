#include "tip_popup/skin/skin_element.h"

#include <algorithm>

#include "common/text/ascii_case.h"

namespace {

long Clamp(long long value) {
  return static_cast<long>(std::clamp(value, -kSkinCoordinateLimit, kSkinCoordinateLimit));
}

}  // namespace

bool SkinIdEquals(std::u16string_view a, std::u16string_view b) { return EqualsIgnoringAsciiCase(a, b); }

void SkinElement::AddChild(std::unique_ptr<SkinElement> child) { children_.push_back(std::move(child)); }

long SkinElement::NaturalWidth() const {
  if (!image) return 0;
  return kind_ == SkinKind::kButton ? image->width() / 4 : image->width();
}

long SkinElement::NaturalHeight() const { return image ? image->height() : 0; }

void SkinElement::Layout(long x, long y, long width, long height) {
  const long long nw = NaturalWidth();
  const long long nh = NaturalHeight();
  long long left, right, top, bottom;
  if (!anchor_right) {
    left = x + offset_x;
    right = stretch_x == kAbsent ? left + nw : std::max<long long>(left, x + width - stretch_x);
  } else {
    right = static_cast<long long>(x) + width - offset_x;
    left = stretch_x == kAbsent ? right - nw : std::min<long long>(right, x + stretch_x);
  }
  if (!anchor_bottom) {
    top = y + offset_y;
    bottom = stretch_y == kAbsent ? top + nh : std::max<long long>(top, y + height - stretch_y);
  } else {
    bottom = static_cast<long long>(y) + height - offset_y;
    top = stretch_y == kAbsent ? bottom - nh : std::min<long long>(bottom, y + stretch_y);
  }
  rect = SkinRect{Clamp(left), Clamp(top), Clamp(right), Clamp(bottom)};
  for (SkinElement* child : LayeredChildren()) child->Layout(rect.left, rect.top, rect.width(), rect.height());
}

std::vector<SkinElement*> SkinElement::LayeredChildren() const {
  std::vector<SkinElement*> layered;
  for (const auto& child : children_) {
    if (child->layer >= 0) layered.push_back(child.get());
  }
  // Only the layers that exist are visited, so a layer number of a billion costs nothing.
  std::stable_sort(layered.begin(), layered.end(),
                   [](const SkinElement* a, const SkinElement* b) { return a->layer < b->layer; });
  return layered;
}

SkinElement* SkinElement::HitTest(SkinHit hit, long x, long y, const SkinTextMeasure& measure) {
  const std::vector<SkinElement*> layered = LayeredChildren();
  // Highest layer first; within a layer the first in the document wins.
  for (auto end = layered.end(); end != layered.begin();) {
    auto begin = end - 1;
    while (begin != layered.begin() && (*(begin - 1))->layer == (*begin)->layer) --begin;
    for (auto it = begin; it != end; ++it) {
      if (SkinElement* found = (*it)->HitTest(hit, x, y, measure)) return found;
    }
    end = begin;
  }
  const SkinRect area = kind_ == SkinKind::kTextLine ? TextHitRect(measure) : rect;
  if (!TakesHitItself(hit) || !area.Contains(x, y)) return nullptr;
  over = true;
  if (hit == SkinHit::kButtonDown) pressed = true;
  if (hit == SkinHit::kButtonUp) pressed = false;
  return this;
}

bool SkinElement::TakesHitItself(SkinHit hit) const {
  if (SkinIdEquals(tag_, u"subview")) return false;
  if (SkinIdEquals(tag_, u"controlwindow")) return hit == SkinHit::kButtonDown;
  if (SkinIdEquals(tag_, u"popwindow")) return hit != SkinHit::kButtonDown;
  return true;
}

SkinRect SkinElement::TextHitRect(const SkinTextMeasure& measure) const {
  const long text_width = measure ? std::clamp<long>(measure(text), 0, rect.width()) : 0;
  const long left = rect.left + (rect.width() - text_width) / 2;
  return SkinRect{left, rect.top, left + text_width, rect.bottom};
}

SkinElement* SkinElement::Find(std::u16string_view wanted) {
  if (SkinIdEquals(id, wanted)) return this;
  for (const auto& child : children_) {
    if (SkinElement* found = child->Find(wanted)) return found;
  }
  return nullptr;
}
