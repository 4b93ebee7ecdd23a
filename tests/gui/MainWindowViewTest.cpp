// The Qt main window, offscreen: geometry, captions, enabled buttons, the firm's name.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPushButton>

#include "app/Settings.h"
#include "app/ui/ScriptedUi.h"
#include "gui/MainWindowView.h"

using namespace velkar;

TEST(MainWindowView, ShowsTheButtonsAndTheTaxpayerName) {
  int argc = 1;
  char name[] = "gui_tests";
  char* argv[] = {name, nullptr};
  QApplication app(argc, argv);
  ScriptedUi ui;
  Settings() = ProgramSettings{};
  Settings().Nazwa = "Firma Testowa";
  Settings().TulvoDir = "/t/";
  TMainForm form;
  form.Caption = "Torvik JPK - ver 1.4.2 build 89";
  form.labFirmName.Text = "Firma Testowa";
  gui::MainWindowView view(form);
  view.show();
  EXPECT_EQ(view.size(), QSize(554, 222));
  EXPECT_EQ(view.windowTitle(), QString("Torvik JPK - ver 1.4.2 build 89"));
  auto* label = view.findChild<QLabel*>("labFirmName");
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->text(), QString("Firma Testowa"));
  EXPECT_EQ(label->geometry(), QRect(10, 203, 534, 19));
  auto* v7m = view.findChild<QPushButton*>("btnJPK_V7M");
  ASSERT_NE(v7m, nullptr);
  EXPECT_EQ(v7m->geometry(), QRect(27, 30, 150, 60));
  EXPECT_EQ(v7m->text(), QString("JPK &V7M"));
  EXPECT_TRUE(v7m->isEnabled());
  EXPECT_FALSE(view.findChild<QPushButton*>("btnJPK_FA")->isEnabled());
  EXPECT_TRUE(view.findChild<QPushButton*>("btnJPK_KR")->isEnabled());
  EXPECT_EQ(view.findChild<QPushButton*>("btnExchangeFormat")->geometry(), QRect(377, 118, 150, 60));
  // Closing asks first; the scripted answer is Cancel, so the window stays.
  view.close();
  EXPECT_TRUE(view.isVisible());
  EXPECT_EQ(ui.LastMessage(), "Zakończyć program?");
}
