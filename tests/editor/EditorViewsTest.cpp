// The Qt views of the editor windows, offscreen: they show the window objects' state and
// forward clicks and typing to their handlers.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimer>

#include "gui/JpkVatDlgView.h"
#include "gui/LinkAskView.h"
#include "gui/ParagonDlgView.h"
#include "gui/QtUi.h"
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
  // The designed size is the least; the layout may grow it for the captions, within 1366 x 768.
  EXPECT_GE(view.width(), 953);
  EXPECT_GE(view.height(), 718);
  EXPECT_LE(view.width(), 1366);
  EXPECT_LE(view.height(), 738);
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

TEST_F(EditorViewsTest, JpkV7m3DocumentShowsP360TheKsefCountAndItsRefundTerms) {
  Settings().CurDate = DateTime{2026, 3, 15};
  V7mFile file = V7mFile::V3();
  file.sales = {Ksef(Sale(1, {{"K_19", "100"}, {"K_20", "23"}, {"K_360", "3"}}), "BFK"),
                Sale(2, {{"K_19", "10"}, {"K_20", "2.3"}})};
  file.saleTax = "22.3";
  file.purchases = {Ksef(Purchase(1, {{"K_42", "1000"}, {"K_43", "230"}}), "DI")};
  file.purchaseTax = "230";
  Adopt(file);
  ASSERT_TRUE(dlg.btnRecalcDeclarationClick());
  gui::JpkVatDlgView view(dlg, nullptr);
  view.show();
  EXPECT_EQ(view.Edit("edStructure")->text(), QString("JPK_V7M (3)"));
  QLineEdit* missing = view.Edit("edKsefMissing");
  ASSERT_NE(missing, nullptr);
  EXPECT_TRUE(missing->isVisible());
  EXPECT_EQ(missing->text(), QString("1"));
  EXPECT_EQ(missing->palette().color(QPalette::Base), QColor(255, 0, 0));
  EXPECT_EQ(missing->toolTip(), QString::fromUtf8("Bez numeru KSeF ani znacznika OFF, BFK, DI: FV/2/2024"));
  QLineEdit* p360 = view.Edit("edP360");
  ASSERT_NE(p360, nullptr);
  EXPECT_TRUE(p360->isVisible());
  EXPECT_EQ(p360->text(), QString("3"));
  auto* sixty = view.findChild<QRadioButton*>("rbZwrot57");
  auto* forty = view.findChild<QRadioButton*>("rbZwrot560");
  ASSERT_NE(sixty, nullptr);
  ASSERT_NE(forty, nullptr);
  EXPECT_FALSE(sixty->isVisible());
  EXPECT_FALSE(forty->isEnabled());
  QTest::keyClicks(view.Edit("edP54"), "100");
  EXPECT_TRUE(forty->isEnabled());
  QTest::mouseClick(forty, Qt::LeftButton);
  view.findChild<QPushButton*>("btnRecalcDeclaration")->click();
  EXPECT_EQ(Position("P_560"), "1");
  EXPECT_TRUE(forty->isChecked());

  // A JPK_V7M(2) document brings the 60 days back and hides what only JPK_V7M(3) has.
  V7mFile v2;
  v2.sales = {Sale(1, {{"K_19", "10"}, {"K_20", "2.3"}})};
  Adopt(v2);
  view.Refresh();
  EXPECT_EQ(view.Edit("edStructure")->text(), QString("JPK_V7M (2)"));
  EXPECT_TRUE(sixty->isVisible());
  EXPECT_FALSE(p360->isVisible());
  EXPECT_FALSE(missing->isVisible());
}

TEST_F(EditorViewsTest, ParagonViewFiltersKeysAndKeepsARefusedDialogOpen) {
  gui::ParagonDlgView view(paragon, nullptr);
  paragon.edDowodSprzedazy.Text = "RF";
  view.show();
  EXPECT_GE(view.width(), 464);
  EXPECT_GE(view.height(), 276);
  QLineEdit* net = view.Edit("edNet23");
  ASSERT_NE(net, nullptr);
  QTest::keyClicks(net, "1x00,5,");
  EXPECT_EQ(net->text(), QString("100.5"));
  EXPECT_EQ(paragon.edNet23.Text, "100.5");
  EXPECT_EQ(ui.Beeps(), 2);
  EXPECT_EQ(view.Edit("edTotal")->text(), QString("100.50"));
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

TEST_F(EditorViewsTest, ATypoIsShownTheWindowStaysAndTheFocusGoesToTheEdit) {
  V7mFile file;
  file.sales = {Sale(1, {{"K_19", "1000"}, {"K_20", "230"}})};
  file.saleTax = "230";
  file.positions = {{"P_38", "230"}, {"P_51", "230"}};
  Adopt(file);
  gui::JpkVatDlgView view(dlg, nullptr);
  view.show();
  view.activateWindow();
  QLineEdit* p39 = view.Edit("edP39");
  p39->setFocus();
  QTest::keyClicks(p39, "1000,50");
  view.Edit("edP52")->setFocus();  // the user went on to another edit
  ASSERT_NE(view.focusWidget(), p39);
  view.findChild<QPushButton*>("btnRecalcDeclaration")->click();
  EXPECT_EQ(ui.LastMessage(), "Pole P_39: '1000,50' nie jest poprawną liczbą całkowitą");
  EXPECT_EQ(ui.Messages().back().kind, MessageKind::Error);
  EXPECT_TRUE(view.isVisible());
  EXPECT_EQ(view.focusWidget(), p39);
  EXPECT_EQ(p39->text(), QString("1000,50"));  // the typed text stays for correcting
  EXPECT_EQ(Position("P_39"), "(brak)");
}

TEST_F(EditorViewsTest, DisabledEditsLookDisabledAndTakeNoTyping) {
  V7mFile file;
  file.positions = {{"P_38", "230"}, {"P_48", "300"}, {"P_51", "0"}};  // P_48 >= P_38: P_49, P_50 disabled
  Adopt(file);
  gui::JpkVatDlgView view(dlg, nullptr);
  view.show();
  for (const char* name : {"edP49", "edP50", "edP54", "edP60", "edP61"}) {
    QLineEdit* edit = view.Edit(name);
    ASSERT_NE(edit, nullptr) << name;
    EXPECT_FALSE(edit->isEnabled()) << name;
    EXPECT_EQ(edit->palette().color(QPalette::Disabled, QPalette::Base), QColor(0xF0, 0xF0, 0xF0)) << name;
    EXPECT_NE(edit->palette().color(QPalette::Disabled, QPalette::Text), QColor(0, 0, 0)) << name;
  }
  EXPECT_EQ(view.Edit("edP39")->palette().color(QPalette::Active, QPalette::Base), QColor(255, 255, 255));
  QTest::keyClicks(view.Edit("edP49"), "77");
  EXPECT_EQ(dlg.edP49.Text, "");
}

TEST_F(EditorViewsTest, LinkAskHasAcceleratorsAndEscapeChangesNothing) {
  gui::LinkAskView view(linkAsk, nullptr);
  view.show();
  EXPECT_EQ(view.findChild<QPushButton*>("btnNewJPK")->text(), QString("&Nowy plik"));
  EXPECT_EQ(view.findChild<QPushButton*>("btnLinkJPK")->text(), QString::fromUtf8("&Połącz pliki"));
  QTest::keyClick(&view, Qt::Key_Escape);
  EXPECT_FALSE(view.isVisible());
  EXPECT_EQ(linkAsk.ModalResultValue, mrCancel);
}

TEST_F(EditorViewsTest, QuestionsClosedWithoutAnAnswerAreCancelAndNameTheirDefault) {
  gui::QtUi qt;
  SetUi(&qt);
  auto answerWith = [](int key) {
    QTimer::singleShot(0, [key] {
      QWidget* box = QApplication::activeModalWidget();
      ASSERT_NE(box, nullptr);
      QTest::keyClick(box, static_cast<Qt::Key>(key));
    });
  };
  answerWith(Qt::Key_Escape);
  EXPECT_EQ(qt.Ask(MessageKind::Confirmation, "Zapisać dokonane zmiany?", Buttons::YesNo), Answer::Cancel);
  answerWith(Qt::Key_Return);
  EXPECT_EQ(qt.Ask(MessageKind::Confirmation, "Zapisać dokonane zmiany?", Buttons::YesNo), Answer::Yes);
  answerWith(Qt::Key_Return);
  EXPECT_EQ(qt.AskWithDefault(MessageKind::Confirmation, "Zaakceptować?", Buttons::YesNo, Answer::No), Answer::No);
  answerWith(Qt::Key_Escape);
  EXPECT_EQ(qt.Ask(MessageKind::Confirmation, "Zakończyć program?", Buttons::OkCancel), Answer::Cancel);
  SetUi(&ui);
}

TEST(FileDialogStart, TheLastFileNamesItsFolderOnce) {
  FileDialogOptions options;
  options.initialDir = "/dir/";
  options.fileName = "/dir/a.xml";
  EXPECT_EQ(gui::DialogStart(options), QString("/dir/a.xml"));
  options.fileName = "a.xml";
  EXPECT_EQ(gui::DialogStart(options), QString("/dir/a.xml"));
  options.fileName.clear();
  EXPECT_EQ(gui::DialogStart(options), QString("/dir/"));
}
