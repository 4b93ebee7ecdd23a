// TMainForm: the program's main window. Its creation step is the start-up: it finds and
// reads the configuration, sets up the database session and reads the side lists.
//
// Handlers in the order the user meets them: FormCreate, FormShow, the six button
// handlers, FormCloseQuery, FormDestroy; AppException for errors no tool caught.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/IniFile.h"
#include "app/Resources.h"
#include "app/ui/Controls.h"
#include "app/ui/UiPort.h"
#include "app/ui/Window.h"
#include "tools/db/Session.h"

namespace velkar {

// The configuration file name and RunDir from the command-line parameters (the program
// path first, as argv): the last parameter starting with "/ini=" names the file, else the
// program's base name; the extension becomes ".ini"; a name without a folder is taken
// from the current working directory.
struct ConfigLocation {
  std::string fileName;
  std::string runDir;  // with a trailing separator
};
ConfigLocation FindConfigFile(const std::vector<std::string>& args, const std::string& appName, const std::string& currentDir);

// One entry per non-empty line of a side-list file; no file gives an empty list.
std::vector<std::string> LoadSideList(const std::string& fileName);

// The window caption "Torvik JPK - ver 1.4.2 build 89" for a program file.
std::string MainCaption(const std::string& appName);

class TMainForm : public Window {
 public:
  TMainForm();

  // The tool windows, created after the main window; a button whose window is not
  // there opens nothing.
  struct Tools {
    Window* JpkVatDlg = nullptr;
    Window* GenFromGradmoDlg = nullptr;
    Window* GenFromTulvoDlg = nullptr;
    Window* ExchFormatDlg = nullptr;
    // Sets the export dialog's target format box (cbToFormat) before it is shown.
    std::function<void(const std::string&)> SetExportTarget;
  } ToolWindows;

  TLabel labFirmName{"labFirmName"};
  TButton btnJPK_V7M{"btnJPK_V7M", "JPK &V7M"};
  TButton btnJPK_FA{"btnJPK_FA", "JPK &FA"};
  TButton btnJPK_MAG{"btnJPK_MAG", "JPK &MAG"};
  TButton btnJPK_KR{"btnJPK_KR", "JPK &KR"};
  TButton btnGenFromGradmo{"btnGenFromGradmo", "&Export danych z Gradmo"};
  TButton btnExchangeFormat{"btnExchangeFormat", "Konwerter &danych"};

  db::Session Session{"Session"};
  FileDialogOptions OpenDlg;
  FileDialogOptions SaveDlg;
  std::unique_ptr<TIniFile> IniFile;
  std::string AppName;
  std::string RunDir;
  std::vector<std::string> CutDict;
  std::vector<std::string> TulvoAccSet;

  // Start-up. `args` are the command-line parameters with the program path first.
  // Raises the first failure (after the caption and labFirmName have been set).
  void FormCreate(const std::vector<std::string>& args);
  void FormShow() override;
  void btnJPK_V7MClick();
  void btnJPK_FAClick();
  void btnJPK_MAGClick();
  void btnJPK_KRClick();
  void btnGradmoGenClick();
  void btnExchangeFormatClick();
  bool FormCloseQuery() override;
  void FormDestroy();

  // Shows the error's message in the error box; the program goes on in the window the
  // user was in (the failed operation has left every document as it was). Only a failed
  // start-up ends the program, with exit code 1 (cli/RunGui).
  void AppException(const std::exception& error);

  // A new image list owned by the main window with the bitmap resources names[0..highIndex],
  // each marked transparent, in that order. If one fails to load, nothing is kept and the
  // load error is passed on.
  TImageList* MakeImageList(const std::vector<std::string>& names, int highIndex);
  std::vector<std::unique_ptr<TImageList>> ImageLists;

  // The buttons in tab order.
  std::vector<TButton*> Buttons() {
    return {&btnJPK_V7M, &btnJPK_FA, &btnJPK_MAG, &btnJPK_KR, &btnGenFromGradmo, &btnExchangeFormat};
  }

 private:
  void ShowTool(Window* window);
};

// The text shown for an error: the program's own Polish message, or a Polish sentence
// with the library's or system's text in parentheses.
std::string UserMessage(const std::exception& error);

// The main window of the running program.
TMainForm* MainForm();
void SetMainForm(TMainForm* form);

}  // namespace velkar
