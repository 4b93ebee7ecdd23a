// The KSeF number list: separators, quoting, encodings, the match by invoice and NIP, and
// the exact message of every refusal.
#include <gtest/gtest.h>

#include "ksef/KsefList.h"
#include "tests/ksef/KsefFixture.h"
#include "tests/support/ErrorOf.h"

using namespace velkar;
using namespace velkar::test;

namespace {

std::string Found(const KsefNumberList& list, const std::string& document, const std::string& nip) {
  const std::string* number = list.Find(document, nip);
  return number ? *number : "(brak)";
}

}  // namespace

TEST(KsefListTest, CommaListWithColumnsInAnyOrderMatchesByInvoiceAndNormalisedNip) {
  const std::string a = KsefNumber("5250001090", "000000000001");
  const std::string b = KsefNumber("7740001454", "000000000002");
  KsefNumberList list = KsefNumberList::Parse(
      "Uwagi,NumerKSeF,NIP,NumerFaktury\r\n"
      "x," +
          a +
          ",PL 526-025-02-74, FV/1/2026 \r\n"
          "y, " +
          b +
          " ,DE811234567,FV/2/2026\r\n"
          "\r\n"
          "z,,5260250274,FV/3/2026\r\n",
      "lista.csv");
  EXPECT_EQ(list.Size(), 2u);
  EXPECT_EQ(Found(list, "FV/1/2026", "5260250274"), a);
  EXPECT_EQ(Found(list, " FV/1/2026", "526-025-02-74"), a);
  EXPECT_EQ(Found(list, "FV/2/2026", "811234567"), b);  // the EU prefix is not part of the number
  // The document number is compared exactly (only trimmed), the NIP must match too.
  EXPECT_EQ(Found(list, "fv/1/2026", "5260250274"), "(brak)");
  EXPECT_EQ(Found(list, "FV/1/2026", "7740001454"), "(brak)");
  // A line without a number keeps the invoice's marker.
  EXPECT_EQ(Found(list, "FV/3/2026", "5260250274"), "(brak)");
}

TEST(KsefListTest, SemicolonListWithQuotedFieldsBomAndNoNip) {
  const std::string a = KsefNumber("5250001090", "0000000000AA");
  const std::string b = KsefNumber("5250001090", "0000000000BB");
  KsefNumberList list = KsefNumberList::Parse(
      "\xEF\xBB\xBF\"NumerFaktury\";\"NIP\";\"NumerKSeF\"\n"
      "\"FV;1/2026\";\"5260250274\";\"" +
          a +
          "\"\n"
          "\"Faktura \"\"Łódź\"\" 2\";;" +
          b + "\n",
      "lista.csv");
  EXPECT_EQ(Found(list, "FV;1/2026", "5260250274"), a);
  // No NIP (a consumer) matches a row whose contractor number is BRAK.
  EXPECT_EQ(Found(list, "Faktura \"Łódź\" 2", "BRAK"), b);
}

TEST(KsefListTest, Windows1250TextIsReadAsSuch) {
  const std::string a = KsefNumber("5250001090", "0000000000CC");
  // "Żółw/1" in Windows-1250: Ż = AF, ó = F3, ł = B3.
  KsefNumberList list =
      KsefNumberList::Parse("NumerFaktury;NIP;NumerKSeF\n\xAF\xF3\xB3w/1;5260250274;" + a + "\n", "lista.csv");
  EXPECT_EQ(Found(list, "Żółw/1", "5260250274"), a);
}

TEST(KsefListTest, RefusalsNameTheFileTheLineAndTheInvoice) {
  const std::string good = KsefNumber("5250001090");
  std::string bad = good;
  bad.back() = bad.back() == '0' ? '1' : '0';  // wrong checksum
  struct Case {
    std::string text;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"", "Lista numerów KSeF l.csv jest pusta"},
      {"\n\n", "Lista numerów KSeF l.csv jest pusta"},
      {"NumerFaktury,NumerKSeF\nFV/1,x\n",
       "Lista numerów KSeF l.csv nie ma kolumny NIP (wymagane kolumny: NumerFaktury, NIP, NumerKSeF)"},
      {"Faktura;NIP;NumerKSeF\n",
       "Lista numerów KSeF l.csv nie ma kolumny NumerFaktury (wymagane kolumny: NumerFaktury, NIP, NumerKSeF)"},
      {"NumerFaktury,NIP,NumerKSeF\nFV/1,5260250274\n",
       "Lista numerów KSeF l.csv, wiersz 2: za mało kolumn (jest 2, potrzeba 3)"},
      {"NumerFaktury,NIP,NumerKSeF\n,5260250274," + good + "\n",
       "Lista numerów KSeF l.csv, wiersz 2: brak numeru faktury"},
      {"NumerFaktury,NIP,NumerKSeF\nFV/1,5260250274," + good + "\n\"FV/2,5260250274," + good + "\n",
       "Lista numerów KSeF l.csv, wiersz 3: niezamknięty cudzysłów"},
      {"NumerFaktury,NIP,NumerKSeF\nFV/1,5260250274," + bad + "\n",
       "Lista numerów KSeF l.csv, wiersz 2: Błędny numer KSeF dokumentu FV/1: " + bad},
      {"NumerFaktury,NIP,NumerKSeF\nFV/1,5260250274,abc\n",
       "Lista numerów KSeF l.csv, wiersz 2: Błędny numer KSeF dokumentu FV/1: abc"},
      {"NumerFaktury,NIP,NumerKSeF\nFV/1,5260250274," + good + "\nFV/1,526-025-02-74," +
           KsefNumber("5250001090", "FFFFFFFFFFFF") + "\n",
       "Lista numerów KSeF l.csv, wiersz 3: faktura FV/1 (NIP 526-025-02-74) ma już inny numer KSeF: " + good},
  };
  for (const Case& c : cases) EXPECT_EQ(ErrorOf([&] { KsefNumberList::Parse(c.text, "l.csv"); }), c.message) << c.text;
  // The same line twice with the same number is no conflict.
  EXPECT_EQ(
      KsefNumberList::Parse("NumerFaktury,NIP,NumerKSeF\nFV/1,1," + good + "\nFV/1,1," + good + "\n", "l.csv").Size(),
      1u);
}

TEST(KsefListTest, AnUnreadableFileIsNamed) {
  TempDir dir;
  EXPECT_EQ(ErrorOf([&] { KsefNumberList::Read(dir.File("brak.csv")); }),
            "Nie można odczytać listy numerów KSeF " + dir.File("brak.csv") + " (Nie można otworzyć pliku " +
                dir.File("brak.csv") + ")");
  const std::string a = KsefNumber("5250001090");
  dir.Write("lista.csv", "NumerFaktury,NIP,NumerKSeF\nFV/1,5260250274," + a + "\n");
  EXPECT_EQ(Found(KsefNumberList::Read(dir.File("lista.csv")), "FV/1", "5260250274"), a);
}
