// Creation of the program's windows in their fixed order.
#include "cli/Program.h"

namespace velkar {

Program::Program() { SetMainForm(&MainForm); }

Program::~Program() {
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
  ExchFormatDlg->JpkVatDlg = JpkVatDlg.get();
}

}  // namespace velkar
