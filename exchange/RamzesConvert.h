// JPK_V7M(2) to Ramzes: the sales rows of a VAT register as Ramzes contractor, document and
// posting records.
#pragma once

#include <string>
#include <vector>

#include "model/v7m/JpkV7.h"

namespace velkar {

// The output name: "JPKVAT_to_Ramzes_" + the input file's name (without its folder).
std::string V7ToRamzesFileName(const std::string& outputFolder, const std::string& inputFileName);

// Fills the Ramzes root `baza` from the sales rows of `v7` (from the first SprzedazWiersz
// to the first element without LpSprzedazy): per row one knt_Kontrahenci (knt_Id numbered
// from 1 per distinct NIP and name, knt_NazwaSkr the short name, no address), one
// dok_Nagdok (dok_DokId = LpSprzedazy, dok_Typ 3 when the row's net or VAT total is
// negative) and the postings 23 % (K_19, K_20), 8 % (K_17, K_18), 5 % (K_15, K_16) and
// 0 % (K_13); a row of type FP gets no posting. Returns the number of rows written.
int MapV7ToRamzes(const xml::TXMLNode& baza, const v7m::IXMLJPK& v7, const std::vector<std::string>& cutDict);

// ConvertV7ToRamzes: under the hourglass cursor a new Ramzes document filled by
// MapV7ToRamzes, saved (an existing file is replaced) as V7ToRamzesFileName, then the
// information "Zakończono konwersję\rSprawdź wygenerowane dane". Returns the file name.
std::string ConvertV7ToRamzes(const v7m::IXMLJPK& v7, const std::string& inputFileName, const std::string& outputFolder,
                              const std::vector<std::string>& cutDict);

}  // namespace velkar
