// The player control's in-process server, as regsvr32 and the setup program register it.
#include "common/win32/server_module.h"
#include "media_player/media_player_class.h"
#include "media_player/win32/decoding_libraries_win32.h"
#include "media_player/win32/media_download_win32.h"
#include "media_player/win32/media_player_control_win32.h"

namespace {

// The control cannot play without the decoding libraries beside it. They load when it first
// decodes, so their absence is found when the control is asked for, as it was when they
// loaded with the control: a program then knows at once that it has no player.
ControlFactory<MediaPlayerControl> g_factory(DecodingLibrariesPresent);
const ServerClass kServer{kMediaPlayerClass, L"Vexo media player control", L"Vexo.MediaPlayer"};

}  // namespace

const ServerClass& ThisServerClass() { return kServer; }
IClassFactory& ThisServerFactory() { return g_factory; }
// A download let go ends on a thread of its own; the module stays until it has.
bool ThisServerIdle() {
  return InPlaceControl::LiveObjects() == 0 && MediaDownload::Live() == 0 && g_factory.locks() == 0;
}
