// The user-interface thread's queue of calls from other threads and its timers.
#include "app/ui/UiThreadQueue.h"

#include <exception>
#include <vector>

namespace velkar {

UiThreadQueue::UiThreadQueue() : uiThread_(std::this_thread::get_id()) {}

void UiThreadQueue::RunAndWait(const std::function<void()>& call) {
  if (OnUiThread()) {
    call();
    return;
  }
  std::mutex doneMutex;
  std::condition_variable doneSignal;
  bool done = false;
  std::exception_ptr error;
  Post([&] {
    try {
      call();
    } catch (...) {
      error = std::current_exception();
    }
    std::lock_guard lock(doneMutex);
    done = true;
    doneSignal.notify_one();
  });
  std::unique_lock lock(doneMutex);
  doneSignal.wait(lock, [&] { return done; });
  if (error) std::rethrow_exception(error);
}

void UiThreadQueue::Post(std::function<void()> call) {
  std::lock_guard lock(mutex_);
  calls_.push_back(std::move(call));
  arrived_.notify_one();
}

bool UiThreadQueue::RunPending() {
  bool any = false;
  for (;;) {
    std::function<void()> call;
    {
      std::lock_guard lock(mutex_);
      if (calls_.empty()) break;
      call = std::move(calls_.front());
      calls_.pop_front();
    }
    any = true;
    call();
  }
  Clock::time_point now = Clock::now();
  std::vector<int> due;
  for (auto& [id, timer] : timers_)
    if (timer.due <= now) due.push_back(id);
  for (int id : due) {
    auto it = timers_.find(id);
    if (it == timers_.end()) continue;  // stopped by an earlier tick
    it->second.due = now + it->second.interval;
    std::function<void()> tick = it->second.onTick;
    any = true;
    tick();
  }
  return any;
}

void UiThreadQueue::Process(int milliseconds) {
  if (!OnUiThread() || processing_) return;
  processing_ = true;
  struct Reset {
    bool& flag;
    ~Reset() { flag = false; }
  } reset{processing_};
  if (RunPending() || milliseconds <= 0) return;
  Clock::time_point until = Clock::now() + std::chrono::milliseconds(milliseconds);
  for (auto& [id, timer] : timers_)
    if (timer.due < until) until = timer.due;
  {
    std::unique_lock lock(mutex_);
    arrived_.wait_until(lock, until, [this] { return !calls_.empty(); });
  }
  RunPending();
}

int UiThreadQueue::StartTimer(int intervalMs, std::function<void()> onTick) {
  int id = nextTimer_++;
  auto interval = std::chrono::milliseconds(intervalMs);
  timers_[id] = {interval, Clock::now() + interval, std::move(onTick)};
  return id;
}

void UiThreadQueue::StopTimer(int id) { timers_.erase(id); }

}  // namespace velkar
