// KSeF numbers of the sample documents of periods from February 2026: the numbers some
// register records carry, and the period's list of numbers for invoices whose records have
// none yet (the list a taxpayer downloads from KSeF and applies to the register file).
#pragma once

#include <string>
#include <vector>

#include "base/DateTime.h"
#include "samples/SampleRandom.h"

namespace velkar::samples {

struct Contractor;

// Register tables of a year from 2026 on have the text field "NrKSeF".
bool RegisterHasKsefField(int year);
// From February 2026 the register records of invoices may carry a KSeF number.
bool KsefPeriod(const DateTime& month);

// The random stream of a month's KSeF numbers: a stream of its own, so that the documents
// drawn from the sample's other streams stay the same.
SampleRandom KsefRandom(std::uint64_t seed, const DateTime& month);

// The NIP of a domestic card whose number passes the check, digits only ("PL 118 186 09 12"
// gives "1181860912"); empty for any other card.
std::string DomesticNip(const Contractor& contractor);

// A KSeF number of an invoice: the issuer's NIP, the invoice's date, twelve upper-case hex
// digits drawn from `random` and the CRC-8 of those 32 characters.
std::string SampleKsefNumber(const std::string& issuerNip, const DateTime& date, SampleRandom& random);

// The KSeF data of one invoice of a period from February 2026: about 60 % of the invoices
// carry their number in the register (`inRegister`); of the others about half are in the
// period's list (`inList`), the rest in neither.
void DrawKsef(const std::string& issuerNip, const DateTime& date, SampleRandom& random, std::string& inRegister,
              std::string& inList);

// One line of a KSeF number list: the invoice's number as the register holds it, the
// counterparty's NIP and the KSeF number.
struct KsefListEntry {
  std::string document;
  std::string nip;
  std::string number;
};

// The list's file name in a program's folder: "KSeF_2026-03.csv".
std::string KsefListName(const DateTime& month);
// Writes the list as CSV in UTF-8: the header "NumerFaktury;NIP;NumerKSeF", one line per
// invoice, semicolon separated, Windows line ends.
void WriteKsefList(const std::string& path, const std::vector<KsefListEntry>& entries);

}  // namespace velkar::samples
