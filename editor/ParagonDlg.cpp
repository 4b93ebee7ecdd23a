// The receipt-sales dialog: running totals, key filtering and the close checks.
#include "editor/ParagonDlg.h"

#include <cmath>

#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "base/Text.h"
#include "model/xml/XmlErrors.h"
#include "model/xml/XmlValues.h"
#include "tools/Money.h"
#include "tools/NumberInput.h"

namespace velkar {

namespace {

// The edit's amount while the user is still typing: empty or unfinished text counts as 0.
double RunningAmount(const TEdit& edit) {
  try {
    return ParseAmountInput(edit.Text);
  } catch (const Error&) {
    return 0;
  }
}

}  // namespace

double ParseEditAmount(const std::string& text) {
  if (Trim(text).empty()) throw xml::EConvertError(Format("'%s' nie jest poprawną liczbą", text));
  try {
    return ParseAmountInput(text);
  } catch (const Error& error) {
    throw xml::EConvertError(error.what());
  }
}

double TParagonDlg::FieldAmount(TLabeledEdit& edit) {
  try {
    return ParseEditAmount(edit.Text);
  } catch (const Error& error) {
    Fail("Pole %s: %s", edit.EditLabel.Text, error.what());
  }
}

TParagonDlg::TParagonDlg() : Window("TParagonDlg", "Sprzedaż paragonowa") {
  for (TLabeledEdit* edit : {&edDiffV23, &edDiffV8, &edDiffV5, &edSumVAT, &edTotal}) edit->Enabled = false;
  edSumVAT.ReadOnly = edTotal.ReadOnly = true;
  edSumVAT.EditLabel.Bold = edTotal.EditLabel.Bold = true;
}

std::vector<TLabeledEdit*> TParagonDlg::AmountEdits() {
  return {&edNet23, &edTax23, &edNet8, &edTax8, &edNet5, &edTax5, &edValue0, &edValueFree};
}

void TParagonDlg::FormActivate() {
  RecalcParagon();
  ActiveControl = &edDowodSprzedazy;
}

char TParagonDlg::edKeyPress(const TEdit& edit, char key, int caret) {
  if (key == ',') key = '.';
  // A blank groups digits ("1 234.50").
  bool allowed = (key >= '0' && key <= '9') || key == '-' || key == '.' || key == '\b' || key == ' ';
  if (!allowed) {
    Ui().Beep();
    return 0;
  }
  if (key == '-' && caret != 0) return 0;
  if ((key == '-' || key == '.') && edit.Text.find(key) != std::string::npos) {
    Ui().Beep();
    return 0;
  }
  return key;
}

void TParagonDlg::RecalcParagon() {
  double vat = RunningAmount(edTax23) + RunningAmount(edTax8) + RunningAmount(edTax5);
  edSumVAT.Text = xml::XmlFloatToStr(vat);
  double total = vat + RunningAmount(edNet23) + RunningAmount(edNet8) + RunningAmount(edNet5) +
                 RunningAmount(edValue0) + RunningAmount(edValueFree);
  edTotal.Text = Format("%.2f", round2(total));
  edDiffV23.Text = TaxDifference(edNet23, edTax23, 23);
  edDiffV8.Text = TaxDifference(edNet8, edTax8, 8);
  edDiffV5.Text = TaxDifference(edNet5, edTax5, 5);
}

std::string TParagonDlg::TaxDifference(const TEdit& netEdit, const TEdit& taxEdit, double rate) const {
  double net = 0, tax = 0;
  try {
    net = ParseEditAmount(netEdit.Text);
    tax = ParseEditAmount(taxEdit.Text);
  } catch (const Error&) {
    return "0";
  }
  return xml::XmlFloatToStr(round2(tax - NetToTax(rate, net)));
}

bool TParagonDlg::CheckRatePair(TLabeledEdit& netEdit, TLabeledEdit& taxEdit, double rate) {
  bool hasNet = !Trim(netEdit.Text).empty();
  bool hasTax = !Trim(taxEdit.Text).empty();
  TLabeledEdit* culprit = hasNet ? &taxEdit : &netEdit;
  try {
    if (!hasNet && hasTax) Fail("Brak wartości netto w stawce %.0f%%", rate);
    if (hasNet && !hasTax) Fail("Brak wartości podatku w stawce %.0f%%", rate);
    if (hasNet && hasTax) {
      culprit = &netEdit;
      double net = FieldAmount(netEdit);
      if (net < 0) Fail("Wartość netto w stawce %.0f%% nie może być ujemna", rate);
      culprit = &taxEdit;
      double tax = FieldAmount(taxEdit);
      if (tax < 0) Fail("Podatek w stawce %.0f%% nie może być ujemny", rate);
      double computed = NetToTax(rate, net);
      // Every pair is checked, small nets too: only a tax equal to the computed one
      // passes without the question.
      if (tax != computed) {
        // The relative difference cannot be taken against a zero tax.
        if (tax == 0) Fail("Podatek w stawce %.0f%% nie może wynosić 0 przy wartości netto %.2f", rate, net);
        if (std::fabs(1 - computed / tax) > 0.01) {
          std::string question = Format(
              "Podatek w stawce %.0f%% wynoszący: %.2f\rzbyt różni się od wyliczonego: %.2f\rRóżnica: %.2f\r"
              "Zaakceptować?",
              rate, tax, computed, tax - computed);
          // No is the default: Enter must not accept a tax more than 1 % off. Not
          // accepting returns to the dialog at the tax to correct, without an error.
          if (Ui().AskWithDefault(MessageKind::Confirmation, question, Buttons::YesNo, Answer::No) != Answer::Yes) {
            ActiveControl = &taxEdit;
            return false;
          }
        }
      }
    }
    return true;
  } catch (const Error& error) {
    ActiveControl = culprit;
    ShowErrorBox(error.what());
    return false;
  }
}

// Every value the dialog stores must be a JPK amount (xsd:decimal with at most two
// decimal places, type TKwotowy), never negative, and the row needs its document number.
bool TParagonDlg::CheckAmounts() {
  if (Trim(edDowodSprzedazy.Text).empty()) {
    ActiveControl = &edDowodSprzedazy;
    ShowErrorBox("Brak dowodu sprzedaży");
    return false;
  }
  for (TLabeledEdit* edit : AmountEdits()) {
    if (Trim(edit->Text).empty()) continue;
    try {
      double value = FieldAmount(*edit);
      std::string text = AmountInputText(edit->Text);
      if (DecimalPlaces(text) > 2) Fail("Pole %s: kwota %s ma więcej niż dwa miejsca po przecinku", edit->EditLabel.Text, edit->Text);
      if (value < 0) Fail("Pole %s: kwota nie może być ujemna", edit->EditLabel.Text);
      if (text.size() - (DecimalPlaces(text) > 0 ? 1 : 0) > 18)
        Fail("Pole %s: kwota %s ma więcej niż 18 cyfr", edit->EditLabel.Text, edit->Text);
    } catch (const Error& error) {
      ActiveControl = edit;
      ShowErrorBox(error.what());
      return false;
    }
  }
  return true;
}

bool TParagonDlg::FormCloseQuery() {
  if (ModalResultValue == mrCancel) return true;
  return CheckRatePair(edNet23, edTax23, 23) && CheckRatePair(edNet8, edTax8, 8) && CheckRatePair(edNet5, edTax5, 5) &&
         CheckAmounts();
}

bool TParagonDlg::CloseWith(int result) {
  ModalResultValue = result;
  if (FormCloseQuery()) return true;
  ModalResultValue = mrNone;
  return false;
}

}  // namespace velkar
