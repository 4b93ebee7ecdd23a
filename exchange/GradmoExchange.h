// The Ramzes and Magik files of the warehouse export, filled from the open Gradmo tables.
#pragma once

#include <set>
#include <utility>

#include "model/xml/XmlNode.h"
#include "warehouse/GradmoSource.h"

namespace velkar {

// The Ramzes document of the month's sales documents (contractor, header, postings each).
xml::TXMLNode BuildRamzes(GradmoSource& dialog);
// BuildRamzes, then the save question and the save flow with "_Gradmo2Ramzes".
void MakeRamzes(GradmoSource& dialog);

// The Magik document as far as it was built, and how many documents it holds.
struct MagikBuild {
  xml::TXMLNode root;
  int count = 0;
};
// Fills `build` (created with NewMagikDoc) from the month's sales documents; on an error the
// documents before it stay in `build` and the error is passed on.
void FillMagik(GradmoSource& dialog, MagikBuild& build);
// FillMagik, then, also after an error: the count into LICZBA_DOKUMENTOW and the count
// message when above zero, the save question and the save flow with "_Gradmo2Wapro"; an
// error of the filling is passed on after that.
void MakeWapro(GradmoSource& dialog);

// The cards a document needs (its contractor's card and, with the Users table, its payer's),
// reading the contractor of the current document; `written` holds the (identifier, code)
// pairs of the cards already in `cards`, so the card index is not walked for every document.
void AddMagikContractor(GradmoSource& dialog, const xml::TXMLNode& cards,
                        std::set<std::pair<long long, long long>>& written, long long contractor, long long payer);

}  // namespace velkar
