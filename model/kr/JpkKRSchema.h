// JPK_KR(1) (form JPK_KR, system code "JPK_KR (1)", schema 1-0) as property tables, one line
// per element or attribute, in schema order (a type's attribute first). Classes in JpkKR.h;
// kinds in model/xml/XmlProperties.h.
#pragma once

// JPK: all ZOiS, all Dziennik, DziennikCtrl, all KontoZapis, KontoZapisCtrl
#define VELKAR_KR_JPK(P)                               \
  P(Element, Naglowek, TNaglowek)                      \
  P(Element, Podmiot1, JPK_Podmiot1)                   \
  P(List, ZOiS, JPK_ZOiS)                              \
  P(List, Dziennik, JPK_Dziennik)                      \
  P(Element, DziennikCtrl, JPK_DziennikCtrl)           \
  P(List, KontoZapis, JPK_KontoZapis)                  \
  P(Element, KontoZapisCtrl, JPK_KontoZapisCtrl)

// TNaglowek
#define VELKAR_KR_TNaglowek(P)                       \
  P(Element, KodFormularza, TNaglowek_KodFormularza) \
  P(Integer, WariantFormularza)                      \
  P(Integer, CelZlozenia)                            \
  P(Text, DataWytworzeniaJPK)                        \
  P(Date, DataOd)                                    \
  P(Date, DataDo)                                    \
  P(Text, DomyslnyKodWaluty)                         \
  P(Integer, KodUrzedu)

// TNaglowek/KodFormularza: its own text ("JPK_KR") plus
#define VELKAR_KR_TNaglowek_KodFormularza(P) \
  P(Attribute, kodSystemowy)                 \
  P(Attribute, wersjaSchemy)

// JPK/Podmiot1
#define VELKAR_KR_JPK_Podmiot1(P)                                        \
  P(Element, IdentyfikatorPodmiotu, TIdentyfikatorOsobyNiefizycznej_etd) \
  P(Element, AdresPodmiotu, TAdresPolski_etd)

// etd TIdentyfikatorOsobyNiefizycznej: written as etd:..., read at the schema position
#define VELKAR_KR_TIdentyfikatorOsobyNiefizycznej_etd(P) \
  P(Etd, NIP, 0)                                         \
  P(Etd, PelnaNazwa, 1)                                  \
  P(Etd, REGON, 2)

// etd TAdresPolski: written as etd:..., read at the schema position
#define VELKAR_KR_TAdresPolski_etd(P) \
  P(Etd, KodKraju, 0)                 \
  P(Etd, Wojewodztwo, 1)              \
  P(Etd, Powiat, 2)                   \
  P(Etd, Gmina, 3)                    \
  P(Etd, Ulica, 4)                    \
  P(Etd, NrDomu, 5)                   \
  P(Etd, NrLokalu, 6)                 \
  P(Etd, Miejscowosc, 7)              \
  P(Etd, KodPocztowy, 8)              \
  P(Etd, Poczta, 9)

// JPK/ZOiS: account with opening balance, turnovers and balance (18 properties)
#define VELKAR_KR_JPK_ZOiS(P)        \
  P(Attribute, typ)                  \
  P(Text, KodKonta)                  \
  P(Text, OpisKonta)                 \
  P(Text, TypKonta)                  \
  P(Text, KodZespolu)                \
  P(Text, OpisZespolu)               \
  P(Text, KodKategorii)              \
  P(Text, OpisKategorii)             \
  P(Text, KodPodkategorii)           \
  P(Text, OpisPodkategorii)          \
  P(Amount, BilansOtwarciaWinien)    \
  P(Amount, BilansOtwarciaMa)        \
  P(Amount, ObrotyWinien)            \
  P(Amount, ObrotyMa)                \
  P(Amount, ObrotyWinienNarast)      \
  P(Amount, ObrotyMaNarast)          \
  P(Amount, SaldoWinien)             \
  P(Amount, SaldoMa)

// JPK/Dziennik: journal entry (12 properties)
#define VELKAR_KR_JPK_Dziennik(P)    \
  P(Attribute, typ)                  \
  P(Integer, LpZapisuDziennika)      \
  P(Text, NrZapisuDziennika)         \
  P(Text, OpisDziennika)             \
  P(Text, NrDowoduKsiegowego)        \
  P(Text, RodzajDowodu)              \
  P(Date, DataOperacji)              \
  P(Date, DataDowodu)                \
  P(Date, DataKsiegowania)           \
  P(Text, KodOperatora)              \
  P(Text, OpisOperacji)              \
  P(Amount, DziennikKwotaOperacji)

// JPK/DziennikCtrl
#define VELKAR_KR_JPK_DziennikCtrl(P) \
  P(Integer, LiczbaWierszyDziennika)  \
  P(Amount, SumaKwotOperacji)

// JPK/KontoZapis: posting to accounts (13 properties)
#define VELKAR_KR_JPK_KontoZapis(P)  \
  P(Attribute, typ)                  \
  P(Integer, LpZapisu)               \
  P(Text, NrZapisu)                  \
  P(Text, KodKontaWinien)            \
  P(Amount, KwotaWinien)             \
  P(Amount, KwotaWinienWaluta)       \
  P(Text, KodWalutyWinien)           \
  P(Text, OpisZapisuWinien)          \
  P(Text, KodKontaMa)                \
  P(Amount, KwotaMa)                 \
  P(Amount, KwotaMaWaluta)           \
  P(Text, KodWalutyMa)               \
  P(Text, OpisZapisuMa)

// JPK/KontoZapisCtrl
#define VELKAR_KR_JPK_KontoZapisCtrl(P) \
  P(Integer, LiczbaWierszyKontoZapisj)  \
  P(Amount, SumaWinien)                 \
  P(Amount, SumaMa)
