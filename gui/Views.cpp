// Every tool window's view, registered by the window's class name.
#include "gui/Views.h"

#include "gui/ExchFormatDlgView.h"
#include "gui/GenFromGradmoView.h"
#include "gui/GenFromTulvoDlgView.h"
#include "gui/GenJpkVatDlgView.h"
#include "gui/JpkVatDlgView.h"
#include "gui/LinkAskView.h"
#include "gui/MainWindowView.h"
#include "gui/ParagonDlgView.h"
#include "gui/QtUi.h"

namespace velkar::gui {

namespace {

// Registers the view class V for the window class W under W's class name.
template <class V, class W>
void Register(const char* className) {
  QtUi::RegisterView(className, [](Window& window, QWidget* parent) -> std::unique_ptr<QWidget> {
    return std::make_unique<V>(static_cast<W&>(window), parent);
  });
}

}  // namespace

void RegisterViews() {
  // The main window is a top-level window of its own: it takes no parent.
  QtUi::RegisterView("TMainForm", [](Window& window, QWidget*) -> std::unique_ptr<QWidget> {
    return std::make_unique<MainWindowView>(static_cast<TMainForm&>(window));
  });
  Register<JpkVatDlgView, TJpkVatDlg>("TJpkVatDlg");
  Register<ParagonDlgView, TParagonDlg>("TParagonDlg");
  Register<LinkAskView, TdlgLinkAsk>("TdlgLinkAsk");
  Register<GenJpkVatDlgView, TGenJpkVatDlg>("TGenJpkVatDlg");
  Register<GenFromGradmoView, TGenFromGradmoDlg>("TGenFromGradmoDlg");
  Register<ExchFormatDlgView, TExchFormatDlg>("TExchFormatDlg");
  Register<GenFromTulvoDlgView, TGenFromTulvoDlg>("TGenFromTulvoDlg");
}

}  // namespace velkar::gui
