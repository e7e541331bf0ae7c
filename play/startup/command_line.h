#pragma once
// What a command line (this copy's, or one handed over by a later copy) asks for.
#include <string>
#include <string_view>
#include <vector>

struct CommandLineRequest {
  enum class Kind { kNothing, kPageLink, kMedia };
  Kind kind = Kind::kNothing;
  // kPageLink: the page tail for "pp.htm?" (the link without "niba://", trimmed);
  // kMedia: the media address or file path.
  std::u16string text;
};

// Double quotes go, a final "/" goes; a "niba://" text with a "-" is a page link, anything
// else a media address or a file path.
CommandLineRequest ClassifyCommandLine(std::u16string_view command_line);

// A command line of several double-quoted texts, as "Send to" and scripts name files: the
// texts in order; nothing for any other command line (one text, unquoted words).
std::vector<std::u16string> SeveralQuotedTexts(std::u16string_view command_line);
