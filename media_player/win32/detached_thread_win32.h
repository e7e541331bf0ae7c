#pragma once
// Work that nobody waits for: a fetch that a server holds up, a request handle whose close
// waits for a read. The thread keeps the module its code lives in loaded until it has ended,
// so that COM may unload the DLL at any time without pulling the code from under it.
#include <functional>

// False when no thread could be made (then `work` has not run).
bool RunDetached(std::function<void()> work);
