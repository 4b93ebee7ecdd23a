// Offline schema validation on libxml2. Schemas are compiled once per folder and kept;
// while a schema compiles, every resource it imports is taken from the folder's XML
// catalog, and anything that would need the network is refused.
#include "jpkfiles/SchemaValidation.h"

#include <libxml/catalog.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/xmlreader.h>
#include <libxml/xmlschemas.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>

#include "app/MainForm.h"
#include "app/Settings.h"
#include "app/ui/UiPort.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "jpkfiles/JpkStructures.h"
#include "jpkfiles/XmlErrors.h"
#include "tools/Version.h"

namespace velkar {

const char* const kNoSchemaDirMessage =
    "Nie znaleziono folderu schematów XSD (zmienna VELKAR_XSD_DIR, klucz SchemaDir w sekcji System "
    "albo folder xsd obok pliku konfiguracyjnego)";

namespace {

constexpr size_t kViolationsInWarning = 10;

// The catalog the entity loader resolves through while a schema compiles.
xmlCatalogPtr gActiveCatalog = nullptr;
std::string gRefusedAddress;

bool IsNetworkAddress(const std::string& address) {
  size_t scheme = address.find("://");
  return scheme != std::string::npos && !StartsWith(ToLowerAscii(address.substr(0, scheme)), "file");
}

xmlParserInputPtr LoadFromCatalog(const char* url, const char* id, xmlParserCtxtPtr context) {
  std::string target = url ? url : "";
  if (gActiveCatalog) {
    xmlChar* resolved = url ? xmlACatalogResolveURI(gActiveCatalog, BAD_CAST url) : nullptr;
    if (!resolved) resolved = xmlACatalogResolve(gActiveCatalog, BAD_CAST id, BAD_CAST url);
    if (resolved) {
      target = reinterpret_cast<const char*>(resolved);
      xmlFree(resolved);
    }
  }
  if (target.empty()) return nullptr;
  if (IsNetworkAddress(target)) {
    if (gRefusedAddress.empty()) gRefusedAddress = target;
    return nullptr;
  }
  return xmlNewInputFromFile(context, target.c_str());
}

class SchemaCache {
 public:
  ~SchemaCache() {
    for (auto& [key, schema] : schemas_) xmlSchemaFree(schema);
  }

  // The compiled schema of `structure` from `schemaDir`; compiles it on first use.
  xmlSchemaPtr Get(const std::string& schemaDir, const JpkStructure& structure) {
    std::lock_guard lock(mutex_);
    std::string mainFile = schemaDir + structure.schemaFile;
    auto found = schemas_.find(mainFile);
    if (found != schemas_.end()) return found->second;
    xmlSchemaPtr schema = Compile(schemaDir + structure.catalogFile, mainFile);
    schemas_[mainFile] = schema;
    return schema;
  }

 private:
  static xmlSchemaPtr Compile(const std::string& catalogFile, const std::string& mainFile) {
    if (!FileExists(mainFile)) Fail("Brak pliku schematu %s", mainFile);
    xmlCatalogPtr catalog = xmlLoadACatalog(catalogFile.c_str());
    if (!catalog) Fail("Nie można wczytać katalogu schematów %s", catalogFile);

    XmlErrorCollector collector;
    xmlSchemaPtr schema = nullptr;
    xmlExternalEntityLoader oldLoader = xmlGetExternalEntityLoader();
    gActiveCatalog = catalog;
    gRefusedAddress.clear();
    xmlSetExternalEntityLoader(LoadFromCatalog);
    {
      CollectXmlErrors collect(collector);
      xmlSchemaParserCtxtPtr parser = xmlSchemaNewParserCtxt(mainFile.c_str());
      if (parser) {
        xmlSchemaSetParserStructuredErrors(parser, XmlErrorCollector::Handler, &collector);
        schema = xmlSchemaParse(parser);
        xmlSchemaFreeParserCtxt(parser);
      }
    }
    xmlSetExternalEntityLoader(oldLoader);
    gActiveCatalog = nullptr;
    xmlFreeCatalog(catalog);

    if (!schema) {
      std::string reason =
          !gRefusedAddress.empty()
              ? Format("adres %s nie jest w katalogu schematów, a sieć nie jest używana", gRefusedAddress)
          : collector.problems.empty() ? std::string("nieznany błąd")
                                       : collector.problems.front().message;
      Fail("Nie można wczytać schematu %s: %s", mainFile, reason);
    }
    return schema;
  }

  std::mutex mutex_;
  std::map<std::string, xmlSchemaPtr> schemas_;
};

struct XmlDocFree {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using XmlDocPtr = std::unique_ptr<xmlDoc, XmlDocFree>;

SchemaCache& Schemas() {
  static SchemaCache cache;
  return cache;
}

bool HasCatalog(const std::string& folder) {
  return !folder.empty() && FileExists(IncludeTrailingPathDelimiter(folder) + "catalog.xml");
}

}  // namespace

SchemaDirCandidates ProgramSchemaDirCandidates() {
  SchemaDirCandidates candidates;
  if (const char* env = std::getenv("VELKAR_XSD_DIR")) candidates.environment = env;
  candidates.setting = Settings().SchemaDir;
  if (TMainForm* form = MainForm()) candidates.runDir = form->RunDir;
  std::string exe = RunningExecutablePath();
  if (!exe.empty()) candidates.anchors.push_back(ExtractFileDir(exe));
#ifdef VELKAR_SOURCE_TREE
  candidates.anchors.push_back(VELKAR_SOURCE_TREE);
#endif
  return candidates;
}

std::string FindSchemaDir(const SchemaDirCandidates& candidates) {
  for (const std::string& folder : {candidates.environment, candidates.setting})
    if (HasCatalog(NativePath(folder))) return IncludeTrailingPathDelimiter(NativePath(folder));
  if (!candidates.runDir.empty()) {
    std::string beside = IncludeTrailingPathDelimiter(candidates.runDir) + "xsd/";
    if (HasCatalog(beside)) return beside;
  }
  for (const std::string& anchor : candidates.anchors) {
    std::filesystem::path folder = std::filesystem::path(ExpandFileName(anchor));
    while (true) {
      std::string bundle = (folder / "shared" / "xsd").string() + "/";
      if (HasCatalog(bundle)) return bundle;
      if (!folder.has_parent_path() || folder.parent_path() == folder) break;
      folder = folder.parent_path();
    }
  }
  return {};
}

std::string FindSchemaDir() { return FindSchemaDir(ProgramSchemaDirCandidates()); }

namespace {

std::string SchemaFolder(const std::string& schemaDir) {
  std::string folder = schemaDir.empty() ? FindSchemaDir() : IncludeTrailingPathDelimiter(schemaDir);
  if (folder.empty()) throw Error(kNoSchemaDirMessage);
  return folder;
}

// The schema check of a well-formed document: its structure from the root's namespace,
// then the violations of that structure's schema.
void ValidateRoot(xmlDoc* doc, const std::string& folder, JpkValidation& result) {
  xmlNode* root = doc ? xmlDocGetRootElement(doc) : nullptr;
  if (!root) {
    if (result.violations.empty()) result.violations.push_back({0, "", "Plik nie zawiera dokumentu XML"});
    return;
  }
  std::string rootNamespace = root->ns && root->ns->href ? reinterpret_cast<const char*>(root->ns->href) : "";
  const JpkStructure* structure = FindJpkStructure(rootNamespace);
  if (!structure) {
    result.violations.push_back({xmlGetLineNo(root), reinterpret_cast<const char*>(root->name),
                                 Format("Nieznana struktura pliku: przestrzeń nazw \"%s\"", rootNamespace)});
    return;
  }
  result.structure = structure->systemCode;
  if (!result.violations.empty()) return;  // not well-formed: the schema check says nothing more

  XmlErrorCollector collector;
  xmlSchemaPtr schema = Schemas().Get(folder, *structure);
  xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
  if (!validator) Fail("Brak pamięci na sprawdzenie dokumentu %s", structure->systemCode);
  xmlSchemaSetValidStructuredErrors(validator, XmlErrorCollector::Handler, &collector);
  int rc = xmlSchemaValidateDoc(validator, doc);
  xmlSchemaFreeValidCtxt(validator);
  for (XmlProblem& problem : collector.problems)
    result.violations.push_back({problem.line, std::move(problem.element), std::move(problem.message)});
  if (rc != 0 && result.violations.empty())
    result.violations.push_back({0, "", "Sprawdzenie ze schematem nie powiodło się"});
}

bool WarnIfInvalid(const std::string& fileName, const std::function<JpkValidation()>& validate) {
  JpkValidation result;
  try {
    result = validate();
  } catch (const Error& error) {
    ShowWarning(Format("Nie sprawdzono pliku %s ze schematem XSD:\r%s", fileName, error.what()));
    return false;
  }
  if (result.Valid()) return true;
  std::string text = result.structure.empty()
                         ? Format("Plik %s nie jest plikiem JPK znanej struktury.", fileName)
                         : Format("Plik %s nie jest zgodny ze schematem %s.", fileName, result.structure);
  text += "\rPlik został zapisany. Naruszenia:";
  for (size_t i = 0; i < result.violations.size() && i < kViolationsInWarning; ++i)
    text += "\r" + DescribeViolation(result.violations[i]);
  if (result.violations.size() > kViolationsInWarning)
    text += Format("\r(oraz %d dalszych)", static_cast<int>(result.violations.size() - kViolationsInWarning));
  ShowWarning(text);
  return false;
}

}  // namespace

JpkValidation ValidateJpkFile(const std::string& fileName, const std::string& schemaDir) {
  if (!FileExists(fileName)) Fail("Brak pliku %s", fileName);
  std::string folder = SchemaFolder(schemaDir);

  JpkValidation result;
  XmlErrorCollector collector;
  XmlDocPtr doc;
  {
    CollectXmlErrors collect(collector);
    xmlParserCtxtPtr parser = xmlNewParserCtxt();
    if (!parser) Fail("Brak pamięci na odczyt pliku %s", fileName);
    doc.reset(xmlCtxtReadFile(parser, fileName.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_BIG_LINES));
    xmlFreeParserCtxt(parser);
  }
  for (XmlProblem& problem : collector.problems) result.violations.push_back({problem.line, "", problem.message});
  ValidateRoot(doc.get(), folder, result);
  return result;
}

JpkValidation ValidateJpkDocument(xmlDoc* doc, const std::string& schemaDir) {
  JpkValidation result;
  ValidateRoot(doc, SchemaFolder(schemaDir), result);
  return result;
}

namespace {

// The namespace of the file's root element, read from its first start tag only; false
// when the file holds no element.
bool RootNamespace(const std::string& fileName, std::string& rootNamespace, std::string& rootName, long& line) {
  xmlTextReaderPtr reader =
      xmlReaderForFile(fileName.c_str(), nullptr, XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  if (!reader) return false;
  bool found = false;
  while (xmlTextReaderRead(reader) == 1) {
    if (xmlTextReaderNodeType(reader) != XML_READER_TYPE_ELEMENT) continue;
    const xmlChar* uri = xmlTextReaderConstNamespaceUri(reader);
    const xmlChar* name = xmlTextReaderConstLocalName(reader);
    rootNamespace = uri ? reinterpret_cast<const char*>(uri) : "";
    rootName = name ? reinterpret_cast<const char*>(name) : "";
    line = xmlTextReaderGetParserLineNumber(reader);
    found = true;
    break;
  }
  xmlFreeTextReader(reader);
  return found;
}

// A streaming check names no node: the element is the one the message names.
std::string ElementOfMessage(const std::string& message) {
  const std::string lead = "Element '";
  if (message.compare(0, lead.size(), lead) != 0) return {};
  size_t end = message.find('\'', lead.size());
  return end == std::string::npos ? std::string() : message.substr(lead.size(), end - lead.size());
}

}  // namespace

JpkValidation ValidateJpkFileStreamed(const std::string& fileName, const std::string& schemaDir) {
  if (!FileExists(fileName)) Fail("Brak pliku %s", fileName);
  std::string folder = SchemaFolder(schemaDir);
  JpkValidation result;
  std::string rootNamespace, rootName;
  long rootLine = 0;
  if (!RootNamespace(fileName, rootNamespace, rootName, rootLine)) {
    result.violations.push_back({0, "", "Plik nie zawiera dokumentu XML"});
    return result;
  }
  const JpkStructure* structure = FindJpkStructure(rootNamespace);
  if (!structure) {
    result.violations.push_back({rootLine, rootName, Format("Nieznana struktura pliku: przestrzeń nazw \"%s\"", rootNamespace)});
    return result;
  }
  result.structure = structure->systemCode;
  XmlErrorCollector collector;
  xmlSchemaPtr schema = Schemas().Get(folder, *structure);
  xmlSchemaValidCtxtPtr validator = xmlSchemaNewValidCtxt(schema);
  if (!validator) Fail("Brak pamięci na sprawdzenie dokumentu %s", structure->systemCode);
  int rc;
  {
    CollectXmlErrors collect(collector);  // syntax errors of the stream's parser
    xmlSchemaSetValidStructuredErrors(validator, XmlErrorCollector::Handler, &collector);
    rc = xmlSchemaValidateFile(validator, fileName.c_str(), 0);
  }
  xmlSchemaFreeValidCtxt(validator);
  for (XmlProblem& problem : collector.problems) {
    if (problem.element.empty()) problem.element = ElementOfMessage(problem.message);
    result.violations.push_back({problem.line, std::move(problem.element), std::move(problem.message)});
  }
  if (rc != 0 && result.violations.empty())
    result.violations.push_back({0, "", "Sprawdzenie ze schematem nie powiodło się"});
  return result;
}

std::string DescribeViolation(const SchemaViolation& violation) {
  std::string where = Format("wiersz %d", violation.line);
  if (!violation.element.empty()) where += " (" + violation.element + ")";
  return where + ": " + violation.message;
}

bool WarnIfJpkFileInvalid(const std::string& fileName) {
  return WarnIfInvalid(fileName, [&] { return ValidateJpkFile(fileName); });
}

bool WarnIfJpkFileInvalidStreamed(const std::string& fileName) {
  return WarnIfInvalid(fileName, [&] { return ValidateJpkFileStreamed(fileName); });
}

bool WarnIfJpkDocumentInvalid(xmlDoc* doc, const std::string& fileName) {
  return WarnIfInvalid(fileName, [&] { return ValidateJpkDocument(doc); });
}

}  // namespace velkar
