// SPDX-License-Identifier: MIT
// What other threads may rely on: input is read under the screen lock, a wait for window
// passes counts only passes that began after it, every thread waiting for input wakes, and
// no back-end member runs off the window thread.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <future>
#include <mutex>
#include <thread>

#include "backends/backend.h"
#include "support/headless_screen.h"

namespace {

using namespace std::chrono_literals;

// Runs `operation` on a thread of its own while another thread holds the screen lock, and
// tells whether it finished before the lock was released.
bool FinishesWhileTheLockIsHeld(const std::function<void()>& operation) {
  std::promise<void> locked;
  std::atomic<bool> release{false};
  std::thread holder([&] {
    std::lock_guard<std::recursive_mutex> lock(layer::ScreenLock());
    locked.set_value();
    while (!release.load()) std::this_thread::sleep_for(1ms);
  });
  locked.get_future().wait();
  std::atomic<bool> done{false};
  std::thread caller([&] {
    operation();
    done = true;
  });
  std::this_thread::sleep_for(50ms);
  const bool finished_early = done.load();
  release = true;
  holder.join();
  caller.join();
  return finished_early;
}

using InputUnderTheLock = HeadlessScreen;

TEST_F(InputUnderTheLock, QueryMouseAndReadKeyWaitForTheScreenLock) {
  EXPECT_FALSE(FinishesWhileTheLockIsHeld([] {
    int32_t x = 0;
    int32_t y = 0;
    int32_t buttons = 0;
    layer::QueryMouse(x, y, nullptr, &buttons);
  }));
  EXPECT_FALSE(FinishesWhileTheLockIsHeld([] { layer::ReadKey(); }));
}

// A back-end whose passes can be held in Pump, and that notes a member called off the
// window thread.
class GatedBackend final : public layer::Backend {
 public:
  std::string Name() const override {
    Check();
    return "gated";
  }
  bool Open(const layer::WindowRequest&) override {
    window_thread_ = std::this_thread::get_id();
    return true;
  }
  int32_t RefreshRate() const override {
    Check();
    return 60;
  }
  void Present(const uint8_t*, int32_t, int32_t, int32_t) override { Check(); }
  bool Pump(const layer::MessageSink&) override {
    Check();
    std::unique_lock<std::mutex> lock(mutex_);
    ++pumps_;
    changed_.notify_all();
    changed_.wait(lock, [this] { return pumps_allowed_ >= pumps_; });
    return false;
  }
  void Close() override {}
  void CaptureMouse() override {}
  void ReleaseMouse() override {}
  bool HoldsCapture() const override { return false; }
  void RequestLeaveNotice() override {}

  // Holds the next pass in Pump.
  void Hold() {
    std::lock_guard<std::mutex> lock(mutex_);
    pumps_allowed_ = pumps_;
  }
  // Lets `count` more passes through Pump.
  void Allow(int64_t count) {
    std::lock_guard<std::mutex> lock(mutex_);
    pumps_allowed_ += count;
    changed_.notify_all();
  }
  // Waits until a pass is held in Pump.
  void AwaitHeldPass() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return pumps_ > pumps_allowed_; });
  }

  static std::atomic<int> calls_off_thread;

 private:
  void Check() const {
    if (std::this_thread::get_id() != window_thread_) ++calls_off_thread;
  }
  std::thread::id window_thread_;
  std::mutex mutex_;
  std::condition_variable changed_;
  int64_t pumps_ = 0;
  int64_t pumps_allowed_ = int64_t{1} << 40;  // until Hold
};
std::atomic<int> GatedBackend::calls_off_thread{0};

class WindowPasses : public ::testing::Test {
 protected:
  void SetUp() override {
    auto made = std::make_unique<GatedBackend>();
    backend_ = made.get();
    auto list = std::make_shared<layer::BackendList>();
    list->push_back(std::move(made));
    layer::SetBackendFactory([list] { return std::move(*list); });
    GatedBackend::calls_off_thread = 0;
    ASSERT_EQ(layer::OpenScreen(651, 651, 32, 0, 0, 0), 0);
  }
  void TearDown() override {
    backend_->Allow(int64_t{1} << 40);
    layer::testing::CloseScreenForTest();
  }
  GatedBackend* backend_ = nullptr;
};

TEST_F(WindowPasses, AWaitCountsOnlyPassesThatBeganAfterIt) {
  backend_->Hold();
  backend_->AwaitHeldPass();  // this pass began before the wait
  std::atomic<bool> returned{false};
  std::thread waiter([&] {
    layer::testing::WaitForPasses(1);
    returned = true;
  });
  std::this_thread::sleep_for(20ms);
  backend_->Allow(1);
  backend_->AwaitHeldPass();  // the next pass, held again
  std::this_thread::sleep_for(30ms);
  EXPECT_FALSE(returned.load()) << "the pass that began before the wait satisfied it";
  backend_->Allow(1);
  waiter.join();
  EXPECT_TRUE(returned.load());
}

TEST_F(WindowPasses, ScreenInfoAsksTheBackEndNothingFromAnotherThread) {
  layer::ScreenDescription info;
  ASSERT_EQ(layer::ScreenInfo(info), 0);
  EXPECT_EQ(info.backend, "gated");
  EXPECT_EQ(info.refresh_rate, 60);
  EXPECT_EQ(GatedBackend::calls_off_thread.load(), 0);
}

using InputWaits = HeadlessScreen;

TEST_F(InputWaits, EveryWaitingThreadWakesForNewInput) {
  // Each thread first catches up with the input handed over so far, then waits for more.
  std::atomic<int> ready{0};
  std::atomic<int> woken_in_time{0};
  auto wait = [&] {
    layer::AwaitNextPass();
    ++ready;
    while (ready.load() < 2) std::this_thread::sleep_for(1ms);
    const auto start = std::chrono::steady_clock::now();
    layer::AwaitNextPass();
    // The wait gives up after 500 ms without input; input comes 10 ms after it began.
    if (std::chrono::steady_clock::now() - start < 70ms) ++woken_in_time;
  };
  std::thread first(wait);
  std::thread second(wait);
  while (ready.load() < 2) std::this_thread::sleep_for(1ms);
  std::this_thread::sleep_for(10ms);
  layer::WindowMessage move;
  move.kind = layer::MessageKind::kMouseMove;
  layer::testing::Headless()->Inject(move);
  first.join();
  second.join();
  EXPECT_EQ(woken_in_time.load(), 2);
}

}  // namespace
