// Every window the program creates, shown offscreen at the default fonts: every label,
// button, check box and group title has the room its text needs, and the editor fits a
// 1366 x 768 screen. The walk takes the windows as start-up creates them, so a window
// added to the program is checked without changing this test.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <memory>
#include <string>
#include <vector>

#include "app/ui/ScriptedUi.h"
#include "cli/Program.h"
#include "gui/QtUi.h"
#include "gui/Views.h"
#include "tests/support/TempDir.h"

using namespace velkar;

namespace {

QString Shown(QString text) { return text.remove(QRegularExpression("&(?!&)")); }

// What of `top` does not show its text whole, as "widget 'text'" lines.
std::vector<std::string> Clipped(QWidget* top) {
  std::vector<std::string> clipped;
  auto report = [&](QWidget* widget, const QString& text) {
    clipped.push_back(gui::S(widget->objectName() + " '" + text + "' " + QString::number(widget->width()) + "x" +
                             QString::number(widget->height())));
  };
  for (QLabel* label : top->findChildren<QLabel*>()) {
    if (!label->isVisibleTo(top) || label->text().isEmpty()) continue;
    bool fits = label->wordWrap() ? label->heightForWidth(label->width()) <= label->height()
                                  : label->sizeHint().width() <= label->width() &&
                                        label->fontMetrics().height() <= label->contentsRect().height();
    if (!fits) report(label, label->text());
  }
  for (QAbstractButton* button : top->findChildren<QAbstractButton*>()) {
    if (!button->isVisibleTo(top) || button->text().isEmpty()) continue;
    QFontMetrics metrics = button->fontMetrics();
    bool fits = qobject_cast<QPushButton*>(button)
                    ? metrics.horizontalAdvance(Shown(button->text())) + 8 <= button->width() &&
                          metrics.height() <= button->height()
                    : button->sizeHint().width() <= button->width() && button->sizeHint().height() <= button->height();
    if (!fits) report(button, button->text());
  }
  for (QGroupBox* box : top->findChildren<QGroupBox*>()) {
    if (!box->isVisibleTo(top) || box->title().isEmpty()) continue;
    if (box->fontMetrics().horizontalAdvance(Shown(box->title())) + 16 > box->width()) report(box, box->title());
  }
  return clipped;
}

}  // namespace

TEST(Captions, EveryWindowShowsItsCaptionsWhole) {
  int argc = 1;
  char name[] = "gui_tests";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  gui::LoadPolishTranslations(app);
  gui::RegisterViews();
  ScriptedUi ui;
  test::TempDir dir;
  std::string ini = dir.Write("firma.ini",
                              "[System]\nNIP=5250001090\nNazwa=Przedsiębiorstwo Handlowo-Usługowe Żółw Sp. z o.o.\n"
                              "Email=biuro@firma.pl\nUSCode=1471\nNazwaSystemu=Velkar\nSaveDir=" +
                                  dir.Path() + "\n");
  Program program;
  program.Create({"velkar", "/ini=" + ini});
  program.JpkVatDlg->RefreshInfo();  // the editor with its longest group caption

  // The check itself sees a caption that needs more room than it has.
  QWidget probe;
  auto* tight = new QLabel("Kwota wydatkowana na zakup kas rejestrujących (P_49)", &probe);
  tight->setGeometry(0, 0, 80, 12);
  auto* button = new QPushButton("&Przelicz deklarację", &probe);
  button->setGeometry(0, 20, 40, 30);
  probe.show();
  EXPECT_EQ(Clipped(&probe).size(), 2u);

  std::vector<Window*> windows = Window::LiveWindows();
  ASSERT_GE(windows.size(), 4u);
  for (Window* window : windows) {
    SCOPED_TRACE(window->Name);
    std::unique_ptr<QWidget> view = gui::QtUi::CreateView(*window, nullptr);
    ASSERT_TRUE(view) << "no view for " << window->Name;
    view->show();
    QApplication::processEvents();
    for (const std::string& widget : Clipped(view.get())) ADD_FAILURE() << "clipped: " << widget;
    EXPECT_LE(view->width(), 1366);
    EXPECT_LE(view->height(), 738);  // 768 less the title bar
    view->hide();
  }
}
