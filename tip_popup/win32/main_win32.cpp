// VexoTip.exe: shows one tip of the tips document beside the program, or of a document given
// by path, and ends when the popup closes. Exit code 0 in every case.
#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <cstdlib>
#include <optional>

#include "common/win32/wide.h"
#include "common/xml/xml_doc_msxml.h"
#include "tip_popup/placement.h"
#include "tip_popup/skin/skin_loader.h"
#include "tip_popup/tip_item.h"
#include "tip_popup/win32/flash_tip_host_win32.h"
#include "tip_popup/win32/skin_image_win32.h"
#include "tip_popup/win32/text_tip_window_win32.h"
#include "tip_popup/win32/tip_environment_win32.h"

namespace {

void RunMessageLoop() {
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

// The life period of a text tip; tests shorten it with VEXOTIP_PERIOD_MS.
int LifePeriodMs() {
  const char* value = std::getenv("VEXOTIP_PERIOD_MS");
  const int ms = value ? std::atoi(value) : 0;
  return ms > 0 ? ms : TextTipFade::kLifePeriodMs;
}

std::optional<TipRect> WorkArea() {
  RECT work{};
  if (!SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return std::nullopt;
  return TipRect{work.left, work.top, work.right, work.bottom};
}

void MakeTopmost(HWND hwnd) { SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE); }

void ShowFlashTip(const TipApp& app, const TipRect& work, HINSTANCE instance) {
  const TipRect rect = FlashTipRect(work, app.width, app.height, app.placement);
  ComPtr<FlashTipHost> host = FlashTipHost::Make();
  // Without the Flash control nothing could ever show or ask to close: end now rather than
  // leave an invisible process behind for every tip.
  if (host->Create(rect, WS_EX_LAYERED | WS_EX_TOOLWINDOW, WS_POPUP | WS_VISIBLE | WS_CLIPSIBLINGS, nullptr, instance,
                   app.local_path)) {
    MakeTopmost(host->hwnd());
    RunMessageLoop();
  }
  host->Destroy();
}

void ShowTextTip(const TipApp& app, const TipRect& work, HINSTANCE instance) {
  Win32TipEnvironment env;
  auto doc = env.NewDocument();
  if (!doc) return;
  Win32SkinImageLoader images;
  auto skin = LoadSkin(*doc, app.folder, images, app.title, app.content);
  doc.reset();
  if (!skin) return;
  std::optional<long> above;
  if (HWND existing = FindWindowW(kTextTipClass, kTipWindowTitle)) {
    RECT r{};
    GetWindowRect(existing, &r);
    above = r.top;
  }
  TextTipWindow window({instance, std::move(skin), app.click_url, LifePeriodMs()});
  if (!window.Create(TextTipRect(work, above))) return;
  MakeTopmost(window.hwnd());
  RunMessageLoop();
}

void ShowTip(const TipApp& app, HINSTANCE instance) {
  const auto work = WorkArea();
  if (!work) return;
  if (app.tip_type == 0) ShowFlashTip(app, *work, instance);
  else if (app.tip_type == 1) ShowTextTip(app, *work, instance);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
  OleInitialize(nullptr);
  InitCommonControls();
  INITCOMMONCONTROLSEX controls{sizeof controls, 0x6FF};
  InitCommonControlsEx(&controls);
  {
    TipApp app;
    wchar_t path[520] = {};
    const DWORD length = GetModuleFileNameW(nullptr, path, 520);
    SetProgramPath(app, FromWide(std::wstring_view(path, length < 520 ? length : 519)));
    Win32TipEnvironment env;
    if (ReadTipItem(env, app, FromWide(command_line ? command_line : L"")) &&
        (app.tip_type != 0 || FlashMovieUsable(env, app))) {
      ShowTip(app, instance);
    }
  }
  OleUninitialize();
  return 0;
}
