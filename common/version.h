#pragma once
// The release's version, shown in Explorer's properties of every shipped file and used by the
// installer; the program's own "Ver" in config.ini stays the two-part version it compares.
#define VEXO_VERSION_MAJOR 3
#define VEXO_VERSION_MINOR 3
#define VEXO_VERSION_PATCH 1
#define VEXO_VERSION_TEXT "3.3.1.0"
