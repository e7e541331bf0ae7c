// The one window procedure: binding, the exception barrier, and what happens when the object
// or the window goes first.
#include "common/win32/window_base.h"

#include <windows.h>

#include <stdexcept>

#include <gtest/gtest.h>

#include "common/win32/trace.h"
#include "common/win32/unique_handle.h"

namespace {

constexpr wchar_t kClass[] = L"VexoWindowBaseTest";
constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kAnswer = WM_APP + 2;

class Probe final : public WindowBase {
 public:
  explicit Probe(int* finals) : finals_(finals) {
    WNDCLASSEXW wc{sizeof wc};
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = kClass;
    RegisterWindowClass(wc);
    CreateBound(0, kClass, L"probe", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr, GetModuleHandleW(nullptr));
  }
  HWND hwnd() const { return hwnd_; }
  int messages = 0;

 private:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    ++messages;
    if (message == kThrow) throw std::runtime_error("handler failed");
    if (message == kAnswer) return 42;
    return Default(message, wparam, lparam);
  }
  void OnFinalMessage() override { ++*finals_; }
  int* finals_;
};

TEST(WindowBase, BindsAtCreationAndStopsExceptionsAtTheProcedure) {
  int finals = 0;
  Probe probe(&finals);
  ASSERT_TRUE(IsWindow(probe.hwnd()));
  EXPECT_GT(probe.messages, 0) << "WM_CREATE and friends reach the object";
  EXPECT_EQ(SendMessageW(probe.hwnd(), kAnswer, 0, 0), 42);
  // A handler that throws: the message gets its default answer and the program goes on.
  EXPECT_EQ(SendMessageW(probe.hwnd(), kThrow, 0, 0), 0);
  EXPECT_EQ(SendMessageW(probe.hwnd(), kAnswer, 0, 0), 42);
}

TEST(WindowBase, AWindowDestroyedFirstUnbindsAndTheObjectLivesOn) {
  int finals = 0;
  Probe probe(&finals);
  const HWND window = probe.hwnd();
  DestroyWindow(window);
  EXPECT_EQ(finals, 1);
  EXPECT_EQ(probe.hwnd(), nullptr);
  EXPECT_FALSE(IsWindow(window));
}

TEST(WindowBase, AnObjectDestroyedFirstTakesItsWindowWithoutCallingBack) {
  int finals = 0;
  HWND window = nullptr;
  {
    Probe probe(&finals);
    window = probe.hwnd();
  }
  EXPECT_FALSE(IsWindow(window));
  // The binding went before the window, so no call reached the half-destroyed object.
  EXPECT_EQ(finals, 0);
}

TEST(UniqueAny, ClosesOnceAndHandsOver) {
  UniqueHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  ASSERT_TRUE(event);
  const HANDLE raw = event.get();
  UniqueHandle moved(std::move(event));
  EXPECT_FALSE(event);
  EXPECT_EQ(moved.get(), raw);
  moved.reset();
  EXPECT_FALSE(moved);
  // The handle is closed: using it fails.
  EXPECT_FALSE(SetEvent(raw));
  UniqueHandle none(INVALID_HANDLE_VALUE);
  EXPECT_FALSE(none);
}

TEST(ComBarrier, TurnsExceptionsIntoFailureCodes) {
  EXPECT_EQ(ComBarrier(L"test", [] { return S_OK; }), S_OK);
  EXPECT_EQ(ComBarrier(L"test", []() -> HRESULT { throw std::runtime_error("x"); }), E_UNEXPECTED);
  EXPECT_EQ(ComBarrier(L"test", []() -> HRESULT { throw std::bad_alloc(); }), E_OUTOFMEMORY);
}

}  // namespace
