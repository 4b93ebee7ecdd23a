// The running program: every window, created once at start in the program's order and
// kept until the end.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "app/MainForm.h"
#include "editor/JpkVatDlg.h"
#include "editor/LinkAskDlg.h"
#include "editor/ParagonDlg.h"
#include "generate/GenJpkVatDlg.h"
#include "warehouse/GenFromGradmoDlg.h"
#include "exchange/ExchFormatDlg.h"
#include "ledger/GenFromTulvoDlg.h"

namespace velkar {

class Program {
 public:
  Program();
  ~Program();

  // Start-up of the main window (configuration, settings, session, side lists), then
  // the tool windows. Raises the first failure.
  void Create(const std::vector<std::string>& args);

  TMainForm MainForm;
  std::unique_ptr<TdlgLinkAsk> dlgLinkAsk;
  std::unique_ptr<TParagonDlg> ParagonDlg;
  std::unique_ptr<TExchFormatDlg> ExchFormatDlg;
  std::unique_ptr<TJpkVatDlg> JpkVatDlg;
  std::unique_ptr<TGenJpkVatDlg> GenJpkVatDlg;
  std::unique_ptr<TGenFromGradmoDlg> GenFromGradmoDlg;
  std::unique_ptr<TGenFromTulvoDlg> GenFromTulvoDlg;
};

}  // namespace velkar
