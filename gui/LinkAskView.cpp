// "Wczytaj plik jako...": a fixed 234 x 197 dialog; the close box gives Cancel.
#include "gui/LinkAskView.h"

#include <QPushButton>
#include <functional>

#include "gui/EditBinding.h"
#include "gui/QtUi.h"

namespace velkar::gui {

LinkAskView::LinkAskView(TdlgLinkAsk& dlg, QWidget* parent) : QDialog(parent), dlg_(dlg) {
  setObjectName(Q(dlg.Name));
  setWindowTitle(Q(dlg.Caption));
  setFixedSize(TdlgLinkAsk::kWidth, TdlgLinkAsk::kHeight);
  int left = (TdlgLinkAsk::kWidth - TdlgLinkAsk::kButtonWidth) / 2;
  auto place = [this, left](TButton& control, int top, std::function<void()> click) {
    auto* button = new QPushButton(Q(control.Text), this);
    button->setObjectName(Q(control.Name));
    button->setGeometry(left, top, TdlgLinkAsk::kButtonWidth, TdlgLinkAsk::kButtonHeight);
    connect(button, &QPushButton::clicked, this, [this, click] {
      click();
      done(dlg_.ModalResultValue);
    });
  };
  place(dlg.btnNewJPK, 24, [this] { dlg_.btnNewJPKClick(); });
  place(dlg.btnLinkJPK, 24 + TdlgLinkAsk::kButtonHeight + 18, [this] { dlg_.btnLinkJPKClick(); });
  // The close box and Escape: no answer.
  connect(this, &QDialog::rejected, this, [this] { dlg_.ModalResultValue = mrCancel; });
}

void LinkAskView::showEvent(QShowEvent* event) {
  CentreOnScreen(this);  // a fixed dialog in the middle of the desktop
  dlg_.FormShow();
  QDialog::showEvent(event);
}

}  // namespace velkar::gui
