// Small helpers the register readers share: dates read from Date or Timestamp fields, the
// month filter of date fields, amounts computed by a reader written to the grosz, and the
// guard that closes the dialog's tables on every exit path.
#pragma once

#include <string>

#include "base/DateTime.h"

namespace velkar {

namespace db {
class TDataSet;
class TTable;
}  // namespace db
namespace xml {
class TXMLNode;
}

// The date of `field` in the current record as "yyyy-MM-dd": a Date field as it reads, a
// Timestamp field without its time of day.
std::string DateOf(const db::TDataSet& table, const std::string& field);


// An amount a reader computed, written to the grosz (half away from zero) when `force` is
// set or it is not 0. Sources with more decimals than the schema's two are rounded here.
void WriteAmount(const xml::TXMLNode& row, const std::string& element, double value, bool force);

// A net amount and its tax from the current record (K_15/K_16 ... K_29/K_30): both are
// written, to the grosz and negated when `negate`, when either is not 0, neither when both
// are 0. The schema takes these elements only in pairs, so a net amount whose tax is 0
// (a tiny net, or a source without the tax) gets its tax written as 0.
void SetAmountPair(const xml::TXMLNode& row, const db::TDataSet& table, const std::string& netElement,
                   const std::string& netField, const std::string& taxElement, const std::string& taxField,
                   bool negate);

// Closes the two tables at once (a run starts with both closed) and again when the scope
// ends, however it ends.
class CloseOnExit {
 public:
  CloseOnExit(db::TTable& first, db::TTable& second);
  ~CloseOnExit();
  CloseOnExit(const CloseOnExit&) = delete;
  CloseOnExit& operator=(const CloseOnExit&) = delete;

 private:
  db::TTable& first_;
  db::TTable& second_;
};

// The contractor table `folder` + "Users", kept on the card whose "Number" equals the
// register's `registerField` ("Payer", "User", "FirmId").
void LinkContractors(db::TTable& users, db::TTable& reg, const std::string& folder, const char* registerField);

// Opens the contractor table and the register table (filtering on) in this order.
void OpenRegister(db::TTable& users, db::TTable& reg);
// The same with the register filtered on the month of `date` by the date field `field`:
// "(F >= first day) and (F <= last day)". A Timestamp field holds times of day after the
// last day's midnight, so for it the upper bound becomes "F < first day of next month".
void OpenRegisterForMonth(db::TTable& users, db::TTable& reg, const std::string& field, const DateTime& date);

}  // namespace velkar
