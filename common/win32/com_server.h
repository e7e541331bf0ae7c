#pragma once
// The in-process server around one control class: a class factory that makes it, and its
// registration under HKEY_CLASSES_ROOT as regsvr32 asks for it.
#include <windows.h>
#include <ole2.h>

#include <atomic>
#include <new>

struct ServerClass {
  const CLSID& clsid;
  const wchar_t* name;     // shown by tools that list controls
  const wchar_t* prog_id;  // may be null
};

template <typename Control>
class ControlFactory final : public IClassFactory {
 public:
  // `usable`, when given, says whether a control can work now (what it needs beside it is
  // there); when it cannot, none is made and the caller hears that a module is missing.
  explicit ControlFactory(bool (*usable)() = nullptr) : usable_(usable) {}

  STDMETHODIMP QueryInterface(REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    if (iid == IID_IUnknown || iid == IID_IClassFactory) {
      *out = static_cast<IClassFactory*>(this);
      return S_OK;
    }
    *out = nullptr;
    return E_NOINTERFACE;
  }
  // The factory is a static object of the module.
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    if (usable_ && !usable_()) return HRESULT_FROM_WIN32(ERROR_MOD_NOT_FOUND);
    Control* control = new (std::nothrow) Control();
    if (!control) return E_OUTOFMEMORY;
    const HRESULT hr = control->QueryInterface(iid, out);
    control->Release();
    return hr;
  }
  STDMETHODIMP LockServer(BOOL lock) override {
    lock ? ++locks_ : --locks_;
    return S_OK;
  }
  long locks() const { return locks_.load(); }

 private:
  bool (*usable_)();
  std::atomic<long> locks_{0};
};

// Writes the class's keys with `module` as its server (apartment threaded).
HRESULT RegisterServerClass(HINSTANCE module, const ServerClass& server);
HRESULT UnregisterServerClass(const ServerClass& server);
