// The Qt view of TGenFromTulvoDlg, offscreen, on the Qt UI port: its size and controls,
// the running state while the task hands its progress over through the event loop, and
// the close at the task's end (the save question, dismissed, saves nothing).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDateEdit>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <cstdlib>

#include "gui/GenFromTulvoDlgView.h"
#include "gui/QtUi.h"
#include "tests/jpkfiles/JpkFixtures.h"
#include "tests/ledger/LedgerFixture.h"

using namespace velkar;

TEST(GenFromTulvoView, ShowsTheTaskRunningAndClosesAtItsEnd) {
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int argc = 1;
  char name[] = "ledger_gui_tests";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  gui::QtUi ui;
  SetUi(&ui);
  {
    test::TaxpayerScope taxpayer;
    test::LedgerWorkDir work;
    work.Write(2024, test::Ledger2024());
    Settings().TulvoDir = work.TulvoDir();
    db::Session session;
    std::vector<std::string> groups = test::AccountGroups();
    TGenFromTulvoDlg dlg(session, groups);
    gui::GenFromTulvoDlgView view(dlg, nullptr);
    view.show();
    EXPECT_EQ(view.size(), QSize(364, 183));
    EXPECT_EQ(view.windowTitle(), QString::fromUtf8("Generuj dane z programu Tulvo do JPK_KR"));
    auto* group = view.findChild<QGroupBox*>("GroupBox1");
    auto* bar = view.findChild<QProgressBar*>("ProgressBarKR");
    auto* status = view.findChild<QLabel*>("lblProgMsg");
    auto* button = view.findChild<QPushButton*>("btnDoIt");
    auto* picker = view.findChild<QDateEdit*>("dtp");
    ASSERT_TRUE(group && bar && status && button && picker);
    EXPECT_EQ(button->text(), QString("&Generuj"));
    EXPECT_EQ(picker->date(), QDate(2024, 3, 1));
    EXPECT_FALSE(bar->isVisible());

    // Questions are answered by closing their box, as a user pressing Escape.
    QStringList asked;
    QTimer dismiss;
    QObject::connect(&dismiss, &QTimer::timeout, [&] {
      for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible()) {
          asked << box->text();
          box->reject();
        }
    });
    dismiss.start(20);

    button->click();
    EXPECT_FALSE(group->isEnabled());
    EXPECT_TRUE(bar->isVisible());
    EXPECT_EQ(bar->maximum(), 5);
    EXPECT_EQ(status->text(), QString::fromUtf8("Proszę czekać..."));
    view.close();  // the close box does nothing while the task runs
    EXPECT_TRUE(view.isVisible());

    QElapsedTimer waited;
    waited.start();
    while ((view.isVisible() || dlg.Task) && waited.elapsed() < 60000) QApplication::processEvents(QEventLoop::AllEvents, 50);
    EXPECT_FALSE(view.isVisible());
    EXPECT_TRUE(dlg.MadeSuccessfully);
    EXPECT_TRUE(group->isEnabled());
    EXPECT_FALSE(bar->isVisible());
    ASSERT_EQ(asked.size(), 1);
    EXPECT_EQ(asked[0], QString::fromUtf8("Zapisać wygenerowany plik?"));
    EXPECT_EQ(dlg.JPKKR.DziennikCtrl().LiczbaWierszyDziennika(), 5);
  }
  SetUi(nullptr);
}
