// The Qt view of the warehouse export dialog, offscreen: caption, controls by their names,
// the Polish month display, and "Generuj" without a format keeping the dialog open.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>

#include "app/Settings.h"
#include "app/ui/ScriptedUi.h"
#include "gui/GenFromGradmoView.h"

using namespace velkar;

TEST(GenFromGradmoView, ShowsTheControlsAndKeepsOpenWithoutAFormat) {
  int argc = 1;
  char name[] = "warehouse_views_tests";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  ScriptedUi ui;
  ProgramSettings old = Settings();
  Settings().CurDate = {2024, 3, 15};
  db::Session session;
  TGenFromGradmoDlg dlg(&session);
  dlg.cbToFormat.Text = "JPK_MAG";  // as the main window's button sets it
  gui::GenFromGradmoView view(dlg, nullptr);
  view.show();
  EXPECT_EQ(view.windowTitle(), QString("Generuj dane z Gradmo..."));
  EXPECT_EQ(view.findChild<QLabel*>("labPeriod")->text(), QString("Za okres:"));
  QDateEdit* dtp = view.findChild<QDateEdit*>("dtp");
  ASSERT_NE(dtp, nullptr);
  EXPECT_EQ(dtp->date(), QDate(2024, 3, 1));
  EXPECT_TRUE(dtp->text().endsWith("2024"));
  EXPECT_TRUE(dtp->text().startsWith("mar"));
  QComboBox* combo = view.findChild<QComboBox*>("cbToFormat");
  ASSERT_NE(combo, nullptr);
  EXPECT_TRUE(combo->isEditable());
  EXPECT_EQ(combo->count(), 6);
  EXPECT_EQ(combo->currentText(), QString("JPK_MAG"));
  EXPECT_EQ(view.findChild<QPushButton*>("btnDoIt")->text(), QString("&Generuj"));

  combo->setEditText("do formatu");
  view.DoIt();
  EXPECT_EQ(ui.LastMessage(), "Nie wybrano formatu w jakim mają być wygenerowane dane");
  EXPECT_TRUE(view.isVisible());
  EXPECT_EQ(dlg.ModalResultValue, mrNone);
  Settings() = old;
}
