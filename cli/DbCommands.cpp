// Commands of the database engine: a table or an SQL query's result printed as CSV, for
// bookkeepers who want to look into their data.
#include <cmath>
#include <iostream>
#include <string_view>

#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "cli/Commands.h"
#include "tools/db/CsvExport.h"
#include "tools/db/Query.h"
#include "tools/db/Session.h"
#include "tools/db/Table.h"

namespace velkar::cli {

namespace {

std::vector<std::string> SplitFieldList(const std::string& list) {
  std::vector<std::string> fields;
  size_t start = 0;
  while (start <= list.size()) {
    size_t end = list.find(',', start);
    if (end == std::string::npos) end = list.size();
    std::string name = Trim(std::string_view(list).substr(start, end - start));
    if (!name.empty()) fields.push_back(name);
    start = end + 1;
  }
  return fields;
}

// The session of one command: warnings on standard error, and --codepage as the code page
// of Paradox tables that name none (as `velkar db info` takes it).
void SetUpSession(db::Session& session, const ParsedArgs& args) {
  session.SetWarningHandler([](const std::string& text) { std::cerr << "Ostrzeżenie: " << text << '\n'; });
  if (!args.Has("codepage")) return;
  long long codePage = 0;
  if (!TryParseInt(args.Get("codepage"), codePage) || codePage <= 0 || codePage > 65535)
    Fail("Nieprawidłowa strona kodowa: %s", args.Get("codepage"));
  session.SetParadoxCodePage(static_cast<int>(codePage));
}

// velkar db dump TABLE [--filter EXPR] [--fields A,B,...] [--codepage N]
int RunDump(CommandContext& context) {
  if (context.args.positional.size() != 1)
    Fail("Podaj jedną tabelę: velkar db dump TABELA [--filter WYRAŻENIE] [--fields A,B] [--codepage N]");
  std::string path = NativePath(context.args.positional[0]);
  db::Session session;
  SetUpSession(session, context.args);
  db::TTable table(&session);
  table.DatabaseName = ExtractFilePath(path);
  table.TableName = ExtractFileName(path);
  if (context.args.Has("filter")) {
    table.Filter = context.args.Get("filter");
    table.Filtered = true;
  }
  table.Open();
  db::WriteCsv(table, SplitFieldList(context.args.Get("fields")), table.FullName(), std::cout);
  std::cout.flush();
  return 0;
}

// Whether `text` is a plain decimal number: an optional minus, digits, and optionally "."
// and more digits. Only such values are bound as numbers (not "NaN", "inf", "+-5", "1e3").
bool IsPlainDecimal(std::string_view text) {
  if (text.starts_with('-')) text.remove_prefix(1);
  size_t dot = text.find('.');
  std::string_view whole = text.substr(0, dot);
  std::string_view fraction = dot == std::string_view::npos ? std::string_view("0") : text.substr(dot + 1);
  auto digits = [](std::string_view part) {
    return !part.empty() && part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  return digits(whole) && digits(fraction);
}

void BindParameter(db::TQuery& query, const std::string& param) {
  size_t eq = param.find('=');
  if (eq == std::string::npos || eq == 0) Fail("Parametr %s: oczekiwano NAZWA=WARTOŚĆ", param);
  std::string value = param.substr(eq + 1);
  db::TParam& target = query.ParamByName(param.substr(0, eq));
  long long whole = 0;
  double number = 0;
  if (IsPlainDecimal(value) && value.find('.') == std::string::npos && TryParseInt(value, whole))
    target.SetAsInteger(whole);
  else if (IsPlainDecimal(value) && value.find('.') != std::string::npos && TryParseDouble(value, number) &&
           std::isfinite(number))
    target.SetAsFloat(number);
  else
    target.SetAsString(value);
}

// A whole-number option from 1 to `max`, or its default when not given.
long long CountOption(const ParsedArgs& args, const std::string& name, long long defaultValue, long long max) {
  if (!args.Has(name)) return defaultValue;
  long long value = 0;
  if (!TryParseInt(args.Get(name), value) || value < 1 || value > max)
    Fail("Nieprawidłowa wartość opcji --%s: %s (oczekiwano liczby od 1 do %lld)", name, args.Get(name), max);
  return value;
}

constexpr long long kDefaultRowLimit = 100000;
constexpr long long kDefaultSeconds = 60;

// velkar db query --dir FOLDER FILE.sql [--param NAME=VALUE]... [--codepage N] [--limit N] [--timeout S]
int RunQuery(CommandContext& context) {
  if (context.args.positional.size() != 1)
    Fail("Podaj jeden plik SQL: velkar db query --dir FOLDER PLIK.sql [--param NAZWA=WARTOŚĆ] [--codepage N]");
  if (!context.args.Has("dir")) Fail("Brak opcji --dir (folder tabel zapytania)");
  db::Session session;
  SetUpSession(session, context.args);
  db::TQuery query(&session);
  query.DatabaseName = IncludeTrailingPathDelimiter(NativePath(context.args.Get("dir")));
  query.SQL.LoadFromFile(context.args.positional[0]);
  for (const std::string& param : context.args.All("param")) BindParameter(query, param);
  db::TQuery::Limits limits;
  limits.maxRows = CountOption(context.args, "limit", kDefaultRowLimit, 1LL << 62);
  limits.maxSeconds = static_cast<int>(CountOption(context.args, "timeout", kDefaultSeconds, 24 * 3600));
  // Rows are printed as they come: a long query shows its progress and can be stopped.
  auto line = [](const auto& values, auto text) {
    for (size_t i = 0; i < values.size(); ++i) std::cout << (i ? "," : "") << db::CsvField(text(values[i]));
    std::cout << "\r\n";
  };
  try {
    query.StreamRows(
        limits, [&](const std::vector<std::string>& names) { line(names, [](const std::string& n) { return n; }); },
        [&](const std::vector<db::Field>& row) { line(row, [](const db::Field& f) { return db::CsvValue(f); }); });
  } catch (...) {
    std::cout.flush();
    throw;
  }
  std::cout.flush();
  return 0;
}

}  // namespace

std::vector<Command> DbCommands() {
  return {
      {"db dump", "velkar db dump TABELA [--filter WYRAŻENIE] [--fields A,B,...] [--codepage N]",
       {"filter", "fields", "codepage"}, {}, RunDump},
      {"db query",
       "velkar db query --dir FOLDER PLIK.sql [--param NAZWA=WARTOŚĆ]... [--codepage N] [--limit WIERSZE] "
       "[--timeout SEKUNDY]",
       {"dir", "param", "codepage", "limit", "timeout"}, {}, RunQuery},
  };
}

}  // namespace velkar::cli
