// "Konwersja danych": a fixed dialog of labelled rows; the folder buttons sit inside the
// right end of their edits.
#include "gui/ExchFormatDlgView.h"

#include <QAction>
#include <QBitmap>
#include <QComboBox>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/EditBinding.h"
#include "gui/QtUi.h"

namespace velkar::gui {

namespace {

// The image of a right button from the dialog's image list; its bottom-left pixel is the
// transparent colour, as for every bitmap marked transparent.
QIcon ButtonIcon(const TImageList* images, int index) {
  if (!images || index < 0 || index >= static_cast<int>(images->Images.size())) return {};
  const TBitmap& bitmap = images->Images[static_cast<size_t>(index)];
  QPixmap pixmap;
  if (!pixmap.loadFromData(reinterpret_cast<const uchar*>(bitmap.Data.data()), static_cast<uint>(bitmap.Data.size()),
                           "BMP"))
    return {};
  if (bitmap.Transparent) {
    QImage image = pixmap.toImage();
    pixmap.setMask(QBitmap::fromImage(image.createMaskFromColor(image.pixel(0, image.height() - 1), Qt::MaskInColor)));
  }
  return QIcon(pixmap);
}

}  // namespace

ExchFormatDlgView::ExchFormatDlgView(TExchFormatDlg& dlg, QWidget* parent) : QDialog(parent), dlg_(dlg) {
  setObjectName(Q(dlg.Name));
  setWindowTitle(Q(dlg.Caption));
  setFixedSize(TExchFormatDlg::kWidth, TExchFormatDlg::kHeight);
  auto* layout = new QVBoxLayout(this);
  auto label = [&](const TLabel& control) {
    auto* widget = new QLabel(Q(control.Text), this);
    widget->setObjectName(Q(control.Name));
    layout->addWidget(widget);
  };
  label(dlg.labInputFormat);
  input_ = AddCombo(dlg.cbInputFormat);
  label(dlg.labInputFile);
  file_ = AddButtonedEdit(dlg.edInputFile, [this] { dlg_.edInputFileRightButtonClick(); });
  label(dlg.labOutputFormat);
  output_ = AddCombo(dlg.cbOutputFormat);
  label(dlg.labOutputFolder);
  folder_ = AddButtonedEdit(dlg.edOutputFolder, [this] { dlg_.edOutputFolderRightButtonClick(); });
  layout->addStretch();

  auto* button = new QPushButton(Q(dlg.btnMakeIt.Text), this);
  button->setObjectName(Q(dlg.btnMakeIt.Name));
  button->setDefault(true);
  auto* row = new QHBoxLayout;
  row->addStretch();
  row->addWidget(button);
  layout->addLayout(row);
  connect(button, &QPushButton::clicked, this, [this] {
    RunHandler([this] { dlg_.btnMakeItClick(); });
    Refresh();
  });
}

QComboBox* ExchFormatDlgView::AddCombo(TComboBox& control) {
  auto* combo = new QComboBox(this);
  combo->setObjectName(Q(control.Name));
  for (const std::string& item : control.Items) combo->addItem(Q(item));
  connect(combo, &QComboBox::currentIndexChanged, this, [&control, combo](int index) {
    control.ItemIndex = index;
    control.Text = S(combo->currentText());
  });
  layout()->addWidget(combo);
  return combo;
}

QLineEdit* ExchFormatDlgView::AddButtonedEdit(TButtonedEdit& control, const std::function<void()>& click) {
  auto* edit = new QLineEdit(this);
  edit->setObjectName(Q(control.Name));
  QAction* action =
      edit->addAction(ButtonIcon(dlg_.Images, control.RightButtonImageIndex), QLineEdit::TrailingPosition);
  action->setObjectName(Q(control.Name + "RightButton"));
  action->setToolTip(Q(control.RightButton.Hint));
  connect(edit, &QLineEdit::textEdited, this, [&control](const QString& text) { control.Text = S(text); });
  connect(action, &QAction::triggered, this, [this, click] {
    RunHandler(click);
    Refresh();
  });
  layout()->addWidget(edit);
  return edit;
}

void ExchFormatDlgView::Refresh() {
  auto setCombo = [](QComboBox* combo, const TComboBox& control) {
    int index = combo->findText(Q(control.Text));
    if (index >= 0 && index != combo->currentIndex()) combo->setCurrentIndex(index);
  };
  setCombo(input_, dlg_.cbInputFormat);
  setCombo(output_, dlg_.cbOutputFormat);
  if (file_->text() != Q(dlg_.edInputFile.Text)) file_->setText(Q(dlg_.edInputFile.Text));
  if (folder_->text() != Q(dlg_.edOutputFolder.Text)) folder_->setText(Q(dlg_.edOutputFolder.Text));
}

void ExchFormatDlgView::showEvent(QShowEvent* event) {
  CentreOnScreen(this);
  RunHandler([this] { dlg_.FormShow(); });
  Refresh();
  QDialog::showEvent(event);
}

}  // namespace velkar::gui
