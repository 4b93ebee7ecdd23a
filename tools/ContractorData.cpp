// Contractor identity from a source database's contractor table.
#include "tools/ContractorData.h"

#include "app/Settings.h"
#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "base/Text.h"
#include "tools/Address.h"
#include "tools/Nip.h"
#include "tools/db/Table.h"

namespace velkar {

bool UsersIsSingle = false;

void GetContractorData(const std::string& document, const db::TDataSet& contractorTable, std::string& countryPrefix,
                       std::string& nip, std::string& name, std::string& address, bool validate) {
  auto field = [&](const char* fieldName) { return contractorTable.FieldByName(fieldName).AsString(); };
  countryPrefix.clear();
  address.clear();
  nip = field("NIP");
  name = field("Firm Name");
  if (name.empty()) Fail("Brak nazwy kontrahenta\rDokument: %s  NIP: %s\rWczytywanie przerwano", document, nip);

  NormaliseContractorNIP(countryPrefix, nip, validate, AskContinueOnNIPError, document, name);
  // A number that was only the letters GB would leave the element empty, which no JPK
  // schema accepts: it counts as no number.
  if (nip.empty()) nip = "brak";
  if (validate && ToLowerAscii(nip) == "brak") {
    std::string question = Format("Brak numeru NIP. Dokument: %s\r%s\rKontynuować?", document, name);
    if (Ui().Ask(MessageKind::Error, question, Buttons::YesNo) != Answer::Yes) throw Error("Wczytywanie przerwano");
  }

  std::string city = field("City");
  bool zipCityFirst = Settings().AdrZipCityFirst;
  if (UsersIsSingle)
    address = FormatAddress(field("ZipCode"), city, field("Street"), zipCityFirst, field("House"), "");
  else
    address = FormatAddress(field("ZipCode"), city, field("Address"), zipCityFirst, "", "");
  if (address.empty()) address = "brak";
}

}  // namespace velkar
