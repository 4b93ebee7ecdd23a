// The warehouse export dialog: the period, the format and the dispatch to the writers.
#define PCRE2_CODE_UNIT_WIDTH 8
#include "warehouse/GenFromGradmoDlg.h"

#include <pcre2.h>

#include "app/Settings.h"
#include "base/Error.h"
#include "exchange/GradmoExchange.h"

namespace velkar {

namespace {

// Case-insensitive search of a plain word, through PCRE2 as the program's other
// pattern matching (a caseless literal pattern, Polish letters included).
bool ContainsNoCase(const std::string& text, const std::string& word) {
  int error = 0;
  PCRE2_SIZE offset = 0;
  pcre2_code* code = pcre2_compile(reinterpret_cast<PCRE2_SPTR>(word.data()), word.size(),
                                   PCRE2_LITERAL | PCRE2_CASELESS | PCRE2_UTF, &error, &offset, nullptr);
  if (code == nullptr) return false;
  pcre2_match_data* match = pcre2_match_data_create_from_pattern(code, nullptr);
  int rc = pcre2_match(code, reinterpret_cast<PCRE2_SPTR>(text.data()), text.size(), 0, 0, match, nullptr);
  pcre2_match_data_free(match);
  pcre2_code_free(code);
  return rc >= 0;
}

}  // namespace

ExportTarget TargetOfFormat(const std::string& text) {
  if (text == "JPK_FA") return ExportTarget::JpkFa;
  if (text == "JPK_MAG") return ExportTarget::JpkMag;
  if (ContainsNoCase(text, "Wapro")) return ExportTarget::Wapro;
  if (ContainsNoCase(text, "Sage")) return ExportTarget::Symfonia;
  if (text == "Ramzes") return ExportTarget::Ramzes;
  if (text == "Buchalter") return ExportTarget::Buchalter;
  return ExportTarget::None;
}

TGenFromGradmoDlg::TGenFromGradmoDlg(db::Session* session)
    : Window("TGenFromGradmoDlg", "Generuj dane z Gradmo..."), GradmoSource(session) {
  cbToFormat.Items = {"JPK_FA", "JPK_MAG", "Wapro (Magik)", "Sage (Symfonia)", "Ramzes", "Buchalter"};
  ProgressBar1.Visible = false;
  FormCreate();
}

void TGenFromGradmoDlg::FormCreate() { dtp.Date = FormatDate(StartOfMonth(Settings().CurDate)); }

void TGenFromGradmoDlg::FormShow() {
  ModalResultValue = mrNone;
  ActiveControl.clear();
}

void TGenFromGradmoDlg::btnDoItClick() {
  if (cbToFormat.Text == kNoFormat) {
    ShowInfo(kNoFormatMessage);
    ActiveControl = cbToFormat.Name;
    return;
  }
  std::optional<DateTime> chosen = ParseDate(dtp.Date);
  if (!chosen) Fail("Niepoprawna data okresu: %s", dtp.Date);
  Settings().CurDate = *chosen;
  // The window closes with OK however the export ends; an error goes on to the caller.
  struct CloseWithOk {
    Window& window;
    ~CloseWithOk() { window.ModalResultValue = mrOk; }
  } close{*this};
  BusyCursor busy;
  DoExport();
}

void TGenFromGradmoDlg::DoExport() {
  db::Session& session = *TableSession;
  session.Activate();
  struct Closing {
    TGenFromGradmoDlg& dlg;
    ~Closing() {
      dlg.CloseTables();
      try {
        dlg.TableSession->Deactivate();
      } catch (...) {  // the final step must not hide the run's own error
      }
    }
  } closing{*this};
  SetTableNames(Settings());
  SetPeriodFilter(Settings().CurDate);
  OpenTables();
  switch (TargetOfFormat(cbToFormat.Text)) {
    case ExportTarget::JpkFa: MakeJpkFa(*this); break;
    case ExportTarget::JpkMag: MakeJpkMag(*this); break;
    case ExportTarget::Wapro: MakeWapro(*this); break;
    case ExportTarget::Symfonia: MakeSymfonia(*this); break;
    case ExportTarget::Ramzes: MakeRamzes(*this); break;
    case ExportTarget::Buchalter: MakeBuchalter(*this); break;
    case ExportTarget::None: break;
  }
}

void MakeBuchalter(GradmoSource&) { ShowInfo(TGenFromGradmoDlg::kBuchalterMessage); }

}  // namespace velkar
