// The Qt view of "Nowy JPK_V7M", offscreen: it shows the window's controls by their names
// and forwards the choices and the "Generuj" click.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "gui/GenJpkVatDlgView.h"
#include "tests/generate/GenerateFixture.h"

using namespace velkar;
using namespace velkar::test;

namespace {
int argc = 1;
char name[] = "generate_view_tests";
char* argv[] = {name, nullptr};
}  // namespace

class GenJpkVatDlgViewTest : public GenerateTest {
 protected:
  QApplication app{argc, argv};
};

TEST_F(GenJpkVatDlgViewTest, ShowsTheChoicesAndGenerates) {
  Settings().TulvoDir.clear();
  WriteUsers();
  WriteRecords(dir.File("Fennik/2024/Register.db"), FennikFields(),
               {{{"Number", 1LL}, {"RegId", 1LL}, {"VATMonth", 2LL}, {"DocName", "FV 1"}, {"FirmId", 1LL},
                 {"RegDate", D("2024-02-05")}, {"SaleDate", D("2024-02-05")}, {"Net22", 10.0}, {"Vat22", 2.3}}});
  gui::GenJpkVatDlgView view(Dialog(), nullptr);
  view.show();
  EXPECT_EQ(view.windowTitle(), QString("Nowy JPK_V7M"));
  auto* tulvo = view.findChild<QRadioButton*>("rbTulvo");
  ASSERT_NE(tulvo, nullptr);
  EXPECT_FALSE(tulvo->isEnabled());
  auto* v7k = view.findChild<QCheckBox*>("cbV7K");
  ASSERT_NE(v7k, nullptr);
  EXPECT_FALSE(v7k->isEnabled());
  auto* dtp = view.findChild<QDateEdit*>("dtp");
  ASSERT_NE(dtp, nullptr);
  EXPECT_EQ(dtp->date(), QDate(2024, 3, 1));
  EXPECT_EQ(dtp->displayFormat(), QString("MMMM yyyy"));
  EXPECT_TRUE(dtp->text().endsWith(" 2024")) << dtp->text().toStdString();

  dtp->setDate(QDate(2024, 2, 1));
  view.findChild<QRadioButton*>("rbFennik")->click();
  EXPECT_TRUE(gen->rbFennik.Checked);
  EXPECT_FALSE(gen->rbGradmo.Checked);
  view.findChild<QCheckBox*>("cbBuy")->click();
  EXPECT_FALSE(gen->cbBuy.Checked);
  view.findChild<QPushButton*>("btnDoIt")->click();
  EXPECT_EQ(gen->ModalResultValue, mrOk);
  EXPECT_EQ(Settings().CurDate, (DateTime{2024, 2, 1}));
  ASSERT_TRUE(editor.LoadedJpk);
  EXPECT_EQ(Sales().size(), 1u);
}
