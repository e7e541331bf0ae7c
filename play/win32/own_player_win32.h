#pragma once
// The product's own player control, for machines without the maker's: through its registered
// class, or else straight from VexoMedia.dll beside the program (a registration that is
// missing, broken, or only the user's where the system does not merge it).
#include "play/win32/player_host_win32.h"

PlayerObjectSource OwnPlayer();
bool OwnPlayerAvailable();
