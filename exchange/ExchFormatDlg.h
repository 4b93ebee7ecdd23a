// TExchFormatDlg: the converter ("Konwersja danych"). It converts one file into another
// format: a JPK_FA(4) file into the register of a new JPK_V7M(2) file, or a JPK_V7M(2)
// file into Buchalter tables or a Ramzes file, written into the chosen output folder.
//
// Handlers in the order the user meets them: FormCreate, FormShow,
// edInputFileRightButtonClick, edOutputFolderRightButtonClick, btnMakeItClick.
#pragma once

#include <string>

#include "app/Resources.h"
#include "app/ui/Controls.h"
#include "app/ui/UiPort.h"
#include "app/ui/Window.h"

namespace velkar {

class TMainForm;
class TJpkVatDlg;

// An edit box with a button at its right end (its hint and image index).
struct TButtonedEdit : TEdit {
  TButtonedEdit(std::string name, std::string buttonHint) : TEdit(std::move(name)) {
    RightButton.Hint = std::move(buttonHint);
    RightButton.ShowHint = true;
  }
  TButton RightButton{"RightButton"};
  int RightButtonImageIndex = -1;
};

inline constexpr const char* kFormatFa = "JPK_FA (4)";
inline constexpr const char* kFormatV7 = "JPK_V7M (2)";
inline constexpr const char* kFormatBuchalter = "Buchalter";
inline constexpr const char* kFormatRamzes = "Ramzes";
inline constexpr const char* kWrongStructure = "\rZła struktura pliku. Brak zgodności z ";

class TExchFormatDlg : public Window {
 public:
  // The main window gives RunDir, CutDict and the image list; the editor (set once it
  // exists) recalculates the control records of a converted register.
  explicit TExchFormatDlg(TMainForm& mainForm);

  static constexpr int kWidth = 420;
  static constexpr int kHeight = 290;

  TJpkVatDlg* JpkVatDlg = nullptr;

  TLabel labInputFormat{"labInputFormat", "Format danych źródłowych"};
  TComboBox cbInputFormat{"cbInputFormat"};
  TLabel labInputFile{"labInputFile", "Plik z danymi źródłowymi"};
  TButtonedEdit edInputFile{"edInputFile", "Wybierz plik"};
  TLabel labOutputFormat{"labOutputFormat", "Format danych wynikowych"};
  TComboBox cbOutputFormat{"cbOutputFormat"};
  TLabel labOutputFolder{"labOutputFolder", "Folder zapisu danych"};
  TButtonedEdit edOutputFolder{"edOutputFolder", "Wybierz folder"};
  TButton btnMakeIt{"btnMakeIt", "&Konwertuj"};  // the default button
  FileDialogOptions OpenDlg;
  // The image list of the right buttons ("FolderOpen"), owned by the main window.
  TImageList* Images = nullptr;
  // The folder the folder chooser is rooted at (RunDir).
  std::string FolderRoot;
  // The file the last conversion wrote (the Buchalter tables: the sales document table).
  std::string LastOutput;

  // Window events.
  void FormCreate();
  void FormShow() override;

  // Control events.
  void edInputFileRightButtonClick();
  void edOutputFolderRightButtonClick();
  // Checks the choice, loads the input with the namespace-prefix check and converts. Every
  // failure is shown as an error box and the dialog stays open; returns true when a
  // conversion was done.
  bool btnMakeItClick();

 private:
  void Convert();
  TMainForm& MainForm;
};

}  // namespace velkar
