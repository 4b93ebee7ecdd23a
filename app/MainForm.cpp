// Start-up and the main window.
#include "app/MainForm.h"

#include <new>

#include "app/Settings.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "tools/Version.h"

namespace velkar {

namespace {
TMainForm* gMainForm = nullptr;
}

TMainForm* MainForm() { return gMainForm; }
void SetMainForm(TMainForm* form) { gMainForm = form; }

ConfigLocation FindConfigFile(const std::vector<std::string>& args, const std::string& appName, const std::string& currentDir) {
  std::string name;
  for (size_t i = 1; i < args.size(); ++i)
    if (StartsWith(args[i], "/ini=")) name = args[i].substr(5);
  if (name.empty()) name = ExtractFileName(appName);
  if (ExtractFileExt(name) != ".ini") name = ChangeFileExt(name, ".ini");
  ConfigLocation result;
  result.runDir = ExtractFilePath(name);
  if (result.runDir.empty()) {
    result.runDir = IncludeTrailingPathDelimiter(currentDir);
    result.fileName = result.runDir + name;
  } else {
    result.fileName = name;
  }
  return result;
}

std::vector<std::string> LoadSideList(const std::string& fileName) {
  std::vector<std::string> list;
  if (!FileExists(fileName)) return list;
  for (std::string& line : ReadLines(fileName))
    if (!line.empty()) list.push_back(std::move(line));
  return list;
}

std::string MainCaption(const std::string& appName) { return Format("%s - %s", "Torvik JPK", FileVersionText(appName)); }

TMainForm::TMainForm() : Window("TMainForm", "Velkar") {
  OpenDlg.initialDir = SaveDlg.initialDir = "C:\\Ledrix\\JPK";
  btnGenFromGradmo.Hint = "Generowanie danych z Gradmo do JPK_FA i innych systemów księgowych";
  btnGenFromGradmo.ShowHint = true;
}

void TMainForm::FormCreate(const std::vector<std::string>& args) {
  BusyCursor busy;
  bool settingsRead = false;
  try {
    AppName = RunningExecutablePath();
    if (AppName.empty() && !args.empty()) AppName = ExpandFileName(args[0]);
    ConfigLocation location = FindConfigFile(args, AppName, CurrentDir());
    RunDir = location.runDir;
    if (!FileExists(location.fileName)) Fail("Brak pliku %s", location.fileName);
    IniFile = std::make_unique<TIniFile>(location.fileName);
    Settings() = ReadProgramSettings(*IniFile, [this](const std::string& netFileDir) {
      Session.SetNetFileDir(netFileDir);
      if (!Session.NetFileDir().empty()) Session.Activate();
    });
    settingsRead = true;
    Session.SetParadoxCodePage(Settings().ParadoxCodePage);
    TulvoAccSet = LoadSideList("TulvoAccSet.txt");
    CutDict = LoadSideList("CutDict.txt");
  } catch (...) {
    Caption = MainCaption(AppName);
    labFirmName.Text = settingsRead ? Settings().Nazwa : std::string();
    throw;
  }
  Caption = MainCaption(AppName);
  labFirmName.Text = Settings().Nazwa;
}

void TMainForm::FormShow() {
  bool gradmo = !Settings().QorDataDir.empty();
  btnJPK_FA.Enabled = btnJPK_MAG.Enabled = btnGenFromGradmo.Enabled = gradmo;
  btnJPK_KR.Enabled = !Settings().TulvoDir.empty();
  btnJPK_V7M.Enabled = btnExchangeFormat.Enabled = true;
  OpenDlg.initialDir = SaveDlg.initialDir = Settings().SaveDir;
}

void TMainForm::ShowTool(Window* window) {
  if (window) Ui().ShowModal(*window);
}

void TMainForm::btnJPK_V7MClick() { ShowTool(ToolWindows.JpkVatDlg); }

void TMainForm::btnJPK_FAClick() {
  if (ToolWindows.SetExportTarget) ToolWindows.SetExportTarget("JPK_FA");
  ShowTool(ToolWindows.GenFromGradmoDlg);
}

void TMainForm::btnJPK_MAGClick() {
  if (ToolWindows.SetExportTarget) ToolWindows.SetExportTarget("JPK_MAG");
  ShowTool(ToolWindows.GenFromGradmoDlg);
}

void TMainForm::btnJPK_KRClick() { ShowTool(ToolWindows.GenFromTulvoDlg); }
void TMainForm::btnGradmoGenClick() { ShowTool(ToolWindows.GenFromGradmoDlg); }
void TMainForm::btnExchangeFormatClick() { ShowTool(ToolWindows.ExchFormatDlg); }

bool TMainForm::FormCloseQuery() {
  return Ui().Ask(MessageKind::Confirmation, "Zakończyć program?", Buttons::OkCancel) == Answer::Ok;
}

void TMainForm::FormDestroy() {
  CutDict.clear();
  TulvoAccSet.clear();
  IniFile.reset();
  if (!Session.NetFileDir().empty()) Session.Deactivate();
}

TImageList* TMainForm::MakeImageList(const std::vector<std::string>& names, int highIndex) {
  auto list = std::make_unique<TImageList>();
  for (int i = 0; i <= highIndex && i < static_cast<int>(names.size()); ++i) {
    TBitmap bitmap = LoadBitmapResource(names[static_cast<size_t>(i)]);
    bitmap.Transparent = true;
    list->Images.push_back(std::move(bitmap));
  }
  ImageLists.push_back(std::move(list));
  return ImageLists.back().get();
}

void TMainForm::AppException(const std::exception& error) { ShowErrorBox(UserMessage(error)); }

std::string UserMessage(const std::exception& error) {
  // The program's own errors carry Polish messages; a library's or the system's English
  // text only follows a Polish sentence.
  if (dynamic_cast<const Error*>(&error)) return error.what();
  if (dynamic_cast<const std::bad_alloc*>(&error)) return "Za mało pamięci do wykonania operacji";
  return Format("Nieoczekiwany błąd programu (%s)", error.what());
}

}  // namespace velkar
