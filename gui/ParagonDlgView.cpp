// "Sprzedaż paragonowa": a fixed 464 x 276 dialog inside a framed bevel.
#include "gui/ParagonDlgView.h"

#include <QFrame>
#include <QGridLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

#include "gui/QtUi.h"

namespace velkar::gui {

ParagonDlgView::ParagonDlgView(TParagonDlg& dlg, QWidget* parent) : QDialog(parent), dlg_(dlg) {
  setObjectName(Q(dlg.Name));
  setWindowTitle(Q(dlg.Caption));
  // The designed size is where the dialog starts; it grows where the captions need it.
  setMinimumSize(TParagonDlg::kWidth, TParagonDlg::kHeight);

  auto* outer = new QVBoxLayout(this);
  auto* bevel = new QFrame(this);
  bevel->setFrameShape(QFrame::Box);
  bevel->setFrameShadow(QFrame::Sunken);
  outer->addWidget(bevel);
  auto* grid = new QGridLayout(bevel);
  grid->setVerticalSpacing(2);
  auto place = [&](TLabeledEdit& control, int row, int column, int span = 1) {
    EditWidgets widgets = MakeLabeledEdit(control, bevel);
    grid->addWidget(widgets.label, row * 2, column, 1, span);
    grid->addWidget(widgets.edit, row * 2 + 1, column, 1, span);
    edits_.emplace_back(&control, widgets);
  };
  place(dlg.edDowodSprzedazy, 0, 0, 2);  // the document number is a long text
  place(dlg.edNet23, 1, 0);
  place(dlg.edTax23, 1, 1);
  place(dlg.edDiffV23, 1, 2);
  place(dlg.edNet8, 2, 0);
  place(dlg.edTax8, 2, 1);
  place(dlg.edDiffV8, 2, 2);
  place(dlg.edNet5, 3, 0);
  place(dlg.edTax5, 3, 1);
  place(dlg.edDiffV5, 3, 2);
  place(dlg.edValue0, 4, 0);
  place(dlg.edValueFree, 4, 1);
  place(dlg.edSumVAT, 5, 0);
  place(dlg.edTotal, 5, 1);

  for (TLabeledEdit* control : dlg.AmountEdits()) {
    QLineEdit* edit = Edit(control->Name);
    edit->setAlignment(Qt::AlignRight);
    edit->installEventFilter(this);
    connect(edit, &QLineEdit::textEdited, this, [this, control](const QString& text) {
      control->Text = S(text);
      RunHandler([this] { dlg_.edRecalc(); });
      Refresh();
    });
    // edValue0 recomputes on change only, not when it is left.
    if (control != &dlg.edValue0)
      connect(edit, &QLineEdit::editingFinished, this, [this] {
        RunHandler([this] { dlg_.edRecalc(); });
        Refresh();
      });
  }
  for (TLabeledEdit* control : {&dlg.edDiffV23, &dlg.edDiffV8, &dlg.edDiffV5, &dlg.edSumVAT, &dlg.edTotal})
    Edit(control->Name)->setAlignment(Qt::AlignRight);
  connect(Edit(dlg.edDowodSprzedazy.Name), &QLineEdit::textEdited, this,
          [this](const QString& text) { dlg_.edDowodSprzedazy.Text = S(text); });

  auto* save = new QPushButton(Q(dlg.btnSave.Text), this);
  save->setObjectName(Q(dlg.btnSave.Name));
  save->setDefault(true);
  auto* cancel = new QPushButton(Q(dlg.CancelBtn.Text), this);
  cancel->setObjectName(Q(dlg.CancelBtn.Name));
  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(save);
  buttons->addWidget(cancel);
  outer->addLayout(buttons);
  connect(save, &QPushButton::clicked, this, [this] { Close(mrOk); });
  connect(cancel, &QPushButton::clicked, this, [this] { Close(mrCancel); });
  Refresh();
  resize(sizeHint().expandedTo(minimumSize()));
}

QLineEdit* ParagonDlgView::Edit(const std::string& name) const {
  for (const auto& [control, widgets] : edits_)
    if (control->Name == name) return widgets.edit;
  return nullptr;
}

void ParagonDlgView::Refresh() {
  for (const auto& [control, widgets] : edits_) ApplyEdit(*control, widgets);
}

void ParagonDlgView::Close(int result) {
  bool closed = false;
  RunHandler([&] { closed = dlg_.CloseWith(result); });
  if (closed) {
    done(result == mrOk ? QDialog::Accepted : QDialog::Rejected);
    return;
  }
  Refresh();
  if (dlg_.ActiveControl)
    if (QLineEdit* edit = Edit(dlg_.ActiveControl->Name)) edit->setFocus();
}

void ParagonDlgView::reject() { Close(mrCancel); }

void ParagonDlgView::showEvent(QShowEvent* event) {
  RunHandler([this] { dlg_.FormShow(); });
  Refresh();
  if (QLineEdit* edit = Edit(dlg_.edDowodSprzedazy.Name)) edit->setFocus();
  QDialog::showEvent(event);
}

// Characters typed into an amount edit pass the dialog's key filter first.
bool ParagonDlgView::eventFilter(QObject* watched, QEvent* event) {
  auto* edit = qobject_cast<QLineEdit*>(watched);
  if (!edit || event->type() != QEvent::KeyPress) return QDialog::eventFilter(watched, event);
  auto* key = static_cast<QKeyEvent*>(event);
  char typed = 0;
  if (key->key() == Qt::Key_Backspace) {
    typed = '\b';
  } else if (key->text().size() == 1 && key->text()[0].unicode() >= 0x20 && key->text()[0].unicode() < 0x7F &&
             !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
    typed = static_cast<char>(key->text()[0].unicode());
  } else if (key->text().size() == 1 && (key->text()[0].unicode() == 0xA0 || key->text()[0].unicode() == 0x202F)) {
    typed = ' ';  // a non-breaking space groups digits like a blank
  } else if (key->text().size() == 1 && key->text()[0].unicode() >= 0x7F) {
    typed = '?';  // any other character is refused by the filter
  } else {
    return false;  // navigation and shortcuts are not characters
  }
  for (const auto& [control, widgets] : edits_) {
    if (widgets.edit != edit) continue;
    control->Text = S(edit->text());
    char result = dlg_.edKeyPress(*control, typed, edit->cursorPosition());
    if (result == 0) return true;
    if (result != typed) {
      edit->insert(QString(QChar(result)));
      control->Text = S(edit->text());
      RunHandler([this] { dlg_.edRecalc(); });
      Refresh();
      return true;
    }
    return false;
  }
  return false;
}

}  // namespace velkar::gui
