#include "media_player/core/subtitle_text.h"

#include <algorithm>
#include <cstdlib>

#include "common/text/utf.h"

namespace {

// Bounds on what one event may make us keep, whatever a file holds.
constexpr std::size_t kMaxLines = 16;
constexpr std::size_t kMaxTextBytes = 4000;

std::string_view Trim(std::string_view s) {
  while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
  while (!s.empty() && (s.back() == ' ' || s.back() == '\t' || s.back() == '\r')) s.remove_suffix(1);
  return s;
}

std::string Lower(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  return out;
}

std::vector<std::string_view> SplitFields(std::string_view s, std::size_t at_most) {
  std::vector<std::string_view> fields;
  while (fields.size() + 1 < at_most) {
    const auto comma = s.find(',');
    if (comma == std::string_view::npos) break;
    fields.push_back(Trim(s.substr(0, comma)));
    s.remove_prefix(comma + 1);
  }
  fields.push_back(at_most == static_cast<std::size_t>(-1) ? Trim(s) : s);
  return fields;
}

bool Flag(std::string_view value) {
  const int n = std::atoi(std::string(value).c_str());
  return n == -1 || n == 1 || n >= 600;  // -1 is ASS's true; a weight from 600 is bold
}

const SubtitleStyle* FindStyle(const SubtitleScript& script, std::string_view name) {
  while (!name.empty() && name.front() == '*') name.remove_prefix(1);  // ASS's old marker
  for (const SubtitleStyle& style : script.styles) {
    if (Lower(style.name) == Lower(name)) return &style;
  }
  for (const SubtitleStyle& style : script.styles) {
    if (Lower(style.name) == "default") return &style;
  }
  return script.styles.empty() ? nullptr : &script.styles.front();
}

struct RunState {
  bool bold = false, italic = false, underline = false;
};

class EventParser {
 public:
  EventParser(const SubtitleScript& script, const SubtitleStyle* style) : script_(script), style_(style) {
    Reset(style);
  }

  void Parse(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && kept_ < kMaxTextBytes) {
      const char c = text[i];
      if (c == '{') {
        const auto close = text.find('}', i + 1);
        if (close != std::string_view::npos) {
          Overrides(text.substr(i + 1, close - i - 1));
          i = close + 1;
          continue;
        }
      }
      if (c == '\\' && i + 1 < text.size()) {
        const char next = text[i + 1];
        if (next == 'N' || next == 'n') {
          NewLine();
          i += 2;
          continue;
        }
        if (next == 'h') {
          Add("\xC2\xA0");
          i += 2;
          continue;
        }
      }
      if (c == '\n') {  // a decoder's own line end
        NewLine();
        ++i;
        continue;
      }
      if (static_cast<unsigned char>(c) >= 0x20 || c == '\t') Add(std::string_view(&text[i], 1));
      ++i;
    }
  }

  SubtitleCue Finish() {
    Flush();
    while (!cue_.lines.empty() && cue_.lines.back().empty()) cue_.lines.pop_back();
    while (!cue_.lines.empty() && cue_.lines.front().empty()) cue_.lines.erase(cue_.lines.begin());
    if (style_ && style_->font_size > 0 && script_.play_res_y > 0) {
      cue_.line_height = std::clamp(style_->font_size / script_.play_res_y, 0.03, 0.12);
    }
    return std::move(cue_);
  }

 private:
  void Reset(const SubtitleStyle* style) {
    Flush();
    state_ = RunState{};
    if (style) state_ = RunState{style->bold, style->italic, style->underline};
    if (style && style == style_) cue_.top = style->top;
  }

  void Add(std::string_view bytes) {
    if (drawing_) return;
    pending_ += bytes;
    kept_ += bytes.size();
  }

  void Flush() {
    if (pending_.empty()) return;
    if (cue_.lines.empty()) cue_.lines.emplace_back();
    SubtitleLine& line = cue_.lines.back();
    std::u16string text = Utf8ToUtf16(pending_);
    pending_.clear();
    if (!line.empty() && line.back().bold == state_.bold && line.back().italic == state_.italic &&
        line.back().underline == state_.underline) {
      line.back().text += text;
    } else {
      line.push_back(SubtitleRun{std::move(text), state_.bold, state_.italic, state_.underline});
    }
  }

  void NewLine() {
    Flush();
    if (cue_.lines.empty()) cue_.lines.emplace_back();
    if (cue_.lines.size() < kMaxLines) cue_.lines.emplace_back();
  }

  void Change(bool RunState::*flag, std::string_view arg, bool style_value) {
    const bool value = arg.empty() ? style_value : Flag(arg);
    if (state_.*flag == value) return;
    Flush();
    state_.*flag = value;
  }

  // One {...} block: tags after backslashes, with (...) arguments skipped whole.
  void Overrides(std::string_view block) {
    std::size_t i = 0;
    while (i < block.size()) {
      if (block[i] != '\\') {
        ++i;  // a comment inside the braces
        continue;
      }
      ++i;
      const std::size_t name_start = i;
      while (i < block.size() && ((block[i] >= 'a' && block[i] <= 'z') || (block[i] >= 'A' && block[i] <= 'Z'))) ++i;
      const std::string_view name = block.substr(name_start, i - name_start);
      std::size_t arg_start = i;
      if (i < block.size() && block[i] == '(') {
        int depth = 0;
        for (; i < block.size(); ++i) {
          if (block[i] == '(') ++depth;
          if (block[i] == ')' && --depth == 0) {
            ++i;
            break;
          }
        }
        continue;  // transforms, positions, clips: nothing of them is drawn
      }
      while (i < block.size() && block[i] != '\\') ++i;
      const std::string_view arg = Trim(block.substr(arg_start, i - arg_start));
      Tag(name, arg, block.substr(name_start, i - name_start));
    }
  }

  void Tag(std::string_view name, std::string_view arg, std::string_view whole) {
    const bool style_bold = style_ && style_->bold, style_italic = style_ && style_->italic;
    const bool style_underline = style_ && style_->underline;
    if (name == "i") {
      Change(&RunState::italic, arg, style_italic);
    } else if (name == "b") {
      Change(&RunState::bold, arg, style_bold);
    } else if (name == "u") {
      Change(&RunState::underline, arg, style_underline);
    } else if (name == "an" && !arg.empty()) {
      const int n = std::atoi(std::string(arg).c_str());
      if (n >= 1 && n <= 9) cue_.top = n >= 7;
    } else if (name == "a" && !arg.empty()) {
      const int n = std::atoi(std::string(arg).c_str());
      if (n >= 1 && n <= 11) cue_.top = n >= 5 && n <= 7;
    } else if (name == "p") {
      Flush();
      drawing_ = std::atoi(std::string(arg).c_str()) > 0;
    } else if (!name.empty() && name.front() == 'r') {
      // \r alone goes back to the event's style, \rName to that style.
      const std::string_view other = Trim(whole.substr(1));
      Reset(other.empty() ? style_ : FindStyle(script_, other));
    }
  }

  const SubtitleScript& script_;
  const SubtitleStyle* style_;
  SubtitleCue cue_;
  RunState state_;
  std::string pending_;
  std::size_t kept_ = 0;
  bool drawing_ = false;
};

bool IsWide(char16_t c) { return c >= 0x2E80; }

}  // namespace

SubtitleScript ParseSubtitleHeader(std::string_view header) {
  SubtitleScript script;
  std::string section;
  std::vector<std::string> format = {"name",          "fontname",   "fontsize", "primarycolour", "secondarycolour",
                                     "outlinecolour", "backcolour", "bold",     "italic",        "underline",
                                     "strikeout",     "scalex",     "scaley",   "spacing",       "angle",
                                     "borderstyle",   "outline",    "shadow",   "alignment",     "marginl",
                                     "marginr",       "marginv",    "encoding"};
  bool legacy = false;
  while (!header.empty()) {
    const auto end = header.find('\n');
    const std::string_view line = Trim(header.substr(0, end));
    header.remove_prefix(end == std::string_view::npos ? header.size() : end + 1);
    if (!line.empty() && line.front() == '[') {
      section = Lower(line);
      legacy = section == "[v4 styles]";
      continue;
    }
    const auto colon = line.find(':');
    if (colon == std::string_view::npos) continue;
    const std::string key = Lower(Trim(line.substr(0, colon)));
    const std::string_view value = Trim(line.substr(colon + 1));
    if (section == "[script info]" && key == "playresy") {
      const int height = std::atoi(std::string(value).c_str());
      if (height > 0 && height <= 100000) script.play_res_y = height;
    } else if (section.find("styles") != std::string::npos && key == "format") {
      format.clear();
      for (std::string_view field : SplitFields(value, static_cast<std::size_t>(-1))) format.push_back(Lower(field));
    } else if (section.find("styles") != std::string::npos && key == "style" && script.styles.size() < 256) {
      const std::vector<std::string_view> fields = SplitFields(value, format.size());
      if (fields.size() != format.size()) continue;
      SubtitleStyle style;
      for (std::size_t k = 0; k < format.size(); ++k) {
        const std::string_view field = Trim(fields[k]);
        if (format[k] == "name") style.name = std::string(field);
        if (format[k] == "fontsize") style.font_size = std::atof(std::string(field).c_str());
        if (format[k] == "bold") style.bold = Flag(field);
        if (format[k] == "italic") style.italic = Flag(field);
        if (format[k] == "underline") style.underline = Flag(field);
        if (format[k] == "alignment") {
          const int n = std::atoi(std::string(field).c_str());
          style.top = legacy ? (n >= 5 && n <= 7) : (n >= 7 && n <= 9);
        }
      }
      if (!(style.font_size > 0 && style.font_size < 10000)) style.font_size = 0;
      script.styles.push_back(std::move(style));
    }
  }
  return script;
}

SubtitleCue ParseSubtitleEvent(std::string_view event, const SubtitleScript& script) {
  const std::vector<std::string_view> fields = SplitFields(event, 9);
  const SubtitleStyle* style = fields.size() == 9 ? FindStyle(script, Trim(fields[2])) : FindStyle(script, "");
  EventParser parser(script, style);
  parser.Parse(fields.size() == 9 ? fields[8] : event);
  return parser.Finish();
}

std::vector<SubtitleLine> WrapSubtitleLines(const std::vector<SubtitleLine>& lines, int width,
                                            const RunMeasure& measure, std::size_t max_lines) {
  auto append = [](SubtitleLine& to, const SubtitleRun& run) {
    if (!to.empty() && to.back().bold == run.bold && to.back().italic == run.italic &&
        to.back().underline == run.underline) {
      to.back().text += run.text;
    } else {
      to.push_back(run);
    }
  };
  std::vector<SubtitleLine> out;
  for (const SubtitleLine& line : lines) {
    if (out.size() >= max_lines) break;
    // The line's pieces: one Chinese character, or a word with the blanks after it (a word
    // goes on across a change of style).
    std::vector<SubtitleLine> pieces;
    bool open_word = false;
    for (const SubtitleRun& run : line) {
      for (const char16_t c : run.text) {
        const bool starts = IsWide(c) || !open_word;
        if (starts) pieces.emplace_back();
        append(pieces.back(), SubtitleRun{std::u16string(1, c), run.bold, run.italic, run.underline});
        open_word = !IsWide(c) && c != u' ';
        // Blanks stay with the word before them.
        if (c == u' ' && !pieces.back().empty()) open_word = false;
      }
    }
    out.emplace_back();
    int used = 0;
    for (const SubtitleLine& piece : pieces) {
      int piece_width = 0;
      for (const SubtitleRun& run : piece) piece_width += measure(run);
      if (used > 0 && used + piece_width > width) {
        if (out.size() >= max_lines) return out;
        out.emplace_back();
        used = 0;
      }
      for (const SubtitleRun& run : piece) append(out.back(), run);
      used += piece_width;
    }
  }
  return out;
}
