// TDbfTable: the template copy, records written byte for byte (numbers right-aligned with a
// dot, dates yyyymmdd, text in Mazovia), the conversion errors, and reading dBASE back.
#include <gtest/gtest.h>
#include <shapefil.h>

#include <filesystem>

#include "base/Error.h"
#include "tests/support/ErrorOf.h"
#include "tests/support/TempDir.h"
#include "tools/db/DbfTable.h"
#include "tools/db/Mazovia.h"
#include "tools/db/Session.h"
#include "tools/db/Table.h"

using namespace velkar;
using namespace velkar::db;
using test::ErrorOf;

namespace {

// A small template: text, whole number, amount, date, logical (Mazovia language driver).
void WriteTemplate(const std::string& path) {
  DBFHandle dbf = DBFCreateEx(path.c_str(), "LDID/105");
  DBFAddNativeFieldType(dbf, "NA1", 'C', 10, 0);
  DBFAddNativeFieldType(dbf, "STM", 'N', 2, 0);
  DBFAddNativeFieldType(dbf, "NET", 'N', 10, 2);
  DBFAddNativeFieldType(dbf, "DAW", 'D', 8, 0);
  DBFAddNativeFieldType(dbf, "PAID", 'L', 1, 0);
  DBFClose(dbf);
}

// The bytes of record `index` (without its deletion flag).
std::string RecordBytes(const std::string& path, int index) {
  std::string file = test::ReadFile(path);
  int header = static_cast<unsigned char>(file[8]) | (static_cast<unsigned char>(file[9]) << 8);
  int length = static_cast<unsigned char>(file[10]) | (static_cast<unsigned char>(file[11]) << 8);
  return file.substr(static_cast<size_t>(header + index * length + 1), static_cast<size_t>(length - 1));
}

class DbfTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WriteTemplate(templates.File("B5TEST.dbf"));
  }
  test::TempDir templates;
  test::TempDir out;
  Session session;
};

}  // namespace

TEST_F(DbfTableTest, TheTableIsTheTemplateCopiedAsNameAndYear) {
  out.Write("B5TEST24.dbf", "stara zawartość");
  {
    TDbfTable table(&session, out.Path(), templates.Path(), "24", "B5TEST");
    EXPECT_EQ(table.TableName, "B5TEST24.dbf");
    EXPECT_EQ(table.FullName(), out.Path() + "B5TEST24.dbf");
    table.Open();
    EXPECT_EQ(table.RecordCount(), 0);
    EXPECT_TRUE(table.HasField("na1"));
    // Until the table is closed the old file stays as it was.
    EXPECT_EQ(test::ReadFile(out.File("B5TEST24.dbf")), "stara zawartość");
    table.Close();
  }
  std::string written = test::ReadFile(out.File("B5TEST24.dbf"));
  std::string original = test::ReadFile(templates.File("B5TEST.dbf"));
  EXPECT_EQ(written.size(), original.size());
  EXPECT_EQ(written.substr(4), original.substr(4));  // only the date of the last change differs
  auto files = std::distance(std::filesystem::directory_iterator(out.Path()), std::filesystem::directory_iterator());
  EXPECT_EQ(files, 1);  // no working copy left behind
}

TEST_F(DbfTableTest, ValuesAreWrittenInTheFieldsTypesWithTextInMazovia) {
  {
    TDbfTable table(&session, out.Path(), templates.Path(), "24", "B5TEST");
    table.Open();
    table.Append();
    table.SetAsString("NA1", "Łódź");
    table.SetAsInteger("STM", 1);
    table.SetAsString("NET", "-1234.5");
    table.SetAsString("DAW", "2024-03-15");
    table.SetAsBoolean("PAID", true);
    table.Post();
    table.Append();  // numbers and dates given as numbers and texts, blanks left blank
    table.SetAsFloat("NET", 0.125);
    table.SetAsFloat("na1", 23);
    table.SetAsString("DAW", "");
    table.Append();  // posts the record above
    table.SetAsString("NA1", "Zażółć gęślą jaźń");
    table.Cancel();
    EXPECT_EQ(table.RecordCount(), 2);
  }
  std::string path = out.File("B5TEST24.dbf");
  EXPECT_EQ(RecordBytes(path, 0), std::string("\x9C\xA2\x64\xA6      ") + " 1" + "  -1234.50" + "20240315" + "T");
  EXPECT_EQ(RecordBytes(path, 1), std::string("23        ") + "  " + "      0.13" + "        " + " ");

  TTable read(&session);
  read.DatabaseName = out.Path();
  read.TableName = "B5TEST24.dbf";
  read.Open();
  EXPECT_EQ(read.RecordCount(), 2);
  EXPECT_EQ(read.FieldByName("NA1").AsString(), "Łódź");
  EXPECT_EQ(read.FieldByName("STM").AsInteger(), 1);
  EXPECT_EQ(read.FieldByName("NET").AsFloat(), -1234.5);
  EXPECT_EQ(read.FieldByName("DAW").AsString(), "2024-03-15");
  EXPECT_TRUE(read.FieldByName("PAID").AsBoolean());
  read.Next();
  EXPECT_TRUE(read.FieldByName("STM").IsNull());
  EXPECT_TRUE(read.FieldByName("DAW").IsNull());
  EXPECT_TRUE(read.FieldByName("PAID").IsNull());
}

TEST_F(DbfTableTest, TextIsCutToTheFieldWidthAndOtherLettersKeepTheirWindows1250Bytes) {
  {
    TDbfTable table(&session, out.Path(), templates.Path(), "24", "B5TEST");
    table.Open();
    table.Append();
    table.SetAsString("NA1", "Müller & Sohn GmbH");
    table.Post();
  }
  EXPECT_EQ(RecordBytes(out.File("B5TEST24.dbf"), 0).substr(0, 10), "M\xFCller & S");
}

TEST_F(DbfTableTest, BadValuesAndNamesGivePolishErrorsNamingFieldAndTable) {
  TDbfTable table(&session, out.Path(), templates.Path(), "24", "B5TEST");
  std::string name = out.Path() + "B5TEST24.dbf";
  table.Open();
  EXPECT_EQ(ErrorOf([&] { table.SetAsString("NA1", "x"); }), "Tabela " + name + ": brak dopisywanego rekordu (pole NA1)");
  table.Append();
  EXPECT_EQ(ErrorOf([&] { table.SetAsString("NRV", "FV/1"); }), "Brak pola \"NRV\" w tabeli " + name);
  EXPECT_EQ(ErrorOf([&] { table.SetAsString("NET", "12,50"); }),
            "Wartość \"12,50\" pola NET tabeli " + name + " nie jest liczbą");
  EXPECT_EQ(ErrorOf([&] { table.SetAsFloat("NET", 1e9); }),
            "Wartość 1000000000 nie mieści się w polu NET tabeli " + name + " (szerokość 10, miejsca po przecinku 2)");
  EXPECT_EQ(ErrorOf([&] { table.SetAsInteger("STM", -10); }),
            "Wartość -10 nie mieści się w polu STM tabeli " + name + " (szerokość 2, miejsca po przecinku 0)");
  EXPECT_EQ(ErrorOf([&] { table.SetAsString("DAW", "15.03.2024"); }),
            "Wartość \"15.03.2024\" pola DAW tabeli " + name + " nie jest datą");
  EXPECT_EQ(ErrorOf([&] { table.SetAsString("DAW", "2024-02-30"); }),
            "Wartość \"2024-02-30\" pola DAW tabeli " + name + " nie jest datą");
}

TEST_F(DbfTableTest, AMissingTemplateOrFolderIsAnErrorNamingTheTable) {
  EXPECT_EQ(ErrorOf([&] { TDbfTable table(&session, out.Path(), templates.Path(), "24", "B5BRAK"); }),
            "Brak wzorca tabeli B5BRAK24.dbf: nie ma pliku " + templates.Path() + "B5BRAK.dbf");
  EXPECT_EQ(ErrorOf([&] { TDbfTable table(&session, out.File("nie-ma"), templates.Path(), "24", "B5TEST"); }),
            "Brak folderu " + out.File("nie-ma/") + " na tabelę B5TEST24.dbf");
  templates.Write("B5ZLY.dbf", "to nie jest tabela");
  EXPECT_EQ(ErrorOf([&] {
              TDbfTable table(&session, out.Path(), templates.Path(), "24", "B5ZLY");
              table.Open();
            }),
            "Nie można otworzyć tabeli " + out.Path() + "B5ZLY24.dbf: wzorzec nie jest tabelą dBASE");
}

TEST(Mazovia, TheEighteenLettersAndNothingElse) {
  EXPECT_EQ(ToMazovia(Utf8ToCp1250("Łódź")), "\x9C\xA2\x64\xA6");
  EXPECT_EQ(ToMazovia(Utf8ToCp1250("ĄĆĘŁŃÓŚŹŻąćęłńóśźż")),
            "\x8F\x95\x90\x9C\xA5\xA3\x98\xA0\xA1\x86\x8D\x91\x92\xA4\xA2\x9E\xA6\xA7");
  std::string other = Utf8ToCp1250("Aä€§ ");
  EXPECT_EQ(ToMazovia(other), other);
  EXPECT_EQ(Cp1250ToUtf8(FromMazovia(ToMazovia(Utf8ToCp1250("Zażółć gęślą jaźń")))), "Zażółć gęślą jaźń");
  EXPECT_EQ(Utf8ToCp1250("Ωx"), "?x");  // not in Windows-1250
}
