// JPK_MAG(1) (form JPK_MAG, system code "JPK_MAG (1)", schema 1-0) as property tables, one
// line per element or attribute, in schema order. Classes in JpkMAG.h; kinds in
// model/xml/XmlProperties.h. Amounts and quantities are read strictly with '.'.
#pragma once

// JPK
#define VELKAR_MAG_JPK(P)            \
  P(Element, Naglowek, TNaglowek)    \
  P(Element, Podmiot1, JPK_Podmiot1) \
  P(Text, Magazyn)                   \
  P(Element, PZ, JPK_PZ)             \
  P(Element, WZ, JPK_WZ)             \
  P(Element, RW, JPK_RW)             \
  P(Element, MM, JPK_MM)

// TNaglowek
#define VELKAR_MAG_TNaglowek(P)                      \
  P(Element, KodFormularza, TNaglowek_KodFormularza) \
  P(Integer, WariantFormularza)                      \
  P(Integer, CelZlozenia)                            \
  P(Text, DataWytworzeniaJPK)                        \
  P(Date, DataOd)                                    \
  P(Date, DataDo)                                    \
  P(Text, DomyslnyKodWaluty)                         \
  P(Integer, KodUrzedu)

// TNaglowek/KodFormularza: its own text ("JPK_MAG") plus
#define VELKAR_MAG_TNaglowek_KodFormularza(P) \
  P(Attribute, kodSystemowy)                  \
  P(Attribute, wersjaSchemy)

// JPK/Podmiot1
#define VELKAR_MAG_JPK_Podmiot1(P)                                      \
  P(Element, IdentyfikatorPodmiotu, TIdentyfikatorOsobyNiefizycznej_etd) \
  P(Element, AdresPodmiotu, TAdresPolski_etd)

// etd TIdentyfikatorOsobyNiefizycznej: written as etd:..., read at the schema position
#define VELKAR_MAG_TIdentyfikatorOsobyNiefizycznej_etd(P) \
  P(Etd, NIP, 0)                                          \
  P(Etd, PelnaNazwa, 1)                                   \
  P(Etd, REGON, 2)

// etd TAdresPolski: written as etd:..., read at the schema position
#define VELKAR_MAG_TAdresPolski_etd(P) \
  P(Etd, KodKraju, 0)                  \
  P(Etd, Wojewodztwo, 1)               \
  P(Etd, Powiat, 2)                    \
  P(Etd, Gmina, 3)                     \
  P(Etd, Ulica, 4)                     \
  P(Etd, NrDomu, 5)                    \
  P(Etd, NrLokalu, 6)                  \
  P(Etd, Miejscowosc, 7)               \
  P(Etd, KodPocztowy, 8)               \
  P(Etd, Poczta, 9)

// JPK/PZ: goods received. All PZWartosc, all PZWiersz, PZCtrl.
#define VELKAR_MAG_JPK_PZ(P)                    \
  P(List, PZWartosc, JPK_PZ_PZWartosc)          \
  P(List, PZWiersz, JPK_PZ_PZWiersz)            \
  P(Element, PZCtrl, JPK_PZ_PZCtrl)
#define VELKAR_MAG_JPK_PZ_PZWartosc(P) \
  P(Text, NumerPZ)                     \
  P(Date, DataPZ)                      \
  P(AmountStrict, WartoscPZ)           \
  P(Date, DataOtrzymaniaPZ)            \
  P(Text, Dostawca)                    \
  P(Text, NumerFaPZ)                   \
  P(Date, DataFaPZ)
#define VELKAR_MAG_JPK_PZ_PZWiersz(P) \
  P(Text, Numer2PZ)                   \
  P(Text, KodTowaruPZ)                \
  P(Text, NazwaTowaruPZ)              \
  P(AmountStrict, IloscPrzyjetaPZ)    \
  P(Text, JednostkaMiaryPZ)           \
  P(AmountStrict, CenaJednPZ)         \
  P(AmountStrict, WartoscPozycjiPZ)
#define VELKAR_MAG_JPK_PZ_PZCtrl(P) \
  P(Integer, LiczbaPZ)              \
  P(AmountStrict, SumaPZ)

// JPK/WZ: goods issued. All WZWartosc, all WZWiersz, WZCtrl.
#define VELKAR_MAG_JPK_WZ(P)                    \
  P(List, WZWartosc, JPK_WZ_WZWartosc)          \
  P(List, WZWiersz, JPK_WZ_WZWiersz)            \
  P(Element, WZCtrl, JPK_WZ_WZCtrl)
#define VELKAR_MAG_JPK_WZ_WZWartosc(P) \
  P(Text, NumerWZ)                     \
  P(Date, DataWZ)                      \
  P(AmountStrict, WartoscWZ)           \
  P(Date, DataWydaniaWZ)               \
  P(Text, OdbiorcaWZ)                  \
  P(Text, NumerFaWZ)                   \
  P(Date, DataFaWZ)
#define VELKAR_MAG_JPK_WZ_WZWiersz(P) \
  P(Text, Numer2WZ)                   \
  P(Text, KodTowaruWZ)                \
  P(Text, NazwaTowaruWZ)              \
  P(AmountStrict, IloscWydanaWZ)      \
  P(Text, JednostkaMiaryWZ)           \
  P(AmountStrict, CenaJednWZ)         \
  P(AmountStrict, WartoscPozycjiWZ)
#define VELKAR_MAG_JPK_WZ_WZCtrl(P) \
  P(Integer, LiczbaWZ)              \
  P(AmountStrict, SumaWZ)

// JPK/RW: internal issue. All RWWartosc, all RWWiersz, RWCtrl.
#define VELKAR_MAG_JPK_RW(P)                    \
  P(List, RWWartosc, JPK_RW_RWWartosc)          \
  P(List, RWWiersz, JPK_RW_RWWiersz)            \
  P(Element, RWCtrl, JPK_RW_RWCtrl)
#define VELKAR_MAG_JPK_RW_RWWartosc(P) \
  P(Text, NumerRW)                     \
  P(Date, DataRW)                      \
  P(AmountStrict, WartoscRW)           \
  P(Date, DataWydaniaRW)               \
  P(Text, SkadRW)                      \
  P(Text, DokadRW)
#define VELKAR_MAG_JPK_RW_RWWiersz(P) \
  P(Text, Numer2RW)                   \
  P(Text, KodTowaruRW)                \
  P(Text, NazwaTowaruRW)              \
  P(AmountStrict, IloscWydanaRW)      \
  P(Text, JednostkaMiaryRW)           \
  P(AmountStrict, CenaJednRW)         \
  P(AmountStrict, WartoscPozycjiRW)
#define VELKAR_MAG_JPK_RW_RWCtrl(P) \
  P(Integer, LiczbaRW)              \
  P(AmountStrict, SumaRW)

// JPK/MM: transfer between warehouses. All MMWartosc, all MMWiersz, MMCtrl.
#define VELKAR_MAG_JPK_MM(P)                    \
  P(List, MMWartosc, JPK_MM_MMWartosc)          \
  P(List, MMWiersz, JPK_MM_MMWiersz)            \
  P(Element, MMCtrl, JPK_MM_MMCtrl)
#define VELKAR_MAG_JPK_MM_MMWartosc(P) \
  P(Text, NumerMM)                     \
  P(Date, DataMM)                      \
  P(AmountStrict, WartoscMM)           \
  P(Date, DataWydaniaMM)               \
  P(Text, SkadMM)                      \
  P(Text, DokadMM)
#define VELKAR_MAG_JPK_MM_MMWiersz(P) \
  P(Text, Numer2MM)                   \
  P(Text, KodTowaruMM)                \
  P(Text, NazwaTowaruMM)              \
  P(AmountStrict, IloscWydanaMM)      \
  P(Text, JednostkaMiaryMM)           \
  P(AmountStrict, CenaJednMM)         \
  P(AmountStrict, WartoscPozycjiMM)
#define VELKAR_MAG_JPK_MM_MMCtrl(P) \
  P(Integer, LiczbaMM)              \
  P(AmountStrict, SumaMM)
