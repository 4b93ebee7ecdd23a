// The steps of the JPK_FA(4) writer of the warehouse export (MakeJpkFa is declared with
// the dialog).
#pragma once

#include <string>

#include "jpkfiles/GeneratedJpkFile.h"
#include "model/fa/JpkFA.h"
#include "warehouse/GradmoSource.h"

namespace velkar {

// A document type of JPK_FA: the type with bit 0 cleared is 0, 2, 4, 20, 22, 48, 50 or 52.
bool IsFaDocumentType(long long type);
// P_12: "zw" below -1, otherwise the rate as the shortest decimal text ("23", "-1").
std::string FaRateText(double rate);

// The new document with its header only.
fa::IXMLJPKFA NewJpkFaDocument();
// The new document with its header, all Faktura and all FakturaWiersz of the month. With
// `file`, finished records are written to it as they are made (see GeneratedJpkFile).
fa::IXMLJPKFA BuildJpkFa(GradmoSource& dialog, GeneratedJpkFile* file = nullptr);
void FillJpkFa(GradmoSource& dialog, const fa::IXMLJPKFA& doc, GeneratedJpkFile* file);
// One pass over tblWI: headers (and FakturaCtrl) or lines (and FakturaWierszCtrl).
void FillFa(GradmoSource& dialog, const fa::IXMLJPKFA& doc, bool linesPass, GeneratedJpkFile* file = nullptr);
void AddFaHeader(GradmoSource& dialog, const fa::IXMLJPKFA& doc, long long type, const std::string& name, double& sum,
                 int& count);
void AddFaLines(GradmoSource& dialog, const fa::IXMLJPKFA& doc, const std::string& name, bool grossMode, double& sum,
                int& count, GeneratedJpkFile* file = nullptr);

}  // namespace velkar
