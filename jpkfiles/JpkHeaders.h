// New JPK documents: the preparation of a document (namespace declarations, encoding,
// options, indentation) and the header fillers that write Naglowek and Podmiot1 from the
// program settings and the working period (CurDate). Producers call, in this order: the
// kind's New function of the model, Init...Doc, Set...Header, then add their content.
#pragma once

#include <string>

#include "base/DateTime.h"
#include "model/fa/JpkFA.h"
#include "model/kr/JpkKR.h"
#include "model/mag/JpkMAG.h"
#include "model/v7m/JpkV7.h"

namespace velkar {

// The JPK_V7M structure of a period: JPK_V7M(3) from February 2026, JPK_V7M(2) before.
v7m::V7Structure V7StructureForPeriod(const DateTime& period);
// A new empty JPK_V7M document of the period's structure.
v7m::IXMLJPK NewJpkV7ForPeriod(const DateTime& period);

// Prepare the document that owns the root: declare etd (JPK_V7M: the etd namespace of the
// root's structure, only when the root does not already see etd bound to it; JPK_FA(4): always; JPK_MAG(1), JPK_KR(1): etd
// and xsi, always), switch the encoding to UTF-8, record the parse options validate-on-
// parse and preserve-white-space, and set a TAB as the indent string.
void InitJpkV7Doc(const v7m::IXMLJPK& doc);
void InitJpkFADoc(const fa::IXMLJPKFA& doc);
void InitJpkMAGDoc(const mag::IXMLJPKMAG& doc);
void InitJpkKRDoc(const kr::IXMLJPKKR& doc);

// Fill Naglowek and Podmiot1 of a new document, in schema order, from Settings().
// `correction` gives CelZlozenia 2 (a corrected return) instead of 1. JPK_V7M: the header of
// the root's structure (JPK_V7M(3): "JPK_V7M (3)", variant 3, the stamp in UTC).
void SetJpkV7Header(const v7m::IXMLJPK& doc, bool correction);
void SetJpkFAHeader(const fa::IXMLJPKFA& doc);
// These two raise xml::EConvertError when USCode is not a whole number; the header is then
// filled up to DomyslnyKodWaluty.
void SetJpkMAGHeader(const mag::IXMLJPKMAG& doc);
void SetJpkKRHeader(const kr::IXMLJPKKR& doc);

// The creation stamp DataWytworzeniaJPK: "yyyy-MM-ddThh:mm:ss" of the program's clock.
std::string JpkCreationStamp();
// The same instant in UTC, "yyyy-MM-ddThh:mm:ssZ" (JPK_V7M(3) compares it as an instant).
std::string JpkCreationStampUtc();

}  // namespace velkar
