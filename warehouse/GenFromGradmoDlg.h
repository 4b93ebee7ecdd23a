// TGenFromGradmoDlg: "Generuj dane z Gradmo..." turns one month of the Gradmo warehouse and
// sales database into a JPK_FA, JPK_MAG, Magik, Symfonia or Ramzes file.
//
// Handlers in the order the user meets them: FormCreate (at start-up), FormShow,
// btnDoItClick (which runs DoExport and closes the window).
#pragma once

#include <string>

#include "app/ui/Controls.h"
#include "app/ui/Window.h"
#include "warehouse/GradmoSource.h"

namespace velkar {

// The writer a text of cbToFormat chooses.
enum class ExportTarget { None, JpkFa, JpkMag, Wapro, Symfonia, Ramzes, Buchalter };
// First match wins: exactly "JPK_FA", exactly "JPK_MAG", contains "Wapro" (any letter case),
// contains "Sage" (any letter case), exactly "Ramzes", exactly "Buchalter"; else None.
ExportTarget TargetOfFormat(const std::string& text);

class TGenFromGradmoDlg : public Window, public GradmoSource {
 public:
  explicit TGenFromGradmoDlg(db::Session* session);

  static constexpr const char* kNoFormat = "do formatu";
  static constexpr const char* kNoFormatMessage = "Nie wybrano formatu w jakim mają być wygenerowane dane";
  static constexpr const char* kBuchalterMessage = "w trakcie realizacji";

  TLabel labPeriod{"labPeriod", "Za okres:"};
  TDateTimePicker dtp{"dtp"};  // shown as "MMMM yyyy"
  TComboBox cbToFormat{"cbToFormat", kNoFormat};
  TButton btnDoIt{"btnDoIt", "&Generuj"};
  Control ProgressBar1{"ProgressBar1"};  // hidden, never shown or moved
  // The control that should have the keyboard focus ("cbToFormat" after the no-format message).
  std::string ActiveControl;

  // Sets dtp to the first day of the month of CurDate.
  void FormCreate();
  void FormShow() override;
  // Without a format: the message, focus on cbToFormat, the window stays open. Otherwise
  // CurDate := dtp, DoExport under the busy cursor, and the window closes with OK whatever
  // happened; an error is passed on after that.
  void btnDoItClick();
  // Opens the tables, runs the chosen writer, closes the tables (also on failure).
  void DoExport();
};

// The writers, each reading the dialog's open tables.
void MakeJpkFa(GradmoSource& dialog);
void MakeJpkMag(GradmoSource& dialog);
void MakeSymfonia(GradmoSource& dialog);
void MakeBuchalter(GradmoSource& dialog);

}  // namespace velkar
