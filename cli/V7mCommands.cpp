// Commands of the JPK_V7M editor: they drive TJpkVatDlg and its dialogs as a user would,
// through the terminal's UI port, and save with the editor's own save.
#include <cstdlib>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include <deque>
#include <functional>
#include <iostream>
#include <map>

#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "base/DateTime.h"
#include "cli/Commands.h"
#include "cli/ForwardingUi.h"
#include "cli/Program.h"
#include "jpkfiles/JpkHeaders.h"
#include "ksef/KsefList.h"

namespace velkar::cli {

namespace {

// The terminal's port with the parts a command plays itself: the files the dialogs
// return, the modal windows, and the question about unsaved changes (a command saves
// where it was told to at its end). Everything else goes to the terminal.
class EditorSession final : public ForwardingUi {
 public:

  void QueueFileName(std::string name) { fileNames_.push_back(std::move(name)); }
  void OnModal(const std::string& windowName, std::function<int(Window&)> handler) {
    modals_[windowName] = std::move(handler);
  }
  int Problems() const { return problems_; }
  // A save dialog with no name queued takes the name it proposes.
  void AcceptProposedName() { acceptProposal_ = true; }

  Answer Ask(MessageKind kind, const std::string& text, Buttons buttons) override {
    if (text == "Zapisać dokonane zmiany?" || text == "Zapisać wygenerowany plik?") return Answer::No;
    return terminal_.Ask(kind, text, buttons);
  }
  void ShowMessage(MessageKind kind, const std::string& text) override {
    if (kind != MessageKind::Information) ++problems_;
    terminal_.ShowMessage(kind, text);
  }
  std::optional<std::string> OpenFileDialog(const FileDialogOptions&) override { return NextFileName(); }
  std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) override {
    if (fileNames_.empty() && acceptProposal_ && !options.fileName.empty()) {
      bool absolute = options.fileName.front() == '/' || options.initialDir.empty();
      std::string name = absolute ? options.fileName : IncludeTrailingPathDelimiter(options.initialDir) + options.fileName;
      // As a save dialog does, a name without an extension gets the default one.
      if (ExtractFileExt(name).empty() && !options.defaultExt.empty()) name += "." + options.defaultExt;
      return name;
    }
    return NextFileName();
  }
  int ShowModal(Window& window) override {
    window.FormShow();
    auto it = modals_.find(window.Name);
    window.ModalResultValue = it == modals_.end() ? mrCancel : it->second(window);
    return window.ModalResultValue;
  }

 private:
  std::optional<std::string> NextFileName() {
    if (fileNames_.empty()) return {};
    std::string name = fileNames_.front();
    fileNames_.pop_front();
    return name;
  }

  std::deque<std::string> fileNames_;
  std::map<std::string, std::function<int(Window&)>> modals_;
  int problems_ = 0;
  bool acceptProposal_ = false;
};

// A command reads, writes and reloads whole documents of up to millions of small nodes.
// Freed memory is kept in the process for the next tree instead of going back to the
// system and being faulted in again.
void KeepFreedMemory() {
#if defined(__GLIBC__)
  mallopt(M_TRIM_THRESHOLD, 1 << 30);
  mallopt(M_TOP_PAD, 64 << 20);
  mallopt(M_MMAP_THRESHOLD, 32 << 20);
#endif
}

// A failure whose message the window has already shown on the terminal.
struct AlreadyReported {};

const std::string& OneFile(const CommandContext& context, const char* usage) {
  if (context.args.positional.size() != 1) Fail("Użycie: %s", usage);
  return context.args.positional[0];
}

// Opens `fileName` in the editor as "Wczytaj JPK VAT" does.
void OpenInEditor(TJpkVatDlg& dlg, EditorSession& session, const std::string& fileName) {
  int problems = session.Problems();
  session.QueueFileName(fileName);
  if (dlg.btnOpenJPKClick()) return;
  if (session.Problems() > problems) throw AlreadyReported{};
  Fail("Nie wczytano pliku %s", fileName);
}

// Saves the editor's document to `fileName` as "Zapisz JPK VAT" does (an empty name: to
// the name the save proposes).
void SaveFromEditor(TJpkVatDlg& dlg, EditorSession& session, const std::string& fileName) {
  if (fileName.empty())
    session.AcceptProposedName();
  else
    session.QueueFileName(fileName);
  if (!dlg.btnSaveJPKClick()) Fail("Nie zapisano pliku %s", fileName);
  std::cout << "Zapisano plik " << CurrentJpkFileName() << '\n';
}

// Runs a command body; a failure already shown ends with exit code 1 and nothing more.
int Guarded(const std::function<int()>& body) {
  KeepFreedMemory();
  try {
    return body();
  } catch (const AlreadyReported&) {
    return 1;
  }
}

void Print(const char* label, const std::string& value) {
  std::cout << label << ':' << (value.empty() ? "" : " ") << value << '\n';
}

void Print(const TLabeledEdit& edit) { Print(edit.EditLabel.Text.c_str(), edit.Text); }

void PrintCheck(const TLabeledEdit& edit) {
  std::cout << "  kolor: " << (edit.BackColor == Color::Red ? "czerwony" : "zwykły") << '\n';
  if (!edit.Hint.empty()) std::cout << "  podpowiedź: " << edit.Hint << '\n';
}

void PrintWindow(TJpkVatDlg& dlg) {
  for (const TLabeledEdit* edit : {&dlg.edNIP, &dlg.edGenDate, &dlg.edDateRange, &dlg.edStructure, &dlg.edSaleTaxSum,
                                   &dlg.edBuyTaxSum, &dlg.edSaleLinesCount, &dlg.edBuyLinesCount})
    Print(*edit);
  if (dlg.edKsefMissing.Visible) {
    Print(dlg.edKsefMissing);
    PrintCheck(dlg.edKsefMissing);
  }
  std::cout << dlg.gbDeklaracja.Text << '\n';
  if (dlg.edP360.Visible) Print(dlg.edP360);
  Print(dlg.edP37);
  Print(dlg.edP38);
  PrintCheck(dlg.edP38);
  Print(dlg.edP39);
  Print(dlg.edP40Plus42);
  Print(dlg.edP48);
  PrintCheck(dlg.edP48);
  for (const TLabeledEdit* edit : {&dlg.edP49, &dlg.edP50, &dlg.edP51, &dlg.edP52, &dlg.edP53, &dlg.edP54})
    Print(*edit);
  std::string term;
  for (const TRadioButton* button : dlg.ZwrotButtons())
    if (button->Checked) term = button->Text;
  Print(dlg.gbZwrot.Text.c_str(), term);
  Print(dlg.gbZaliczenieNaZobowiazania.Text.c_str(), dlg.cbP59.Checked ? dlg.cbP59.Text : std::string());
  for (const TLabeledEdit* edit : {&dlg.edP60, &dlg.edP61, &dlg.edP62, &dlg.edP68, &dlg.edP69, &dlg.edORDZU})
    Print(*edit);
}

constexpr const char* kShowUsage = "velkar v7m show PLIK";
constexpr const char* kRecalcUsage =
    "velkar v7m recalc PLIK [-o WYNIK] [--declaration] [--P39 N] [--P49 N] [--P50 N] [--P52 N] "
    "[--P54 N --zwrot 540|55|56|560|57|58] [--P59 [--P60 N] [--P61 TEKST]] [--ordzu TEKST]";
constexpr const char* kMergeUsage = "velkar v7m merge PLIK DOŁĄCZANY... -o WYNIK";
constexpr const char* kParagonUsage =
    "velkar v7m paragon PLIK [--dowod TEKST] [--free N] [--zero N] [--net5 N --tax5 N] [--net8 N --tax8 N] "
    "[--net23 N --tax23 N] [-o WYNIK]";
constexpr const char* kClearUsage = "velkar v7m clear-declaration PLIK";
constexpr const char* kGenerateUsage =
    "velkar v7m generate --from gradmo|tulvo|fennik --month RRRR-MM [--no-sales] [--no-purchases] [--correction] "
    "[--declaration] [--into PLIK] [--ksef LISTA.csv] [-o WYNIK]";

int RunShow(CommandContext& context) {
  const std::string& file = OneFile(context, kShowUsage);
  return Guarded([&] {
    Program program;
    program.Create(context.startupArgs);
    EditorSession session;
    OpenInEditor(*program.JpkVatDlg, session, file);
    PrintWindow(*program.JpkVatDlg);
    return 0;
  });
}

// The declaration options as what the user types into the edits.
void ApplyDeclarationOptions(TJpkVatDlg& dlg, const ParsedArgs& args) {
  const std::pair<const char*, TEdit*> edits[] = {{"P39", &dlg.edP39},    {"P49", &dlg.edP49}, {"P50", &dlg.edP50},
                                                  {"P52", &dlg.edP52},    {"P60", &dlg.edP60}, {"P61", &dlg.edP61},
                                                  {"ordzu", &dlg.edORDZU}};
  for (auto [option, edit] : edits)
    if (args.Has(option)) edit->Text = args.Get(option);
  if (args.Has("P54")) {
    dlg.edP54.Text = args.Get("P54");
    dlg.edP54Change();
  }
  if (args.Has("zwrot")) {
    // The terms the document's structure offers (JPK_V7M(3) has no 60 days, P_57).
    std::string allowed;
    TRadioButton* chosen = nullptr;
    for (auto [button, position] : dlg.OfferedZwrotTerms()) {
      allowed += (allowed.empty() ? "" : ", ") + std::to_string(position);
      if (args.Get("zwrot") == std::to_string(position)) chosen = button;
    }
    if (!chosen) Fail("Niepoprawna wartość opcji --zwrot: %s (dozwolone: %s)", args.Get("zwrot"), allowed);
    dlg.rbZwrotClick(*chosen);
  }
  if (args.Has("P59")) {
    dlg.cbP59.Checked = true;
    dlg.cbP59Click();
  }
}

int RunRecalc(CommandContext& context) {
  const std::string& file = OneFile(context, kRecalcUsage);
  const ParsedArgs& args = context.args;
  if (!args.Has("declaration"))
    for (const char* option : {"P39", "P49", "P50", "P52", "P54", "zwrot", "P59", "P60", "P61", "ordzu"})
      if (args.Has(option)) Fail("Opcja --%s działa tylko z --declaration", option);
  return Guarded([&] {
    Program program;
    program.Create(context.startupArgs);
    TJpkVatDlg& dlg = *program.JpkVatDlg;
    EditorSession session;
    OpenInEditor(dlg, session, file);
    if (args.Has("declaration")) {
      ApplyDeclarationOptions(dlg, args);
      if (!dlg.btnRecalcDeclarationClick()) return 1;
    }
    SaveFromEditor(dlg, session, args.Get("o", file));
    return 0;
  });
}

int RunMerge(CommandContext& context) {
  const auto& files = context.args.positional;
  if (files.size() < 2 || !context.args.Has("o")) Fail("Użycie: %s", kMergeUsage);
  return Guarded([&] {
    Program program;
    program.Create(context.startupArgs);
    TJpkVatDlg& dlg = *program.JpkVatDlg;
    EditorSession session;
    session.OnModal("TdlgLinkAsk", [](Window& window) {
      static_cast<TdlgLinkAsk&>(window).btnLinkJPKClick();
      return window.ModalResultValue;
    });
    for (const std::string& file : files) OpenInEditor(dlg, session, file);
    SaveFromEditor(dlg, session, context.args.Get("o"));
    return 0;
  });
}

int RunParagon(CommandContext& context) {
  const std::string& file = OneFile(context, kParagonUsage);
  const ParsedArgs& args = context.args;
  return Guarded([&] {
    Program program;
    program.Create(context.startupArgs);
    TJpkVatDlg& dlg = *program.JpkVatDlg;
    EditorSession session;
    bool confirmed = false;
    session.OnModal("TParagonDlg", [&](Window& window) {
      auto& paragon = static_cast<TParagonDlg&>(window);
      const std::pair<const char*, TEdit*> edits[] = {{"dowod", &paragon.edDowodSprzedazy},
                                                      {"free", &paragon.edValueFree},
                                                      {"zero", &paragon.edValue0},
                                                      {"net5", &paragon.edNet5},
                                                      {"tax5", &paragon.edTax5},
                                                      {"net8", &paragon.edNet8},
                                                      {"tax8", &paragon.edTax8},
                                                      {"net23", &paragon.edNet23},
                                                      {"tax23", &paragon.edTax23}};
      for (auto [option, edit] : edits)
        if (args.Has(option)) edit->Text = args.Get(option);
      paragon.RecalcParagon();
      confirmed = paragon.btnSaveClick();
      return confirmed ? mrOk : mrCancel;
    });
    int problems = session.Problems();
    OpenInEditor(dlg, session, file);
    dlg.btnAddParagonSaleClick();
    if (!confirmed) {
      if (session.Problems() > problems) return 1;
      Fail("Nie zapisano sprzedaży paragonowej");
    }
    SaveFromEditor(dlg, session, args.Get("o", file));
    return 0;
  });
}

int RunClearDeclaration(CommandContext& context) {
  const std::string& file = OneFile(context, kClearUsage);
  return Guarded([&] {
    Program program;
    program.Create(context.startupArgs);
    TJpkVatDlg& dlg = *program.JpkVatDlg;
    EditorSession session;
    OpenInEditor(dlg, session, file);
    if (!dlg.btnClearDeclaration.Enabled) Fail("Plik %s nie ma części deklaracyjnej", file);
    dlg.btnClearDeclarationClick();
    return 0;
  });
}

// The month of --month ("2024-03").
DateTime GenerationMonth(const std::string& text) {
  std::optional<DateTime> month;
  if (text.size() == 7 && text[4] == '-') month = ParseDate(text + "-01");
  if (!month) Fail("Niepoprawny miesiąc: %s (oczekiwano RRRR-MM)", text);
  return *month;
}

// "Nowy JPK_V7M" from the editor's "Generuj JPK VAT", with the choices of the options; the
// rows go into a new document, or into the one of --into; then the editor saves.
int RunGenerate(CommandContext& context) {
  const ParsedArgs& args = context.args;
  if (!context.args.positional.empty() || !args.Has("from") || !args.Has("month")) Fail("Użycie: %s", kGenerateUsage);
  const std::string source = args.Get("from");
  if (source != "gradmo" && source != "tulvo" && source != "fennik")
    Fail("Niepoprawna wartość opcji --from: %s (dozwolone: gradmo, tulvo, fennik)", source);
  const DateTime month = GenerationMonth(args.Get("month"));
  if (args.Has("ksef") && V7StructureForPeriod(month) != v7m::V7Structure::V3)
    Fail("Okres %04d-%02d rozlicza się w strukturze JPK_V7M (2), bez numerów KSeF (opcja --ksef)", month.year,
         month.month);
  return Guarded([&] {
    Program program;
    program.Create(context.startupArgs);
    TJpkVatDlg& dlg = *program.JpkVatDlg;
    TGenJpkVatDlg& gen = *program.GenJpkVatDlg;
    if (args.Has("ksef"))
      gen.KsefNumbers = std::make_shared<const KsefNumberList>(KsefNumberList::Read(args.Get("ksef")));
    EditorSession session;
    dlg.FormShow();
    if (args.Has("into")) OpenInEditor(dlg, session, args.Get("into"));
    session.OnModal("TdlgLinkAsk", [](Window& window) {
      static_cast<TdlgLinkAsk&>(window).btnLinkJPKClick();
      return window.ModalResultValue;
    });
    session.OnModal("TGenJpkVatDlg", [&](Window&) {
      TRadioButton& button = source == "gradmo" ? gen.rbGradmo : source == "tulvo" ? gen.rbTulvo : gen.rbFennik;
      if (!button.Enabled)
        Fail("Źródło %s jest niedostępne: konfiguracja nie podaje folderu %s", button.Text,
             source == "gradmo" ? "QorDataDir" : source == "tulvo" ? "TulvoDir" : "FennikDir");
      gen.SetMonth(month);
      gen.rbSourceClick(button);
      gen.cbSale.Checked = !args.Has("no-sales");
      gen.cbBuy.Checked = !args.Has("no-purchases");
      gen.rbPurposeClick(args.Has("correction") ? gen.rbKorekta : gen.rbZlozenie);
      gen.cbDecl.Checked = args.Has("declaration");
      gen.btnDoItClick();
      return gen.ModalResultValue;
    });
    if (!dlg.btnMakeJPK.Enabled) Fail("Konfiguracja nie podaje folderu danych Gradmo, Tulvo ani Fennik");
    dlg.btnMakeJPKClick();
    if (gen.ModalResultValue != mrOk || !dlg.LoadedJpk) Fail("Nie wygenerowano pliku JPK_V7M");
    for (const TLabeledEdit* edit : {&dlg.edSaleLinesCount, &dlg.edSaleTaxSum, &dlg.edBuyLinesCount, &dlg.edBuyTaxSum})
      Print(*edit);
    SaveFromEditor(dlg, session, args.Get("o"));
    return 0;
  });
}

}  // namespace

std::vector<Command> V7mCommands() {
  return {
      {"v7m show", std::string(kShowUsage) + " (co pokazuje okno JPK_V7M po wczytaniu pliku)", {}, {}, RunShow},
      {"v7m recalc",
       kRecalcUsage,
       {"o", "P39", "P49", "P50", "P52", "P54", "zwrot", "P60", "P61", "ordzu"},
       {"declaration", "P59"},
       RunRecalc},
      {"v7m merge", kMergeUsage, {"o"}, {}, RunMerge},
      {"v7m paragon",
       kParagonUsage,
       {"o", "dowod", "free", "zero", "net5", "tax5", "net8", "tax8", "net23", "tax23"},
       {},
       RunParagon},
      {"v7m clear-declaration", kClearUsage, {}, {}, RunClearDeclaration},
      {"v7m generate",
       kGenerateUsage,
       {"from", "month", "into", "ksef", "o"},
       {"no-sales", "no-purchases", "correction", "declaration"},
       RunGenerate},
  };
}

}  // namespace velkar::cli
