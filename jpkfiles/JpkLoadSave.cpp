// Prefix check and repair, reformat after save, save-as, wait message.
#include "jpkfiles/JpkLoadSave.h"

#include <cstdio>
#include <exception>

#include "app/MainForm.h"
#include "app/Settings.h"
#include "app/ui/UiPort.h"
#include "base/DateTime.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "jpkfiles/Backup.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/NodeCopy.h"
#include "jpkfiles/SchemaValidation.h"

namespace velkar {

namespace {

// The namespace-prefix check after loading, the same for JPK_V7M(2) and JPK_FA(4).
template <typename Root, typename New, typename Init, typename Reformat>
bool CheckPrefixes(Root& doc, const std::string& fileName, const char* namespaceURI, New newDoc, Init init,
                   Reformat reformat) {
  // The declaration of the root's own namespace (on the root or an ancestor); a root that
  // declares none is taken as unprefixed.
  std::string own = doc.NamespaceURI();
  std::string prefix;
  bool prefixed = !own.empty() && doc.FindNamespaceDecl(own, &prefix) && !prefix.empty();
  if (!prefixed || !AskYesNo(kPrefixQuestion)) {
    init(doc);
    return false;
  }
  Root rebuilt = newDoc();
  init(rebuilt);
  CopyJpkNodes(rebuilt.OwnerDocument(), namespaceURI, rebuilt, doc);
  doc = Root();  // the loaded document is released before the file moves
  std::string backup = MoveToBackup(fileName, kRepairBackupPrefix);
  try {
    rebuilt.OwnerDocument()->SaveToFile(fileName);
  } catch (...) {
    // The file goes back where it was rather than staying only in the backup folder.
    std::rename(backup.c_str(), fileName.c_str());
    throw;
  }
  doc = rebuilt;
  reformat(doc, fileName);
  return true;
}

// Whether two trees serialize to the same text under the same settings: the same nodes
// in the same order with the same names, namespaces, namespace declarations, attributes
// and contents. Walks both trees in step, without recursion.
bool SameNs(const xmlNs* a, const xmlNs* b) {
  if (!a || !b) return a == b;
  return xmlStrEqual(a->prefix, b->prefix) && xmlStrEqual(a->href, b->href);
}

bool SameNsDefs(const xmlNs* a, const xmlNs* b) {
  for (; a && b; a = a->next, b = b->next)
    if (!SameNs(a, b)) return false;
  return !a && !b;
}

bool SameLeaf(const xmlNode* a, const xmlNode* b);

bool SameChildren(const xmlNode* a, const xmlNode* b) {
  for (; a && b; a = a->next, b = b->next)
    if (!SameLeaf(a, b)) return false;
  return !a && !b;
}

bool SameAttributes(const xmlAttr* a, const xmlAttr* b) {
  for (; a && b; a = a->next, b = b->next)
    if (!xmlStrEqual(a->name, b->name) || !SameNs(a->ns, b->ns) || !SameChildren(a->children, b->children))
      return false;
  return !a && !b;
}

// A node without its children: type, name and value, and for an element its namespace,
// declarations and attributes.
bool SameLeaf(const xmlNode* a, const xmlNode* b) {
  if (a->type != b->type || !xmlStrEqual(a->name, b->name)) return false;
  switch (a->type) {
    case XML_ELEMENT_NODE:
      return SameNs(a->ns, b->ns) && SameNsDefs(a->nsDef, b->nsDef) && SameAttributes(a->properties, b->properties);
    case XML_TEXT_NODE:
    case XML_CDATA_SECTION_NODE:
    case XML_COMMENT_NODE:
    case XML_PI_NODE:
      return xmlStrEqual(a->content, b->content);
    case XML_ENTITY_REF_NODE:
      return true;
    default:
      return false;  // anything else is not compared: taken as different
  }
}

bool SameTree(const xmlDoc* a, const xmlDoc* b) {
  if (!a || !b || a->intSubset || b->intSubset || !xmlStrEqual(a->version, b->version) ||
      a->standalone != b->standalone)
    return false;
  const xmlNode* x = a->children;
  const xmlNode* y = b->children;
  while (x || y) {
    if (!x || !y || !SameLeaf(x, y)) return false;
    if (x->type == XML_ELEMENT_NODE && (x->children || y->children)) {
      if (!x->children || !y->children) return false;
      x = x->children;
      y = y->children;
      continue;
    }
    // Next sibling, or the next sibling of the nearest ancestor that has one.
    while (x && y && !x->next && !y->next) {
      x = x->parent;
      y = y->parent;
      if (x == reinterpret_cast<const xmlNode*>(a) || y == reinterpret_cast<const xmlNode*>(b)) return x == reinterpret_cast<const xmlNode*>(a) && y == reinterpret_cast<const xmlNode*>(b);
    }
    if (!x || !y || !x->next || !y->next) return false;
    x = x->next;
    y = y->next;
  }
  return true;
}

// The reformat pass. The file is read once: when it already holds the reformatted text (as
// every file SaveJpkFile writes does), the document read is the one the caller gets back
// and the one checked against the schema; otherwise the file is rewritten and read again.
// `written`, when given, is the document SaveJpkFile has just written to the file in the
// reformatted form: a file read back into the same tree holds that text already.
template <typename Root, typename Load, typename Get>
void Reformat(Root& doc, const std::string& fileName, Load load, Get get, const char* emptyError,
              const xml::IXMLDocument& written = nullptr) {
  if (emptyError && (doc.IsNull() || fileName.empty())) throw Error(emptyError);
  std::string indent = doc.IsNull() ? std::string("\t") : doc.OwnerDocument()->NodeIndentStr();
  std::exception_ptr failure;
  xml::IXMLDocument scratch;
  bool asWritten = false;
  try {
    scratch = xml::TXMLDocument::Create();
    scratch->SetOptions(scratch->Options() | xml::doNodeAutoIndent);
    scratch->SetNodeIndentStr(indent);
    scratch->LoadFromFile(fileName);
    scratch->SetEncoding("UTF-8");
    bool sameSettings = written && (written->Options() & xml::doNodeAutoIndent) != 0 &&
                        written->NodeIndentStr() == indent && xmlStrcasecmp(BAD_CAST written->Encoding().c_str(), BAD_CAST "UTF-8") == 0;
    asWritten = (sameSettings && SameTree(written->DOMDocument(), scratch->DOMDocument())) ||
                scratch->SaveToXML() == ReadWholeFile(fileName);
    if (!asWritten) scratch->SaveToFile(fileName);
  } catch (...) {
    failure = std::current_exception();
  }
  doc = Root();
  if (!failure && asWritten) {
    // The document as a fresh load of the file has it.
    xml::IXMLDocument fresh = xml::TXMLDocument::Create();
    scratch->SetOptions(fresh->Options());
    scratch->SetNodeIndentStr(fresh->NodeIndentStr());
    scratch->SetModified(false);
    doc = get(scratch);
  } else {
    scratch.reset();
    try {
      doc = load(fileName);
    } catch (...) {
      if (!failure) throw;
    }
  }
  if (failure) std::rethrow_exception(failure);
  WarnIfJpkDocumentInvalid(doc.OwnerDocument()->DOMDocument(), fileName);
}

FileDialogOptions& SaveDialog() {
  static FileDialogOptions standalone;  // when no main window exists (tools run without one)
  TMainForm* form = MainForm();
  return form ? form->SaveDlg : standalone;
}

// The wait message and the busy cursor for a save, removed however it ends.
class SavingState {
 public:
  SavingState() {
    ShowWaitHint(kSavingMessage);
    Ui().SetBusyCursor(true);
  }
  ~SavingState() {
    Ui().SetBusyCursor(false);
    HideWaitHint();
  }
  SavingState(const SavingState&) = delete;
  SavingState& operator=(const SavingState&) = delete;
};

template <typename Root>
void SaveAs(Root& doc, const char* kind, bool alwaysProposeName) {
  if (doc.IsNull() || !doc.OwnerDocument()->Active()) Fail("Brak aktywnego pliku %s", kind);
  const ProgramSettings& s = Settings();
  FileDialogOptions& dialog = SaveDialog();
  std::string proposed = FormatPeriod(s.CurDate) + "_" + kind + s.NameSufix;
  if (dialog.fileName.empty()) {
    dialog.initialDir = s.SaveDir;
    dialog.fileName = proposed;
  } else if (alwaysProposeName) {
    dialog.fileName = proposed;
  }
  std::optional<std::string> chosen = Ui().SaveFileDialog(dialog);
  if (!chosen) return;
  dialog.fileName = *chosen;
  SavingState saving;
  CurrentJpkFileName() = *chosen;
  SaveJpkFile(doc, *chosen);
}

template <typename Root>
void SaveAndReformat(Root& doc, const std::string& fileName,
                     void (*reformat)(Root&, const std::string&, const xml::IXMLDocument&), const char* kind) {
  if (doc.IsNull() || !doc.OwnerDocument()->Active()) Fail("Brak aktywnego pliku %s", kind);
  // Written in the reformatted form at once, so the reformat pass finds nothing to rewrite.
  xml::IXMLDocument written = doc.OwnerDocument();
  written->SetOptions(written->Options() | xml::doNodeAutoIndent);
  written->SaveToFile(fileName);
  reformat(doc, fileName, written);
}

}  // namespace

std::string& CurrentJpkFileName() {
  static std::string name;
  return name;
}

bool CheckJpkV7Prefixes(v7m::IXMLJPK& doc, const std::string& fileName) {
  return CheckPrefixes(doc, fileName, v7m::kTargetNamespace, v7m::NewJpkV7, InitJpkV7Doc, ReformatJpkV7File);
}

bool CheckJpkFAPrefixes(fa::IXMLJPKFA& doc, const std::string& fileName) {
  return CheckPrefixes(doc, fileName, fa::kTargetNamespace, fa::NewJpkFA, InitJpkFADoc, ReformatJpkFAFile);
}

namespace {

void ReformatV7(v7m::IXMLJPK& doc, const std::string& fileName, const xml::IXMLDocument& written) {
  Reformat(doc, fileName, v7m::LoadJpkV7, v7m::GetJpkV7, nullptr, written);
}
void ReformatFA(fa::IXMLJPKFA& doc, const std::string& fileName, const xml::IXMLDocument& written) {
  Reformat(doc, fileName, fa::LoadJpkFA, fa::GetJpkFA, "Błąd formatowania pliku JPK_FA", written);
}
void ReformatMAG(mag::IXMLJPKMAG& doc, const std::string& fileName, const xml::IXMLDocument& written) {
  Reformat(doc, fileName, mag::LoadJpkMAG, mag::GetJpkMAG, "Błąd formatowania pliku JPK_MAG", written);
}
void ReformatKR(kr::IXMLJPKKR& doc, const std::string& fileName, const xml::IXMLDocument& written) {
  Reformat(doc, fileName, kr::LoadJpkKR, kr::GetJpkKR, "Błąd formatowania pliku JPK_KR", written);
}

}  // namespace

void ReformatJpkV7File(v7m::IXMLJPK& doc, const std::string& fileName) { ReformatV7(doc, fileName, nullptr); }
void ReformatJpkFAFile(fa::IXMLJPKFA& doc, const std::string& fileName) { ReformatFA(doc, fileName, nullptr); }
void ReformatJpkMAGFile(mag::IXMLJPKMAG& doc, const std::string& fileName) { ReformatMAG(doc, fileName, nullptr); }
void ReformatJpkKRFile(kr::IXMLJPKKR& doc, const std::string& fileName) { ReformatKR(doc, fileName, nullptr); }

void SaveJpkFile(v7m::IXMLJPK& doc, const std::string& fileName) {
  SaveAndReformat(doc, fileName, ReformatV7, "JPK");
}
void SaveJpkFile(fa::IXMLJPKFA& doc, const std::string& fileName) {
  SaveAndReformat(doc, fileName, ReformatFA, "JPK_FA");
}
void SaveJpkFile(mag::IXMLJPKMAG& doc, const std::string& fileName) {
  SaveAndReformat(doc, fileName, ReformatMAG, "JPK_MAG");
}
void SaveJpkFile(kr::IXMLJPKKR& doc, const std::string& fileName) {
  SaveAndReformat(doc, fileName, ReformatKR, "JPK_KR");
}

void SaveJpkFAAs(fa::IXMLJPKFA& doc) { SaveAs(doc, "JPK_FA", false); }
void SaveJpkMAGAs(mag::IXMLJPKMAG& doc) { SaveAs(doc, "JPK_MAG", false); }
void SaveJpkKRAs(kr::IXMLJPKKR& doc) { SaveAs(doc, "JPK_KR", true); }

void ShowWaitHint(const std::string& message) { Ui().ShowWaitHint(message); }
void HideWaitHint() { Ui().HideWaitHint(); }

}  // namespace velkar
