// The sample company's data.
#include "samples/Company.h"

#include "base/Error.h"
#include "tools/Dictionaries.h"

namespace velkar::samples {

bool Contractor::InEU() const { return IsEUCountryCode(country == "GR" ? "EL" : country); }

const Taxpayer& Company() {
  static const Taxpayer company{"Przedsiębiorstwo Handlowe \"Wrzos\" Sp. z o.o.", "5213000015", "Ożarów Mazowiecki"};
  return company;
}

const std::vector<Contractor>& Contractors() {
  // number, identifier, name, NIP as typed, street, house, postcode, city, country,
  // customer, supplier, payer, related, retail, NIP accepted by the check
  static const std::vector<Contractor> list = {
      {1, "DETAL", "Sprzedaż detaliczna", "", "ul. Poznańska", "129", "05-850", "Ożarów Mazowiecki", "PL", true, false,
       1, false, true, false},
      {2, "ŻURAW", "Hurtownia Spożywcza „Żuraw” Sp. z o.o.", "7255260182", "ul. Piotrkowska", "112", "90-006", "Łódź",
       "PL", true, false, 2, false, false, true},
      {3, "SPOŁEM PŁOCK", "Powszechna Spółdzielnia Spożywców „Społem” w Płocku", "774-159-08-37", "ul. Tumska", "9",
       "09-402", "Płock", "PL", true, false, 3, false, false, true},
      {4, "KOWALSKI", "Jan Kowalski Sklep Ogólnospożywczy", "529-01-66-130", "ul. Żyrardowska", "41", "05-825",
       "Grodzisk Mazowiecki", "PL", true, false, 4, false, false, true},
      {5, "DELIKATESY", "Anna Nowak Delikatesy „Pod Lipami”", "PL 118 186 09 12", "Rynek", "3", "05-870", "Błonie",
       "PL", true, false, 5, false, false, true},
      // Defective numbers: checksum, a letter O for a zero, a digit missing, remainder 10.
      {6, "MARKET LUX", "Market „Lux” Sp. j. Wiśniewski i Wspólnicy", "5343909966", "al. Wojska Polskiego", "18A",
       "05-800", "Pruszków", "PL", true, false, 6, false, false, false},
      {7, "ŚWITEZIANKA", "Zakład Gastronomiczny „Świtezianka” s.c. Ewa i Piotr Kamińscy", "83703O8243",
       "ul. 15 Sierpnia", "7", "96-500", "Sochaczew", "PL", true, false, 7, false, false, false},
      {8, "SP 2 OŻARÓW", "Szkoła Podstawowa nr 2 im. Marii Konopnickiej", "775628194", "ul. Szkolna", "2", "05-850",
       "Ożarów Mazowiecki", "PL", true, false, 8, false, false, false},
      {9, "ZIELIŃSKA", "Małgorzata Zielińska", "brak", "ul. Grójecka", "186 m. 14", "02-390", "Warszawa", "PL", true,
       false, 9, false, false, false},
      {10, "REMIK", "P.H.U. „Remik” Remigiusz Dąbrowski", "7759729970", "ul. Królewska", "12", "99-300", "Kutno", "PL",
       true, false, 10, false, false, false},
      // A chain's head office pays for its branch.
      {11, "KŁOS CENTRALA", "Sieć Sklepów „Kłos” S.A.", "521-821-99-36", "ul. Marszałkowska", "84/92", "00-514",
       "Warszawa", "PL", true, false, 11, false, false, true},
      {12, "KŁOS KRAKÓW", "Sieć Sklepów „Kłos” S.A. Oddział w Krakowie", "521-821-99-36", "ul. Wielicka", "28",
       "30-552", "Kraków", "PL", true, false, 11, false, false, true},
      {13, "WIRTUS", "Wirtus Sp. z o.o.", "5275181906", "ul. Kolejowa", "5", "05-850", "Ożarów Mazowiecki", "PL", true,
       true, 13, true, false, true},
      // EU contractors.
      {14, "MÜLLER", "Feinkost Müller GmbH", "DE811234567", "Friedrichstraße", "123", "10117", "Berlin", "DE", true,
       true, 14, false, false, true},
      {15, "NOVÁK", "Potraviny Novák s.r.o.", "CZ25123456", "Nádražní", "45", "702 00", "Ostrava", "CZ", true, false,
       15, false, false, true},
      {16, "BALTIJOS", "UAB „Baltijos prekyba“", "LT100001234567", "Gedimino pr.", "20", "LT-01103", "Vilnius", "LT",
       true, false, 16, false, false, true},
      {17, "ELLINIKA", "Elliniká Trófima A.E.", "EL094012345", "Odos Ermou", "54", "105 63", "Ateny", "GR", true, false,
       17, false, false, true},
      {18, "BELFAST", "Belfast Fine Foods Ltd", "XI123456782", "Donegall Place", "12", "BT1 5AD", "Belfast", "XI", true,
       false, 18, false, false, true},
      // Outside the EU.
      {19, "KÄSE AG", "Schweizer Käse AG", "CHE-116.281.710 MWST", "Bahnhofstrasse", "10", "8001", "Zürich", "CH", true,
       true, 19, false, false, true},
      {20, "POLISH DELI", "Polish Deli Imports Inc.", "US36-1234567", "W Belmont Ave", "5201", "IL 60641", "Chicago",
       "US", true, false, 20, false, false, true},
      {21, "BRITISH TEA", "British Tea Company Ltd", "GB123456789", "Baker Street", "221", "NW1 6XE", "London", "GB",
       true, true, 21, false, false, true},
      {22, "NORDFISK", "Nordfisk AS", "NO923456789MVA", "Bryggen", "15", "5003", "Bergen", "NO", false, true, 22, false,
       false, true},
      {23, "KARPATY", "TOW „Karpaty-Eksport”", "UA1234567890", "vul. Horodotska", "36", "79007", "Lwów", "UA", true,
       false, 23, false, false, true},
      // Domestic suppliers.
      {24, "MŁYN ŁOWICZ", "Młyn Zbożowy „Łowicz” Sp. z o.o.", "8349378654", "ul. Przemysłowa", "3", "99-400", "Łowicz",
       "PL", false, true, 24, false, false, true},
      {25, "KUJAWIANKA", "Cukrownia „Kujawianka” S.A.", "879-366-71-27", "ul. Grudziądzka", "110", "87-100", "Toruń",
       "PL", false, true, 25, false, false, true},
      {26, "PAPIRUS", "Hurtownia Papiernicza „Papirus” Tadeusz Wróbel", "796-04-97-463", "ul. Żeromskiego", "51",
       "26-600", "Radom", "PL", false, true, 26, false, false, true},
      {27, "PETROL-MAX", "Stacja Paliw „Petrol-Max” Grzegorz Lewandowski", "5251862523", "ul. Poznańska", "250",
       "05-850", "Ożarów Mazowiecki", "PL", false, true, 27, false, false, true},
      {28, "TELEKOM", "Telekomunikacja Mazowiecka S.A.", "5265559792", "ul. Chmielna", "132/134", "00-805", "Warszawa",
       "PL", false, true, 28, false, false, true},
      {29, "ENERGIA", "Mazowiecki Zakład Energetyczny Sp. z o.o.", "1131703429", "ul. Nowy Świat", "64", "00-357",
       "Warszawa", "PL", false, true, 29, false, false, true},
      {30, "PUK OŻARÓW", "Przedsiębiorstwo Usług Komunalnych „Ożarów” Sp. z o.o.", "1220268596", "ul. Kolejowa", "12",
       "05-850", "Ożarów Mazowiecki", "PL", false, true, 30, false, false, true},
      {31, "AUTO-LEASING", "Auto-Leasing Polska Sp. z o.o.", "9515075294", "ul. Puławska", "182", "02-670", "Warszawa",
       "PL", false, true, 31, false, false, true},
      {32, "POLLENA", "Zakłady Chemii Gospodarczej „Pollena” S.A.", "8968465635", "ul. Legnicka", "55", "54-203",
       "Wrocław", "PL", false, true, 32, false, false, true},
      {33, "SADOWNIK", "Gospodarstwo Sadownicze Józef Wójcik", "7629528901", "ul. Sadowa", "8", "05-600", "Grójec",
       "PL", false, true, 33, false, false, true},
      {34, "TAX FREE", "Podróżny – zwrot VAT (Tax Free)", "", "", "", "", "", "PL", true, false, 34, false, false,
       false},
  };
  return list;
}

const Contractor& ContractorByNumber(int number) {
  for (const auto& c : Contractors())
    if (c.number == number) return c;
  Fail("Brak kontrahenta %d", number);
}

std::vector<const Contractor*> Customers() {
  std::vector<const Contractor*> result;
  for (const auto& c : Contractors())
    if (c.customer && !c.retail && c.number != 34) result.push_back(&c);
  return result;
}

std::vector<const Contractor*> Suppliers() {
  std::vector<const Contractor*> result;
  for (const auto& c : Contractors())
    if (c.supplier) result.push_back(&c);
  return result;
}

const std::vector<Goods>& Catalogue() {
  // group, index, name, unit, rate, gross price, net cost, GTU mask, service
  static const std::vector<Goods> goods = {
      {"SPOZ", "MAKA450", "Mąka pszenna typ 450 „Łowicka” 1 kg", "szt.", 5, 3.99, 2.60, 0, false},
      {"SPOZ", "CUKIER1", "Cukier biały kryształ 1 kg", "szt.", 5, 4.49, 3.05, 0, false},
      {"SPOZ", "KAWA1000", "Kawa ziarnista Arabica 100% 1 kg", "szt.", 23, 69.90, 41.00, 0, false},
      {"SPOZ", "HERB100", "Herbata czarna liściasta 100 g", "szt.", 23, 8.49, 4.80, 0, false},
      {"SPOZ", "SERGOUDA", "Ser żółty Gouda (na wagę)", "kg", 5, 32.90, 21.50, 0, false},
      {"SPOZ", "MIOD400", "Miód wielokwiatowy nektarowy 400 g", "szt.", 5, 18.50, 11.00, 0, false},
      {"SPOZ", "ZESTAW1", "Zestaw prezentowy: herbata, miód wielokwiatowy i konfitura z czarnej porzeczki", "kpl.", 23,
       64.00, 38.00, 0, false},
      {"NAP", "WODA15", "Woda mineralna niegazowana 1,5 l", "szt.", 5, 2.19, 1.10, 0, false},
      {"NAP", "SOK1L", "Sok jabłkowy 100% 1 l", "szt.", 5, 5.49, 3.20, 0, false},
      {"ALK", "WINO075", "Wino czerwone wytrawne 0,75 l", "szt.", 23, 34.99, 19.00, 1 << 0, false},
      {"CHEM", "PLYN1L", "Płyn do mycia naczyń 1 l", "szt.", 23, 7.99, 4.10, 0, false},
      {"CHEM", "PROSZEK3", "Proszek do prania 3 kg", "szt.", 23, 39.90, 24.00, 0, false},
      {"PAP", "KSERO", "Papier ksero A4 80 g/m2, ryza 500 ark.", "ryza", 23, 24.60, 16.00, 0, false},
      {"PAP", "RECZNIK", "Ręcznik papierowy, 2 rolki", "opak.", 23, 9.99, 5.70, 0, false},
      {"KS", "KUCHNIA", "Książka „Kuchnia polska”", "szt.", 5, 59.00, 38.00, 0, false},
      {"KS", "MIESIECZ", "Miesięcznik „Dobra Kuchnia”", "szt.", 8, 12.90, 8.50, 0, false},
      {"ELEKTR", "CZAJNIK", "Czajnik elektryczny 1,7 l", "szt.", 23, 99.00, 61.00, 1 << 5, false},
      {"ELEKTR", "TELEFON", "Telefon komórkowy", "szt.", 23, 899.00, 640.00, 1 << 5, false},
      {"USL", "TRANSP", "Usługa transportowa", "usł.", 23, 246.00, 0, 1 << 12, true},
      {"USL", "CATERING", "Usługa cateringowa", "usł.", 8, 540.00, 0, 0, true},
      {"USL", "SZKOLENIE", "Szkolenie z zasad przechowywania żywności", "usł.", -2, 500.00, 0, 1 << 11, true},
  };
  return goods;
}

const Goods& GoodsByIndex(const std::string& index) {
  for (const auto& g : Catalogue())
    if (g.index == index) return g;
  Fail("Brak towaru %s", index);
}

const std::vector<Account>& ChartOfAccounts() {
  static const std::vector<Account> accounts = {
      {10, 0, 0, "Środki trwałe", 0},
      {10, 1, 0, "Maszyny i urządzenia", 0},
      {10, 2, 0, "Środki transportu", 0},
      {70, 0, 0, "Umorzenie środków trwałych", 0},
      {100, 0, 0, "Kasa", 0},
      {130, 0, 0, "Rachunek bankowy", 0},
      {201, 0, 0, "Rozrachunki z odbiorcami", 0},
      {201, 1, 0, "Odbiorcy krajowi", 0},
      {201, 2, 0, "Odbiorcy zagraniczni", 0},
      {202, 0, 0, "Rozrachunki z dostawcami", 0},
      {202, 1, 0, "Dostawcy krajowi", 0},
      {202, 2, 0, "Dostawcy zagraniczni", 0},
      {221, 0, 0, "Rozliczenie VAT naliczonego", 0},
      {222, 0, 0, "Rozliczenie VAT należnego", 0},
      {230, 0, 0, "Rozrachunki z tytułu wynagrodzeń", 0},
      {330, 0, 0, "Towary", 0},
      {400, 0, 0, "Amortyzacja", 4},
      {401, 0, 0, "Zużycie materiałów i energii", 4},
      {402, 0, 0, "Usługi obce", 4},
      {404, 0, 0, "Wynagrodzenia", 4},
      {700, 0, 0, "Sprzedaż towarów", 4},
      {700, 1, 0, "Sprzedaż towarów w kraju", 4},
      {700, 2, 0, "Sprzedaż towarów za granicę", 4},
      {730, 0, 0, "Sprzedaż usług", 4},
      {731, 0, 0, "Wartość sprzedanych towarów w cenie zakupu", 4},
      {800, 0, 0, "Kapitał zakładowy", 0},
      {820, 0, 0, "Rozliczenie wyniku finansowego", 0},
      {860, 0, 0, "Wynik finansowy", 4},
      {975, 0, 0, "Zabezpieczenia i gwarancje obce", 2},
      {999, 0, 0, "Konto techniczne", 1},
  };
  return accounts;
}

std::vector<DateTime> SampleMonths() {
  return {{2023, 12, 1}, {2024, 1, 1}, {2024, 2, 1}, {2024, 3, 1}, {2026, 2, 1}, {2026, 3, 1}};
}

std::string DocumentName(const std::string& prefix, int number, const DateTime& date) {
  return Format("%s %d/%02d/%04d", prefix, number, date.month, date.year);
}

DateTime DayOf(const DateTime& month, int day) {
  int last = DaysInMonth(month.year, month.month);
  return {month.year, month.month, day < 1 ? 1 : (day > last ? last : day)};
}

}  // namespace velkar::samples
