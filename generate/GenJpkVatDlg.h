// TGenJpkVatDlg ("Nowy JPK_V7M"): builds a new JPK_V7M document for one month from the
// VAT registers of Gradmo, Tulvo or Fennik and hands it to the editor, which adopts it as
// a new file or links its rows into the file already open. The month decides the
// structure: JPK_V7M(3), with a KSeF number or marker on every row, from February 2026,
// JPK_V7M(2) before.
//
// Handlers in the order the user meets them: FormCreate (once, at program start),
// FormShow (at every showing), btnDoItClick.
#pragma once

#include <memory>
#include <string>

#include "app/ui/Controls.h"
#include "app/ui/Window.h"
#include "base/DateTime.h"
#include "editor/LabeledEdit.h"
#include "model/v7m/JpkV7.h"
#include "tools/db/Table.h"

namespace velkar {

class TJpkVatDlg;
class KsefNumberList;

namespace db {
class Session;
}

class TGenJpkVatDlg : public Window {
 public:
  // The editor the generated document goes to, and the database session the register
  // tables are opened in. Runs FormCreate.
  TGenJpkVatDlg(TJpkVatDlg& editor, db::Session& session);
  ~TGenJpkVatDlg() override;

  TDateTimePicker dtp{"dtp"};  // the month to generate, shown as "MMMM yyyy"
  TGroupBox gb1{"gb1", "Wczytaj dane z programu:"};
  TRadioButton rbGradmo{"rbGradmo", "Gradmo"};
  TRadioButton rbTulvo{"rbTulvo", "Tulvo"};
  TRadioButton rbFennik{"rbFennik", "Fennik"};
  TGroupBox gb2{"gb2", "Zakres danych"};
  TCheckBox cbSale{"cbSale", "&Sprzedaż"};
  TCheckBox cbBuy{"cbBuy", "&Zakup"};
  TGroupBox gbCelZlozenia{"gbCelZlozenia", "Cel Złożenia"};
  TRadioButton rbZlozenie{"rbZlozenie", "&Złożenie deklaracji"};
  TRadioButton rbKorekta{"rbKorekta", "&Korekta"};
  TGroupBox grJPKV7{"grJPKV7", "JPK V7"};
  TCheckBox cbDecl{"cbDecl", "JPK z &Deklaracją"};
  TCheckBox cbV7K{"cbV7K", "K&wartalna"};  // disabled; no effect
  TButton btnDoIt{"btnDoIt", "&Generuj"};

  // The register table being read (filtering on) and the contractor table, kept on the
  // contractor of the current register record (index field "Number", master tblReg).
  db::TTable tblReg;
  db::TTable tblUsers;
  // The control that has the focus after FormShow (null: the first one).
  Control* ActiveControl = nullptr;

  // dtp := the first day of CurDate's month; a source whose folder is not configured is
  // disabled.
  void FormCreate();
  // Without a Gradmo folder the focus goes to the first configured other source.
  void FormShow() override;
  // Sets the month shown in dtp (the first day of the month of `date`).
  void SetMonth(const DateTime& date);
  // A source chosen: the three radio buttons hold one choice; so do the two purposes.
  void rbSourceClick(TRadioButton& button);
  void rbPurposeClick(TRadioButton& button);

  // CurDate := the month of dtp; the register of the checked source is read into a new
  // document, which the editor then adopts (nothing open) or links into its document, and
  // with cbDecl the declaration is recalculated. Closes the window with OK. A failure of
  // the reading (a missing table or field, a missing document number or contractor name,
  // a refused NIP question) leaves the editor as it was, closes the window with Cancel
  // and is raised again; the tables are closed and the session deactivated on every path.
  // The month decides the structure (NewJpkV7ForPeriod). In a JPK_V7M(3) document the
  // rows KsefNumbers names get their numbers after the reading, and sales numbers issued
  // under another NIP than the taxpayer's give one warning naming the documents.
  void btnDoItClick();

  // KSeF numbers to set on the rows a run generates (none: the register's and the markers).
  std::shared_ptr<const KsefNumberList> KsefNumbers;

  // The document of the last run (also a partial one after a failure), for inspection.
  v7m::IXMLJPK Generated;

 private:
  void RunSourceDriver(const v7m::IXMLJPK& document);
  void HandToEditor(const v7m::IXMLJPK& document);

  TJpkVatDlg& Editor;
  db::Session& Session;
};

// The register readers (they read the dialog's tblReg, tblUsers, cbSale and cbBuy).
void GenerateFromGradmo(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document);
void ReadGradmoSales(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document);
void ReadGradmoPurchases(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document);
void GenerateFromTulvo(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document);
void ReadTulvoSales(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document, const std::string& tableName);
void ReadTulvoPurchases(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document, const std::string& tableName);
void GenerateFromFennik(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document);
void ReadFennikSales(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document);
void ReadFennikPurchases(TGenJpkVatDlg& dialog, const v7m::IXMLJPK& document);

}  // namespace velkar
