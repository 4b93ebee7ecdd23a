// The contractor's identity read from both contractor-table layouts, with the NIP
// questions and their answers.
#include <gtest/gtest.h>

#include "app/Settings.h"
#include "app/ui/ScriptedUi.h"
#include "base/Error.h"
#include "tests/support/TempDir.h"
#include "tests/tools/db/ParadoxFixture.h"
#include "tools/ContractorData.h"
#include "tools/db/Session.h"
#include "tools/db/Table.h"

using namespace velkar;
using test::PxField;
using test::PxType;

namespace {

struct Card {
  long long number;
  std::string name, nip, city, street, house, zip;
};

struct Read {
  std::string prefix, nip, name, address, error;
};

// Cards of the single Users table (street and house apart) and of a per-period UR table
// (one Address field), with the same contractors.
class ContractorDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const std::vector<Card> cards = {
        {1, "Hurtownia „Żuraw” Sp. z o.o.", "725-526-01-82", "Łódź", "ul. Piotrkowska", "112", "90-006"},
        {2, "Sklep Kowalski", "1234563219", "Grodzisk Mazowiecki", "ul. Żyrardowska", "41", "05-825"},
        {3, "Małgorzata Zielińska", "", "", "", "", ""},
        {4, "", "5213000015", "Warszawa", "ul. Długa", "5", "00-950"},
        {5, "British Tea Company Ltd", "GB123456789", "London", "Baker Street", "221", "NW1 6XE"},
        {6, "Schweizer Käse AG", "CHE-116.281.710 MWST", "Zürich", "Bahnhofstrasse", "10", "8001"},
        {7, "Firma z Wysp", "GB", "Belfast", "", "", ""},
        {8, "Feinkost Müller GmbH", "de 811 234 567", "Berlin", "Friedrichstraße", "123", "10117"},
    };
    std::vector<std::vector<test::PxValue>> users, ur;
    for (const Card& c : cards) {
      users.push_back({c.number, c.name, c.nip, c.city, c.street, c.house, c.zip});
      std::string address = c.house.empty() ? c.street : c.street + " " + c.house;
      ur.push_back({c.number, c.name, c.nip, c.city, address, c.zip});
    }
    test::WriteParadoxTable(dir.File("Users.db"),
                            {{"Number", PxType::Long},
                             {"Firm Name", PxType::Alpha, 60},
                             {"NIP", PxType::Alpha, 20},
                             {"City", PxType::Alpha, 40},
                             {"Street", PxType::Alpha, 40},
                             {"House", PxType::Alpha, 10},
                             {"ZipCode", PxType::Alpha, 10}},
                            users);
    test::WriteParadoxTable(dir.File("24_03UR.db"),
                            {{"Number", PxType::Long},
                             {"Firm Name", PxType::Alpha, 60},
                             {"NIP", PxType::Alpha, 20},
                             {"City", PxType::Alpha, 40},
                             {"Address", PxType::Alpha, 60},
                             {"ZipCode", PxType::Alpha, 10}},
                            ur);
    Settings().AdrZipCityFirst = false;
  }
  void TearDown() override {
    Settings().AdrZipCityFirst = false;
    UsersIsSingle = false;
  }

  // Reads card `number` from the Users table (single) or the UR table.
  Read ReadCard(long long number, bool single, bool validate) {
    UsersIsSingle = single;
    db::TTable table(&session);
    table.DatabaseName = dir.Path();
    table.TableName = single ? "Users" : "24_03UR";
    table.Filter = "[Number] = " + std::to_string(number);
    table.Filtered = true;
    table.Open();
    Read r;
    try {
      GetContractorData("FV 7/03/2024", table, r.prefix, r.nip, r.name, r.address, validate);
    } catch (const Error& e) {
      r.error = e.what();
    }
    table.Close();
    return r;
  }

  test::TempDir dir;
  db::Session session;
  ScriptedUi ui;
};

}  // namespace

TEST_F(ContractorDataTest, AddressOfEitherLayoutInEitherOrder) {
  for (bool single : {true, false}) {
    Read r = ReadCard(1, single, true);
    EXPECT_EQ(r.error, "");
    EXPECT_EQ(r.name, "Hurtownia „Żuraw” Sp. z o.o.");
    EXPECT_EQ(r.nip, "7255260182");
    EXPECT_EQ(r.prefix, "");
    EXPECT_EQ(r.address, "ul. Piotrkowska 112  90-006 Łódź") << single;
    Settings().AdrZipCityFirst = true;
    EXPECT_EQ(ReadCard(1, single, true).address, "90-006 Łódź  ul. Piotrkowska 112") << single;
    Settings().AdrZipCityFirst = false;
  }
  EXPECT_TRUE(ui.Messages().empty());
  // No address at all is written as "brak".
  EXPECT_EQ(ReadCard(3, true, false).address, "brak");
  EXPECT_EQ(ReadCard(3, false, false).address, "brak");
}

TEST_F(ContractorDataTest, ANameIsRequired) {
  EXPECT_EQ(ReadCard(4, true, true).error,
            "Brak nazwy kontrahenta\rDokument: FV 7/03/2024  NIP: 5213000015\rWczytywanie przerwano");
  // A register record whose contractor is missing leaves the table without a record.
  EXPECT_EQ(ReadCard(99, true, true).error,
            "Brak nazwy kontrahenta\rDokument: FV 7/03/2024  NIP: \rWczytywanie przerwano");
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ContractorDataTest, ADefectiveNumberAsksWhetherToGoOn) {
  ui.QueueAnswer(Answer::Yes);
  Read r = ReadCard(2, true, true);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.nip, "1234563219");
  ASSERT_EQ(ui.Messages().size(), 1u);
  EXPECT_EQ(ui.Messages()[0].kind, MessageKind::Error);
  EXPECT_EQ(ui.LastMessage(), "Zła suma kontrolna numeru NIP: 1234563219\rFV 7/03/2024\rSklep Kowalski\rKontynuować?");

  ui.QueueAnswer(Answer::No);
  EXPECT_EQ(ReadCard(2, false, true).error, "Wczytywanie przerwano");
  // Without validation nothing is asked and the number stays as typed.
  ui.Clear();
  EXPECT_EQ(ReadCard(2, true, false).nip, "1234563219");
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ContractorDataTest, AMissingNumberAsksOnlyWhenValidating) {
  ui.QueueAnswer(Answer::Yes);
  Read r = ReadCard(3, true, true);
  EXPECT_EQ(r.error, "");
  EXPECT_EQ(r.nip, "brak");
  EXPECT_EQ(ui.LastMessage(), "Brak numeru NIP. Dokument: FV 7/03/2024\rMałgorzata Zielińska\rKontynuować?");
  EXPECT_EQ(ui.Messages().back().kind, MessageKind::Error);

  EXPECT_EQ(ReadCard(3, true, true).error, "Wczytywanie przerwano");  // closed without an answer

  ui.Clear();
  r = ReadCard(3, false, false);
  EXPECT_EQ(r.nip, "brak");
  EXPECT_TRUE(ui.Messages().empty());
}

TEST_F(ContractorDataTest, ForeignPrefixes) {
  struct Case {
    long long card;
    bool validate;
    std::string prefix, nip;
  };
  const std::vector<Case> cases = {
      {5, true, "GB", "123456789"},
      {5, false, "GB", "123456789"},
      {6, true, "CH", "CHE-116.281.710MWST"},
      {6, false, "CH", "CHE-116.281.710 MWST"},
      {8, true, "DE", "811234567"},
      {8, false, "", "de 811 234 567"},
      // Only the letters GB: no number is left, which counts as none.
      {7, false, "GB", "brak"},
  };
  for (const auto& c : cases) {
    Read r = ReadCard(c.card, true, c.validate);
    EXPECT_EQ(r.error, "") << c.card;
    EXPECT_EQ(r.prefix, c.prefix) << c.card << ' ' << c.validate;
    EXPECT_EQ(r.nip, c.nip) << c.card << ' ' << c.validate;
  }
  EXPECT_TRUE(ui.Messages().empty());
}
