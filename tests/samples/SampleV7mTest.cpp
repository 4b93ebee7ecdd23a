// velkar-sample-v7m as the demo and the benchmarks run it: the register of a period from
// February 2026 in JPK_V7M(3), every row with its KSeF element and valid against the
// official schema; forced to JPK_V7M(2) for the upgrade's demo; its option errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "jpkfiles/SchemaValidation.h"
#include "ksef/Ksef.h"
#include "model/v7m/JpkV7.h"
#include "tests/support/RunCommand.h"
#include "tests/support/TempDir.h"

using namespace velkar;
using namespace velkar::test;

namespace {

const std::string kSampleExe = VELKAR_SAMPLE_EXE;
const std::string kCompanyNip = "5213000015";  // samples/demo.ini

CommandResult Sample(const TempDir& dir, std::vector<std::string> args) {
  args.insert(args.begin(), {"--ini", SourceDir() + "/samples/demo.ini"});
  return RunProgram(kSampleExe, args, dir.Path());
}

std::string Compact(const std::string& date) { return date.substr(0, 4) + date.substr(5, 2) + date.substr(8, 2); }

// The KSeF elements of the rows, counted per marker; every row must have one. Numbers pass
// the program's check, name the company (sales) or the supplier (purchases) as issuer and
// carry the invoice's date; receipts and imports are marked DI.
struct Markers {
  std::map<KsefMarker, int> sales, purchases;
};

Markers MarkersOf(const v7m::IXMLJPK& doc) {
  Markers markers;
  for (auto row : doc.Ewidencja().SprzedazWiersz()) {
    std::string number;
    std::optional<KsefMarker> marker = RowKsef(row, &number);
    std::string document = row.DowodSprzedazy();
    if (!marker) {
      ADD_FAILURE() << "no KSeF element: " << document;
      continue;
    }
    ++markers.sales[*marker];
    if (*marker == KsefMarker::NrKSeF) {
      EXPECT_EQ(CheckKsefNumber(number, document), number);
      EXPECT_FALSE(KsefIssuerDiffers(number, kCompanyNip)) << number;
      EXPECT_EQ(number.substr(11, 8), Compact(row.DataWystawienia())) << document;
    }
    if (row.FindChild("TypDokumentu") && row.TypDokumentu() == "RO") {
      EXPECT_EQ(*marker, KsefMarker::DI);
    }
  }
  for (auto row : doc.Ewidencja().ZakupWiersz()) {
    std::string number;
    std::optional<KsefMarker> marker = RowKsef(row, &number);
    std::string document = row.DowodZakupu();
    if (!marker) {
      ADD_FAILURE() << "no KSeF element: " << document;
      continue;
    }
    ++markers.purchases[*marker];
    if (*marker == KsefMarker::NrKSeF) {
      EXPECT_EQ(CheckKsefNumber(number, document), number);
      EXPECT_EQ(number.substr(0, 10), row.NrDostawcy()) << document;
      EXPECT_EQ(number.substr(11, 8), Compact(row.DataZakupu())) << document;
    }
    if (row.FindChild("IMP")) {
      EXPECT_EQ(*marker, KsefMarker::DI) << document;
    }
  }
  return markers;
}

}  // namespace

TEST(SampleV7m, TheDemoRegisterOfMarch2026IsAValidJpkV7m3WithAKsefElementInEveryRow) {
  TempDir dir;
  CommandResult r = Sample(dir, {"--month", "2026-03", "-o", "s.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  JpkValidation validation = ValidateJpkFile(dir.File("s.xml"));
  EXPECT_EQ(validation.structure, "JPK_V7M (3)");
  EXPECT_TRUE(validation.Valid()) << (validation.Valid() ? "" : DescribeViolation(validation.violations[0]));
  v7m::IXMLJPK doc = v7m::LoadJpkV7(dir.File("s.xml"));
  EXPECT_EQ(v7m::StructureOfJpkV7(doc), v7m::V7Structure::V3);
  EXPECT_EQ(doc.Naglowek().Rok(), "2026");
  EXPECT_EQ(doc.Naglowek().Miesiac(), 3);
  Markers markers = MarkersOf(doc);
  // Invoices with their numbers and without, the receipt row and the import as documents.
  for (KsefMarker marker : {KsefMarker::NrKSeF, KsefMarker::BFK, KsefMarker::DI}) {
    EXPECT_GE(markers.sales[marker], 1) << KsefMarkerName(marker);
    EXPECT_GE(markers.purchases[marker], 1) << KsefMarkerName(marker);
  }
  EXPECT_EQ(markers.sales[KsefMarker::OFF] + markers.purchases[KsefMarker::OFF], 0);
}

TEST(SampleV7m, TheBenchmarkRegisterOfFebruary2026MixesNumbersAndMarkers) {
  TempDir dir;
  CommandResult r = Sample(dir, {"--month", "2026-02", "--sales", "300", "--purchases", "80", "-o", "big.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  JpkValidation validation = ValidateJpkFile(dir.File("big.xml"));
  EXPECT_EQ(validation.structure, "JPK_V7M (3)");
  EXPECT_TRUE(validation.Valid()) << (validation.Valid() ? "" : DescribeViolation(validation.violations[0]));
  v7m::IXMLJPK doc = v7m::LoadJpkV7(dir.File("big.xml"));
  Markers markers = MarkersOf(doc);
  int sales = 0, purchases = 0;
  for (auto& [marker, count] : markers.sales) sales += count;
  for (auto& [marker, count] : markers.purchases) purchases += count;
  EXPECT_EQ(sales, 300);
  EXPECT_EQ(purchases, 80);
  for (KsefMarker marker : {KsefMarker::NrKSeF, KsefMarker::BFK, KsefMarker::DI}) {
    EXPECT_GT(markers.sales[marker], 0) << KsefMarkerName(marker);
    EXPECT_GT(markers.purchases[marker], 0) << KsefMarkerName(marker);
  }
}

TEST(SampleV7m, ForcedToTheOlderStructureFebruary2026IsAValidJpkV7m2WithoutKsefElements) {
  TempDir dir;
  CommandResult r = Sample(dir, {"--month", "2026-02", "--structure", "2", "-o", "v2.xml"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  JpkValidation validation = ValidateJpkFile(dir.File("v2.xml"));
  EXPECT_EQ(validation.structure, "JPK_V7M (2)");
  EXPECT_TRUE(validation.Valid()) << (validation.Valid() ? "" : DescribeViolation(validation.violations[0]));
  v7m::IXMLJPK doc = v7m::LoadJpkV7(dir.File("v2.xml"));
  EXPECT_EQ(v7m::StructureOfJpkV7(doc), v7m::V7Structure::V2);
  EXPECT_EQ(doc.Naglowek().Miesiac(), 2);
  int rows = 0;
  for (auto row : doc.Ewidencja().SprzedazWiersz()) {
    EXPECT_FALSE(RowKsef(row).has_value()) << row.DowodSprzedazy();
    ++rows;
  }
  EXPECT_EQ(rows, 7);
}

TEST(SampleV7m, AWrongMonthOrStructureIsRefused) {
  TempDir dir;
  CommandResult structure = Sample(dir, {"--month", "2026-02", "--structure", "4", "-o", "x.xml"});
  EXPECT_EQ(structure.exitCode, 1);
  EXPECT_EQ(structure.err, "Niepoprawna wartość opcji --structure: 4 (dozwolone: 2, 3)\n");
  CommandResult month = Sample(dir, {"--month", "2026-13", "-o", "x.xml"});
  EXPECT_EQ(month.exitCode, 1);
  EXPECT_EQ(month.err, "Niepoprawny miesiąc: 2026-13 (oczekiwano RRRR-MM)\n");
  EXPECT_FALSE(std::filesystem::exists(dir.File("x.xml")));
}
