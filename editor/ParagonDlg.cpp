// The receipt-sales dialog: running totals, key filtering and the close checks.
#include "editor/ParagonDlg.h"

#include <cmath>

#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "model/xml/XmlErrors.h"
#include "model/xml/XmlValues.h"
#include "tools/Money.h"

namespace velkar {

namespace {

bool IsAmountText(const std::string& text) {
  size_t i = text.starts_with('-') ? 1 : 0;
  bool digit = false, point = false;
  for (; i < text.size(); ++i) {
    char c = text[i];
    if (c >= '0' && c <= '9') {
      digit = true;
    } else if (c == '.' && !point) {
      point = true;
    } else {
      return false;
    }
  }
  return digit;
}

int DecimalPlaces(const std::string& text) {
  size_t point = text.find('.');
  return point == std::string::npos ? 0 : static_cast<int>(text.size() - point - 1);
}

// The edit's amount while the user is still typing: empty or unfinished text counts as 0.
double RunningAmount(const TEdit& edit) { return IsAmountText(edit.Text) ? ParseEditAmount(edit.Text) : 0.0; }

}  // namespace

double ParseEditAmount(const std::string& text) {
  if (!IsAmountText(text)) throw xml::EConvertError(Format("'%s' nie jest poprawną liczbą", text));
  return xml::XmlStrToFloat(text);
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
  bool allowed = (key >= '0' && key <= '9') || key == '-' || key == '.' || key == '\b';
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
  edTotal.Text = xml::XmlFloatToStr(total);
  edDiffV23.Text = TaxDifference(edNet23, edTax23, 23);
  edDiffV8.Text = TaxDifference(edNet8, edTax8, 8);
  edDiffV5.Text = TaxDifference(edNet5, edTax5, 5);
}

std::string TParagonDlg::TaxDifference(const TEdit& netEdit, const TEdit& taxEdit, double rate) const {
  if (!IsAmountText(netEdit.Text) || !IsAmountText(taxEdit.Text)) return "0";
  double net = ParseEditAmount(netEdit.Text);
  double tax = ParseEditAmount(taxEdit.Text);
  return xml::XmlFloatToStr(round2(tax - NetToTax(rate, net)));
}

bool TParagonDlg::CheckRatePair(TEdit& netEdit, TEdit& taxEdit, double rate) {
  bool hasNet = !netEdit.Text.empty();
  bool hasTax = !taxEdit.Text.empty();
  try {
    if (!hasNet && hasTax) Fail("Brak wartości netto w stawce %.0f%%", rate);
    if (hasNet && !hasTax) Fail("Brak wartości podatku w stawce %.0f%%", rate);
    if (hasNet && hasTax) {
      double net = ParseEditAmount(netEdit.Text);
      double tax = ParseEditAmount(taxEdit.Text);
      double computed = NetToTax(rate, net);
      if (net > 1) {
        // The relative difference cannot be taken against a zero tax.
        if (tax == 0) Fail("Podatek w stawce %.0f%% nie może wynosić 0 przy wartości netto %.2f", rate, net);
        if (std::fabs(1 - computed / tax) > 0.01) {
          std::string question = Format(
              "Podatek w stawce %.0f%% wynoszący: %.2f\rzbyt różni się od wyliczonego: %.2f\rRóżnica: %.2f\r"
              "Zaakceptować?",
              rate, tax, computed, tax - computed);
          if (Ui().Ask(MessageKind::Confirmation, question, Buttons::YesNo) != Answer::Yes)
            Fail("Wartość spoza zakresu");
        }
      }
    }
    return true;
  } catch (const Error& error) {
    ActiveControl = hasNet ? &taxEdit : &netEdit;
    ShowErrorBox(error.what());
    return false;
  }
}

// Every value the dialog stores must be a JPK amount (xsd:decimal with at most two
// decimal places, type TKwotowy), and the row needs its document number.
bool TParagonDlg::CheckAmounts() {
  if (edDowodSprzedazy.Text.empty()) {
    ActiveControl = &edDowodSprzedazy;
    ShowErrorBox("Brak dowodu sprzedaży");
    return false;
  }
  for (TLabeledEdit* edit : AmountEdits()) {
    if (edit->Text.empty()) continue;
    try {
      ParseEditAmount(edit->Text);
      if (DecimalPlaces(edit->Text) > 2) Fail("Kwota %s ma więcej niż dwa miejsca po przecinku", edit->Text);
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
