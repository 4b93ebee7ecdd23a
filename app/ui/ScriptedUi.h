// A UI port driven by a script: queued answers and file names, and a record of every
// message, question and window shown, so tests assert the exact Polish texts.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "app/ui/UiPort.h"

namespace velkar {

class ScriptedUi final : public UiPort {
 public:
  struct Shown {
    MessageKind kind;
    std::string text;
    bool question;
    Answer defaultButton = Answer::Ok;  // of a question: Yes or Ok unless it named another
  };

  ScriptedUi();
  ~ScriptedUi() override;  // puts the previous port back

  // Queues the answer to the next question; with none queued a question is Cancel.
  void QueueAnswer(Answer answer) { answers_.push_back(answer); }
  // Queues the result of the next file or folder dialog; an empty text is Cancel.
  void QueueFileName(std::string name) { fileNames_.push_back(std::move(name)); }
  // What the next modal window does while shown; it returns the modal result.
  void QueueModal(std::function<int(Window&)> handler) { modals_.push_back(std::move(handler)); }

  const std::vector<Shown>& Messages() const { return shown_; }
  std::string LastMessage() const { return shown_.empty() ? std::string() : shown_.back().text; }
  bool WasShown(const std::string& text) const;
  const std::vector<std::string>& ModalWindows() const { return modalWindows_; }
  const std::vector<FileDialogOptions>& FileDialogs() const { return dialogs_; }
  int BusyDepth() const { return busy_; }
  int Beeps() const { return beeps_; }
  const std::vector<std::string>& WaitHints() const { return hints_; }
  bool WaitHintVisible() const { return hintVisible_; }
  int Pauses() const { return pauses_; }
  void Clear() { shown_.clear(); }

  Answer Ask(MessageKind kind, const std::string& text, Buttons buttons) override;
  Answer AskWithDefault(MessageKind kind, const std::string& text, Buttons buttons, Answer defaultButton) override;
  void ShowMessage(MessageKind kind, const std::string& text) override;
  std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) override;
  std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialDir) override;
  int ShowModal(Window& window) override;
  void SetBusyCursor(bool busy) override { busy_ += busy ? 1 : -1; }
  void ShowWaitHint(const std::string& text) override {
    hints_.push_back(text);
    hintVisible_ = true;
  }
  void HideWaitHint() override { hintVisible_ = false; }
  void Beep() override { ++beeps_; }
  void PauseWithRepaint(int) override { ++pauses_; }
  void RunOnUiThread(const std::function<void()>& call) override { UiQueue().RunAndWait(call); }

 private:
  std::optional<std::string> NextFileName();

  UiPort* previous_;
  std::deque<Answer> answers_;
  std::deque<std::string> fileNames_;
  std::deque<std::function<int(Window&)>> modals_;
  std::vector<Shown> shown_;
  std::vector<std::string> modalWindows_;
  std::vector<FileDialogOptions> dialogs_;
  std::vector<std::string> hints_;
  bool hintVisible_ = false;
  int busy_ = 0;
  int beeps_ = 0;
  int pauses_ = 0;
};

}  // namespace velkar
