// One background task: a worker thread running a body once, with a cancellation request
// the body polls. The thread is joined when the task object goes.
#pragma once

#include <atomic>
#include <functional>
#include <thread>

namespace velkar {

class TBackgroundTask {
 public:
  explicit TBackgroundTask(std::function<void()> body) : body_(std::move(body)) {}
  ~TBackgroundTask() { Join(); }
  TBackgroundTask(const TBackgroundTask&) = delete;
  TBackgroundTask& operator=(const TBackgroundTask&) = delete;

  void Start() { thread_ = std::thread(body_); }
  void Cancel() { cancelled_ = true; }
  bool Cancelled() const { return cancelled_; }
  // Waits for the body to end (at once when it has ended or never started).
  void Join() {
    if (thread_.joinable()) thread_.join();
  }

 private:
  std::function<void()> body_;
  std::thread thread_;
  std::atomic<bool> cancelled_ = false;
};

}  // namespace velkar
