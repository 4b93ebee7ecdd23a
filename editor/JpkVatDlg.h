// TJpkVatDlg: the JPK_V7M editor, for JPK_V7M(2) and JPK_V7M(3) documents alike (the root's
// namespace tells them apart). It holds one document (LoadedJpk), shows who it is for, its
// structure, its period, its register totals and the VAT-7 positions, marks in red where the
// declaration disagrees with the register, recalculates the control records and the
// declaration, adds the receipt sales, merges files and saves.
//
// Handlers in the order the user meets them: FormShow, btnOpenJPKClick (with
// AskSaveChanges, AskLinkOrNew, NormalizeJpkFile, CheckPodmiotRola, LinkJPK),
// btnMakeJPKClick, btnAddParagonSaleClick, typing: edP54Change, cbP59Click,
// btnRecalcDeclarationClick, btnClearDeclarationClick, btnSaveJPKClick, FormCloseQuery.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/ui/Controls.h"
#include "app/ui/UiPort.h"
#include "app/ui/Window.h"
#include "editor/LabeledEdit.h"
#include "jpkfiles/JpkLoadSave.h"
#include "model/v7m/JpkV7.h"

namespace velkar {

class TdlgLinkAsk;
class TParagonDlg;

class TJpkVatDlg : public Window {
 public:
  // The shared open and save dialogs of the main window, and the two dialogs the editor
  // shows.
  TJpkVatDlg(FileDialogOptions& openDlg, FileDialogOptions& saveDlg, TdlgLinkAsk& linkAsk, TParagonDlg& paragonDlg);

  static constexpr int kWidth = 953;
  static constexpr int kHeight = 718;

  // The document; a null node when there is none. Its XML document's modified flag is
  // the editor's only notion of unsaved changes.
  v7m::IXMLJPK LoadedJpk;
  // The new-JPK_V7M dialog (set when it exists); btnMakeJPKClick shows it.
  Window* GenJpkVatDlg = nullptr;

  TButton btnOpenJPK{"btnOpenJPK", "&Wczytaj JPK VAT"};
  TButton btnSaveJPK{"btnSaveJPK", "&Zapisz JPK VAT"};
  TButton btnMakeJPK{"btnMakeJPK", "&Generuj JPK VAT"};
  TLabeledEdit edNIP{"edNIP", "NIP"};
  TLabeledEdit edGenDate{"edGenDate", "Wygenerowano"};
  TLabeledEdit edDateRange{"edDateRange", "Rok i miesiąc"};
  TLabeledEdit edStructure{"edStructure", "Struktura"};
  TButton btnAddParagonSale{"btnAddParagonSale", "Sprzedaż pa&ragonowa"};
  TButton btnRecalcDeclaration{"btnRecalcDeclaration", "&Przelicz deklarację"};
  TButton btnClearDeclaration{"btnClearDeclaration", "&Usuń deklarację"};

  TGroupBox gbEwidencja{"gbEwidencja", "Ewidencja"};
  TLabeledEdit edSaleTaxSum{"edSaleTaxSum", "Suma podatku należnego"};
  TLabeledEdit edBuyTaxSum{"edBuyTaxSum", "Suma podatku naliczonego"};
  TLabeledEdit edSaleLinesCount{"edSaleLinesCount", "Liczba wierszy sprzedaży"};
  TLabeledEdit edBuyLinesCount{"edBuyLinesCount", "Liczba wierszy zakupów"};
  // JPK_V7M(3) only: rows that carry neither a KSeF number nor one of OFF, BFK, DI.
  TLabeledEdit edKsefMissing{"edKsefMissing", "Wiersze bez numeru KSeF lub znacznika"};

  TGroupBox gbDeklaracja{"gbDeklaracja", "Deklaracja"};
  // JPK_V7M(3) only: the tax on deposits not returned (art. 17b), from the rows' K_360.
  TLabeledEdit edP360{"edP360", "Podatek od niezwróconych kaucji w systemie kaucyjnym (P_360)"};
  TLabeledEdit edP37{"edP37", "Podstawa opodatkowania (P_37)"};
  TLabeledEdit edP38{"edP38", "Podatek należny (P_38)"};
  TLabeledEdit edP39{"edP39", "Kwota nadwyżki z poprzedniej deklaracji (P_39)"};
  TLabeledEdit edP40Plus42{"edP40Plus42", "Nabycia Netto Suma (P_40+P_42)"};
  TLabeledEdit edP48{"edP48", "Podatek naliczony (P_48)"};
  TLabeledEdit edP49{
      "edP49", "Kwota wydatkowana na zakup kas rejestrujących do odliczenia w danym okresie rozliczeniowym (P_49)"};
  TLabeledEdit edP50{"edP50", "Kwota objęta zaniechaniem poboru (P_50)"};
  TLabeledEdit edP51{"edP51", "Kwota podatku podlegającego wpłacie do urzędu skarbowego (P_51)"};
  TLabeledEdit edP52{"edP52",
                     "Kwota wydatkowana na zakup kas rejestrujących przysługująca do zwrotu w danym okresie "
                     "rozliczeniowym (P_52)"};
  TLabeledEdit edP68{"edP68", "Korekta podstawy opodatkowania  art. 89a ust. 1 (P_68)"};
  TLabeledEdit edP69{"edP69", "Korekta podatku należnego art. 89a ust. 1 (P_69)"};
  TLabeledEdit edORDZU{"edORDZU", "Przyczyny złożenia korekty"};

  TGroupBox gbNadwyzkaPodatku{"gbNadwyzkaPodatku",
                              "Zwrot podatku lub zaliczenie na poczet przyszłych zobowiązań podatkowych"};
  TLabeledEdit edP53{"edP53", "Nadwyżka podatku naliczonego nad należnym (P_53)"};
  TGroupBox gbZwrot{"gbZwrot", "Zwrot"};
  TLabeledEdit edP54{"edP54",
                     "Wysokość nadwyżki podatku naliczonego nad należnym do zwrotu na rachunek wskazany przez "
                     "podatnika (P_54)"};
  TRadioButton rbZwrot540{"rbZwrot540", "w terminie 15 dni"};
  TRadioButton rbZwrot55{"rbZwrot55", "w terminie 25 dni"};
  TRadioButton rbZwrot56{"rbZwrot56", "25 dni (art.87 ust.6)"};
  TRadioButton rbZwrot560{"rbZwrot560", "w terminie 40 dni"};
  TRadioButton rbZwrot57{"rbZwrot57", "w terminie 60 dni"};
  TRadioButton rbZwrot58{"rbZwrot58", "w terminie 180 dni"};
  TGroupBox gbZaliczenieNaZobowiazania{"gbZaliczenieNaZobowiazania",
                                       "Zaliczenie zwrotu podatku na poczet przyszłych zobowiązań podatkowych"};
  TCheckBox cbP59{"cbP59", "tak (P_59)"};
  TLabeledEdit edP60{"edP60", "Kwota na poczet przyszłych zobowiązań (P_60)"};
  TLabeledEdit edP61{"edP61", "Rodzaj zobowiązania (P_61)"};
  TLabeledEdit edP62{"edP62", "Kwota nadwyżki do przeniesienia na następny okres rozliczeniowy (P_62)"};

  // The refund-term radio buttons, left to right.
  std::vector<TRadioButton*> ZwrotButtons() {
    return {&rbZwrot540, &rbZwrot55, &rbZwrot56, &rbZwrot560, &rbZwrot57, &rbZwrot58};
  }
  // The refund terms the open document's structure offers, with their positions (540 for
  // P_540 ...): every button in JPK_V7M(2), all but the 60 days (P_57) in JPK_V7M(3).
  std::vector<std::pair<TRadioButton*, int>> OfferedZwrotTerms();
  // The structure of LoadedJpk; none without a document (or for a root of no JPK_V7M).
  std::optional<v7m::V7Structure> LoadedStructure() const;
  // Every edit, in the window's order.
  std::vector<TLabeledEdit*> Edits();

  // The edit a refused value came from: the view puts the focus there after the error
  // message (null when nothing needs correcting).
  Control* ActiveControl = nullptr;

  // Window events.
  void FormShow() override;
  bool FormCloseQuery() override;

  // Re-reads LoadedJpk into the controls. Reports nothing; a position or amount text that
  // is not a number raises xml::EConvertError.
  void RefreshInfo();

  // Control events.
  void edP54Change();
  void cbP59Click();
  // A term chosen: the radio buttons of gbZwrot hold one choice.
  void rbZwrotClick(TRadioButton& button);

  // Renumbers the register rows, tidies contractor fields and purchase document numbers,
  // and rewrites SprzedazCtrl and ZakupCtrl. Changes only what differs, so a consistent
  // document stays unmodified. Raises "Powinna być wartość ujemna.\rDokument: %s Pole %s"
  // for a positive K_46.
  void RecalcJPK(const v7m::IXMLJPK& GJPK);

  // Rebuilds the VAT-7 part from the register and the position edits. Returns false when
  // the refund or offset choices are incomplete (a warning is shown and nothing changes).
  bool btnRecalcDeclarationClick();
  // Saves the document without its declaration part at once (over its file).
  void btnClearDeclarationClick();

  // Opens a file chosen in the open dialog, or merges it into the open document. Returns
  // true when a document was loaded or merged.
  bool btnOpenJPKClick();
  // Saves through the save dialog; false when the dialog was cancelled (or no document).
  bool btnSaveJPKClick();
  void btnMakeJPKClick();
  void btnAddParagonSaleClick();

  // Appends the register rows of GJPK to LoadedJpk and recalculates the control records.
  // Rows that hold only their fields' texts move over with their nodes: they leave GJPK.
  // On failure the added rows are taken out again and the error passes on. Documents of
  // different structures are refused before anything changes ("Nie można połączyć plików o
  // różnych strukturach: JPK_V7M (2) i JPK_V7M (3)", the open document's first).
  void LinkJPK(const v7m::IXMLJPK& GJPK);
  // "Zapisać dokonane zmiany?" when the document is modified: Yes saves. Ok when nothing
  // was asked, Cancel when the box was closed without an answer.
  Answer AskSaveChanges();
  // TdlgLinkAsk when a document is open: Ok ("Nowy plik": the document is dropped), Yes
  // ("Połącz pliki"), Cancel (closed). Ok when no document is open.
  Answer AskLinkOrNew();
  // Joins lines broken inside element text and re-indents the file before it is loaded
  // (the setting ClearEnter). The file as it was is moved to the backup folder as "_" +
  // its name. Returns false (after "Brak danych do odczytu", with the file put back) when
  // the file is empty. When `parsed` is given and the document read on the way is the one
  // the file now holds, it is handed over there, so the file need not be read again.
  bool NormalizeJpkFile(const std::string& fileName, xml::IXMLDocument* parsed = nullptr);
  // Adds the attribute rola="Podatnik" to a Podmiot1 that lacks it, and says so.
  void CheckPodmiotRola(const v7m::IXMLJPK& doc);

 private:
  void SetEdP54(const std::string& text);
  void SetCbP59(bool checked);
  // A whole-złoty position typed into `edit` (grouping allowed, no fraction, at most 14
  // digits); none when empty. A wrong text raises "Pole P_39: '1000,50' nie jest poprawną
  // liczbą całkowitą" and makes the edit the active control.
  std::optional<std::int64_t> EditValue(TLabeledEdit& edit, const char* position);
  // Warns, flashes `edit` red for 500 ms and returns false.
  bool RefuseDeclaration(const std::string& message, TEdit& edit);
  void SaveTo(const std::string& fileName);
  // LinkJPK's part that moves the rows; every node it adds to LoadedJpk goes to `added`.
  void LinkRowsOf(const v7m::IXMLJPK& GJPK, std::vector<xmlNode*>& added);
  bool LoadedHasDeclaration() const;
  // Step of RefreshInfo for a JPK_V7M(3) register: the rows without a KSeF element.
  void ShowRowsWithoutKsef(const xml::TXMLNode& ewidencja);

  FileDialogOptions& OpenDlg;
  FileDialogOptions& SaveDlg;
  TdlgLinkAsk& dlgLinkAsk;
  TParagonDlg& ParagonDlg;
};

}  // namespace velkar
