// The steps of the JPK_MAG(1) writer of the warehouse export (MakeJpkMag is declared with
// the dialog): four kinds of warehouse documents, PZ, WZ, RW and MM.
#pragma once

#include <string>

#include "jpkfiles/GeneratedJpkFile.h"
#include "model/mag/JpkMAG.h"
#include "warehouse/GradmoSource.h"

namespace velkar {

// True when a document of `type` with `flags` (of tblWI) belongs to `kind` ("PZ", "WZ",
// "RW", "MM"): its type is in the kind's list and neither bit 0 nor bit 4 of its flags is set.
bool IsMagKind(const std::string& kind, long long type, long long flags);
// The document number of the output: "PZ%d-%s" for PZ other than types 152 and 153, "WZ-" +
// name for WZ other than types 24 and 25, else the name.
std::string MagDocumentNumber(const std::string& kind, long long type, long long number, const std::string& name);

// The new document with its header, then with every kind of the month. With `file`,
// finished records are written to it as they are made (see GeneratedJpkFile).
mag::IXMLJPKMAG NewJpkMagDocument();
mag::IXMLJPKMAG BuildJpkMag(GradmoSource& dialog, GeneratedJpkFile* file = nullptr);
void FillJpkMag(GradmoSource& dialog, const mag::IXMLJPKMAG& doc, GeneratedJpkFile* file);
void FillMagKind(GradmoSource& dialog, const mag::IXMLJPKMAG& doc, const std::string& kind,
                 GeneratedJpkFile* file = nullptr);

}  // namespace velkar
