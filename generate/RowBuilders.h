// The two row builders every register reader (and the JPK_FA converter) uses: the
// identification part of a new SprzedazWiersz or ZakupWiersz of JPK_V7M, with the GTU and
// procedure markers. The KSeF element (JPK_V7M(3)) and the amounts (K_10 ... K_47) are
// written afterwards.
#pragma once

#include <string>

#include "model/v7m/JpkV7.h"

namespace velkar {

// GTU mask: bit 0 (value 1) sets GTU_01 to 1 ... bit 12 sets GTU_13; higher bits are ignored.
void ApplyGtuMask(const v7m::IXMLJPK_Ewidencja_SprzedazWiersz& row, long long mask);
// Procedure mask (the bit numbering of ProcedureMarkers): bits 0 to 11 set WSTO_EE, IED,
// TP, TT_WNT, TT_D, MR_T, MR_UZ, I_42, I_63, B_SPV, B_SPV_DOSTAWA, B_MPV_PROWIZJA to 1;
// bit 12 and above are ignored, a mask of 0 or below sets nothing.
void ApplyProcedureMask(const v7m::IXMLJPK_Ewidencja_SprzedazWiersz& row, long long mask);

// LpSprzedazy, KodKrajuNadaniaTIN (when not empty), NrKontrahenta, NazwaKontrahenta,
// DowodSprzedazy, DataWystawienia, DataSprzedazy (only when it is not empty and differs
// from the issue date), TypDokumentu (when not empty), then the GTU and procedure markers.
void SetSaleLineV7(const v7m::IXMLJPK_Ewidencja_SprzedazWiersz& row, int nr, const std::string& kodKraju,
                   const std::string& nrKontrahenta, const std::string& nazwaKontrahenta,
                   const std::string& dowodSprzedazy, const std::string& dataWystawienia,
                   const std::string& dataSprzedazy, const std::string& typDokumentu, long long gtu,
                   long long procedury);

// LpZakupu, KodKrajuNadaniaTIN (when not empty), NrDostawcy, NazwaDostawcy, DowodZakupu,
// DataZakupu, DataWplywu (only when it is not empty and
// differs from the purchase date), DokumentZakupu
// (when not empty), IMP (1, when `imp`).
void SetBuyLineV7(const v7m::IXMLJPK_Ewidencja_ZakupWiersz& row, int nr, const std::string& kodKraju,
                  const std::string& nrDostawcy, const std::string& nazwaDostawcy, const std::string& dowodZakupu,
                  const std::string& dataZakupu, const std::string& dataWplywu, const std::string& dokumentZakupu,
                  bool imp);

}  // namespace velkar
