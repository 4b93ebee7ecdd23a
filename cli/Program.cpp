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
  ExchFormatDlg = std::make_unique<TExchFormatDlg>(MainForm);
  MainForm.ToolWindows.ExchFormatDlg = ExchFormatDlg.get();
  JpkVatDlg = std::make_unique<TJpkVatDlg>(MainForm.OpenDlg, MainForm.SaveDlg, *dlgLinkAsk, *ParagonDlg);
  MainForm.ToolWindows.JpkVatDlg = JpkVatDlg.get();
  GenJpkVatDlg = std::make_unique<TGenJpkVatDlg>(*JpkVatDlg, MainForm.Session);
  JpkVatDlg->GenJpkVatDlg = GenJpkVatDlg.get();
  GenFromGradmoDlg = std::make_unique<TGenFromGradmoDlg>(&MainForm.Session);
  MainForm.ToolWindows.GenFromGradmoDlg = GenFromGradmoDlg.get();
  MainForm.ToolWindows.SetExportTarget = [this](const std::string& text) { GenFromGradmoDlg->cbToFormat.Text = text; };
  ExchFormatDlg->JpkVatDlg = JpkVatDlg.get();
  GenFromTulvoDlg = std::make_unique<TGenFromTulvoDlg>(MainForm.Session, MainForm.TulvoAccSet);
  MainForm.ToolWindows.GenFromTulvoDlg = GenFromTulvoDlg.get();
}

}  // namespace velkar
