// The stand-in's in-process server: it is registered under the outside player's class id.
#include "common/win32/server_module.h"
#include "tools/player-standin/standin_player_win32.h"

namespace {

ControlFactory<StandinPlayer> g_factory;
const ServerClass kServer{kStandinClass, L"Vexo player control (stand-in)", L"VexoInsertLibCtl.VexoCtrl"};

}  // namespace

const ServerClass& ThisServerClass() { return kServer; }
IClassFactory& ThisServerFactory() { return g_factory; }
bool ThisServerIdle() { return InPlaceControl::LiveObjects() == 0 && g_factory.locks() == 0; }
