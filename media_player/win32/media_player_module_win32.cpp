// The player control's in-process server, as regsvr32 and the setup program register it.
#include "common/win32/server_module.h"
#include "media_player/media_player_class.h"
#include "media_player/win32/decoding_libraries_win32.h"
#include "media_player/win32/media_download_win32.h"
#include "media_player/win32/media_player_control_win32.h"

namespace {

ControlFactory<MediaPlayerControl> g_factory;

// The control cannot play without the decoding libraries beside it. They load when it first
// decodes, so their absence is found here, when the control is asked for, as it was when they
// loaded with the control: a program then knows at once that it has no player.
class MediaPlayerFactory final : public IClassFactory {
 public:
  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // A static object of the module, as the factory it hands on to.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!DecodingLibrariesPresent()) {
      if (out) *out = nullptr;
      return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    }
    return g_factory.CreateInstance(outer, iid, out);
  }
  STDMETHODIMP LockServer(BOOL lock) override { return g_factory.LockServer(lock); }
} g_checked_factory;
const ServerClass kServer{kMediaPlayerClass, L"Vexo media player control", L"Vexo.MediaPlayer"};

}  // namespace

const ServerClass& ThisServerClass() { return kServer; }
IClassFactory& ThisServerFactory() { return g_checked_factory; }
// A download let go ends on a thread of its own; the module stays until it has.
bool ThisServerIdle() {
  return InPlaceControl::LiveObjects() == 0 && MediaDownload::Live() == 0 && g_factory.locks() == 0;
}
