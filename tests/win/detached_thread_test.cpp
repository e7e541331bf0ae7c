#include "common/win32/detached_thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <vector>

namespace {

// Many threads that end at once, as fetches to a closed port do: each runs its own work once,
// and what each owns is freed once, by that thread.
TEST(DetachedThread, EachShortThreadRunsItsOwnWorkOnceAndFreesItOnce) {
  constexpr int kThreads = 2000;
  struct Payload {
    int index;
    std::atomic<int>* freed;
    ~Payload() { ++*freed; }
  };
  std::vector<std::atomic<int>> runs(kThreads);
  std::atomic<int> freed{0};
  std::atomic<int> finished{0};
  for (int i = 0; i < kThreads; ++i) {
    std::unique_ptr<Payload> payload(new Payload{i, &freed});
    ASSERT_TRUE(StartDetachedThread([payload = std::move(payload), &runs, &finished]() mutable {
      if (payload) ++runs[payload->index];
      payload.reset();
      ++finished;
    }));
  }
  for (int i = 0; i < 1000 && (finished < kThreads || freed < kThreads); ++i) Sleep(10);
  EXPECT_EQ(finished.load(), kThreads);
  EXPECT_EQ(freed.load(), kThreads);
  int wrong = 0;
  for (const auto& count : runs) wrong += count != 1 ? 1 : 0;
  EXPECT_EQ(wrong, 0) << "threads that ran another's work, or none";
}

}  // namespace
