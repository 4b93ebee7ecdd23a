// JPK_FA(4) (form JPK_FA, system code "JPK_FA (4)", schema 1-0) as property tables, one line
// per element or attribute, in schema order. Classes in JpkFA.h; kinds in
// model/xml/XmlProperties.h.
#pragma once

// JPK: all Faktura, FakturaCtrl, all FakturaWiersz, FakturaWierszCtrl, all Zamowienie, ZamowienieCtrl
#define VELKAR_FA_JPK(P)                                   \
  P(Element, Naglowek, JPK_Naglowek)                       \
  P(Element, Podmiot1, JPK_Podmiot1)                       \
  P(List, Faktura, JPK_Faktura)                            \
  P(Element, FakturaCtrl, JPK_FakturaCtrl)                 \
  P(List, FakturaWiersz, JPK_FakturaWiersz)                \
  P(Element, FakturaWierszCtrl, JPK_FakturaWierszCtrl)     \
  P(List, Zamowienie, JPK_Zamowienie)                      \
  P(Element, ZamowienieCtrl, JPK_ZamowienieCtrl)

// TNaglowek (JPK/Naglowek derives from it and adds nothing)
#define VELKAR_FA_TNaglowek(P)                       \
  P(Element, KodFormularza, TNaglowek_KodFormularza) \
  P(Integer, WariantFormularza)                      \
  P(Integer, CelZlozenia)                            \
  P(Text, DataWytworzeniaJPK)                        \
  P(Date, DataOd)                                    \
  P(Date, DataDo)                                    \
  P(Text, KodUrzedu)

// TNaglowek/KodFormularza: its own text ("JPK_FA") plus
#define VELKAR_FA_TNaglowek_KodFormularza(P) \
  P(Attribute, kodSystemowy)                 \
  P(Attribute, wersjaSchemy)

// JPK/Podmiot1 (AdresPodmiotu2 is the schema's alternative to AdresPodmiotu)
#define VELKAR_FA_JPK_Podmiot1(P)                                          \
  P(Element, IdentyfikatorPodmiotu, TIdentyfikatorOsobyNiefizycznej1)      \
  P(Element, AdresPodmiotu, TAdresPolski1_etd)                             \
  P(Element, AdresPodmiotu2, TAdresZagraniczny_etd)

// TIdentyfikatorOsobyNiefizycznej1 (own namespace)
#define VELKAR_FA_TIdentyfikatorOsobyNiefizycznej1(P) \
  P(Text, NIP)                                        \
  P(Text, EUPLVATID)                                  \
  P(Text, IMPLVATID)                                  \
  P(Text, PelnaNazwa)

// etd TAdresPolski1: written and read by the prefixed name
#define VELKAR_FA_TAdresPolski1_etd(P) \
  P(Etd, KodKraju, -1)                 \
  P(Etd, Wojewodztwo, -1)              \
  P(Etd, Powiat, -1)                   \
  P(Etd, Gmina, -1)                    \
  P(Etd, Ulica, -1)                    \
  P(Etd, NrDomu, -1)                   \
  P(Etd, NrLokalu, -1)                 \
  P(Etd, Miejscowosc, -1)              \
  P(Etd, KodPocztowy, -1)

// etd TAdresZagraniczny: its children belong to the etd namespace as well
#define VELKAR_FA_TAdresZagraniczny_etd(P) \
  P(Etd, KodKraju, -1)                     \
  P(Etd, KodPocztowy, -1)                  \
  P(Etd, Miejscowosc, -1)                  \
  P(Etd, Ulica, -1)                        \
  P(Etd, NrDomu, -1)                       \
  P(Etd, NrLokalu, -1)

// JPK/Faktura (57 properties)
#define VELKAR_FA_JPK_Faktura(P)                                                                   \
  P(Text, KodWaluty)                                                                               \
  P(Date, P_1)                                                                                     \
  P(Text, P_2A) P(Text, P_3A) P(Text, P_3B) P(Text, P_3C) P(Text, P_3D)                            \
  P(Text, P_4A) P(Text, P_4B) P(Text, P_5A) P(Text, P_5B)                                          \
  P(Date, P_6)                                                                                     \
  P(Amount, P_13_1) P(Amount, P_14_1) P(Amount, P_14_1W)                                           \
  P(Amount, P_13_2) P(Amount, P_14_2) P(Amount, P_14_2W)                                           \
  P(Amount, P_13_3) P(Amount, P_14_3) P(Amount, P_14_3W)                                           \
  P(Amount, P_13_4) P(Amount, P_14_4) P(Amount, P_14_4W)                                           \
  P(Amount, P_13_5) P(Amount, P_14_5)                                                              \
  P(Amount, P_13_6)                                                                                \
  P(Amount, P_13_7)                                                                                \
  P(Amount, P_15)                                                                                  \
  P(Flag, P_16) P(Flag, P_17) P(Flag, P_18) P(Flag, P_18A) P(Flag, P_19)                           \
  P(Text, P_19A) P(Text, P_19B) P(Text, P_19C)                                                     \
  P(Flag, P_20)                                                                                    \
  P(Text, P_20A) P(Text, P_20B)                                                                    \
  P(Flag, P_21)                                                                                    \
  P(Text, P_21A) P(Text, P_21B) P(Text, P_21C)                                                     \
  P(Flag, P_22)                                                                                    \
  P(Text, P_22A) P(Text, P_22B) P(Text, P_22C)                                                     \
  P(Flag, P_23) P(Flag, P_106E_2) P(Flag, P_106E_3)                                                \
  P(Text, P_106E_3A)                                                                               \
  P(Text, RodzajFaktury)                                                                           \
  P(Text, PrzyczynaKorekty)                                                                        \
  P(Text, NrFaKorygowanej)                                                                         \
  P(Text, OkresFaKorygowanej)                                                                      \
  P(Text, NrFaZaliczkowej)

// JPK/FakturaCtrl
#define VELKAR_FA_JPK_FakturaCtrl(P) \
  P(Integer, LiczbaFaktur)           \
  P(Amount, WartoscFaktur)

// JPK/FakturaWiersz
#define VELKAR_FA_JPK_FakturaWiersz(P) \
  P(Text, P_2B)                        \
  P(Text, P_7)                         \
  P(Text, P_8A)                        \
  P(Amount, P_8B)                      \
  P(Amount, P_9A)                      \
  P(Amount, P_9B)                      \
  P(Amount, P_10)                      \
  P(Amount, P_11)                      \
  P(Amount, P_11A)                     \
  P(Text, P_12)                        \
  P(Amount, P_12_XII)

// JPK/FakturaWierszCtrl
#define VELKAR_FA_JPK_FakturaWierszCtrl(P) \
  P(Integer, LiczbaWierszyFaktur)          \
  P(Amount, WartoscWierszyFaktur)

// JPK/Zamowienie
#define VELKAR_FA_JPK_Zamowienie(P)                                 \
  P(Text, P_2AZ)                                                    \
  P(Amount, WartoscZamowienia)                                      \
  P(List, ZamowienieWiersz, JPK_Zamowienie_ZamowienieWiersz)

// JPK/Zamowienie/ZamowienieWiersz
#define VELKAR_FA_JPK_Zamowienie_ZamowienieWiersz(P) \
  P(Text, P_7Z)                                      \
  P(Text, P_8AZ)                                     \
  P(Amount, P_8BZ)                                   \
  P(Amount, P_9AZ)                                   \
  P(Amount, P_11NettoZ)                              \
  P(Amount, P_11VatZ)                                \
  P(Text, P_12Z)                                     \
  P(Amount, P_12Z_XII)

// JPK/ZamowienieCtrl
#define VELKAR_FA_JPK_ZamowienieCtrl(P) \
  P(Integer, LiczbaZamowien)            \
  P(Amount, WartoscZamowien)
