// JPK_FA(4) to JPK_V7M: every invoice of a JPK_FA file becomes a register row of a new
// JPK_V7M file, a purchase when the seller is not the taxpayer of the file, else a sale.
// The working period decides the structure: JPK_V7M(3) from February 2026, where every
// row gets the KSeF marker of the rules (an invoice: the ZnacznikKSeF default).
#pragma once

#include <string>

#include "model/fa/JpkFA.h"
#include "model/v7m/JpkV7.h"

namespace velkar {

class TJpkVatDlg;

// The output name: "JPK_FA_to_V7_" + the input file's name (without its folder).
std::string FaToV7FileName(const std::string& outputFolder, const std::string& inputFileName);

// MapFaToV7: adds Ewidencja to `v7` with its control records first, then one row per
// Faktura of `fa` (the first Faktura and its following Faktura siblings), each inserted
// before its control record, and finally runs the editor's RecalcJPK on `v7` (also after
// an error). Raises "Brak faktur w pliku JPK_FA", "Istnieje już węzeł "Ewidencja" w
// JPK_V7M" and "Brak NIP-u podatnika w pliku JPK_FA".
void MapFaToV7(const v7m::IXMLJPK& v7, const fa::IXMLJPKFA& fa, TJpkVatDlg& editor);

// ConvertFaToV7: a new JPK_V7M document (NewJpkV7ForPeriod) with its header for the working period,
// MapFaToV7, saved (reformatted and checked against the schema) as FaToV7FileName, then
// the information "Zakończono konwersję\rSprawdź wygenerowane dane". Returns the name of
// the file written. An error leaves no output file. The JPK_FA document is let go once
// it is mapped (a caller that passes its only reference frees it before the save).
std::string ConvertFaToV7(fa::IXMLJPKFA fa, const std::string& inputFileName, const std::string& outputFolder,
                          TJpkVatDlg& editor);

}  // namespace velkar
