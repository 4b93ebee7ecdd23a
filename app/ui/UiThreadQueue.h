// Calls handed to the user-interface thread by other threads, and the timers that run on
// it, for the ports that have no toolkit event loop (terminal, test script, headless).
// The user-interface thread is the thread that created the queue; it handles the queue
// whenever the program lets its windows process their pending messages.
#pragma once

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

namespace velkar {

class UiThreadQueue {
 public:
  UiThreadQueue();
  UiThreadQueue(const UiThreadQueue&) = delete;
  UiThreadQueue& operator=(const UiThreadQueue&) = delete;

  bool OnUiThread() const { return std::this_thread::get_id() == uiThread_; }

  // On the user-interface thread the call runs at once; from another thread it is queued
  // and the caller waits until the user-interface thread has run it. An exception of the
  // call reaches the caller.
  void RunAndWait(const std::function<void()>& call);
  // Queues the call without waiting; it runs the next time the queue is processed, also
  // when posted from the user-interface thread itself.
  void Post(std::function<void()> call);

  // Runs the queued calls and the due timers; when there was nothing to do, waits up to
  // `milliseconds` for a call or a timer and handles that. Nested use from inside a call
  // or a timer returns at once.
  void Process(int milliseconds);

  int StartTimer(int intervalMs, std::function<void()> onTick);
  void StopTimer(int id);

 private:
  using Clock = std::chrono::steady_clock;
  struct Timer {
    std::chrono::milliseconds interval;
    Clock::time_point due;
    std::function<void()> onTick;
  };
  bool RunPending();

  std::thread::id uiThread_;
  std::mutex mutex_;
  std::condition_variable arrived_;
  std::deque<std::function<void()>> calls_;
  std::map<int, Timer> timers_;  // user-interface thread only
  int nextTimer_ = 1;
  bool processing_ = false;  // user-interface thread only
};

}  // namespace velkar
