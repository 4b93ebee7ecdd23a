// Identification part of the JPK_V7M(2) register rows, in the schema's element order.
#include "generate/RowBuilders.h"

#include <array>

namespace velkar {

namespace {

constexpr std::array<const char*, 13> kGtuElements = {"GTU_01", "GTU_02", "GTU_03", "GTU_04", "GTU_05",
                                                      "GTU_06", "GTU_07", "GTU_08", "GTU_09", "GTU_10",
                                                      "GTU_11", "GTU_12", "GTU_13"};

// The JPK_V7M(2) elements of procedure bits 0 to 11 (bits 0 and 1 are the newer WSTO_EE
// and IED of the markers SW and EE; bit 12, MPP, has no element in this schema).
constexpr std::array<const char*, 12> kProcedureElements = {"WSTO_EE", "IED",  "TP",    "TT_WNT",
                                                            "TT_D",    "MR_T", "MR_UZ", "I_42",
                                                            "I_63",    "B_SPV", "B_SPV_DOSTAWA", "B_MPV_PROWIZJA"};

template <size_t N>
void ApplyMask(const xml::TXMLNode& row, long long mask, const std::array<const char*, N>& elements) {
  if (mask <= 0) return;
  for (size_t bit = 0; bit < N; ++bit)
    if (mask & (1LL << bit)) row.SetChildInt(elements[bit], 1);
}

}  // namespace

void ApplyGtuMask(const v7m::IXMLJPK_Ewidencja_SprzedazWiersz& row, long long mask) {
  ApplyMask(row, mask, kGtuElements);
}

void ApplyProcedureMask(const v7m::IXMLJPK_Ewidencja_SprzedazWiersz& row, long long mask) {
  ApplyMask(row, mask, kProcedureElements);
}

void SetSaleLineV7(const v7m::IXMLJPK_Ewidencja_SprzedazWiersz& row, int nr, const std::string& kodKraju,
                   const std::string& nrKontrahenta, const std::string& nazwaKontrahenta,
                   const std::string& dowodSprzedazy, const std::string& dataWystawienia,
                   const std::string& dataSprzedazy, const std::string& typDokumentu, long long gtu,
                   long long procedury) {
  row.Set_LpSprzedazy(nr);
  if (!kodKraju.empty()) row.Set_KodKrajuNadaniaTIN(kodKraju);
  row.Set_NrKontrahenta(nrKontrahenta);
  row.Set_NazwaKontrahenta(nazwaKontrahenta);
  row.Set_DowodSprzedazy(dowodSprzedazy);
  row.Set_DataWystawienia(dataWystawienia);
  // An empty sale date (a NULL field) is no date: the element is left out, as for an equal one.
  if (!dataSprzedazy.empty() && dataSprzedazy != dataWystawienia) row.Set_DataSprzedazy(dataSprzedazy);
  if (!typDokumentu.empty()) row.Set_TypDokumentu(typDokumentu);
  ApplyGtuMask(row, gtu);
  ApplyProcedureMask(row, procedury);
}

void SetBuyLineV7(const v7m::IXMLJPK_Ewidencja_ZakupWiersz& row, int nr, const std::string& kodKraju,
                  const std::string& nrDostawcy, const std::string& nazwaDostawcy, const std::string& dowodZakupu,
                  const std::string& dataZakupu, const std::string& dataWplywu, const std::string& dokumentZakupu,
                  bool imp) {
  row.Set_LpZakupu(nr);
  if (!kodKraju.empty()) row.Set_KodKrajuNadaniaTIN(kodKraju);
  row.Set_NrDostawcy(nrDostawcy);
  row.Set_NazwaDostawcy(nazwaDostawcy);
  row.Set_DowodZakupu(dowodZakupu);
  row.Set_DataZakupu(dataZakupu);
  if (!dataWplywu.empty() && dataWplywu != dataZakupu) row.Set_DataWplywu(dataWplywu);
  if (!dokumentZakupu.empty()) row.Set_DokumentZakupu(dokumentZakupu);
  if (imp) row.Set_IMP(1);
}

}  // namespace velkar
