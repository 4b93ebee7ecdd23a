// JPK documents on their way in from disk and out to disk: the namespace-prefix check
// after loading, saving with the reformat pass (and the schema check after it), the
// save-as of generated files, the wait message, and the name of the current file.
//
// Every function that takes a document by reference may replace it with a document
// read back from the file: node references taken from the old one refuse further use.
#pragma once

#include <string>

#include "jpkfiles/GeneratedJpkFile.h"
#include "model/fa/JpkFA.h"
#include "model/kr/JpkKR.h"
#include "model/mag/JpkMAG.h"
#include "model/v7m/JpkV7.h"

namespace velkar {

// The full name of the JPK file last opened or saved ("" at start; the editor sets
// kNewJpkFileName for a document without a file).
std::string& CurrentJpkFileName();
inline constexpr const char* kNewJpkFileName = "nowy plik";

inline constexpr const char* kPrefixQuestion = "Prefixy przestrzeni nazw niezgodne ze specyfikacją\rPoprawić?";
inline constexpr const char* kSavingMessage = "Proszę czekać. Trwa zapisywanie pliku...";

// Called right after `fileName` was loaded into `doc`. When the root's own namespace is
// declared under a prefix (xmlns:tns=...), asks kPrefixQuestion; on Yes the content is
// copied into a new document in the default namespace, the file is moved to the backup
// folder as '~' + its name, the new document is saved over `fileName` (reformatted and
// checked) and `doc` becomes the document read back from it; the result is then true. On
// No, or without a prefix (also when the root declares no namespace of its own), `doc` is
// prepared (Init...Doc) and kept; the result is false. When the backup or the save fails
// the error propagates, `doc` is empty and the file is where it was.
bool CheckJpkV7Prefixes(v7m::IXMLJPK& doc, const std::string& fileName);
bool CheckJpkFAPrefixes(fa::IXMLJPKFA& doc, const std::string& fileName);

// Called right after `doc` was saved to `fileName`: rewrites the file as UTF-8 with the
// declaration, one element per line and `doc`'s indent string (a TAB) per level, then sets
// `doc` to the document read back from the file, also when rewriting failed (that error
// then propagates; `doc` is empty when the file cannot be read back either). Finally checks
// the file against its schema and warns about violations (WarnIfJpkFileInvalid). The FA,
// MAG and KR variants first raise "Błąd formatowania pliku JPK_FA" (_MAG, _KR) when `doc`
// is empty or `fileName` is "".
void ReformatJpkV7File(v7m::IXMLJPK& doc, const std::string& fileName);
void ReformatJpkFAFile(fa::IXMLJPKFA& doc, const std::string& fileName);
void ReformatJpkMAGFile(mag::IXMLJPKMAG& doc, const std::string& fileName);
void ReformatJpkKRFile(kr::IXMLJPKKR& doc, const std::string& fileName);

// Saves `doc` to `fileName` (atomically: a failed save leaves the old file), then runs the
// kind's Reformat...File on it.
void SaveJpkFile(v7m::IXMLJPK& doc, const std::string& fileName);
void SaveJpkFile(fa::IXMLJPKFA& doc, const std::string& fileName);
void SaveJpkFile(mag::IXMLJPKMAG& doc, const std::string& fileName);
void SaveJpkFile(kr::IXMLJPKKR& doc, const std::string& fileName);

// Save-as of a generated file through the main window's save dialog. Raises "Brak
// aktywnego pliku JPK_FA" (_MAG, _KR) for an empty or inactive document. The proposed name
// is the period "yyyy-mm" + "_JPK_FA" / "_JPK_MAG" + NameSufix in SaveDir when the dialog
// holds no name yet (JPK_KR: "_JPK_KR" always, replacing the name the dialog held). On
// cancel nothing happens. Otherwise, under the wait message and the busy cursor (both
// removed however it ends): CurrentJpkFileName := the chosen name, SaveJpkFile.
void SaveJpkFAAs(fa::IXMLJPKFA& doc);
void SaveJpkMAGAs(mag::IXMLJPKMAG& doc);
void SaveJpkKRAs(kr::IXMLJPKKR& doc);

// The same save-as for a file generated straight to disk: the finished `file` is moved to
// the chosen name and checked against its schema as a stream (warning as after every
// save); `doc` is not written nor read back.
void SaveJpkFAAs(fa::IXMLJPKFA& doc, GeneratedJpkFile& file);
void SaveJpkMAGAs(mag::IXMLJPKMAG& doc, GeneratedJpkFile& file);
void SaveJpkKRAs(kr::IXMLJPKKR& doc, GeneratedJpkFile& file);

// The wait message over the main window, through the UI port.
void ShowWaitHint(const std::string& message);
void HideWaitHint();

}  // namespace velkar
