// The UI port of the Qt GUI: message boxes, file dialogs, the wait hint, and modal
// display of a window object through the view registered for it.
#pragma once

#include <QTimer>
#include <QWidget>
#include <functional>
#include <map>
#include <memory>

#include "app/ui/Controls.h"
#include "app/ui/UiPort.h"

class QApplication;
class QLabel;


namespace velkar::gui {

class QtUi final : public UiPort {
 public:
  // A view factory builds the dialog that shows a window object (by its class name).
  using ViewFactory = std::function<std::unique_ptr<QWidget>(Window&, QWidget* parent)>;
  static void RegisterView(const std::string& windowName, ViewFactory factory);
  // The view of a window object, built by the factory registered for its class name; null
  // when none is registered.
  static std::unique_ptr<QWidget> CreateView(Window& window, QWidget* parent);

  Answer Ask(MessageKind kind, const std::string& text, Buttons buttons) override;
  Answer AskWithDefault(MessageKind kind, const std::string& text, Buttons buttons, Answer defaultButton) override;
  void ShowMessage(MessageKind kind, const std::string& text) override;
  std::optional<std::string> OpenFileDialog(const FileDialogOptions& options) override;
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) override;
  std::optional<std::string> BrowseFolder(const std::string& title, const std::string& initialDir) override;
  int ShowModal(Window& window) override;
  void SetBusyCursor(bool busy) override;
  void ShowWaitHint(const std::string& text) override;
  void HideWaitHint() override;
  void Beep() override;
  void PauseWithRepaint(int milliseconds) override;
  void RunOnUiThread(const std::function<void()>& call) override;
  void WindowChanged(Window& window) override;
  void PostToUiThread(std::function<void()> call) override;
  void ProcessMessages(int milliseconds) override;
  int StartTimer(int intervalMs, std::function<void()> onTick) override;
  void StopTimer(int id) override;

  // A view registers itself while it is shown, to be refreshed on WindowChanged.
  void SetActiveView(Window* window, std::function<void()> refresh);

 private:
  std::unique_ptr<QLabel> hint_;
  std::map<Window*, std::function<void()>> refreshers_;
  std::map<int, std::unique_ptr<QTimer>> timers_;
  int nextTimer_ = 1;
};

// Where a file dialog opens: the last file (a full path stands alone) or the initial folder.
QString DialogStart(const FileDialogOptions& options);

// Qt's own Polish translations (Debian: qt6-translations-l10n), so the standard buttons
// and dialogs read "Tak", "Nie", "Anuluj"; without them the texts stay Qt's own.
void LoadPolishTranslations(QApplication& app);

// "Plik JPK|*.xml" as a Qt filter "Plik JPK (*.xml)".
QString QtFilter(const std::string& filter);
QString Q(const std::string& utf8);
std::string S(const QString& text);
// "&" captions stay Qt accelerators; colours of the program as Qt colours.
QColor QtColor(Color color);

}  // namespace velkar::gui
