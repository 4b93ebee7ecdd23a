// `velkar export`: the warehouse export dialog run for one month and one format, as a user
// would press "Generuj"; questions go to the terminal (or --yes / --no), -o answers the save
// dialog.
#include <iostream>
#include <map>

#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "cli/Commands.h"
#include "cli/ForwardingUi.h"
#include "cli/Program.h"
#include "jpkfiles/JpkLoadSave.h"
#include "warehouse/SymfoniaWriter.h"

namespace velkar::cli {

namespace {

constexpr const char* kExportUsage = "velkar export fa|mag|magik|symfonia|ramzes --month RRRR-MM [-o WYNIK]";

// The terminal's port, with the save dialog answered by -o, or accepted with its proposed
// name (in its folder, with the default extension) when there is no -o.
class ExportPort final : public ForwardingUi {
 public:
  explicit ExportPort(std::optional<std::string> output) : output_(std::move(output)) {}

  const std::string& Saved() const { return saved_; }

  std::optional<std::string> SaveFileDialog(const FileDialogOptions& options) override {
    if (output_) return saved_ = *output_;
    std::string name = options.fileName;
    if (ExtractFilePath(name).empty() && !options.initialDir.empty())
      name = IncludeTrailingPathDelimiter(options.initialDir) + name;
    if (ExtractFileExt(name).empty() && !options.defaultExt.empty()) name += "." + options.defaultExt;
    return saved_ = name;
  }

 private:
  std::optional<std::string> output_;
  std::string saved_;
};

int RunExport(CommandContext& context) {
  const ParsedArgs& args = context.args;
  static const std::map<std::string, std::string> formats = {{"fa", "JPK_FA"},
                                                             {"mag", "JPK_MAG"},
                                                             {"magik", "Wapro (Magik)"},
                                                             {"symfonia", "Sage (Symfonia)"},
                                                             {"ramzes", "Ramzes"}};
  if (args.positional.size() != 1 || !args.Has("month")) Fail("Użycie: %s", kExportUsage);
  auto format = formats.find(args.positional[0]);
  if (format == formats.end()) Fail("Nieznany format: %s (dozwolone: fa, mag, magik, symfonia, ramzes)", args.positional[0]);
  std::string month = args.Get("month");
  std::optional<DateTime> first = month.size() == 7 ? ParseDate(month + "-01") : std::nullopt;
  if (!first) Fail("Niepoprawny miesiąc: %s (oczekiwano RRRR-MM)", month);

  Program program;
  program.Create(context.startupArgs);
  TGenFromGradmoDlg& dlg = *program.GenFromGradmoDlg;
  std::optional<std::string> output;
  if (args.Has("o")) output = args.Get("o");
  bool symfonia = format->first == "symfonia";
  if (symfonia && output) dlg.SymfoniaTarget = ExpandFileName(*output);
  ExportPort port(symfonia ? std::nullopt : output);
  dlg.FormShow();
  dlg.dtp.Date = FormatDate(*first);
  dlg.cbToFormat.Text = format->second;
  dlg.btnDoItClick();
  std::string written = symfonia ? (output ? *output : std::string(kSymfoniaFile)) : port.Saved();
  if (!written.empty() && FileExists(written)) std::cout << "Zapisano plik " << written << '\n';
  return 0;
}

}  // namespace

std::vector<Command> ExportCommands() {
  return {{"export", kExportUsage, {"month", "o"}, {}, RunExport}};
}

}  // namespace velkar::cli
