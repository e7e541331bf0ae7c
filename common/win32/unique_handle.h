#pragma once
// Owners for every kind of handle the programs hold: one move-only template over a traits
// type that names the handle's type, its empty value and how it is closed, and the owners
// built on it. A handle is closed exactly once, by whoever owns it last.
#include <windows.h>

#include <utility>

template <typename Traits>
class UniqueAny {
 public:
  using Type = typename Traits::Type;

  UniqueAny() = default;
  explicit UniqueAny(Type value) : value_(value) {}
  ~UniqueAny() { reset(); }
  UniqueAny(UniqueAny&& other) noexcept : value_(other.release()) {}
  UniqueAny& operator=(UniqueAny&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  UniqueAny(const UniqueAny&) = delete;
  UniqueAny& operator=(const UniqueAny&) = delete;

  Type get() const { return value_; }
  bool valid() const { return Traits::IsValid(value_); }
  explicit operator bool() const { return valid(); }
  // Closes what is held and takes `value` instead.
  void reset(Type value = Traits::Empty()) {
    const Type old = std::exchange(value_, value);
    if (Traits::IsValid(old)) Traits::Close(old);
  }
  // Gives up ownership without closing.
  Type release() { return std::exchange(value_, Traits::Empty()); }
  // For functions that hand a handle back through a pointer: closes what is held first.
  Type* receive() {
    reset();
    return &value_;
  }

 private:
  Type value_ = Traits::Empty();
};

namespace handle_traits {

// Kernel objects: files, events, mutexes, threads, processes, snapshots. Both null and
// INVALID_HANDLE_VALUE mean "none", since CreateFile and the others disagree.
struct Kernel {
  using Type = HANDLE;
  static Type Empty() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) { CloseHandle(h); }
};

// The common case: null means "none", and one function closes.
template <typename T, auto CloseFunction>
struct NullOrClosed {
  using Type = T;
  static Type Empty() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) { CloseFunction(h); }
};

template <typename T>
using GdiObject = NullOrClosed<T, &DeleteObject>;
using MemoryDc = NullOrClosed<HDC, &DeleteDC>;
using RegistryKey = NullOrClosed<HKEY, &RegCloseKey>;
using Module = NullOrClosed<HMODULE, &FreeLibrary>;
using Menu = NullOrClosed<HMENU, &DestroyMenu>;

struct Window {
  using Type = HWND;
  static Type Empty() { return nullptr; }
  static bool IsValid(Type h) { return h != nullptr; }
  static void Close(Type h) {
    if (IsWindow(h)) DestroyWindow(h);
  }
};

struct Find {
  using Type = HANDLE;
  static Type Empty() { return INVALID_HANDLE_VALUE; }
  static bool IsValid(Type h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(Type h) { FindClose(h); }
};

}  // namespace handle_traits

using UniqueHandle = UniqueAny<handle_traits::Kernel>;
using UniqueFont = UniqueAny<handle_traits::GdiObject<HFONT>>;
using UniqueBrush = UniqueAny<handle_traits::GdiObject<HBRUSH>>;
using UniquePen = UniqueAny<handle_traits::GdiObject<HPEN>>;
using UniqueBitmap = UniqueAny<handle_traits::GdiObject<HBITMAP>>;
using UniqueMemoryDc = UniqueAny<handle_traits::MemoryDc>;
using UniqueRegKey = UniqueAny<handle_traits::RegistryKey>;
using UniqueModule = UniqueAny<handle_traits::Module>;
using UniqueWindow = UniqueAny<handle_traits::Window>;
using UniqueMenu = UniqueAny<handle_traits::Menu>;
using UniqueFind = UniqueAny<handle_traits::Find>;
