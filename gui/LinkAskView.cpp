// "Wczytaj plik jako...": a fixed 234 x 197 dialog; the close box gives Cancel.
#include "gui/LinkAskView.h"

#include <QPushButton>

#include "gui/EditBinding.h"
#include "gui/QtUi.h"

namespace velkar::gui {

LinkAskView::LinkAskView(TdlgLinkAsk& dlg, QWidget* parent) : QDialog(parent), dlg_(dlg) {
  setObjectName(Q(dlg.Name));
  setWindowTitle(Q(dlg.Caption));
  setFixedSize(TdlgLinkAsk::kWidth, TdlgLinkAsk::kHeight);
  int left = (TdlgLinkAsk::kWidth - TdlgLinkAsk::kButtonWidth) / 2;
  struct Place {
    TButton* control;
    int top;
    void (TdlgLinkAsk::*click)();
  };
  for (Place place : {Place{&dlg.btnNewJPK, 24, &TdlgLinkAsk::btnNewJPKClick},
                      Place{&dlg.btnLinkJPK, 24 + TdlgLinkAsk::kButtonHeight + 18, &TdlgLinkAsk::btnLinkJPKClick}}) {
    auto* button = new QPushButton(Q(place.control->Text), this);
    button->setObjectName(Q(place.control->Name));
    button->setGeometry(left, place.top, TdlgLinkAsk::kButtonWidth, TdlgLinkAsk::kButtonHeight);
    auto click = place.click;
    connect(button, &QPushButton::clicked, this, [this, click] {
      (dlg_.*click)();
      done(dlg_.ModalResultValue);
    });
  }
  // The close box and Escape: no answer.
  connect(this, &QDialog::rejected, this, [this] { dlg_.ModalResultValue = mrCancel; });
}

void LinkAskView::showEvent(QShowEvent* event) {
  CentreOnScreen(this);  // a fixed dialog in the middle of the desktop
  dlg_.FormShow();
  QDialog::showEvent(event);
}

}  // namespace velkar::gui
