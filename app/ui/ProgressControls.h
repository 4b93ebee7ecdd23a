// Controls of windows that show work in progress: a progress bar, a group box, and a
// timer whose ticks run on the user-interface thread through the UI port.
#pragma once

#include <functional>
#include <string>

#include "app/ui/Controls.h"
#include "app/ui/UiPort.h"

namespace velkar {

struct TProgressBar : Control {
  using Control::Control;
  int Min = 0;
  int Max = 100;
  int Position = 0;
  int Step = 1;
};

using TGroupBox = Control;

// A repeating timer. Start and Stop are called on the user-interface thread; the ticks
// run there too. It stops with its window.
class TTimer {
 public:
  explicit TTimer(std::string name, int interval) : Name(std::move(name)), Interval(interval) {}
  ~TTimer() { Stop(); }
  TTimer(const TTimer&) = delete;
  TTimer& operator=(const TTimer&) = delete;

  std::string Name;
  int Interval;  // milliseconds
  bool Enabled() const { return port_ != nullptr; }

  void Start(std::function<void()> onTimer) {
    Stop();
    port_ = &Ui();
    id_ = port_->StartTimer(Interval, std::move(onTimer));
  }
  void Stop() {
    if (port_) port_->StopTimer(id_);
    port_ = nullptr;
  }

 private:
  UiPort* port_ = nullptr;
  int id_ = 0;
};

}  // namespace velkar
