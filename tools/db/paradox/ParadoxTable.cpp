// Opening a table (file look-up, header, code page, chain check) and reading its records.
#include "tools/db/paradox/ParadoxTable.h"

#include <algorithm>
#include <filesystem>

#include "base/Error.h"
#include "base/Text.h"
#include "tools/db/paradox/BlockChain.h"
#include "tools/db/paradox/HeaderReader.h"
#include "tools/db/paradox/RecordDecoder.h"
#include "tools/db/paradox/TextDecoder.h"

namespace velkar::db::paradox {

namespace fs = std::filesystem;

struct ParadoxTable::Impl {
  HeaderInfo info;
  std::shared_ptr<ByteSource> db;
  std::function<std::shared_ptr<ByteSource>()> openMemo;
  std::function<void(const std::string&)> warn;
  std::optional<TextDecoder> text;
};

namespace {

// `dir`/`name` if it exists, else a file of `dir` whose name matches `name` in any letter
// case (tables copied from DOS and Windows disks mix NAME.DB with name.mb).
std::optional<fs::path> FindNoCase(const fs::path& dir, const std::string& name) {
  std::error_code ec;
  fs::path exact = dir / name;
  if (fs::is_regular_file(exact, ec)) return exact;
  for (fs::directory_iterator it(dir.empty() ? fs::path(".") : dir, ec), end; !ec && it != end; it.increment(ec)) {
    if (EqualsNoCase(it->path().filename().string(), name) && it->is_regular_file(ec)) return it->path();
  }
  return std::nullopt;
}

std::optional<TextDecoder> ChooseDecoder(HeaderInfo& info, const ReadOptions& options) {
  TableHeader& h = info.header;
  int wanted = options.codePageOverride != 0 ? options.codePageOverride
               : h.headerCodePage != 0       ? h.headerCodePage
                                             : options.defaultCodePage;
  if (auto decoder = TextDecoder::ForCodePage(wanted)) {
    h.codePage = wanted;
    return decoder;
  }
  if (wanted != options.defaultCodePage) {
    if (auto decoder = TextDecoder::ForCodePage(options.defaultCodePage)) {
      if (options.warn)
        options.warn(Format("Tabela %s: nieznana strona kodowa %d; tekst odczytano w stronie kodowej %d", h.fileName,
                            wanted, options.defaultCodePage));
      h.codePage = options.defaultCodePage;
      return decoder;
    }
  }
  Fail("Tabela %s: nieobsługiwana strona kodowa %d", h.fileName, wanted);
}

// Reads the header, chooses the code page and walks the chain once (block headers only) to
// count the records and to find damage before the first record is handed out.
void Build(ParadoxTable::Impl* impl, const ReadOptions& options) {
  impl->info = ReadHeader(*impl->db, impl->info.header.fileName);
  impl->warn = options.warn;
  impl->text = ChooseDecoder(impl->info, options);
  TableHeader& h = impl->info.header;
  for (std::size_t i = 0; i < h.fields.size(); ++i) h.fields[i].name = impl->text->Decode(impl->info.rawFieldNames[i]);

  if (h.encrypted) {
    h.recordCount = h.headerRecordCount;
    return;
  }
  ChainTotals totals = WalkChain(*impl->db, impl->info, true, [](const unsigned char*, int) { return true; }, options.warn);
  h.recordCount = totals.records;
  if (!options.warn) return;
  if (totals.records != h.headerRecordCount || totals.blocks != impl->info.usedBlocks)
    options.warn(Format("Tabela %s: nagłówek podaje rekordów: %lld, bloków: %d; łańcuch bloków zawiera rekordów: %lld, "
                        "bloków: %d; odczytano rekordy z łańcucha",
                        h.fileName, h.headerRecordCount, impl->info.usedBlocks, totals.records, totals.blocks));
  else if (totals.blocks > 0 && totals.lastBlock != impl->info.lastBlock)
    options.warn(Format("Tabela %s: nagłówek podaje ostatni blok %d, a łańcuch bloków kończy się na bloku %d", h.fileName,
                        impl->info.lastBlock, totals.lastBlock));
}

bool HasBlobFields(const HeaderInfo& info) {
  return std::any_of(info.layout.begin(), info.layout.end(), [](const FieldLayout& field) {
    return field.type == FieldType::Memo || field.type == FieldType::Blob || field.type == FieldType::FormattedMemo ||
           field.type == FieldType::Ole || field.type == FieldType::Graphic;
  });
}

}  // namespace

ParadoxTable ParadoxTable::Open(const std::string& dbFileName, const ReadOptions& options) {
  fs::path given(dbFileName);
  std::string fileName = given.filename().string();
  if (fileName.empty()) Fail("Brak tabeli %s", dbFileName);
  if (!given.has_extension()) fileName += ".db";
  std::optional<fs::path> found = FindNoCase(given.parent_path(), fileName);
  if (!found) Fail("Brak tabeli %s", dbFileName);

  auto impl = std::make_shared<Impl>();
  impl->info.header.fileName = found->string();
  impl->db = OpenFileSource(found->string());
  if (!impl->db) Fail("Nie można otworzyć tabeli %s", found->string());
  Build(impl.get(), options);
  if (HasBlobFields(impl->info)) {
    fs::path memoPath = found->parent_path();
    std::string memoName = found->stem().string() + ".mb";
    impl->openMemo = [memoPath, memoName]() -> std::shared_ptr<ByteSource> {
      std::optional<fs::path> memo = FindNoCase(memoPath, memoName);
      return memo ? OpenFileSource(memo->string()) : nullptr;
    };
  }
  return ParadoxTable(impl);
}

ParadoxTable ParadoxTable::OpenBytes(const std::string& name, std::string db, std::optional<std::string> memo,
                                     const ReadOptions& options) {
  auto impl = std::make_shared<Impl>();
  impl->info.header.fileName = name;
  impl->db = MakeMemorySource(std::move(db));
  Build(impl.get(), options);
  if (memo) {
    std::shared_ptr<ByteSource> source = MakeMemorySource(std::move(*memo));
    impl->openMemo = [source] { return source; };
  }
  return ParadoxTable(impl);
}

const TableHeader& ParadoxTable::Header() const { return impl_->info.header; }

void ParadoxTable::ForEachRecord(const std::function<bool(const std::vector<Value>&)>& row) const {
  const HeaderInfo& info = impl_->info;
  if (info.header.encrypted)
    Fail("Tabela %s jest chroniona hasłem; usuń hasło w programie, do którego należy tabela", info.header.fileName);
  WarningSink warnings(impl_->warn);
  RecordDecoder decoder(info, *impl_->text, impl_->openMemo, warnings);
  std::vector<Value> values(info.layout.size());
  long long recordNumber = 0;
  WalkChain(
      *impl_->db, info, false,
      [&](const unsigned char* records, int count) {
        for (int r = 0; r < count; ++r) {
          decoder.Decode(records + static_cast<std::size_t>(r) * info.recordSize, ++recordNumber, values);
          if (!row(values)) return false;
        }
        return true;
      },
      nullptr);  // what the chain's block headers show was reported when the table was opened
  warnings.Finish(info.header.fileName);
}

std::string FieldTypeName(FieldType type) {
  switch (type) {
    case FieldType::Alpha: return "Alpha";
    case FieldType::Date: return "Date";
    case FieldType::Short: return "Short";
    case FieldType::Long: return "Long";
    case FieldType::Currency: return "Currency";
    case FieldType::Number: return "Number";
    case FieldType::Logical: return "Logical";
    case FieldType::Memo: return "Memo";
    case FieldType::Blob: return "BLOb";
    case FieldType::FormattedMemo: return "Formatted memo";
    case FieldType::Ole: return "OLE";
    case FieldType::Graphic: return "Graphic";
    case FieldType::Time: return "Time";
    case FieldType::Timestamp: return "Timestamp";
    case FieldType::AutoInc: return "AutoInc";
    case FieldType::Bcd: return "BCD";
    case FieldType::Bytes: return "Bytes";
  }
  return "?";
}

}  // namespace velkar::db::paradox
