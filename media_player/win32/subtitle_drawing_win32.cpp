#include "media_player/win32/subtitle_drawing_win32.h"

#include <windows.h>

#include <algorithm>

#include "common/win32/gdi_scope.h"
#include "common/win32/unique_handle.h"

namespace {

constexpr std::size_t kMaxLines = 4;

// A 32-bit DIB section with a DC to draw in, cleared to black.
struct Canvas {
  UniqueMemoryDc dc;
  UniqueBitmap bitmap;
  std::uint32_t* bits = nullptr;
  HGDIOBJ old = nullptr;
  Canvas(int width, int height) : dc(CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    bitmap.reset(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &memory, nullptr, 0));
    bits = static_cast<std::uint32_t*>(memory);
    if (bitmap) old = SelectObject(dc.get(), bitmap.get());
    if (bits) std::fill_n(bits, static_cast<std::size_t>(width) * height, 0u);
    SetBkMode(dc.get(), TRANSPARENT);
    SetTextAlign(dc.get(), TA_LEFT | TA_TOP);
  }
  ~Canvas() {
    if (old) SelectObject(dc.get(), old);
  }
  bool ok() const { return bits != nullptr; }
};

class Fonts {
 public:
  explicit Fonts(int pixels) : pixels_(pixels) {}
  HFONT For(const SubtitleRun& run) {
    const int index = (run.bold ? 1 : 0) | (run.italic ? 2 : 0) | (run.underline ? 4 : 0);
    if (!fonts_[index]) {
      fonts_[index].reset(CreateFontW(-pixels_, 0, 0, 0, run.bold ? FW_BOLD : FW_SEMIBOLD, run.italic, run.underline,
                                      FALSE, DEFAULT_CHARSET, OUT_TT_ONLY_PRECIS, CLIP_DEFAULT_PRECIS,
                                      ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_SWISS, L"Microsoft YaHei"));
    }
    return fonts_[index].get();
  }

 private:
  int pixels_;
  UniqueFont fonts_[8];
};

int RunWidth(HDC dc, Fonts& fonts, const SubtitleRun& run) {
  const ScopedSelect font(dc, fonts.For(run));
  SIZE size{};
  GetTextExtentPoint32W(dc, reinterpret_cast<const wchar_t*>(run.text.data()), static_cast<int>(run.text.size()),
                        &size);
  return size.cx;
}

// The lines of one place (top or bottom), wrapped, with the size of their text.
struct Block {
  std::vector<SubtitleLine> lines;
  int font_pixels = 0;
};

Block Layout(const std::vector<const SubtitleCue*>& cues, bool top, int width, int height, HDC measure) {
  Block block;
  double share = 0;
  for (const SubtitleCue* cue : cues) {
    if (cue->top == top) share = std::max(share, cue->line_height);
  }
  if (share <= 0) return block;
  block.font_pixels = std::max(12, static_cast<int>(share * height));
  Fonts fonts(block.font_pixels);
  const int wrap_width = width * 9 / 10;
  for (const SubtitleCue* cue : cues) {
    if (cue->top != top) continue;
    const auto lines = WrapSubtitleLines(
        cue->lines, wrap_width, [&](const SubtitleRun& run) { return RunWidth(measure, fonts, run); },
        kMaxLines - std::min(kMaxLines, block.lines.size()));
    block.lines.insert(block.lines.end(), lines.begin(), lines.end());
  }
  return block;
}

// Draws the block into a canvas twice over: once as coverage (where anything is, how much:
// the alpha) and once as colour (white text, black outline and shadow).
SubtitleBand RenderBlock(const Block& block, int band_top, int width) {
  SubtitleBand band;
  const int line_pixels = block.font_pixels * 13 / 10;
  const int outline = std::max(2, block.font_pixels / 14);
  const int shadow = std::max(1, block.font_pixels / 18);
  band.width = width;
  band.height = static_cast<int>(block.lines.size()) * line_pixels + 2 * (outline + shadow);
  band.top = band_top;
  Canvas coverage(width, band.height), colour(width, band.height);
  if (!coverage.ok() || !colour.ok()) return {};
  Fonts fonts(block.font_pixels);
  UniquePen grey_pen(CreatePen(PS_SOLID, outline * 2, RGB(120, 120, 120)));
  UniquePen white_pen(CreatePen(PS_SOLID, outline * 2, RGB(255, 255, 255)));
  UniquePen black_pen(CreatePen(PS_SOLID, outline * 2, RGB(0, 0, 0)));
  UniqueBrush grey(CreateSolidBrush(RGB(120, 120, 120)));
  UniqueBrush white(CreateSolidBrush(RGB(255, 255, 255)));
  const HBRUSH black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
  auto outline_path = [&](HDC dc, const SubtitleRun& run, int x, int y, HPEN pen, HBRUSH brush) {
    const ScopedSelect font(dc, fonts.For(run));
    const ScopedSelect use_pen(dc, pen);
    const ScopedSelect use_brush(dc, brush);
    BeginPath(dc);
    TextOutW(dc, x, y, reinterpret_cast<const wchar_t*>(run.text.data()), static_cast<int>(run.text.size()));
    EndPath(dc);
    StrokeAndFillPath(dc);
  };
  for (std::size_t k = 0; k < block.lines.size(); ++k) {
    const SubtitleLine& line = block.lines[k];
    int line_width = 0;
    for (const SubtitleRun& run : line) line_width += RunWidth(coverage.dc.get(), fonts, run);
    const int y = outline + static_cast<int>(k) * line_pixels;
    int x = std::max(outline, (width - line_width) / 2);
    for (const SubtitleRun& run : line) {
      const int run_width = RunWidth(coverage.dc.get(), fonts, run);
      outline_path(coverage.dc.get(), run, x + shadow, y + shadow, grey_pen.get(), grey.get());
      outline_path(coverage.dc.get(), run, x, y, white_pen.get(), white.get());
      outline_path(colour.dc.get(), run, x + shadow, y + shadow, black_pen.get(), black);
      outline_path(colour.dc.get(), run, x, y, black_pen.get(), black);
      const ScopedSelect font(colour.dc.get(), fonts.For(run));
      SetTextColor(colour.dc.get(), RGB(255, 255, 255));
      TextOutW(colour.dc.get(), x, y, reinterpret_cast<const wchar_t*>(run.text.data()),
               static_cast<int>(run.text.size()));
      x += run_width;
    }
  }
  GdiFlush();
  band.pixels.resize(static_cast<std::size_t>(width) * band.height);
  for (std::size_t i = 0; i < band.pixels.size(); ++i) {
    const std::uint32_t alpha = coverage.bits[i] & 0xFF;
    std::uint32_t c = colour.bits[i] & 0xFFFFFF;
    // Colour never exceeds coverage, as premultiplied pixels must.
    const std::uint32_t b = std::min(c & 0xFF, alpha), g = std::min(c >> 8 & 0xFF, alpha),
                        r = std::min(c >> 16 & 0xFF, alpha);
    band.pixels[i] = alpha << 24 | r << 16 | g << 8 | b;
  }
  return band;
}

}  // namespace

RenderedSubtitle RenderSubtitle(const std::vector<const SubtitleCue*>& cues, int width, int height) {
  RenderedSubtitle out;
  out.picture_width = width, out.picture_height = height;
  if (cues.empty() || width < 16 || height < 16) return out;
  UniqueMemoryDc measure(CreateCompatibleDC(nullptr));
  for (const bool top : {false, true}) {
    const Block block = Layout(cues, top, width, height, measure.get());
    if (block.lines.empty()) continue;
    // Inside the picture, a little off its edge.
    const int margin = height * 4 / 100;
    SubtitleBand band = RenderBlock(block, 0, width);
    if (band.pixels.empty()) continue;
    band.top = top ? margin : std::max(0, height - margin - band.height);
    if (band.top + band.height > height) {  // taller than the picture: keep its lower part
      const int cut = band.top + band.height - height;
      band.pixels.erase(band.pixels.begin(), band.pixels.begin() + static_cast<std::ptrdiff_t>(cut) * width);
      band.height -= cut;
    }
    out.bands.push_back(std::move(band));
  }
  return out;
}

void BlendSubtitle(const RenderedSubtitle& subtitle, int first_row, int rows, int width, std::uint32_t* pixels) {
  for (const SubtitleBand& band : subtitle.bands) {
    if (band.width != width) continue;
    const int from = std::max(first_row, band.top), to = std::min(first_row + rows, band.top + band.height);
    for (int y = from; y < to; ++y) {
      const std::uint32_t* src = &band.pixels[static_cast<std::size_t>(y - band.top) * width];
      std::uint32_t* dst = pixels + static_cast<std::size_t>(y - first_row) * width;
      for (int x = 0; x < width; ++x) {
        const std::uint32_t s = src[x], a = s >> 24;
        if (a == 0) continue;
        // The picture's fourth byte stays as it is: Wine's display takes a 32-bit picture
        // with some of those bytes 0 and others not for one with alpha, and whitens it.
        const std::uint32_t d = dst[x], kept_byte = d & 0xFF000000;
        if (a == 255) {
          dst[x] = kept_byte | (s & 0xFFFFFF);
          continue;
        }
        const std::uint32_t keep = 255 - a;
        auto channel = [&](int shift) {
          const std::uint32_t value = (s >> shift & 0xFF) + (d >> shift & 0xFF) * keep / 255;
          return std::min<std::uint32_t>(value, 255) << shift;
        };
        dst[x] = kept_byte | channel(16) | channel(8) | channel(0);
      }
    }
  }
}
