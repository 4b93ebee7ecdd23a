// The upgrade of a JPK_V7M(2) document of a period from February 2026 to JPK_V7M(3):
// namespaces, header and declaration values, the refund choice that replaces P_57, and a
// KSeF number or marker on every register row.
#pragma once

#include <string>
#include <vector>

#include "ksef/KsefRows.h"
#include "model/v7m/JpkV7.h"

namespace velkar {

class KsefNumberList;

// The refund choices of JPK_V7M(3) that may take the place of P_57: "540", "55", "56",
// "560", "58" (the element P_ + the choice).
bool IsV7m3RefundChoice(const std::string& choice);

struct V7mUpgradeResult {
  int numbered = 0;                        // rows that got their number from the list
  std::vector<KsefRowInfo> defaultMarked;  // invoice rows that got the ZnacznikKSeF marker
  std::string refund;                      // the element that replaced P_57 ("P_560"), "" when none
};

// Upgrades `doc` in place. Refuses, leaving `doc` as it was: a document that is not
// JPK_V7M(2) ("Plik jest już w strukturze JPK_V7M (3)" for a V7M(3) one), a period before
// February 2026 ("Okres 2026-01 rozlicza się w strukturze JPK_V7M (2)"), P_57 without a
// `refund` choice, and a `refund` that is not IsV7m3RefundChoice. Then: the default and etd
// namespaces of V7M(3) (every declaration of the old ones, the 07081 publication included),
// kodSystemowy "JPK_V7M (3)", WariantFormularza 3, a new DataWytworzeniaJPK in UTC,
// declaration "VAT-7 (23)" / 23, P_57 replaced in place by P_<refund> with its value, and
// on every row the number of `list` (when given and a line matches), else the marker of
// SaleRowMarker / PurchaseRowMarker. A `refund` given for a document without P_57 is not
// used (result.refund stays "").
V7mUpgradeResult UpgradeJpkV7(const v7m::IXMLJPK& doc, const KsefNumberList* list, const std::string& refund);

}  // namespace velkar
