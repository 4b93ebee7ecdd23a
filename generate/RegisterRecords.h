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

// Closes the two tables when the scope ends, however it ends.
class CloseOnExit {
 public:
  CloseOnExit(db::TTable& first, db::TTable& second) : first_(first), second_(second) {}
  ~CloseOnExit();
  CloseOnExit(const CloseOnExit&) = delete;
  CloseOnExit& operator=(const CloseOnExit&) = delete;

 private:
  db::TTable& first_;
  db::TTable& second_;
};

// Opens the contractor table and the register table (filtering on) in this order.
void OpenRegister(db::TTable& users, db::TTable& reg);
// The same with the register filtered on the month of `date` by the date field `field`:
// "(F >= first day) and (F <= last day)". A Timestamp field holds times of day after the
// last day's midnight, so for it the upper bound becomes "F < first day of next month".
void OpenRegisterForMonth(db::TTable& users, db::TTable& reg, const std::string& field, const DateTime& date);

}  // namespace velkar
