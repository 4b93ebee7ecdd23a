// The nine Gradmo tables of one export run and how they are named, linked, filtered,
// opened and closed; the writers of the warehouse export read them through this object.
#pragma once

#include <string>

#include "app/ui/UiPort.h"
#include "base/DateTime.h"
#include "model/xml/XmlDocument.h"
#include "tools/db/Session.h"
#include "tools/db/Table.h"

namespace velkar {

struct ProgramSettings;

class GradmoSource {
 public:
  // The tables are bound to `session` (the main window's Session).
  explicit GradmoSource(db::Session* session);
  virtual ~GradmoSource();
  GradmoSource(const GradmoSource&) = delete;
  GradmoSource& operator=(const GradmoSource&) = delete;

  db::Session* TableSession;
  db::TTable tblWI;      // documents of the period
  db::TTable tblMaster;  // the same file, unfiltered: corrected and referred documents
  db::TTable tblWT;      // lines of the current document
  db::TTable tblW;       // goods of the current line
  db::TTable tblWS;      // series (lot) of the current line
  db::TTable tblReg;     // VAT register entry of the current document
  db::TTable tblUR;      // customer of the current document
  db::TTable tblUC;      // supplier of the current document
  db::TTable tblUsers;   // payer card of tblUR when the Users table is in use
  // Where the Symfonia text goes; empty: "Qor2sage.txt" in the working folder.
  std::string SymfoniaTarget;

  // Table names from the settings and the working date (QorDataDir + yy_mm/yyyy + WI ...,
  // UserDir + ... UR, UC, Users); sets UsersIsSingle from the existence of Users.db.
  void SetTableNames(const ProgramSettings& settings);
  // "(Date >= first) and (Date <= last)" of the month of `date`, filtering switched on.
  void SetPeriodFilter(const DateTime& date);
  // Opens the tables in the program's order; the Users link is on only with UsersIsSingle.
  void OpenTables();
  // Closes every table in the program's order; never fails.
  void CloseTables() noexcept;

  // The contractor record of the current document: tblUsers with UsersIsSingle, else tblUR.
  db::TTable& ContractorTable();
  // Positions tblMaster on the document the current tblWI record refers to
  // (MasterType, MasterYear, MasterMagId, MasterNumber); false when there is none.
  bool FindMasterDocument();
};

// Reading the current record of a table.
std::string FieldText(const db::TTable& table, const char* field);
long long FieldInt(const db::TTable& table, const char* field);
double FieldNumber(const db::TTable& table, const char* field);

// The document types whose contractor is read without the NIP check (4, 5, 6, 7).
inline bool ValidatesContractor(long long type) { return type < 4 || type > 7; }

// A sales document of the current tblWI record for the Symfonia, Ramzes and Magik
// writers: its Type is in SalesDocumentClasses and bit 3 of its register entry's Flags
// is clear.
bool IsExportedSale(GradmoSource& source);

// The contractor of the current document as GetContractorData reads it.
struct ContractorIdentity {
  std::string countryPrefix, nip, name, address;
};
ContractorIdentity ReadContractor(GradmoSource& source);

// "Street House" of the Users table (House only when not empty), else "Address" of tblUR.
std::string ContractorStreet(GradmoSource& source);

// The save flow of the exchange XML files: asks "Zapisać wygenerowany plik?"; on Yes the
// main window's save dialog proposes, when it holds no name yet, "yyyy-mm" + `namePart` +
// NameSufix in SaveDir; a confirmed name (with ".xml" added when it has no extension)
// receives the document, written atomically. Returns the file written, or "".
std::string SaveExchangeDocument(const xml::IXMLDocument& document, const std::string& namePart);

inline constexpr const char* kSaveGeneratedQuestion = "Zapisać wygenerowany plik?";
inline constexpr const char* kDocumentsCountMessage = "Wygenerowano plik zawierający dokumentów: %d";

}  // namespace velkar
