// NIP normalisation and validation, the continue question and the contractor NIP rules.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/ui/ScriptedUi.h"
#include "base/Error.h"
#include "tools/Nip.h"

using namespace velkar;

namespace {

struct Reported {
  int calls = 0;
  std::string message, nip, document, name;
};

NIPErrorHandler Recorder(Reported& reported) {
  return [&reported](const std::string& message, const std::string& nip, const std::string& document,
                     const std::string& name) {
    ++reported.calls;
    reported.message = message;
    reported.nip = nip;
    reported.document = document;
    reported.name = name;
  };
}

struct NipCase {
  std::string input;
  std::string nip;     // after the check
  std::string prefix;  // country prefix after the check
  std::string defect;  // the one message reported, or empty
};

}  // namespace

TEST(CheckNIP, NormalisesAndReportsTheFirstDefect) {
  const std::vector<NipCase> cases = {
      // Valid Polish numbers in every accepted spelling.
      {"1234563218", "1234563218", "", ""},
      {"123 456 32 18", "1234563218", "", ""},
      {"PL1234563218", "1234563218", "PL", ""},
      {"pl 123 456 32 18", "1234563218", "PL", ""},
      {"123-456-32-18", "1234563218", "", ""},
      {"123-45-63-218", "1234563218", "", ""},
      {"PL123-456-32-18", "1234563218", "PL", ""},
      {"5213000015", "5213000015", "", ""},
      // No number.
      {"", "brak", "", ""},
      {"   ", "brak", "", ""},
      {"brak", "brak", "", ""},
      {"BRAK", "BRAK", "", ""},
      {"Brak", "Brak", "", ""},
      // Foreign numbers: EU prefixes are taken off, others stay in the number; neither is checked.
      {"DE123456789", "123456789", "DE", ""},
      {"de 123 456 789", "123456789", "DE", ""},
      {"EL094259216", "094259216", "EL", ""},
      {"XI123456789", "123456789", "XI", ""},
      {"CZ12", "12", "CZ", ""},
      {"CH123", "CH123", "CH", ""},
      {"US12", "US12", "US", ""},
      {"GB123456789", "GB123456789", "GB", ""},
      {"ch-123.456.789 MWST", "CH-123.456.789MWST", "CH", ""},
      // Two letters alone are no prefix: the text is checked as a Polish number.
      {"DE", "DE", "", "Zła długość numeru"},
      {"D1234563218", "D1234563218", "", "Zła długość numeru"},
      // Length.
      {"12345678", "12345678", "", "Zła długość numeru"},
      {"123456321", "123456321", "", "Zła długość numeru"},
      {"12345632180", "12345632180", "", "Zła długość numeru"},
      {"PL12345678", "12345678", "PL", "Zła długość numeru"},
      // Thirteen characters: only the two hyphen layouts.
      {"1234-56-32-18", "1234-56-32-18", "", "Zły format numeru"},
      {"123/456/32/18", "123/456/32/18", "", "Zły format numeru"},
      {"123-456-32-1-", "123-456-32-1-", "", "Zły format numeru"},
      {"1234563218123", "1234563218123", "", "Zły format numeru"},
      // Characters.
      {"12345632AB", "12345632AB", "", "Niedozwolone znaki w numerze"},
      {"123-456-32", "123-456-32", "", "Niedozwolone znaki w numerze"},
      {"123-456-3A-18", "1234563A18", "", "Niedozwolone znaki w numerze"},
      {"123456321ą", "123456321ą", "", "Niedozwolone znaki w numerze"},
      // Checksum.
      {"1234563219", "1234563219", "", "Zła suma kontrolna numeru"},
      {"PL5213000016", "5213000016", "PL", "Zła suma kontrolna numeru"},
      // Weighted sum 0 leaves remainder 0, so ten zeros pass; 1000000004 has sum 6.
      {"0000000000", "0000000000", "", ""},
      {"1000000004", "1000000004", "", "Zła suma kontrolna numeru"},
  };
  for (const auto& c : cases) {
    Reported reported;
    std::string prefix = "XX", nip = c.input;
    CheckNIP(prefix, nip, Recorder(reported), "FV 1/03/2024", "Firma");
    EXPECT_EQ(nip, c.nip) << '"' << c.input << '"';
    EXPECT_EQ(prefix, c.prefix) << '"' << c.input << '"';
    EXPECT_EQ(reported.message, c.defect) << '"' << c.input << '"';
    EXPECT_EQ(reported.calls, c.defect.empty() ? 0 : 1) << '"' << c.input << '"';
  }
}

TEST(CheckNIP, ARemainderOfTenFailsWhateverTheLastDigit) {
  // 000000003x: weighted sum 3 * 7 = 21, remainder 10: no tenth digit can match.
  for (char last = '0'; last <= '9'; ++last) {
    Reported reported;
    std::string prefix, nip = std::string("000000003") + last;
    CheckNIP(prefix, nip, Recorder(reported), "", "");
    EXPECT_EQ(reported.message, "Zła suma kontrolna numeru") << nip;
  }
}

TEST(CheckNIP, TheHandlerGetsTheNumberAsNormalisedSoFarWithTheDocumentAndName) {
  Reported reported;
  std::string prefix, nip = "pl 123-456-32-19";
  CheckNIP(prefix, nip, Recorder(reported), "FV 7/2024", "Łódzka Hurtownia");
  EXPECT_EQ(reported.message, "Zła suma kontrolna numeru");
  EXPECT_EQ(reported.nip, "1234563219");
  EXPECT_EQ(reported.document, "FV 7/2024");
  EXPECT_EQ(reported.name, "Łódzka Hurtownia");
}

TEST(CheckNIP, AnErrorRaisedByTheHandlerAbortsTheCaller) {
  std::string prefix, nip = "12";
  auto refuse = [](const std::string&, const std::string&, const std::string&, const std::string&) {
    throw Error("Wczytywanie przerwano");
  };
  EXPECT_THROW(CheckNIP(prefix, nip, refuse, "", ""), Error);
}

TEST(AskContinueOnNIPError, AsksAnErrorStyleQuestionAndStopsOnAnythingButYes) {
  ScriptedUi ui;
  ui.QueueAnswer(Answer::Yes);
  EXPECT_NO_THROW(AskContinueOnNIPError("Zła suma kontrolna numeru", "1234563219", "FV 1/2024", "Wrzos"));
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Error);
  EXPECT_TRUE(ui.Messages()[0].question);
  EXPECT_EQ(ui.Messages()[0].text, "Zła suma kontrolna numeru NIP: 1234563219\rFV 1/2024\rWrzos\rKontynuować?");

  for (Answer answer : {Answer::No, Answer::Cancel}) {
    ui.QueueAnswer(answer);
    try {
      AskContinueOnNIPError("Zła długość numeru", "12%s", "FV %d", "A");
      ADD_FAILURE() << "no error";
    } catch (const Error& e) {
      EXPECT_EQ(std::string(e.what()), "Wczytywanie przerwano");
    }
    EXPECT_EQ(ui.LastMessage(), "Zła długość numeru NIP: 12%s\rFV %d\rA\rKontynuować?");
  }
  // Closing the box without an answer (nothing queued) is Cancel.
  EXPECT_THROW(AskContinueOnNIPError("x", "1", "d", "n"), Error);
}

TEST(NormaliseContractorNIP, WithoutValidationOnlyTheEmptyNumberAndTheGbAndChPrefixesChange) {
  const std::vector<NipCase> cases = {
      {"", "brak", "", ""},
      {"GB123456789", "123456789", "GB", ""},
      {"gb123", "gb123", "", ""},
      {"CH-123.456.789", "CH-123.456.789", "CH", ""},
      {"DE123456789", "DE123456789", "", ""},
      {"123 456 32 19", "123 456 32 19", "", ""},
  };
  for (const auto& c : cases) {
    Reported reported;
    std::string prefix = "PL", nip = c.input;
    NormaliseContractorNIP(prefix, nip, false, Recorder(reported), "", "");
    EXPECT_EQ(nip, c.nip) << c.input;
    EXPECT_EQ(prefix, c.prefix) << c.input;
    EXPECT_EQ(reported.calls, 0);
  }
}

TEST(NormaliseContractorNIP, WithValidationTheCheckRunsFirst) {
  const std::vector<NipCase> cases = {
      {"gb 123 456 789", "123456789", "GB", ""},
      {"ch123", "CH123", "CH", ""},
      {"US12", "US12", "US", ""},
      {"PL1234563218", "1234563218", "PL", ""},
      {"", "brak", "", ""},
      {"123-456-32-19", "1234563219", "", "Zła suma kontrolna numeru"},
  };
  for (const auto& c : cases) {
    Reported reported;
    std::string prefix, nip = c.input;
    NormaliseContractorNIP(prefix, nip, true, Recorder(reported), "", "");
    EXPECT_EQ(nip, c.nip) << c.input;
    EXPECT_EQ(prefix, c.prefix) << c.input;
    EXPECT_EQ(reported.message, c.defect) << c.input;
  }
}
