// TdlgLinkAsk: the question asked when a JPK file is opened while another is loaded in the
// editor: start anew with the file, or add its rows to the open one.
//
// Handlers in the order the user meets them: btnNewJPKClick, btnLinkJPKClick (or the
// window's close box, which gives Cancel).
#pragma once

#include "app/ui/Controls.h"
#include "app/ui/Window.h"

namespace velkar {

class TdlgLinkAsk : public Window {
 public:
  TdlgLinkAsk();

  static constexpr int kWidth = 234;
  static constexpr int kHeight = 197;
  static constexpr int kButtonWidth = 180;
  static constexpr int kButtonHeight = 60;

  TButton btnNewJPK{"btnNewJPK", "&Nowy plik"};       // modal result No
  TButton btnLinkJPK{"btnLinkJPK", "&Połącz pliki"};  // modal result Yes (Alt+N, Alt+P)

  void btnNewJPKClick() { ModalResultValue = mrNo; }
  void btnLinkJPKClick() { ModalResultValue = mrYes; }
  void FormShow() override { ModalResultValue = mrNone; }
};

}  // namespace velkar
