// "Generuj dane z programu Tulvo do JPK_KR": a fixed 364 x 183 dialog in the middle of the
// desktop. While the task runs the period group is disabled and the status line and the
// bar move with the window object's 200 ms timer; the task's end closes the dialog, which
// then offers the save (or shows the task's error).
#include "gui/GenFromTulvoDlgView.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "gui/EditBinding.h"
#include "gui/QtUi.h"

namespace velkar::gui {

GenFromTulvoDlgView::GenFromTulvoDlgView(TGenFromTulvoDlg& dlg, QWidget* parent) : QDialog(parent), dlg_(dlg) {
  setObjectName(Q(dlg.Name));
  setWindowTitle(Q(dlg.Caption));
  setFixedSize(TGenFromTulvoDlg::kWidth, TGenFromTulvoDlg::kHeight);

  group_ = new QGroupBox(this);
  group_->setObjectName(Q(dlg.GroupBox1.Name));
  group_->setGeometry(8, 8, 348, 80);
  labPeriod_ = new QLabel(Q(dlg.labPeriod.Text), group_);
  labPeriod_->setObjectName(Q(dlg.labPeriod.Name));
  labPeriod_->setGeometry(16, 30, 70, 22);
  dtp_ = new QDateEdit(group_);
  dtp_->setObjectName(Q(dlg.dtp.Name));
  dtp_->setLocale(QLocale(QLocale::Polish, QLocale::Poland));
  dtp_->setDisplayFormat("MMMM yyyy");
  dtp_->setCalendarPopup(true);
  dtp_->setGeometry(88, 28, 150, 26);
  btnDoIt_ = new QPushButton(Q(dlg.btnDoIt.Text), group_);
  btnDoIt_->setObjectName(Q(dlg.btnDoIt.Name));
  btnDoIt_->setGeometry(250, 26, 88, 30);
  btnDoIt_->setDefault(true);

  lblProgMsg_ = new QLabel(this);
  lblProgMsg_->setObjectName(Q(dlg.lblProgMsg.Name));
  lblProgMsg_->setGeometry(12, 100, 340, 22);
  bar_ = new QProgressBar(this);
  bar_->setObjectName(Q(dlg.ProgressBarKR.Name));
  bar_->setGeometry(12, 128, 340, 24);
  bar_->setTextVisible(false);

  connect(dtp_, &QDateEdit::dateChanged, this, [this](QDate date) {
    dlg_.dtp.Date = S(QDate(date.year(), date.month(), 1).toString("yyyy-MM-dd"));
  });
  connect(btnDoIt_, &QPushButton::clicked, this, [this] {
    RunHandler([this] { dlg_.btnDoItClick(); });
    Refresh();
  });
  if (auto* ui = dynamic_cast<QtUi*>(&Ui())) ui->SetActiveView(&dlg_, [this] { Refresh(); });
  Refresh();
}

GenFromTulvoDlgView::~GenFromTulvoDlgView() {
  if (auto* ui = dynamic_cast<QtUi*>(&Ui())) ui->SetActiveView(&dlg_, nullptr);
}

void GenFromTulvoDlgView::Refresh() {
  QDate date = QDate::fromString(Q(dlg_.dtp.Date), "yyyy-MM-dd");
  if (date.isValid() && date != dtp_->date()) {
    QSignalBlocker block(dtp_);
    dtp_->setDate(date);
  }
  group_->setEnabled(dlg_.GroupBox1.Enabled);
  lblProgMsg_->setText(Q(dlg_.lblProgMsg.Text));
  lblProgMsg_->setVisible(dlg_.lblProgMsg.Visible);
  bar_->setRange(dlg_.ProgressBarKR.Min, dlg_.ProgressBarKR.Max);
  bar_->setValue(dlg_.ProgressBarKR.Position);
  bar_->setVisible(dlg_.ProgressBarKR.Visible);
  // The task's final step sets the modal result: the dialog closes once control is back
  // in its loop.
  if (dlg_.ModalResultValue != mrNone && !finished_ && isVisible()) {
    finished_ = true;
    QTimer::singleShot(0, this, [this] { Finish(); });
  }
}

void GenFromTulvoDlgView::Finish() {
  done(QDialog::Accepted);
  // The save offer, or the message of the task's error. An error of the save is shown and
  // the program goes on.
  try {
    dlg_.FormClose();
  } catch (const std::exception& error) {
    ShowErrorBox(error.what());
  }
}

void GenFromTulvoDlgView::showEvent(QShowEvent* event) {
  CentreOnScreen(this);
  dlg_.FormShow();
  finished_ = false;
  Refresh();
  QDialog::showEvent(event);
}

void GenFromTulvoDlgView::reject() {
  if (!dlg_.FormCloseQuery()) return;
  dlg_.ModalResultValue = mrCancel;
  finished_ = true;
  QDialog::reject();
}

}  // namespace velkar::gui
