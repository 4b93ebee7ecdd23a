// The "Nowy JPK_V7M" window: the month, the source program, the data range, the purpose
// of the filing and the declaration option, and the run that hands the new document to
// the editor.
#include "generate/GenJpkVatDlg.h"

#include <exception>

#include "app/Settings.h"
#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "editor/JpkVatDlg.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "ksef/KsefList.h"
#include "ksef/KsefRows.h"
#include "tools/db/Session.h"

namespace velkar {

TGenJpkVatDlg::TGenJpkVatDlg(TJpkVatDlg& editor, db::Session& session)
    : Window("TGenJpkVatDlg", "Nowy JPK_V7M"), tblReg(&session), tblUsers(&session), Editor(editor), Session(session) {
  rbGradmo.Checked = true;
  cbSale.Checked = true;
  cbBuy.Checked = true;
  rbZlozenie.Checked = true;
  cbV7K.Enabled = false;
  tblReg.Filtered = true;
  tblUsers.IndexFieldNames = "Number";
  tblUsers.MasterSource = &tblReg;
  tblUsers.MasterFields = "User";
  FormCreate();
}

TGenJpkVatDlg::~TGenJpkVatDlg() {
  // The detail table goes first: it refers to its master.
  tblUsers.Close();
  tblReg.Close();
}

void TGenJpkVatDlg::SetMonth(const DateTime& date) { dtp.Date = FormatDate(StartOfMonth(date).DateOnly()); }

void TGenJpkVatDlg::FormCreate() {
  const ProgramSettings& settings = Settings();
  SetMonth(settings.CurDate);
  rbGradmo.Enabled = !settings.QorDataDir.empty();
  rbTulvo.Enabled = !settings.TulvoDir.empty();
  rbFennik.Enabled = !settings.FennikDir.empty();
}

void TGenJpkVatDlg::FormShow() {
  const ProgramSettings& settings = Settings();
  ActiveControl = nullptr;
  if (settings.QorDataDir.empty()) {
    if (!settings.TulvoDir.empty())
      ActiveControl = &rbTulvo;
    else if (!settings.FennikDir.empty())
      ActiveControl = &rbFennik;
  }
}

void TGenJpkVatDlg::rbSourceClick(TRadioButton& button) {
  for (TRadioButton* source : {&rbGradmo, &rbTulvo, &rbFennik}) source->Checked = source == &button;
}

void TGenJpkVatDlg::rbPurposeClick(TRadioButton& button) {
  rbZlozenie.Checked = &button == &rbZlozenie;
  rbKorekta.Checked = &button == &rbKorekta;
}

void TGenJpkVatDlg::RunSourceDriver(const v7m::IXMLJPK& document) {
  if (rbGradmo.Checked)
    GenerateFromGradmo(*this, document);
  else if (rbTulvo.Checked)
    GenerateFromTulvo(*this, document);
  else if (rbFennik.Checked)
    GenerateFromFennik(*this, document);
}

void TGenJpkVatDlg::HandToEditor(const v7m::IXMLJPK& document) {
  if (!Editor.LoadedJpk) {
    Editor.LoadedJpk = document;
    CurrentJpkFileName() = kNewJpkFileName;
    Editor.RecalcJPK(Editor.LoadedJpk);
  } else {
    Editor.LinkJPK(document);
  }
  if (cbDecl.Checked) Editor.btnRecalcDeclarationClick();
}

void TGenJpkVatDlg::btnDoItClick() {
  std::optional<DateTime> month = ParseDate(dtp.Date);
  if (!month) Fail("Niepoprawna data: %s", dtp.Date);
  // The working date of the whole program now names the chosen month.
  Settings().CurDate = *month;

  std::exception_ptr failure;
  {
    Session.Activate();
    BusyCursor busy;
    try {
      v7m::IXMLJPK document = NewJpkV7ForPeriod(*month);
      InitJpkV7Doc(document);
      SetJpkV7Header(document, rbKorekta.Checked);
      Generated = document;
      RunSourceDriver(document);
      if (v7m::StructureOfJpkV7(document) == v7m::V7Structure::V3) {
        if (KsefNumbers) ApplyKsefNumbers(document, *KsefNumbers);
        WarnAboutKsefIssuers(document);
      }
      // A reading that failed leaves no partial register in the editor.
      HandToEditor(document);
    } catch (...) {
      failure = std::current_exception();
    }
    tblUsers.Close();
    tblReg.Close();
    Session.Deactivate();
  }
  ModalResultValue = failure ? mrCancel : mrOk;
  if (failure) std::rethrow_exception(failure);
}

}  // namespace velkar
