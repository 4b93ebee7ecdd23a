// The fictitious company of the sample databases, in one place: the taxpayer, its
// contractors (valid and defective NIPs, EU and non-EU), its goods, its chart of
// accounts and the months it has data for. The program writers of Gradmo, Tulvo and
// Fennik all draw on it.
#pragma once

#include <string>
#include <vector>

#include "base/DateTime.h"

namespace velkar::samples {

struct Contractor {
  int number = 0;          // card number: Users / UR / UC "Number"
  std::string identifier;  // short name
  std::string name;        // full name ("Firm Name")
  std::string nip;         // as typed on the card: may be defective, prefixed or empty
  std::string street;
  std::string house;  // house and flat ("84/92", "186 m. 14")
  std::string zipCode;
  std::string city;
  std::string country;  // two-letter country code ("PL", "DE", "CH" ...)
  bool customer = false;
  bool supplier = false;
  int payer = 0;             // card that pays its invoices: itself, or the head office of a branch
  bool related = false;      // related party (procedure TP)
  bool retail = false;       // the card of anonymous retail customers
  bool nipAccepted = false;  // the NIP check finds no defect and the number is not missing

  bool Domestic() const { return country == "PL"; }
  bool InEU() const;
  // Street and house as one text (the "Address" field of UR and UC).
  std::string AddressLine() const { return house.empty() ? street : street + " " + house; }
};

struct Goods {
  std::string group;
  std::string index;
  std::string name;
  std::string unit;
  int vat = 23;          // rate in per cent; -2 exempt ("zw")
  double price = 0;      // gross unit price of sale
  double cost = 0;       // net unit cost of purchase
  int gtu = 0;           // GTU bit mask of the goods (bit 0 = GTU_01)
  bool service = false;  // services have no series (lots)
};

// A chart-of-accounts entry of the ledger: synthetic account, analytic levels (0 = none),
// name and options (1 = not reported, 2 = off-balance, 4 = profit and loss).
struct Account {
  int primary = 0;
  int secondary1 = 0;
  int secondary2 = 0;
  std::string name;
  int options = 0;
};

// The taxpayer (the same as in the demo configuration).
struct Taxpayer {
  std::string name;
  std::string nip;
  std::string city;
};
const Taxpayer& Company();

const std::vector<Contractor>& Contractors();
const Contractor& ContractorByNumber(int number);
std::vector<const Contractor*> Customers();  // domestic and foreign, without the retail card
std::vector<const Contractor*> Suppliers();

const std::vector<Goods>& Catalogue();
const Goods& GoodsByIndex(const std::string& index);

// Synthetic and first-level accounts of the ledger; contractor accounts (201-x-n,
// 202-x-n) are added for the contractors a year's entries use.
const std::vector<Account>& ChartOfAccounts();

// The months of the sample data: December 2023 to March 2024, February and March 2026.
std::vector<DateTime> SampleMonths();

// The number of a sample document: "FV 12/03/2024" style, prefix, running number and
// the month of its date.
std::string DocumentName(const std::string& prefix, int number, const DateTime& date);

// A date of the month (the day clamped to the month's length).
DateTime DayOf(const DateTime& month, int day);

}  // namespace velkar::samples
