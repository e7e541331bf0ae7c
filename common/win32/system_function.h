#pragma once
// A function of a system DLL that is loaded when first called: a DLL (and what it pulls in)
// that most starts never use costs them nothing. The DLL stays loaded once it is.
#include <windows.h>

template <typename Function>
Function SystemFunction(const wchar_t* library, const char* name) {
  HMODULE module = GetModuleHandleW(library);
  if (!module) module = LoadLibraryW(library);
  return module ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name))) : nullptr;
}
