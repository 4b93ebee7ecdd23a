// TParagonDlg: the month's cash-register ("paragon") sales typed per VAT rate, with
// running totals and a check that every tax amount fits its net amount.
//
// Handlers in the order the user meets them: FormActivate (on show), edKeyPress and
// edRecalc while typing, btnSaveClick / CancelBtnClick, then FormCloseQuery.
#pragma once

#include <string>
#include <vector>

#include "app/ui/Controls.h"
#include "app/ui/Window.h"
#include "editor/LabeledEdit.h"

namespace velkar {

class TParagonDlg : public Window {
 public:
  TParagonDlg();

  static constexpr int kWidth = 464;
  static constexpr int kHeight = 276;

  TLabeledEdit edDowodSprzedazy{"edDowodSprzedazy", "&Dowód Sprzedaży"};
  TLabeledEdit edNet23{"edNet23", "Sprzedaż netto 23%"};
  TLabeledEdit edTax23{"edTax23", "Kwota PTU 23%"};
  TLabeledEdit edNet8{"edNet8", "Sprzedaż netto 8%"};
  TLabeledEdit edTax8{"edTax8", "Kwota PTU 8%"};
  TLabeledEdit edNet5{"edNet5", "Sprzedaż netto 5%"};
  TLabeledEdit edTax5{"edTax5", "Kwota PTU 5%"};
  TLabeledEdit edValue0{"edValue0", "Sprzedaż 0%"};
  TLabeledEdit edValueFree{"edValueFree", "Sprzedaż zwolniona"};
  TLabeledEdit edDiffV23{"edDiffV23", "Różnica 23%"};
  TLabeledEdit edDiffV8{"edDiffV8", "Różnica 8%"};
  TLabeledEdit edDiffV5{"edDiffV5", "Różnica 5%"};
  TLabeledEdit edSumVAT{"edSumVAT", "Razem VAT"};
  TLabeledEdit edTotal{"edTotal", "Razem Brutto"};
  TButton btnSave{"btnSave", "&Zapisz"};     // default button, modal result OK
  TButton CancelBtn{"CancelBtn", "Anuluj"};  // Escape, modal result Cancel

  // The control that has the focus.
  Control* ActiveControl = nullptr;

  // The amount edits, right-aligned, filtered by edKeyPress and recomputed on change.
  std::vector<TLabeledEdit*> AmountEdits();

  void FormShow() override { FormActivate(); }
  // Running totals, then the focus on the document number.
  void FormActivate();
  // A change of an amount edit (and, except for edValue0, leaving it).
  void edRecalc() { RecalcParagon(); }

  // A typed character for an amount edit with the caret at `caret`: returns the character
  // to insert ("," becomes "."), or 0 when it is dropped (most with a beep). Backspace
  // is '\b'.
  char edKeyPress(const TEdit& edit, char key, int caret);

  // VAT total, gross total and the three tax differences, from the edits.
  void RecalcParagon();
  // Typed tax minus the tax computed from the net at `rate` per cent, to 2 places, as the
  // shortest decimal text; "0" when either edit is empty (or not yet a number).
  std::string TaxDifference(const TEdit& netEdit, const TEdit& taxEdit, double rate) const;

  // The net and tax of one rate must come together and agree within 1 % (or the user
  // accepts the difference). On failure: the message in an error box, the focus on the
  // edit to correct, false.
  // A negative net or tax is refused; a tax other than the computed one more than 1 %
  // off asks "... Zaakceptować?" (No the default); not accepting returns to the dialog at
  // the tax edit without an error.
  bool CheckRatePair(TLabeledEdit& netEdit, TLabeledEdit& taxEdit, double rate);

  // Cancel always closes; OK only when every rate pair and every amount passes.
  bool FormCloseQuery() override;

  // The buttons: set the modal result and ask to close; a refused close leaves the
  // dialog open (modal result none). Returns whether the dialog closed.
  bool btnSaveClick() { return CloseWith(mrOk); }
  bool CancelBtnClick() { return CloseWith(mrCancel); }
  bool CloseWith(int result);

 private:
  bool CheckAmounts();
  // The edit's amount; a text that is not one raises "Pole <label>: '...' nie jest
  // poprawną liczbą".
  double FieldAmount(TLabeledEdit& edit);
};

// An amount typed into an edit, the Polish way ("1 234,50": a comma or a point, blanks as
// grouping; tools/NumberInput.h). Anything else, an empty text included, raises the
// conversion error "'%s' nie jest poprawną liczbą".
double ParseEditAmount(const std::string& text);

}  // namespace velkar
