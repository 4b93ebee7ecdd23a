// The Qt view of the converter, offscreen: it shows the window object's controls, passes
// the choices to it and runs a conversion with its button.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "gui/ExchFormatDlgView.h"
#include "tests/exchange/ExchangeFixture.h"

namespace velkar::test {
namespace {

int argc = 1;
char name[] = "converter_views_tests";
char* argv[] = {name, nullptr};

class ExchFormatDlgViewTest : public ExchangeTest {
 protected:
  QApplication app{argc, argv};
};

TEST_F(ExchFormatDlgViewTest, TheViewShowsTheDialogAndConverts) {
  gui::ExchFormatDlgView view(dlg, nullptr);
  view.show();
  EXPECT_EQ(view.windowTitle(), QString::fromUtf8("Konwersja danych"));
  auto* input = view.findChild<QComboBox*>("cbInputFormat");
  auto* output = view.findChild<QComboBox*>("cbOutputFormat");
  auto* file = view.findChild<QLineEdit*>("edInputFile");
  auto* folder = view.findChild<QLineEdit*>("edOutputFolder");
  auto* button = view.findChild<QPushButton*>("btnMakeIt");
  ASSERT_TRUE(input && output && file && folder && button);
  EXPECT_EQ(input->count(), 2);
  EXPECT_EQ(input->currentText(), QString("JPK_FA (4)"));
  EXPECT_EQ(output->count(), 3);
  EXPECT_EQ(output->currentText(), QString("JPK_V7M (2)"));
  EXPECT_EQ(folder->text(), QString::fromStdString(mainForm.RunDir));
  EXPECT_EQ(file->actions().size(), 1);
  EXPECT_FALSE(file->actions()[0]->icon().isNull());
  EXPECT_EQ(file->actions()[0]->toolTip(), QString("Wybierz plik"));
  EXPECT_TRUE(button->isDefault());

  V7mFile register_;
  register_.sales = {Sale(1, {{"K_19", "100"}, {"K_20", "23"}})};
  std::string in = dir.Write("rejestr.xml", register_.Xml());
  input->setCurrentIndex(1);
  output->setCurrentIndex(2);
  EXPECT_EQ(dlg.cbOutputFormat.Text, "Ramzes");
  QTest::keyClicks(file, QString::fromStdString(in));
  folder->clear();
  QTest::keyClicks(folder, QString::fromStdString(dir.Path()));
  button->click();
  EXPECT_EQ(ui.LastMessage(), "Zakończono konwersję\rSprawdź wygenerowane dane");
  EXPECT_TRUE(FileExists(dir.File("JPKVAT_to_Ramzes_rejestr.xml")));

  // The file button takes the chosen file into the edit.
  ui.QueueFileName(dir.File("inny.xml"));
  file->actions()[0]->trigger();
  EXPECT_EQ(file->text(), QString::fromStdString(dir.File("inny.xml")));
}

}  // namespace
}  // namespace velkar::test
