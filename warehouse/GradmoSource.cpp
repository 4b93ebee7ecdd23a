// Naming, linking, filtering, opening and closing the Gradmo tables of an export run,
// and the readers and the save flow the writers share.
#include "warehouse/GradmoSource.h"

#include <cstdio>

#include "app/MainForm.h"
#include "app/Settings.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "tools/ContractorData.h"
#include "tools/Dictionaries.h"

namespace velkar {

GradmoSource::GradmoSource(db::Session* session)
    : TableSession(session),
      tblWI(session),
      tblMaster(session),
      tblWT(session),
      tblW(session),
      tblWS(session),
      tblReg(session),
      tblUR(session),
      tblUC(session),
      tblUsers(session) {
  // The links of the design: index fields = master fields of the master table.
  tblMaster.IndexFieldNames = "Type;Year;MagId;Number";
  tblWT.IndexFieldNames = "Type;Year;MagId;Number";
  tblWT.MasterSource = &tblWI;
  tblWT.MasterFields = "Type;Year;MagId;Number";
  tblW.IndexFieldNames = "Group;Index";
  tblW.MasterSource = &tblWT;
  tblW.MasterFields = "Group;Index";
  tblWS.IndexFieldNames = "Group;Index;SeriesNo";
  tblWS.MasterSource = &tblWT;
  tblWS.MasterFields = "Group;Index;Series";
  tblReg.IndexFieldNames = "Class;Year;MagId;Number";
  tblReg.MasterSource = &tblWI;
  tblReg.MasterFields = "Type;Year;MagId;Number";
  tblUR.IndexFieldNames = "Number";
  tblUR.MasterSource = &tblWI;
  tblUR.MasterFields = "User";
  tblUC.IndexFieldNames = "Number";
  tblUC.MasterSource = &tblWI;
  tblUC.MasterFields = "User";
  tblUsers.IndexFieldNames = "Number";
  tblUsers.MasterFields = "PayerNumber";
}

GradmoSource::~GradmoSource() { CloseTables(); }

void GradmoSource::SetTableNames(const ProgramSettings& s) {
  auto period = [&](db::TTable& table, const std::string& dir, bool yearly, const char* name) {
    table.DatabaseName = dir;
    table.TableName = DatePrefixedName(yearly, name, s.CurDate);
  };
  period(tblWI, s.QorDataDir, s.YearQorTbl, "WI");
  period(tblMaster, s.QorDataDir, s.YearQorTbl, "WI");
  period(tblWT, s.QorDataDir, s.YearQorTbl, "WT");
  period(tblW, s.QorDataDir, s.YearQorTbl, "W");
  period(tblWS, s.QorDataDir, s.YearQorTbl, "WS");
  period(tblReg, s.QorDataDir, s.YearQorTbl, "REG");
  period(tblUR, s.UserDir, s.YearUsrTbl, "UR");
  period(tblUC, s.UserDir, s.YearUsrTbl, "UC");
  tblUsers.DatabaseName = s.UserDir;
  tblUsers.TableName = "Users";
  UsersIsSingle = FileExists(s.UserDir + "Users.db");
}

void GradmoSource::SetPeriodFilter(const DateTime& date) {
  tblWI.Filter = Format("(Date >= %s) and (Date <= %s)", FormatDate(StartOfMonth(date)), FormatDate(EndOfMonth(date)));
  tblWI.Filtered = true;
}

void GradmoSource::OpenTables() {
  tblWI.Open();
  tblMaster.Open();
  tblWT.Open();
  tblW.Open();
  tblWS.Open();
  tblReg.Open();
  tblUsers.MasterSource = UsersIsSingle ? &tblUR : nullptr;
  tblUR.Open();
  tblUC.Open();
  if (UsersIsSingle) tblUsers.Open();
}

void GradmoSource::CloseTables() noexcept {
  for (db::TTable* table : {&tblUC, &tblUR, &tblUsers, &tblReg, &tblWS, &tblW, &tblWT, &tblWI, &tblMaster}) {
    try {
      table->Close();
    } catch (...) {  // closing is the guarded final step: one table's failure must not skip the others
    }
  }
}

db::TTable& GradmoSource::ContractorTable() { return UsersIsSingle ? tblUsers : tblUR; }

bool GradmoSource::FindMasterDocument() {
  if (tblWI.FieldByName("MasterNumber").IsNull()) return false;
  return tblMaster.FindKey({FieldText(tblWI, "MasterType"), FieldText(tblWI, "MasterYear"),
                            FieldText(tblWI, "MasterMagId"), FieldText(tblWI, "MasterNumber")});
}

std::string FieldText(const db::TTable& table, const char* field) { return table.FieldByName(field).AsString(); }
long long FieldInt(const db::TTable& table, const char* field) { return table.FieldByName(field).AsInteger(); }
double FieldNumber(const db::TTable& table, const char* field) { return table.FieldByName(field).AsFloat(); }

bool IsExportedSale(GradmoSource& source) {
  long long type = FieldInt(source.tblWI, "Type");
  if (!Settings().SalesDocumentClasses.contains(static_cast<int>(type))) return false;
  return (FieldInt(source.tblReg, "Flags") & 8) == 0;
}

ContractorIdentity ReadContractor(GradmoSource& source) {
  ContractorIdentity c;
  GetContractorData(FieldText(source.tblWI, "Name"), source.ContractorTable(), c.countryPrefix, c.nip, c.name,
                    c.address, ValidatesContractor(FieldInt(source.tblWI, "Type")));
  return c;
}

std::string ContractorStreet(GradmoSource& source) {
  if (!UsersIsSingle) return FieldText(source.tblUR, "Address");
  std::string street = FieldText(source.tblUsers, "Street");
  std::string house = FieldText(source.tblUsers, "House");
  return house.empty() ? street : street + " " + house;
}

namespace {

FileDialogOptions& SaveDialog() {
  static FileDialogOptions standalone;  // when the writers run without a main window
  TMainForm* form = MainForm();
  return form ? form->SaveDlg : standalone;
}

}  // namespace

std::string SaveExchangeDocument(const xml::IXMLDocument& document, const std::string& namePart) {
  if (!AskYesNo(kSaveGeneratedQuestion)) return {};
  const ProgramSettings& s = Settings();
  FileDialogOptions& dialog = SaveDialog();
  if (dialog.fileName.empty()) {
    dialog.initialDir = s.SaveDir;
    dialog.fileName = FormatPeriod(s.CurDate) + namePart + s.NameSufix;
  }
  std::optional<std::string> chosen = Ui().SaveFileDialog(dialog);
  if (!chosen || chosen->empty()) return {};
  std::string fileName = *chosen;
  if (ExtractFileExt(fileName).empty()) fileName += "." + dialog.defaultExt;
  dialog.fileName = fileName;
  document->SaveToFile(fileName);
  return fileName;
}

}  // namespace velkar
