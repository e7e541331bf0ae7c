// Command lines: play.exe's own and the ones a later copy hands over (classified, then carried
// out by the running window), and VexoTip.exe's argument with the numbers of its document.
#include "play/startup/command_line.h"
#include "tests/fuzz/main_window_rig.h"
#include "tip_popup/tip_item.h"

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, std::size_t size) {
  const std::u16string text = Utf8ToUtf16(std::string_view(reinterpret_cast<const char*>(data), size));

  const CommandLineRequest request = ClassifyCommandLine(text);
  FUZZ_CHECK(request.text.find(u'"') == std::u16string::npos);
  if (request.kind == CommandLineRequest::Kind::kPageLink && !request.text.empty()) {
    FUZZ_CHECK(request.text.front() != u' ' && request.text.back() != u' ');
  }
  if (request.kind == CommandLineRequest::Kind::kNothing) FUZZ_CHECK(request.text.empty());
  if (request.kind == CommandLineRequest::Kind::kMedia) FUZZ_CHECK(!request.text.empty());

  MainWindowRig rig;
  rig.window.l_com(text);
  rig.CheckInvariants();

  TipApp app;
  SetProgramPath(app, text);
  FUZZ_CHECK(app.folder + app.program_name == text);
  if (const auto choice = ChooseTipDocument(text, u"C:\\Vexo\\")) FUZZ_CHECK(!choice->path.empty());
  ReadTipNumber(text);  // nineteen digits and a sign must not overflow
  return 0;
}
