// The database engine at register scale: a sales register of N records walked with a
// master-detail link into a contractor table of N / 10 cards, as the register readers do.
// Tables are written once per size with pxlib into $TMPDIR/velkar-bench-db/ and reused.
//
//   build/bench/db_bench                      all sizes, with the fitted complexity
//   build/bench/db_bench --benchmark_filter=Walk/100000
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <filesystem>
#include <string>

#include "tests/tools/db/ParadoxFixture.h"
#include "tools/db/Session.h"
#include "tools/db/Table.h"

using namespace velkar;
using test::PxDate;
using test::PxType;

namespace {

// A deterministic spread of payers: most documents have a card, every 50th has none.
long long PayerOf(long long record, long long contractors) {
  if (record % 50 == 49) return contractors + 1 + record % 7;
  return (record * 7919) % contractors + 1;
}

std::string Folder(long long records) {
  namespace fs = std::filesystem;
  fs::path folder = fs::temp_directory_path() / "velkar-bench-db" / std::to_string(records);
  if (fs::exists(folder / "Users.db") && fs::exists(folder / "REG.db")) return folder.string() + "/";
  fs::create_directories(folder);
  long long contractors = records / 10;
  test::WriteParadoxTable((folder / "REG.db").string(),
                          {{"Number", PxType::Long}, {"SaleDate", PxType::Date}, {"Payer", PxType::Long},
                           {"Net", PxType::Currency}},
                          records, [&](long long i, std::vector<test::PxValue>& v) {
                            v[0] = i + 1;
                            v[1] = PxDate{"2024-0" + std::to_string(2 + i % 3) + "-" + std::to_string(10 + i % 19)};
                            v[2] = PayerOf(i, contractors);
                            v[3] = static_cast<double>(i % 100000) / 100;
                          });
  test::WriteParadoxTable((folder / "Users.db").string(),
                          {{"Number", PxType::Long}, {"Name", PxType::Alpha, 40}, {"NIP", PxType::Alpha, 13}},
                          contractors, [&](long long i, std::vector<test::PxValue>& v) {
                            // Cards in reverse number order, so the link cannot ride on file order.
                            long long number = contractors - i;
                            v[0] = number;
                            v[1] = "Kontrahent Łódzki nr " + std::to_string(number);
                            v[2] = std::to_string(5250000000LL + number);
                          });
  return folder.string() + "/";
}

double PeakRssMegabytes() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// Loading both tables into the session (reading the Paradox files and indexing).
void BM_Load(benchmark::State& state) {
  std::string folder = Folder(state.range(0));
  for (auto _ : state) {
    db::Session session;
    db::TTable reg(&session), users(&session);
    reg.DatabaseName = users.DatabaseName = folder;
    reg.TableName = "REG";
    users.TableName = "Users";
    users.IndexFieldNames = "Number";
    reg.Open();
    users.Open();
    benchmark::DoNotOptimize(reg.RecordCount() + users.RecordCount());
  }
  state.SetComplexityN(state.range(0));
  state.counters["peak_rss_MB"] = PeakRssMegabytes();
}

// The whole reader pass: open both tables, link them, walk every register record and read
// its fields and its contractor's name.
void BM_Walk(benchmark::State& state) {
  std::string folder = Folder(state.range(0));
  long long withCard = 0;
  for (auto _ : state) {
    db::Session session;
    db::TTable reg(&session), users(&session);
    reg.DatabaseName = users.DatabaseName = folder;
    reg.TableName = "REG";
    users.TableName = "Users";
    users.IndexFieldNames = "Number";
    users.MasterFields = "Payer";
    users.MasterSource = &reg;
    reg.Open();
    users.Open();
    double total = 0;
    withCard = 0;
    for (reg.First(); !reg.Eof(); reg.Next()) {
      total += reg.FieldByName("Net").AsFloat();
      benchmark::DoNotOptimize(reg.FieldByName("SaleDate").AsString());
      if (!users.Eof()) {
        ++withCard;
        benchmark::DoNotOptimize(users.FieldByName("Name").AsString());
      }
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetComplexityN(state.range(0));
  state.counters["records_with_card"] = static_cast<double>(withCard);
  state.counters["peak_rss_MB"] = PeakRssMegabytes();
}

// The walk over already loaded tables (a second reader pass in the same session), with
// the register filtered to one month of three and walked in index order.
void BM_FilteredIndexedWalk(benchmark::State& state) {
  std::string folder = Folder(state.range(0));
  db::Session session;
  {
    db::TTable reg(&session), users(&session);
    reg.DatabaseName = users.DatabaseName = folder;
    reg.TableName = "REG";
    users.TableName = "Users";
    reg.Open();
    users.Open();
  }
  for (auto _ : state) {
    db::TTable reg(&session), users(&session);
    reg.DatabaseName = users.DatabaseName = folder;
    reg.TableName = "REG";
    reg.IndexFieldNames = "Number";
    reg.Filter = "(SaleDate >= 2024-03-01) and (SaleDate <= 2024-03-31)";
    reg.Filtered = true;
    users.TableName = "Users";
    users.IndexFieldNames = "Number";
    users.MasterFields = "Payer";
    users.MasterSource = &reg;
    reg.Open();
    users.Open();
    long long count = 0;
    for (reg.First(); !reg.Eof(); reg.Next()) count += users.RecordCount();
    benchmark::DoNotOptimize(count);
  }
  state.SetComplexityN(state.range(0));
}

}  // namespace

BENCHMARK(BM_Load)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond)->Iterations(1)->Complexity();
BENCHMARK(BM_Walk)->RangeMultiplier(10)->Range(10000, 1000000)->Unit(benchmark::kMillisecond)->Iterations(1)->Complexity();
BENCHMARK(BM_FilteredIndexedWalk)
    ->RangeMultiplier(10)
    ->Range(10000, 1000000)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Complexity();

BENCHMARK_MAIN();
