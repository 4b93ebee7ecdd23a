// "Nowy JPK_V7M": a fixed dialog; the month is shown as "MMMM yyyy" in Polish.
#include "gui/GenJpkVatDlgView.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QLayout>
#include <QGroupBox>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <functional>

#include "gui/EditBinding.h"
#include "gui/QtUi.h"

namespace velkar::gui {

namespace {

QDate ToQDate(const std::string& text) { return QDate::fromString(Q(text), "yyyy-MM-dd"); }

}  // namespace

GenJpkVatDlgView::GenJpkVatDlgView(TGenJpkVatDlg& dlg, QWidget* parent) : QDialog(parent), dlg_(dlg) {
  setObjectName(Q(dlg.Name));
  setWindowTitle(Q(dlg.Caption));
  auto* layout = new QVBoxLayout(this);
  // A fixed dialog as large as its controls need.
  layout->setSizeConstraint(QLayout::SetFixedSize);

  dtp_ = new QDateEdit(this);
  dtp_->setObjectName(Q(dlg.dtp.Name));
  dtp_->setLocale(QLocale(QLocale::Polish, QLocale::Poland));
  dtp_->setDisplayFormat("MMMM yyyy");
  dtp_->setCalendarPopup(true);
  layout->addWidget(dtp_);
  connect(dtp_, &QDateEdit::dateChanged, this,
          [this](const QDate& date) { dlg_.dtp.Date = S(date.toString("yyyy-MM-dd")); });

  // A group of radio buttons or check boxes; `click` is the window's handler of a button.
  auto group = [&](TGroupBox& control, std::vector<TCheckBox*> buttons, bool radio,
                   std::function<void(TCheckBox&, bool)> click) {
    auto* box = new QGroupBox(Q(control.Text), this);
    box->setObjectName(Q(control.Name));
    auto* inner = new QVBoxLayout(box);
    for (TCheckBox* button : buttons) {
      QAbstractButton* widget = radio ? static_cast<QAbstractButton*>(new QRadioButton(Q(button->Text), box))
                                      : static_cast<QAbstractButton*>(new QCheckBox(Q(button->Text), box));
      widget->setObjectName(Q(button->Name));
      inner->addWidget(widget);
      checks_.emplace_back(button, widget);
      connect(widget, &QAbstractButton::clicked, this, [this, button, click](bool checked) {
        click(*button, checked);
        Refresh();
      });
    }
    layout->addWidget(box);
  };
  auto check = [](TCheckBox& button, bool checked) { button.Checked = checked; };
  group(dlg.gb1, {&dlg.rbGradmo, &dlg.rbTulvo, &dlg.rbFennik}, true,
        [this](TCheckBox& button, bool) { dlg_.rbSourceClick(button); });
  group(dlg.gb2, {&dlg.cbSale, &dlg.cbBuy}, false, check);
  group(dlg.gbCelZlozenia, {&dlg.rbZlozenie, &dlg.rbKorekta}, true,
        [this](TCheckBox& button, bool) { dlg_.rbPurposeClick(button); });
  group(dlg.grJPKV7, {&dlg.cbDecl, &dlg.cbV7K}, false, check);

  auto* run = new QPushButton(Q(dlg.btnDoIt.Text), this);
  run->setObjectName(Q(dlg.btnDoIt.Name));
  run->setDefault(true);
  layout->addWidget(run);
  connect(run, &QPushButton::clicked, this, [this] { GenerateClicked(); });
  Refresh();
}

void GenJpkVatDlgView::Refresh() {
  QDate date = ToQDate(dlg_.dtp.Date);
  if (date.isValid() && dtp_->date() != date) dtp_->setDate(date);
  for (const auto& [control, widget] : checks_) ApplyCheck(*control, widget);
}

void GenJpkVatDlgView::GenerateClicked() {
  RunHandler([this] { dlg_.btnDoItClick(); });
  // The window closes after every run: with OK when the editor has the new document.
  done(dlg_.ModalResultValue == mrOk ? QDialog::Accepted : QDialog::Rejected);
}

void GenJpkVatDlgView::showEvent(QShowEvent* event) {
  CentreOnScreen(this);
  dlg_.ModalResultValue = mrCancel;  // the close box: nothing generated
  RunHandler([this] { dlg_.FormShow(); });
  Refresh();
  for (const auto& [control, widget] : checks_)
    if (control == dlg_.ActiveControl) widget->setFocus();
  QDialog::showEvent(event);
}

}  // namespace velkar::gui
