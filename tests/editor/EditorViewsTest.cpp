// The Qt views of the editor windows, offscreen: they show the window objects' state and
// forward clicks and typing to their handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "gui/JpkVatDlgView.h"
#include "gui/LinkAskView.h"
#include "gui/ParagonDlgView.h"
#include "tests/editor/V7mFixture.h"

using namespace velkar;
using namespace velkar::test;

namespace {
int argc = 1;
char name[] = "editor_views_tests";
char* argv[] = {name, nullptr};
}  // namespace

class EditorViewsTest : public EditorTest {
 protected:
  QApplication app{argc, argv};
};

TEST_F(EditorViewsTest, EditorViewShowsTheDocumentAndRecalculates) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "4347.83"}, {"K_20", "1000"}})};
  file.saleTax = "1000";
  file.purchases = {Purchase(1, {{"K_42", "5217.39"}, {"K_43", "1200"}})};
  file.purchaseTax = "1200";
  file.positions = {{"P_38", "999"}, {"P_48", "1200"}, {"P_51", "0"}, {"P_53", "201"}};
  Adopt(file);
  gui::JpkVatDlgView view(dlg, nullptr);
  view.show();
  EXPECT_EQ(view.size(), QSize(953, 718));
  EXPECT_EQ(view.windowTitle(), QString("nowy plik - Torvik JPK"));
  QLineEdit* p38 = view.Edit("edP38");
  ASSERT_NE(p38, nullptr);
  EXPECT_EQ(p38->text(), QString("999"));
  EXPECT_TRUE(p38->isReadOnly());
  EXPECT_EQ(p38->palette().color(QPalette::Base), QColor(255, 0, 0));
  EXPECT_EQ(p38->toolTip(),
            QString::fromUtf8("podatek w deklaracji: 999, podatek w ewidencji: 1000.00 (różnica: -1.00)"));
  auto* group = view.findChild<QGroupBox*>("gbNadwyzkaPodatku");
  ASSERT_NE(group, nullptr);
  EXPECT_TRUE(group->isEnabled());
  auto* radio = view.findChild<QRadioButton*>("rbZwrot57");
  ASSERT_NE(radio, nullptr);
  EXPECT_FALSE(radio->isEnabled());

  // Typing a refund enables the terms; a click chooses one; the button recalculates.
  QTest::keyClicks(view.Edit("edP54"), "150");
  EXPECT_EQ(dlg.edP54.Text, "150");
  EXPECT_TRUE(radio->isEnabled());
  QTest::mouseClick(radio, Qt::LeftButton);
  EXPECT_TRUE(dlg.rbZwrot57.Checked);
  view.findChild<QPushButton*>("btnRecalcDeclaration")->click();
  EXPECT_EQ(p38->text(), QString("1000"));
  EXPECT_EQ(p38->palette().color(QPalette::Base), QColor(0xF0, 0xF0, 0xF0));
  EXPECT_EQ(view.Edit("edP62")->text(), QString("50"));
  EXPECT_TRUE(radio->isChecked());
  EXPECT_EQ(view.windowTitle(), QString("*nowy plik - Torvik JPK"));

  // The receipt button asks first; closed without an answer, nothing changes.
  view.findChild<QPushButton*>("btnAddParagonSale")->click();
  EXPECT_EQ(ui.LastMessage(), "Brak wpisu ze sprzedażą paragonową.\rUtworzyć taką pozycję?");
  EXPECT_TRUE(ui.ModalWindows().empty());
}

TEST_F(EditorViewsTest, ParagonViewFiltersKeysAndKeepsARefusedDialogOpen) {
  gui::ParagonDlgView view(paragon, nullptr);
  paragon.edDowodSprzedazy.Text = "RF";
  view.show();
  EXPECT_EQ(view.size(), QSize(464, 276));
  QLineEdit* net = view.Edit("edNet23");
  ASSERT_NE(net, nullptr);
  QTest::keyClicks(net, "1x00,5,");
  EXPECT_EQ(net->text(), QString("100.5"));
  EXPECT_EQ(paragon.edNet23.Text, "100.5");
  EXPECT_EQ(ui.Beeps(), 2);
  EXPECT_EQ(view.Edit("edTotal")->text(), QString("100.5"));
  view.findChild<QPushButton*>("btnSave")->click();
  EXPECT_EQ(ui.LastMessage(), "Brak wartości podatku w stawce 23%");
  EXPECT_TRUE(view.isVisible());
  QTest::keyClicks(view.Edit("edTax23"), "23.12");
  EXPECT_EQ(view.Edit("edDiffV23")->text(), QString("0"));
  view.findChild<QPushButton*>("btnSave")->click();
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(view.result(), QDialog::Accepted);
  EXPECT_EQ(paragon.ModalResultValue, mrOk);
}

TEST_F(EditorViewsTest, LinkAskViewAnswersWithItsButtons) {
  gui::LinkAskView view(linkAsk, nullptr);
  view.show();
  EXPECT_EQ(view.size(), QSize(234, 197));
  EXPECT_EQ(view.windowTitle(), QString("Wczytaj plik jako..."));
  auto* link = view.findChild<QPushButton*>("btnLinkJPK");
  ASSERT_NE(link, nullptr);
  EXPECT_EQ(link->size(), QSize(180, 60));
  link->click();
  EXPECT_EQ(linkAsk.ModalResultValue, mrYes);
  view.show();
  view.reject();
  EXPECT_EQ(linkAsk.ModalResultValue, mrCancel);
}
