// Creation of the program's windows in their fixed order.
#include "cli/Program.h"

namespace velkar {

Program::Program() { SetMainForm(&MainForm); }

Program::~Program() {
  // A running ledger task is cancelled and waited for while the session is still there.
  if (GenFromTulvoDlg) GenFromTulvoDlg->FormDestroy();
  MainForm.FormDestroy();
  SetMainForm(nullptr);
}

void Program::Create(const std::vector<std::string>& args) {
  MainForm.FormCreate(args);
  // The tool windows follow the main window, each wired to its button as it is built.
  dlgLinkAsk = std::make_unique<TdlgLinkAsk>();
  ParagonDlg = std::make_unique<TParagonDlg>();
  JpkVatDlg = std::make_unique<TJpkVatDlg>(MainForm.OpenDlg, MainForm.SaveDlg, *dlgLinkAsk, *ParagonDlg);
  MainForm.ToolWindows.JpkVatDlg = JpkVatDlg.get();
  GenFromTulvoDlg = std::make_unique<TGenFromTulvoDlg>(MainForm.Session, MainForm.TulvoAccSet);
  MainForm.ToolWindows.GenFromTulvoDlg = GenFromTulvoDlg.get();
}

}  // namespace velkar
