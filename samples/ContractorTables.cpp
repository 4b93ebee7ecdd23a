// Contractor tables: the single "Users" table and the per-period UR / UC tables.
#include <functional>

#include "base/Error.h"
#include "base/Paths.h"
#include "samples/Company.h"
#include "samples/SampleTables.h"
#include "tools/Dictionaries.h"

namespace velkar::samples {

TableDef UsersTable() {
  return {{{"Number", FieldType::Long},
           {"Identifier", FieldType::Alpha, 20},
           {"Firm Name", FieldType::Alpha, 100},
           {"NIP", FieldType::Alpha, 20},
           {"Street", FieldType::Alpha, 40},
           {"House", FieldType::Alpha, 12},
           {"ZipCode", FieldType::Alpha, 10},
           {"City", FieldType::Alpha, 40},
           {"Country", FieldType::Alpha, 2},
           {"Phone", FieldType::Alpha, 20}},
          1,
          1250};
}

TableDef PeriodContractorTable() {
  return {{{"Number", FieldType::Long},
           {"Identifier", FieldType::Alpha, 20},
           {"Firm Name", FieldType::Alpha, 100},
           {"NIP", FieldType::Alpha, 20},
           {"Address", FieldType::Alpha, 60},
           {"ZipCode", FieldType::Alpha, 10},
           {"City", FieldType::Alpha, 40},
           {"PayerNumber", FieldType::Long}},
          1,
          1250};
}

namespace {

// A generated card for benchmarks: a valid NIP made from the card number.
Contractor GeneratedCard(int number) {
  static const char* const kCities[][2] = {{"00-001", "Warszawa"}, {"30-001", "Kraków"}, {"90-001", "Łódź"},
                                           {"80-001", "Gdańsk"},   {"60-001", "Poznań"}, {"50-001", "Wrocław"}};
  static const int kWeights[9] = {6, 5, 7, 2, 3, 4, 5, 6, 7};
  std::string digits;
  for (long long base = 100000000LL + number * 7919LL % 899999999LL;; ++base) {
    digits = std::to_string(base);
    int sum = 0;
    for (int i = 0; i < 9; ++i) sum += (digits[static_cast<size_t>(i)] - '0') * kWeights[i];
    if (sum % 11 != 10) {
      digits += static_cast<char>('0' + sum % 11);
      break;
    }
  }
  const auto& city = kCities[number % 6];
  Contractor c;
  c.number = number;
  c.identifier = Format("FIRMA %d", number);
  c.name = Format("Przedsiębiorstwo Handlowe nr %d Sp. z o.o.", number);
  c.nip = digits;
  c.street = "ul. Handlowa";
  c.house = std::to_string(number % 200 + 1);
  c.zipCode = city[0];
  c.city = city[1];
  c.country = "PL";
  c.customer = c.supplier = true;
  c.payer = number;
  c.nipAccepted = true;
  return c;
}

void ForEachCard(const SampleSet& set, const std::function<void(const Contractor&)>& take) {
  for (const Contractor& c : Contractors()) take(c);
  for (int n = static_cast<int>(Contractors().size()) + 1; n <= set.cards; ++n) take(GeneratedCard(n));
}

}  // namespace

void WriteUsersTable(const std::string& dir, const SampleSet& set) {
  ParadoxWriter users(dir + "Users", UsersTable(), set.cards);
  ForEachCard(set, [&](const Contractor& c) {
    users.Append(users.NewRecord()
                     .Set("Number", c.number)
                     .Set("Identifier", c.identifier)
                     .Set("Firm Name", c.name)
                     .Set("NIP", c.nip)
                     .Set("Street", c.street)
                     .Set("House", c.house)
                     .Set("ZipCode", c.zipCode)
                     .Set("City", c.city)
                     .Set("Country", c.country)
                     .Set("Phone", c.Domestic() && !c.street.empty()
                                       ? Format("22 %03d %02d %02d", 700 + c.number, c.number % 100, 11)
                                       : std::string()));
  });
  users.Close();
}

void WritePeriodContractorTables(const std::string& dir, const SampleSet& set) {
  // One table per month and one per year, for each side: customers (UR), suppliers (UC).
  std::vector<std::pair<bool, DateTime>> periods;
  for (const DateTime& month : set.months) periods.emplace_back(false, month);
  for (const DateTime& month : set.months) {
    bool seen = false;
    for (const auto& [yearly, date] : periods) seen = seen || (yearly && date.year == month.year);
    if (!seen) periods.emplace_back(true, month);
  }
  for (const auto& [yearly, date] : periods) {
    for (const char* side : {"UR", "UC"}) {
      bool customers = std::string(side) == "UR";
      ParadoxWriter table(dir + DatePrefixedName(yearly, side, date), PeriodContractorTable(), set.cards);
      ForEachCard(set, [&](const Contractor& c) {
        if (customers ? !c.customer : !c.supplier) return;
        table.Append(table.NewRecord()
                         .Set("Number", c.number)
                         .Set("Identifier", c.identifier)
                         .Set("Firm Name", c.name)
                         .Set("NIP", c.nip)
                         .Set("Address", c.AddressLine())
                         .Set("ZipCode", c.zipCode)
                         .Set("City", c.city)
                         .Set("PayerNumber", c.payer));
      });
      table.Close();
    }
  }
}

}  // namespace velkar::samples
