// The identity of the contractor a source table stands on: country prefix, NIP, name and
// one-line address, with the NIP questions of the generators and exporters.
#pragma once

#include <string>

namespace velkar {

namespace db {
class TDataSet;
}

// True when the contractor table of the source is the single "Users" table, whose
// address has separate "Street" and "House" fields; false for the per-period UR / UC
// tables with one "Address" field. Set by the register readers and the warehouse
// export before they read contractors.
extern bool UsersIsSingle;

// Reads the contractor on which `contractorTable` is positioned ("NIP", "Firm Name",
// "City", "ZipCode" and "Street" + "House" or "Address"). `document` names the document
// in messages. A missing name raises "Brak nazwy kontrahenta\rDokument: %s  NIP: %s\r
// Wczytywanie przerwano". With `validate` the NIP is checked and a defect or a missing
// number asks, in an error box, whether to continue; refusing raises "Wczytywanie
// przerwano". An empty address becomes "brak". The address is written postcode first
// when the setting AdrZipCityFirst says so.
void GetContractorData(const std::string& document, const db::TDataSet& contractorTable, std::string& countryPrefix,
                       std::string& nip, std::string& name, std::string& address, bool validate);

}  // namespace velkar
