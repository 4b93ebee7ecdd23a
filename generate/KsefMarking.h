// The KSeF element of the rows a register reader writes into a JPK_V7M(3) document: the
// number a register text field "NrKSeF" holds, else the marker of the row-marker rules.
// Rows of a JPK_V7M(2) document get nothing.
#pragma once

#include <string>

#include "model/v7m/JpkV7.h"

namespace velkar {

namespace db {
class TTable;
}

class KsefRowMarking {
 public:
  // `reg` is the open register table the rows are read from; its field "NrKSeF" (any text
  // type, the name compared as other field names) is used when it has one.
  KsefRowMarking(const v7m::IXMLJPK& document, const db::TTable& reg);

  // For the current record of the register: NrKSeF when the field is not empty (checked
  // by CheckKsefNumber, whose error names `dowod`), else SaleRowMarker / PurchaseRowMarker.
  void Sale(const v7m::IXMLJPK_Ewidencja_SprzedazWiersz& row, const std::string& typDokumentu,
            const std::string& dowod) const;
  void Purchase(const v7m::IXMLJPK_Ewidencja_ZakupWiersz& row, const std::string& dokumentZakupu, bool imp,
                const std::string& dowod) const;

 private:
  // The register's number of the current record, "" when none.
  std::string NumberOfRecord() const;

  const db::TTable& reg_;
  bool active_ = false;
  std::string field_;  // the register's field name as the table spells it, "" when none
};

}  // namespace velkar
