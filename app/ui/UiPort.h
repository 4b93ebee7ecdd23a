// The UI port: everything a window of the program asks of the platform goes through
// this one interface, implemented by the Qt GUI, the terminal and the test script.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "app/ui/UiThreadQueue.h"

namespace velkar {

class Window;

enum class Buttons { Ok, OkCancel, YesNo, YesNoCancel };
enum class Answer { Ok, Cancel, Yes, No };
enum class MessageKind { Information, Warning, Error, Confirmation };

struct FileDialogOptions {
  std::string title;
  std::string defaultExt = "xml";
  std::string filter = "Plik JPK|*.xml";
  std::string initialDir;
  std::string fileName;  // proposed name (save) or last name (open)
};

class UiPort {
 public:
  virtual ~UiPort() = default;

  // A modal question box. Closing it without an answer (Escape, the close box) is Cancel.
  // The default button (the one Enter presses) is the first: Yes or OK.
  virtual Answer Ask(MessageKind kind, const std::string& text, Buttons buttons) = 0;
  // The same with `defaultButton` as the default button (No: Enter must not accept).
  // Ports without a notion of a default button answer as Ask does.
  virtual Answer AskWithDefault(MessageKind kind, const std::string& text, Buttons buttons, Answer defaultButton) {
    (void)defaultButton;
    return Ask(kind, text, buttons);
  }
  // A message box with only an OK button.
  virtual void ShowMessage(MessageKind kind, const std::string& text) = 0;

  virtual std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialDir) = 0;

  // Shows a window of the program modally; returns its modal result.
  virtual int ShowModal(Window& window) = 0;

  virtual void SetBusyCursor(bool busy) = 0;
  virtual void ShowWaitHint(const std::string& text) = 0;
  virtual void HideWaitHint() = 0;
  virtual void Beep() = 0;
  // A short pause during which the windows are repainted (a flash of colour).
  virtual void PauseWithRepaint(int milliseconds) = 0;
  // Runs `call` on the user-interface thread and waits for it.
  virtual void RunOnUiThread(const std::function<void()>& call) = 0;
  // A window's state changed outside an event of its view; views refresh themselves.
  virtual void WindowChanged(Window& window) { (void)window; }

  // Background work. The defaults use the port's own queue of the user-interface thread
  // (the thread that created the port); the Qt port uses its event loop instead.
  // Runs `call` later on the user-interface thread, without waiting for it.
  virtual void PostToUiThread(std::function<void()> call) { queue_.Post(std::move(call)); }
  // Lets the windows process their pending messages: calls of other threads and due
  // timers; when nothing is pending, waits up to `milliseconds` for something to come.
  virtual void ProcessMessages(int milliseconds) { queue_.Process(milliseconds); }
  // A repeating timer on the user-interface thread; the result is the id StopTimer takes.
  virtual int StartTimer(int intervalMs, std::function<void()> onTick) {
    return queue_.StartTimer(intervalMs, std::move(onTick));
  }
  virtual void StopTimer(int id) { queue_.StopTimer(id); }

 protected:
  UiThreadQueue& UiQueue() { return queue_; }

 private:
  UiThreadQueue queue_;
};

// The port the program runs with; the GUI, the command line and each test install theirs.
UiPort& Ui();
void SetUi(UiPort* port);

// Shortcuts for the common boxes.
inline void ShowInfo(const std::string& text) { Ui().ShowMessage(MessageKind::Information, text); }
inline void ShowWarning(const std::string& text) { Ui().ShowMessage(MessageKind::Warning, text); }
inline void ShowErrorBox(const std::string& text) { Ui().ShowMessage(MessageKind::Error, text); }
inline bool AskYesNo(const std::string& text) { return Ui().Ask(MessageKind::Confirmation, text, Buttons::YesNo) == Answer::Yes; }

// Sets the hourglass cursor for a scope and puts the normal one back however it ends.
class BusyCursor {
 public:
  BusyCursor() { Ui().SetBusyCursor(true); }
  ~BusyCursor() { Ui().SetBusyCursor(false); }
  BusyCursor(const BusyCursor&) = delete;
  BusyCursor& operator=(const BusyCursor&) = delete;
};

}  // namespace velkar
