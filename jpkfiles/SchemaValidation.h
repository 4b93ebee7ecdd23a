// Checking JPK files against the official XSD schemas, offline: the schema folder holds
// the schemas and an XML catalog that maps every schema address to its local copy.
#pragma once

#include <libxml/tree.h>

#include <string>
#include <vector>

namespace velkar {

struct SchemaViolation {
  long line = 0;        // line in the file, 0 when unknown
  std::string element;  // local name of the element concerned, empty for syntax errors
  std::string message;  // the validator's text
};

struct JpkValidation {
  std::string structure;  // "JPK_V7M (2)" ...; empty when the root namespace is unknown
  std::vector<SchemaViolation> violations;
  bool Valid() const { return violations.empty(); }
};

// Where a schema folder may be, in the order they are tried: the VELKAR_XSD_DIR
// environment variable, the SchemaDir setting, "xsd/" beside the configuration file, then
// "shared/xsd" in any folder above the executable or the source tree (the bundle kept next
// to a source checkout).
struct SchemaDirCandidates {
  std::string environment;
  std::string setting;
  std::string runDir;
  std::vector<std::string> anchors;
};
SchemaDirCandidates ProgramSchemaDirCandidates();
// The first candidate folder that holds "catalog.xml" (with a trailing separator), or "".
std::string FindSchemaDir(const SchemaDirCandidates& candidates);
std::string FindSchemaDir();

// The message given when no schema folder is found.
extern const char* const kNoSchemaDirMessage;

// Validates `fileName` against the schema of its root element's namespace, using the
// program's schema folder (or `schemaDir` when given). Syntax errors and an unknown root
// namespace are violations too. Raises velkar::Error when the file cannot be read, when no
// schema folder is found (kNoSchemaDirMessage) or when the schema itself cannot be loaded.
JpkValidation ValidateJpkFile(const std::string& fileName, const std::string& schemaDir = {});

// The same check for a document already read (its line numbers are those it was read
// with), so a file just read back need not be read again.
JpkValidation ValidateJpkDocument(xmlDoc* doc, const std::string& schemaDir = {});

// The same check as ValidateJpkFile, reading the file as a stream: no tree of it is built,
// so a file of any size is checked in bounded memory.
JpkValidation ValidateJpkFileStreamed(const std::string& fileName, const std::string& schemaDir = {});

// "wiersz 12 (KodUrzedu): ..." for one violation.
std::string DescribeViolation(const SchemaViolation& violation);

// The check run after every save of a JPK file: when the file breaks its schema, or when
// it cannot be checked, one warning goes to the user through the UI port; the file stays
// as saved. Returns true when the file was checked and is valid.
bool WarnIfJpkFileInvalid(const std::string& fileName);
// The same with the file read as a stream (ValidateJpkFileStreamed).
bool WarnIfJpkFileInvalidStreamed(const std::string& fileName);
// The same for `doc`, the document just read back from `fileName`.
bool WarnIfJpkDocumentInvalid(xmlDoc* doc, const std::string& fileName);

}  // namespace velkar
