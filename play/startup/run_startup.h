#pragma once
// The program's start, before any window: refuse to run without the player control, create or
// repair config.ini, give the installation its identity, make sure the history files and
// their pages exist, then show the main window.
#include <string>
#include <string_view>

#include "play/ports/clock.h"
#include "play/ports/code_page.h"
#include "play/ports/files.h"
#include "play/ports/profile_strings.h"

// Where the player can be downloaded, offered when it is not installed.
inline constexpr std::u16string_view kPlayerDownloadPage = u"http://www.vexo-video.example/player/download.htm";
inline constexpr std::u16string_view kNoPlayerTitle = u"提示：";
inline constexpr std::u16string_view kNoPlayerQuestion =
    u"程序检测到您的电脑未安装绮映(Vexo)播放器，是否要下载Vexo播放器？";

// What start-up needs from the system beyond the ports.
class StartupSystem {
 public:
  virtual ~StartupSystem() = default;
  // False only when the player control cannot be created (it is not installed).
  virtual bool PlayerControlInstalled() = 0;
  // The Yes/No question with the question icon; true for Yes.
  virtual bool AskYesNo(std::u16string_view title, std::u16string_view text) = 0;
  // Opens an address with the verb "Open", hidden.
  virtual void OpenHidden(std::u16string_view address) = 0;
  // The first network adapter's address as "XX-XX-XX-XX-XX-XX" (all zeros when none answers),
  // or the empty text when the query could not be made.
  virtual std::u16string MacAddress() = 0;
  // A whole number from 100 to 999, from a generator seeded from the clock.
  virtual int Random100To999() = 0;
  virtual void ShowMainWindow() = 0;
};

struct StartupContext {
  ProfileStrings& profile;
  Files& files;
  const CodePage& code_page;
  Clock& clock;
  StartupSystem& system;
  std::u16string program_folder;  // without a trailing backslash
};

enum class StartupOutcome { kNoPlayerControl, kMainWindowShown };

StartupOutcome RunStartup(StartupContext& context);

// The adapter address, or the clock-and-random number when there is no usable one.
std::u16string ComputeUserId(StartupSystem& system, Clock& clock);
// Year, month, day, hour, minute and second without leading zeros, then the random number.
std::u16string GeneratedUserId(const LocalTime& now, int random);
// Two upper-case hex digits.
std::u16string ByteToHex2(unsigned char byte);
// The text as a whole number as config.ini's readers take it: blanks around, a sign, digits,
// a fraction rounded half to even; 0 when it is not a number.
long long IniNumber(std::u16string_view text);
