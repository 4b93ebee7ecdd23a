// "Generuj dane z Gradmo...": a small fixed dialog; the month is shown as "MMMM yyyy" in
// Polish, the format box is editable, and an export closes the dialog however it ends.
#include "gui/GenFromGradmoView.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLocale>
#include <QPushButton>

#include "gui/EditBinding.h"
#include "gui/QtUi.h"

namespace velkar::gui {

GenFromGradmoView::GenFromGradmoView(TGenFromGradmoDlg& dlg, QWidget* parent) : QDialog(parent), dlg_(dlg) {
  setObjectName(Q(dlg.Name));
  setWindowTitle(Q(dlg.Caption));
  setFixedSize(330, 150);
  auto* label = new QLabel(Q(dlg.labPeriod.Text), this);
  label->setObjectName(Q(dlg.labPeriod.Name));
  label->setGeometry(16, 20, 80, 22);
  dtp_ = new QDateEdit(this);
  dtp_->setObjectName(Q(dlg.dtp.Name));
  dtp_->setLocale(QLocale(QLocale::Polish, QLocale::Poland));
  dtp_->setDisplayFormat("MMMM yyyy");
  dtp_->setCalendarPopup(true);
  dtp_->setGeometry(100, 18, 210, 24);
  cbToFormat_ = new QComboBox(this);
  cbToFormat_->setObjectName(Q(dlg.cbToFormat.Name));
  cbToFormat_->setEditable(true);
  for (const std::string& item : dlg.cbToFormat.Items) cbToFormat_->addItem(Q(item));
  cbToFormat_->setGeometry(100, 56, 210, 24);
  btnDoIt_ = new QPushButton(Q(dlg.btnDoIt.Text), this);
  btnDoIt_->setObjectName(Q(dlg.btnDoIt.Name));
  btnDoIt_->setGeometry(100, 100, 120, 30);
  btnDoIt_->setDefault(true);
  connect(btnDoIt_, &QPushButton::clicked, this, [this] { DoIt(); });
  connect(this, &QDialog::rejected, this, [this] {
    if (dlg_.ModalResultValue == mrNone) dlg_.ModalResultValue = mrCancel;
  });
}

void GenFromGradmoView::DoIt() {
  dlg_.dtp.Date = S(dtp_->date().toString("yyyy-MM-dd"));
  dlg_.cbToFormat.Text = S(cbToFormat_->currentText());
  RunHandler([this] { dlg_.btnDoItClick(); });
  if (dlg_.ModalResultValue != mrNone) {
    done(QDialog::Accepted);
  } else if (dlg_.ActiveControl == dlg_.cbToFormat.Name) {
    cbToFormat_->setFocus();
    cbToFormat_->lineEdit()->selectAll();
  }
}

void GenFromGradmoView::showEvent(QShowEvent* event) {
  CentreOnScreen(this);
  RunHandler([this] { dlg_.FormShow(); });
  // The state the window object keeps between openings, the format set by the main window.
  dtp_->setDate(QDate::fromString(Q(dlg_.dtp.Date), "yyyy-MM-dd"));
  cbToFormat_->setEditText(Q(dlg_.cbToFormat.Text));
  QDialog::showEvent(event);
}

}  // namespace velkar::gui
