// JPK_V7M (form JPK_VAT, schema 1-0E) as property tables, one line per element or attribute,
// in schema order. One set of tables serves JPK_V7M(2) and JPK_V7M(3): they differ by
// namespaces and header values, and V7M(3) adds the rows' KSeF element (NrKSeF, OFF, BFK or
// DI), K_360 and P_360 and drops P_57; a writer of one structure leaves the other's elements
// unwritten. The classes are declared from these tables in JpkV7.h; the kinds are explained
// in model/xml/XmlProperties.h.
#pragma once

// JPK
#define VELKAR_V7M_JPK(P)                \
  P(Element, Naglowek, JPK_Naglowek)     \
  P(Element, Podmiot1, JPK_Podmiot1)     \
  P(Element, Deklaracja, JPK_Deklaracja) \
  P(Element, Ewidencja, JPK_Ewidencja)

// TNaglowek (JPK/Naglowek derives from it and adds nothing)
#define VELKAR_V7M_TNaglowek(P)                      \
  P(Element, KodFormularza, TNaglowek_KodFormularza) \
  P(Integer, WariantFormularza)                      \
  P(Text, DataWytworzeniaJPK)                        \
  P(Text, NazwaSystemu)                              \
  P(Element, CelZlozenia, TNaglowek_CelZlozenia)     \
  P(Text, KodUrzedu)                                 \
  P(Text, Rok)                                       \
  P(Integer, Miesiac)

// TNaglowek/KodFormularza: its own text ("JPK_VAT") plus
#define VELKAR_V7M_TNaglowek_KodFormularza(P) \
  P(Attribute, kodSystemowy)                  \
  P(Attribute, wersjaSchemy)

// TNaglowek/CelZlozenia: its own text ("1" or "2") plus
#define VELKAR_V7M_TNaglowek_CelZlozenia(P) P(Attribute, poz)

// TPodmiotDowolnyBezAdresu (one of the two is used)
#define VELKAR_V7M_TPodmiotDowolnyBezAdresu(P)                      \
  P(Element, OsobaFizyczna, TPodmiotDowolnyBezAdresu_OsobaFizyczna) \
  P(Element, OsobaNiefizyczna, TPodmiotDowolnyBezAdresu_OsobaNiefizyczna)

// JPK/Podmiot1: TPodmiotDowolnyBezAdresu plus
#define VELKAR_V7M_JPK_Podmiot1(P) P(Attribute, rola)

// TPodmiotDowolnyBezAdresu/OsobaFizyczna: etd TIdentyfikatorOsobyFizycznej2 (etd:NIP,
// etd:ImiePierwsze, etd:Nazwisko, etd:DataUrodzenia) plus
#define VELKAR_V7M_TPodmiotDowolnyBezAdresu_OsobaFizyczna(P) \
  P(Text, Email)                                             \
  P(Text, Telefon)

// TIdentyfikatorOsobyNiefizycznej
#define VELKAR_V7M_TIdentyfikatorOsobyNiefizycznej(P) \
  P(Text, NIP)                                        \
  P(Text, PelnaNazwa)

// TPodmiotDowolnyBezAdresu/OsobaNiefizyczna: TIdentyfikatorOsobyNiefizycznej plus
#define VELKAR_V7M_TPodmiotDowolnyBezAdresu_OsobaNiefizyczna(P) \
  P(Text, Email)                                                \
  P(Text, Telefon)

// JPK/Deklaracja (optional: test with a non-creating find)
#define VELKAR_V7M_JPK_Deklaracja(P)                                          \
  P(Element, Naglowek, JPK_Deklaracja_Naglowek)                               \
  P(Element, PozycjeSzczegolowe, JPK_Deklaracja_PozycjeSzczegolowe)           \
  P(Text, Pouczenia)

// JPK/Deklaracja/Naglowek
#define VELKAR_V7M_JPK_Deklaracja_Naglowek(P)                                   \
  P(Element, KodFormularzaDekl, JPK_Deklaracja_Naglowek_KodFormularzaDekl)      \
  P(Integer, WariantFormularzaDekl)

// JPK/Deklaracja/Naglowek/KodFormularzaDekl: its own text ("VAT-7") plus
#define VELKAR_V7M_JPK_Deklaracja_Naglowek_KodFormularzaDekl(P) \
  P(Attribute, kodSystemowy)                                    \
  P(Attribute, kodPodatku)                                      \
  P(Attribute, rodzajZobowiazania)                              \
  P(Attribute, wersjaSchemy)

// JPK/Deklaracja/PozycjeSzczegolowe: whole złoty amounts and one-value flags
#define VELKAR_V7M_JPK_Deklaracja_PozycjeSzczegolowe(P)                                                     \
  P(Integer, P_10) P(Integer, P_11) P(Integer, P_12) P(Integer, P_13) P(Integer, P_14) P(Integer, P_15)     \
  P(Integer, P_16) P(Integer, P_17) P(Integer, P_18) P(Integer, P_19) P(Integer, P_20) P(Integer, P_21)     \
  P(Integer, P_22) P(Integer, P_23) P(Integer, P_24) P(Integer, P_25) P(Integer, P_26) P(Integer, P_27)     \
  P(Integer, P_28) P(Integer, P_29) P(Integer, P_30) P(Integer, P_31) P(Integer, P_32) P(Integer, P_33)     \
  P(Integer, P_34) P(Integer, P_35) P(Integer, P_36)                                                        \
  P(Integer, P_360) /* V7M(3) */                                                                            \
  P(Integer, P_37) P(Integer, P_38) P(Integer, P_39)                                                        \
  P(Integer, P_40) P(Integer, P_41) P(Integer, P_42) P(Integer, P_43) P(Integer, P_44) P(Integer, P_45)     \
  P(Integer, P_46) P(Integer, P_47) P(Integer, P_48) P(Integer, P_49) P(Integer, P_50) P(Integer, P_51)     \
  P(Integer, P_52) P(Integer, P_53)                                                                         \
  P(Integer, P_54)                                                                                          \
  P(Integer, P_540)                                                                                         \
  P(Integer, P_55)                                                                                          \
  P(Integer, P_56)                                                                                          \
  P(Integer, P_560)                                                                                         \
  P(Integer, P_57) /* V7M(2) */                                                                             \
  P(Integer, P_58)                                                                                          \
  P(Integer, P_59)                                                                                          \
  P(Integer, P_60)                                                                                          \
  P(Text, P_61)                                                                                             \
  P(Integer, P_62)                                                                                          \
  P(Integer, P_63)                                                                                          \
  P(Integer, P_64)                                                                                          \
  P(Integer, P_65)                                                                                          \
  P(Integer, P_66)                                                                                          \
  P(Integer, P_660)                                                                                         \
  P(Integer, P_67)                                                                                          \
  P(Integer, P_68)                                                                                          \
  P(Integer, P_69)                                                                                          \
  P(Text, P_ORDZU)

// JPK/Ewidencja: all SprzedazWiersz, SprzedazCtrl, all ZakupWiersz, ZakupCtrl
#define VELKAR_V7M_JPK_Ewidencja(P)                             \
  P(List, SprzedazWiersz, JPK_Ewidencja_SprzedazWiersz)         \
  P(Element, SprzedazCtrl, JPK_Ewidencja_SprzedazCtrl)          \
  P(List, ZakupWiersz, JPK_Ewidencja_ZakupWiersz)               \
  P(Element, ZakupCtrl, JPK_Ewidencja_ZakupCtrl)

// V7M(3) only: exactly one of these in every row, the invoice's KSeF number or the reason it
// has none (written through SetRowKsef, which puts it in its place)
#define VELKAR_V7M_KSEF_CHOICE(P) \
  P(Text, NrKSeF)                 \
  P(Integer, OFF)                 \
  P(Integer, BFK)                 \
  P(Integer, DI)

// JPK/Ewidencja/SprzedazWiersz (69 properties)
#define VELKAR_V7M_JPK_Ewidencja_SprzedazWiersz(P)                                                              \
  P(Integer, LpSprzedazy)                                                                                       \
  P(Text, KodKrajuNadaniaTIN)                                                                                   \
  P(Text, NrKontrahenta)                                                                                        \
  P(Text, NazwaKontrahenta)                                                                                     \
  P(Text, DowodSprzedazy)                                                                                       \
  P(Date, DataWystawienia)                                                                                      \
  P(Date, DataSprzedazy)                                                                                        \
  VELKAR_V7M_KSEF_CHOICE(P)                                                                                     \
  P(Text, TypDokumentu)                                                                                         \
  P(Integer, GTU_01) P(Integer, GTU_02) P(Integer, GTU_03) P(Integer, GTU_04) P(Integer, GTU_05)                \
  P(Integer, GTU_06) P(Integer, GTU_07) P(Integer, GTU_08) P(Integer, GTU_09) P(Integer, GTU_10)                \
  P(Integer, GTU_11) P(Integer, GTU_12) P(Integer, GTU_13)                                                      \
  P(Integer, WSTO_EE)                                                                                           \
  P(Integer, IED)                                                                                               \
  P(Integer, TP)                                                                                                \
  P(Integer, TT_WNT)                                                                                            \
  P(Integer, TT_D)                                                                                              \
  P(Integer, MR_T)                                                                                              \
  P(Integer, MR_UZ)                                                                                             \
  P(Integer, I_42)                                                                                              \
  P(Integer, I_63)                                                                                              \
  P(Integer, B_SPV)                                                                                             \
  P(Integer, B_SPV_DOSTAWA)                                                                                     \
  P(Integer, B_MPV_PROWIZJA)                                                                                    \
  P(Integer, KorektaPodstawyOpodt)                                                                              \
  P(Date, TerminPlatnosci)                                                                                      \
  P(Date, DataZaplaty)                                                                                          \
  P(Amount, K_10) P(Amount, K_11) P(Amount, K_12) P(Amount, K_13) P(Amount, K_14) P(Amount, K_15)               \
  P(Amount, K_16) P(Amount, K_17) P(Amount, K_18) P(Amount, K_19) P(Amount, K_20) P(Amount, K_21)               \
  P(Amount, K_22) P(Amount, K_23) P(Amount, K_24) P(Amount, K_25) P(Amount, K_26) P(Amount, K_27)               \
  P(Amount, K_28) P(Amount, K_29) P(Amount, K_30) P(Amount, K_31) P(Amount, K_32) P(Amount, K_33)               \
  P(Amount, K_34) P(Amount, K_35) P(Amount, K_36)                                                               \
  P(Amount, K_360) /* V7M(3) */                                                                                 \
  P(Amount, SprzedazVAT_Marza)

// JPK/Ewidencja/SprzedazCtrl
#define VELKAR_V7M_JPK_Ewidencja_SprzedazCtrl(P) \
  P(Count, LiczbaWierszySprzedazy)               \
  P(Amount, PodatekNalezny)

// JPK/Ewidencja/ZakupWiersz (22 properties)
#define VELKAR_V7M_JPK_Ewidencja_ZakupWiersz(P)                                                   \
  P(Integer, LpZakupu)                                                                            \
  P(Text, KodKrajuNadaniaTIN)                                                                     \
  P(Text, NrDostawcy)                                                                             \
  P(Text, NazwaDostawcy)                                                                          \
  P(Text, DowodZakupu)                                                                            \
  P(Date, DataZakupu)                                                                             \
  P(Date, DataWplywu)                                                                             \
  VELKAR_V7M_KSEF_CHOICE(P)                                                                       \
  P(Text, DokumentZakupu)                                                                         \
  P(Integer, IMP)                                                                                 \
  P(Amount, K_40) P(Amount, K_41) P(Amount, K_42) P(Amount, K_43)                                 \
  P(Amount, K_44) P(Amount, K_45) P(Amount, K_46) P(Amount, K_47)                                 \
  P(Amount, ZakupVAT_Marza)

// JPK/Ewidencja/ZakupCtrl
#define VELKAR_V7M_JPK_Ewidencja_ZakupCtrl(P) \
  P(Count, LiczbaWierszyZakupow)              \
  P(Amount, PodatekNaliczony)
