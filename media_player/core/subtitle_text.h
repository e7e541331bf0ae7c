#pragma once
// What is drawn of a subtitle. The decoders hand every text subtitle over as an ASS event
// ("ReadOrder,Layer,Style,Name,MarginL,MarginR,MarginV,Effect,Text"), with the script's
// header holding its styles: of that, the text with its \N and \n breaks, \h spaces, italic,
// bold and underline, the placement at the top (\an7-9, or a top style) and the style's size
// in the picture's height; other override tags and drawing commands are left out.
#include <functional>
#include <string>
#include <string_view>
#include <vector>

struct SubtitleStyle {
  std::string name;
  double font_size = 0;  // in the script's own lines (PlayResY)
  bool bold = false, italic = false, underline = false;
  bool top = false;
};

struct SubtitleScript {
  int play_res_y = 288;  // the height the sizes are given in
  std::vector<SubtitleStyle> styles;
};

// The script's header ([Script Info] and [V4+ Styles] / [V4 Styles]); broken lines are left out.
SubtitleScript ParseSubtitleHeader(std::string_view header);

struct SubtitleRun {
  std::u16string text;
  bool bold = false, italic = false, underline = false;
};
using SubtitleLine = std::vector<SubtitleRun>;

struct SubtitleCue {
  std::vector<SubtitleLine> lines;
  bool top = false;
  double line_height = 0.055;  // a line's height as a share of the picture's height
  bool empty() const { return lines.empty(); }
};

// One event as the decoder gives it: the text field after the eighth comma (or the whole
// text when it has fewer fields).
SubtitleCue ParseSubtitleEvent(std::string_view event, const SubtitleScript& script);

// The lines wrapped to `width` by `measure` (a run's width in the same unit), breaking after
// blanks and between Chinese characters, and no more than `max_lines` of them: lines past it
// are left out.
using RunMeasure = std::function<int(const SubtitleRun&)>;
std::vector<SubtitleLine> WrapSubtitleLines(const std::vector<SubtitleLine>& lines, int width,
                                            const RunMeasure& measure, std::size_t max_lines = 4);
