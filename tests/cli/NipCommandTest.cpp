// `velkar nip`: numbers checked as contractors' NIPs are, printed as CSV.
#include <gtest/gtest.h>

#include "tests/support/RunCommand.h"

using velkar::test::RunProgram;

namespace {
const std::string kExe = VELKAR_EXE;
}

TEST(NipCommand, PrintsTheNormalisedNumberPrefixAndDefectOfEachNumber) {
  auto r = RunProgram(kExe, {"nip", "123 456 32 18", "PL123-45-63-218", "1234563219", "DE123456789", "CH123", "",
                             "12,5", "gb 123456789"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "Numer,NIP,Prefiks,Błąd\n"
            "123 456 32 18,1234563218,,\n"
            "PL123-45-63-218,1234563218,PL,\n"
            "1234563219,1234563219,,Zła suma kontrolna numeru\n"
            "DE123456789,123456789,DE,\n"
            "CH123,CH123,CH,\n"
            ",brak,,\n"
            "\"12,5\",\"12,5\",,Zła długość numeru\n"
            "gb 123456789,123456789,GB,\n");
  EXPECT_EQ(r.err, "");
}

TEST(NipCommand, WithoutValidationOnlyTheUncheckedReadingRulesApply) {
  auto r = RunProgram(kExe, {"nip", "--no-validate", "1234563219", "GB123456789", "gb123", ""});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(r.out,
            "Numer,NIP,Prefiks,Błąd\n"
            "1234563219,1234563219,,\n"
            "GB123456789,123456789,GB,\n"
            "gb123,gb123,,\n"
            ",brak,,\n");
}

TEST(NipCommand, NoNumberIsAnError) {
  auto r = RunProgram(kExe, {"nip"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_EQ(r.err, "Podaj numer NIP (velkar nip NUMER...)\n");
}
