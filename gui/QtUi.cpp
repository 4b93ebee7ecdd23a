// Qt implementation of the UI port.
#include "gui/QtUi.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QPushButton>
#include <QTranslator>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QLabel>
#include <QMessageBox>
#include <QMetaObject>
#include <QThread>
#include <QTimer>

#include "app/ui/Window.h"
#include "base/Text.h"

namespace velkar::gui {

namespace {
std::map<std::string, QtUi::ViewFactory>& Factories() {
  static std::map<std::string, QtUi::ViewFactory> factories;
  return factories;
}
}  // namespace

QString Q(const std::string& utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }
std::string S(const QString& text) { return text.toUtf8().toStdString(); }

QString QtFilter(const std::string& filter) {
  // "Name|*.ext|Other|*.x" -> "Name (*.ext);;Other (*.x)"
  auto parts = Q(filter).split('|');
  QStringList result;
  for (int i = 0; i + 1 < parts.size(); i += 2) result << parts[i] + " (" + parts[i + 1] + ")";
  return result.join(";;");
}

QColor QtColor(Color color) {
  auto value = static_cast<std::uint32_t>(color);
  return QColor((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF);
}

void QtUi::RegisterView(const std::string& windowName, ViewFactory factory) { Factories()[windowName] = std::move(factory); }

Answer QtUi::Ask(MessageKind kind, const std::string& text, Buttons buttons) {
  bool yesNo = buttons == Buttons::YesNo || buttons == Buttons::YesNoCancel;
  return AskWithDefault(kind, text, buttons, yesNo ? Answer::Yes : Answer::Ok);
}

Answer QtUi::AskWithDefault(MessageKind kind, const std::string& text, Buttons buttons, Answer defaultButton) {
  QString body = Q(ReplaceAll(text, "\r", "\n"));
  QMessageBox box(kind == MessageKind::Warning ? QMessageBox::Warning
                  : kind == MessageKind::Error ? QMessageBox::Critical
                                               : QMessageBox::Question,
                  QApplication::applicationDisplayName(), body, QMessageBox::NoButton, QApplication::activeWindow());
  switch (buttons) {
    case Buttons::Ok: box.setStandardButtons(QMessageBox::Ok); break;
    case Buttons::OkCancel: box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel); break;
    case Buttons::YesNo: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No); break;
    case Buttons::YesNoCancel: box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel); break;
  }
  // Escape and the close box answer nothing: Cancel. A Yes/No box gets a hidden Cancel
  // button for them, so they never count as No.
  QAbstractButton* cancel = box.button(QMessageBox::Cancel);
  if (!cancel) {
    cancel = box.addButton(QMessageBox::Cancel);
    cancel->hide();
  }
  box.setEscapeButton(cancel);
  QMessageBox::StandardButton preferred = defaultButton == Answer::No    ? QMessageBox::No
                                          : defaultButton == Answer::Yes ? QMessageBox::Yes
                                          : defaultButton == Answer::Ok  ? QMessageBox::Ok
                                                                         : QMessageBox::Cancel;
  if (auto* button = qobject_cast<QPushButton*>(box.button(preferred))) box.setDefaultButton(button);
  box.exec();
  QAbstractButton* clicked = box.clickedButton();
  if (!clicked || clicked == cancel) return Answer::Cancel;
  switch (box.standardButton(clicked)) {
    case QMessageBox::Ok: return Answer::Ok;
    case QMessageBox::Yes: return Answer::Yes;
    case QMessageBox::No: return Answer::No;
    default: return Answer::Cancel;
  }
}

void QtUi::ShowMessage(MessageKind kind, const std::string& text) {
  QString body = Q(ReplaceAll(text, "\r", "\n"));
  QWidget* parent = QApplication::activeWindow();
  QString title = QApplication::applicationDisplayName();
  if (kind == MessageKind::Error) QMessageBox::critical(parent, title, body);
  else if (kind == MessageKind::Warning) QMessageBox::warning(parent, title, body);
  else QMessageBox::information(parent, title, body);
}

QString DialogStart(const FileDialogOptions& options) {
  // The last file's name may be a full path already: it names the folder then, and is not
  // put after the initial folder a second time.
  QString name = Q(options.fileName);
  if (name.isEmpty()) return Q(options.initialDir);
  if (QDir::isAbsolutePath(name) || options.initialDir.empty()) return name;
  return QDir(Q(options.initialDir)).filePath(name);
}

std::optional<std::string> QtUi::OpenFileDialog(const FileDialogOptions& options) {
  QString name = QFileDialog::getOpenFileName(QApplication::activeWindow(), Q(options.title), DialogStart(options),
                                              QtFilter(options.filter));
  if (name.isEmpty()) return {};
  return S(name);
}

std::optional<std::string> QtUi::SaveFileDialog(const FileDialogOptions& options) {
  QFileDialog dialog(QApplication::activeWindow(), Q(options.title), Q(options.initialDir), QtFilter(options.filter));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setDefaultSuffix(Q(options.defaultExt));
  dialog.selectFile(Q(options.fileName));
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
  return S(dialog.selectedFiles().front());
}

std::optional<std::string> QtUi::BrowseFolder(const std::string& title, const std::string& initialDir) {
  QString dir = QFileDialog::getExistingDirectory(QApplication::activeWindow(), Q(title), Q(initialDir));
  if (dir.isEmpty()) return {};
  return S(dir);
}

std::unique_ptr<QWidget> QtUi::CreateView(Window& window, QWidget* parent) {
  auto it = Factories().find(window.Name);
  if (it == Factories().end()) return nullptr;
  return it->second(window, parent);
}

int QtUi::ShowModal(Window& window) {
  std::unique_ptr<QWidget> view = CreateView(window, QApplication::activeWindow());
  auto* dialog = qobject_cast<QDialog*>(view.get());
  if (!dialog) return mrCancel;
  dialog->exec();
  return window.ModalResultValue;
}

void QtUi::SetBusyCursor(bool busy) {
  if (busy) QApplication::setOverrideCursor(Qt::WaitCursor);
  else QApplication::restoreOverrideCursor();
}

void QtUi::ShowWaitHint(const std::string& text) {
  if (!hint_) {
    hint_ = std::make_unique<QLabel>();
    hint_->setWindowFlags(Qt::ToolTip);
    hint_->setMargin(12);
    hint_->setAlignment(Qt::AlignCenter);
  }
  hint_->setText(Q(text));
  hint_->adjustSize();
  if (QWidget* active = QApplication::activeWindow()) {
    QPoint centre = active->geometry().center();
    hint_->move(centre - QPoint(hint_->width() / 2, hint_->height() / 2));
  }
  hint_->show();
  hint_->repaint();
  QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void QtUi::HideWaitHint() {
  if (hint_) hint_->hide();
}

void QtUi::Beep() { QApplication::beep(); }

void QtUi::PauseWithRepaint(int milliseconds) {
  for (auto& [window, refresh] : refreshers_) refresh();
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < milliseconds) {
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 20);
    QThread::msleep(10);
  }
}

void QtUi::RunOnUiThread(const std::function<void()>& call) {
  if (QThread::currentThread() == qApp->thread()) {
    call();
    return;
  }
  QMetaObject::invokeMethod(qApp, call, Qt::BlockingQueuedConnection);
}

void QtUi::WindowChanged(Window& window) {
  auto it = refreshers_.find(&window);
  if (it != refreshers_.end()) it->second();
}

void QtUi::SetActiveView(Window* window, std::function<void()> refresh) {
  if (refresh) refreshers_[window] = std::move(refresh);
  else refreshers_.erase(window);
}

void QtUi::PostToUiThread(std::function<void()> call) {
  QMetaObject::invokeMethod(qApp, std::move(call), Qt::QueuedConnection);
}

void QtUi::ProcessMessages(int milliseconds) {
  if (milliseconds <= 0) {
    QApplication::processEvents();
    return;
  }
  // A timer makes sure the wait for more events ends after `milliseconds`.
  QTimer limit;
  limit.setSingleShot(true);
  limit.start(milliseconds);
  QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

int QtUi::StartTimer(int intervalMs, std::function<void()> onTick) {
  auto timer = std::make_unique<QTimer>();
  timer->setInterval(intervalMs);
  QObject::connect(timer.get(), &QTimer::timeout, std::move(onTick));
  timer->start();
  int id = nextTimer_++;
  timers_[id] = std::move(timer);
  return id;
}

void QtUi::StopTimer(int id) {
  auto it = timers_.find(id);
  if (it == timers_.end()) return;
  it->second->stop();
  // A timer may be stopped from its own tick: delete it once control is back in the loop.
  it->second.release()->deleteLater();
  timers_.erase(it);
}

}  // namespace velkar::gui

namespace velkar::gui {

void LoadPolishTranslations(QApplication& app) {
  QLocale::setDefault(QLocale(QLocale::Polish, QLocale::Poland));
  QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  for (const char* name : {"qtbase_pl", "qt_pl"}) {
    auto* translator = new QTranslator(&app);
    if (translator->load(QString::fromLatin1(name), folder)) {
      app.installTranslator(translator);
      return;
    }
    delete translator;
  }
}

}  // namespace velkar::gui
