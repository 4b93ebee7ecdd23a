// Every tool window's view, registered by the window's class name.
#include "gui/Views.h"

#include "gui/GenFromTulvoDlgView.h"
#include "gui/JpkVatDlgView.h"
#include "gui/LinkAskView.h"
#include "gui/ParagonDlgView.h"
#include "gui/QtUi.h"

namespace velkar::gui {

void RegisterViews() {
  // Each tool window adds its view here as it is built.
  QtUi::RegisterView("TJpkVatDlg", [](Window& window, QWidget* parent) -> std::unique_ptr<QWidget> {
    return std::make_unique<JpkVatDlgView>(static_cast<TJpkVatDlg&>(window), parent);
  });
  QtUi::RegisterView("TParagonDlg", [](Window& window, QWidget* parent) -> std::unique_ptr<QWidget> {
    return std::make_unique<ParagonDlgView>(static_cast<TParagonDlg&>(window), parent);
  });
  QtUi::RegisterView("TGenFromTulvoDlg", [](Window& window, QWidget* parent) -> std::unique_ptr<QWidget> {
    return std::make_unique<GenFromTulvoDlgView>(static_cast<TGenFromTulvoDlg&>(window), parent);
  });
  QtUi::RegisterView("TdlgLinkAsk", [](Window& window, QWidget* parent) -> std::unique_ptr<QWidget> {
    return std::make_unique<LinkAskView>(static_cast<TdlgLinkAsk&>(window), parent);
  });
}

}  // namespace velkar::gui
