// Commands of the database engine: a table or an SQL query's result printed as CSV, for
// bookkeepers who want to look into their data.
#include <iostream>

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

// velkar db dump TABLE [--filter EXPR] [--fields A,B,...]
int RunDump(CommandContext& context) {
  if (context.args.positional.size() != 1) Fail("Podaj jedną tabelę: velkar db dump TABELA [--filter WYRAŻENIE] [--fields A,B]");
  std::string path = NativePath(context.args.positional[0]);
  db::Session session;
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

// velkar db query --dir FOLDER FILE.sql [--param NAME=VALUE]...
int RunQuery(CommandContext& context) {
  if (context.args.positional.size() != 1)
    Fail("Podaj jeden plik SQL: velkar db query --dir FOLDER PLIK.sql [--param NAZWA=WARTOŚĆ]");
  if (!context.args.Has("dir")) Fail("Brak opcji --dir (folder tabel zapytania)");
  db::Session session;
  db::TQuery query(&session);
  query.DatabaseName = IncludeTrailingPathDelimiter(NativePath(context.args.Get("dir")));
  query.SQL.LoadFromFile(context.args.positional[0]);
  for (const std::string& param : context.args.All("param")) {
    size_t eq = param.find('=');
    if (eq == std::string::npos || eq == 0) Fail("Parametr %s: oczekiwano NAZWA=WARTOŚĆ", param);
    // Whole numbers and decimals with "." are numbers; any other value is text.
    std::string value = param.substr(eq + 1);
    long long whole = 0;
    double number = 0;
    db::TParam& target = query.ParamByName(param.substr(0, eq));
    if (TryParseInt(value, whole)) target.SetAsInteger(whole);
    else if (TryParseDouble(value, number)) target.SetAsFloat(number);
    else target.SetAsString(value);
  }
  query.Open();
  db::WriteCsv(query, {}, context.args.positional[0], std::cout);
  std::cout.flush();
  return 0;
}

}  // namespace

std::vector<Command> DbCommands() {
  return {
      {"db dump", "velkar db dump TABELA [--filter WYRAŻENIE] [--fields A,B,...]", {"filter", "fields"}, {}, RunDump},
      {"db query", "velkar db query --dir FOLDER PLIK.sql [--param NAZWA=WARTOŚĆ]...", {"dir", "param"}, {}, RunQuery},
  };
}

}  // namespace velkar::cli
