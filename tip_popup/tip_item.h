#pragma once
// Which tip the command line asks for, and the reading of that item from the tips document:
// validation, the display data, and one showing counted off its sticktime on disk.
#include <optional>
#include <string>
#include <string_view>

#include "tip_popup/tip_environment.h"

// The display data of one tip (the popup's application object).
struct TipApp {
  std::u16string folder;        // the program's folder, with its trailing backslash
  std::u16string program_name;  // the executable's file name
  long long width = 0;          // Flash tip size in pixels
  long long height = 0;
  std::u16string local_path;  // Flash movie file
  std::u16string title;       // text tip: mtitle, mcontent, clickurl
  std::u16string content;
  std::u16string click_url;
  long long tip_type = -1;  // 0 Flash, 1 text
  long long placement = 2;  // Flash tip corner, see FlashTipRect
};

// Splits the executable's full path into folder (backslash kept) and program name.
void SetProgramPath(TipApp& app, std::u16string_view executable_path);

struct TipDocumentChoice {
  std::u16string path;
  std::u16string id;
  bool delete_after = false;  // a document handed over by path is deleted once read
};

// An argument longer than two characters with ":\" after its first character is the path of
// a document whose item "1" is wanted; anything else non-empty is an id in VexoTips.xml
// beside the program. Nothing for an empty argument.
std::optional<TipDocumentChoice> ChooseTipDocument(std::u16string_view argument, std::u16string_view folder);

// A number attribute: trimmed, at most 19 characters of its code-page form, an optional sign
// and the digits that follow (none give 0). Absent: -1.
long long ReadTipNumber(const std::optional<std::u16string>& value);

// Whether a Flash tip's movie may be played: an existing ".swf" file directly inside the
// program's own folder. Anything else (a share, another folder, a program file, a movie that
// is gone) ends the tip at once, since nothing would ever show or close it.
bool FlashMovieUsable(TipEnvironment& env, const TipApp& app);

// Reads the item the argument names into `app` and lowers its sticktime on disk. True when the
// tip is to be shown.
bool ReadTipItem(TipEnvironment& env, TipApp& app, std::u16string_view argument);
