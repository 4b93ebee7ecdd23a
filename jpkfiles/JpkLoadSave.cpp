// Prefix check and repair, reformat after save, save-as, wait message.
#include "jpkfiles/JpkLoadSave.h"

#include <array>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <exception>
#include <optional>

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

// The namespace-prefix check after loading, the same for JPK_V7M and JPK_FA(4).
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

// A 128-bit print of what the serializer writes of a tree: node kinds, names, namespaces
// and their declarations, attributes, contents and the nesting. Two trees with the same
// print write the same text under the same settings. The print of the document just
// saved is taken before it is released, so the file read back can take its memory.
class TreePrint {
 public:
  static TreePrint Of(const xmlDoc* doc) {
    TreePrint print;
    if (!doc || doc->intSubset) {
      print.comparable_ = false;
      return print;
    }
    print.Text(doc->version);
    print.Word(static_cast<uint64_t>(doc->standalone + 2));
    const xmlNode* top = reinterpret_cast<const xmlNode*>(doc);
    const xmlNode* node = doc->children;
    while (node && print.comparable_) {
      print.Leaf(node);
      if (node->type == XML_ELEMENT_NODE && node->children) {
        print.Word(kDown);
        node = node->children;
        continue;
      }
      while (node != top && !node->next) {
        print.Word(kUp);
        node = node->parent;
      }
      node = node == top ? nullptr : node->next;
    }
    return print;
  }
  friend bool operator==(const TreePrint& x, const TreePrint& y) {
    return x.comparable_ && y.comparable_ && x.a_ == y.a_ && x.b_ == y.b_;
  }

 private:
  static constexpr uint64_t kDown = 0xD0D0D0D0D0D0D0D1ull, kUp = 0xB0B0B0B0B0B0B0B3ull;

  void Word(uint64_t w) {
    a_ = (a_ ^ w) * 0x9E3779B97F4A7C15ull;
    a_ ^= a_ >> 29;
    b_ = (b_ + w) * 0xC2B2AE3D27D4EB4Full;
    b_ = (b_ << 31) | (b_ >> 33);
  }
  void Text(const xmlChar* text) {
    if (!text) {
      Word(0xFFFFFFFFFFFFFFFFull);
      return;
    }
    size_t length = std::strlen(reinterpret_cast<const char*>(text));
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
      uint64_t w;
      std::memcpy(&w, text + i, 8);
      Word(w);
    }
    uint64_t tail = 0;
    std::memcpy(&tail, text + i, length - i);
    Word(tail);
    Word(length);
  }
  void Ns(const xmlNs* ns) {
    if (!ns) {
      Word(0);
      return;
    }
    Word(Remembered(ns, [ns] {
      TreePrint part;
      part.Text(ns->prefix);
      part.Text(ns->href);
      return part.a_ ^ part.b_;
    }));
  }
  // Names are interned and declarations shared: each is hashed once and its hash kept by
  // its address (the hash depends only on the text, so the print does not).
  template <typename Compute>
  uint64_t Remembered(const void* key, Compute compute) {
    size_t slot = (reinterpret_cast<uintptr_t>(key) >> 4) % kCacheSize;
    if (cacheKeys_[slot] != key) {
      cacheKeys_[slot] = key;
      cacheValues_[slot] = compute();
    }
    return cacheValues_[slot];
  }
  void Name(const xmlChar* name) {
    if (!name) {
      Word(0xFFFFFFFFFFFFFFFFull);
      return;
    }
    Word(Remembered(name, [name] {
      TreePrint part;
      part.Text(name);
      return part.a_ ^ part.b_;
    }));
  }
  void Leaf(const xmlNode* node) {
    Word(static_cast<uint64_t>(node->type));
    Name(node->name);
    switch (node->type) {
      case XML_ELEMENT_NODE:
        Ns(node->ns);
        for (const xmlNs* ns = node->nsDef; ns; ns = ns->next) Ns(ns);
        Word(2);
        for (const xmlAttr* attr = node->properties; attr; attr = attr->next) {
          Name(attr->name);
          Ns(attr->ns);
          for (const xmlNode* part = attr->children; part; part = part->next) {
            Word(static_cast<uint64_t>(part->type));
            if (part->type == XML_TEXT_NODE)
              Text(part->content);
            else if (part->type == XML_ENTITY_REF_NODE)
              Text(part->name);
            else
              comparable_ = false;
          }
          Word(3);
        }
        Word(4);
        break;
      case XML_TEXT_NODE:
      case XML_CDATA_SECTION_NODE:
      case XML_COMMENT_NODE:
      case XML_PI_NODE:
        Text(node->content);
        break;
      case XML_ENTITY_REF_NODE:
        break;
      default:
        comparable_ = false;  // anything else is not printed: never taken as the same
    }
  }

  static constexpr size_t kCacheSize = 256;
  uint64_t a_ = 0x243F6A8885A308D3ull;
  uint64_t b_ = 0x13198A2E03707344ull;
  bool comparable_ = true;
  std::array<const void*, kCacheSize> cacheKeys_{};
  std::array<uint64_t, kCacheSize> cacheValues_{};
};

// The reformat pass. The file is read once: when it already holds the reformatted text (as
// every file SaveJpkFile writes does), the document read is the one the caller gets back
// and the one checked against the schema; otherwise the file is rewritten and read again.
// `written`, when given, is the print of the document SaveJpkFile has just written to the
// file in the reformatted form: a file read back into a tree of the same print holds that
// text already. The caller's document is released before the file is read.
template <typename Root, typename Load, typename Get>
void Reformat(Root& doc, const std::string& fileName, Load load, Get get, const char* emptyError,
              const TreePrint* written = nullptr) {
  if (emptyError && (doc.IsNull() || fileName.empty())) throw Error(emptyError);
  std::string indent = doc.IsNull() ? std::string("\t") : doc.OwnerDocument()->NodeIndentStr();
  std::optional<unsigned> parseOptions;
  if (!doc.IsNull()) parseOptions = doc.OwnerDocument()->ParseOptions();
  doc = Root();
  std::exception_ptr failure;
  xml::IXMLDocument scratch;
  bool asWritten = false;
  try {
    scratch = xml::TXMLDocument::Create();
    scratch->SetOptions(scratch->Options() | xml::doNodeAutoIndent);
    scratch->SetNodeIndentStr(indent);
    scratch->LoadFromFile(fileName);
    scratch->SetEncoding("UTF-8");
    asWritten = (written && TreePrint::Of(scratch->DOMDocument()) == *written) ||
                scratch->SaveToXML() == ReadWholeFile(fileName);
    if (!asWritten) scratch->SaveToFile(fileName);
  } catch (...) {
    failure = std::current_exception();
  }
  if (!failure && asWritten) {
    // The document as a fresh load of the file has it.
    xml::IXMLDocument fresh = xml::TXMLDocument::Create();
    scratch->SetOptions(fresh->Options());
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
  // The document read back is prepared as the one saved was: its indentation and parse
  // options, so the next save of the session writes the same layout.
  if (!doc.IsNull()) {
    doc.OwnerDocument()->SetNodeIndentStr(indent);
    if (parseOptions) doc.OwnerDocument()->SetParseOptions(*parseOptions);
  }
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

template <typename Root, typename Save>
void SaveAs(Root& doc, const char* kind, bool alwaysProposeName, Save save) {
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
  save(*chosen);
}

template <typename Root>
void SaveAs(Root& doc, const char* kind, bool alwaysProposeName) {
  SaveAs(doc, kind, alwaysProposeName, [&doc](const std::string& chosen) { SaveJpkFile(doc, chosen); });
}

// The save of a file generated straight to disk: moved into place, then checked as a stream.
template <typename Root>
void SaveGeneratedAs(Root& doc, GeneratedJpkFile& file, const char* kind, bool alwaysProposeName) {
  SaveAs(doc, kind, alwaysProposeName, [&file](const std::string& chosen) {
    file.MoveTo(chosen);
    WarnIfJpkFileInvalidStreamed(chosen);
  });
}

template <typename Root>
void SaveAndReformat(Root& doc, const std::string& fileName,
                     void (*reformat)(Root&, const std::string&, const TreePrint*), const char* kind) {
  if (doc.IsNull() || !doc.OwnerDocument()->Active()) Fail("Brak aktywnego pliku %s", kind);
  // Written in the reformatted form at once (one element per line, the indent string,
  // UTF-8), so the reformat pass finds nothing to rewrite.
  std::optional<TreePrint> print;
  {
    xml::IXMLDocument written = doc.OwnerDocument();
    written->SetOptions(written->Options() | xml::doNodeAutoIndent);
    written->SaveToFile(fileName);
    if (xmlStrcasecmp(BAD_CAST written->Encoding().c_str(), BAD_CAST "UTF-8") == 0)
      print = TreePrint::Of(written->DOMDocument());
  }
  reformat(doc, fileName, print ? &*print : nullptr);
}

}  // namespace

std::string& CurrentJpkFileName() {
  static std::string name;
  return name;
}

bool CheckJpkV7Prefixes(v7m::IXMLJPK& doc, const std::string& fileName) {
  // The repaired document keeps the structure of the one loaded.
  v7m::V7Structure structure = v7m::StructureOfJpkV7(doc).value_or(v7m::V7Structure::V2);
  return CheckPrefixes(doc, fileName, v7m::TargetNamespace(structure), [structure] { return v7m::NewJpkV7(structure); },
                       InitJpkV7Doc, ReformatJpkV7File);
}

bool CheckJpkFAPrefixes(fa::IXMLJPKFA& doc, const std::string& fileName) {
  return CheckPrefixes(doc, fileName, fa::kTargetNamespace, fa::NewJpkFA, InitJpkFADoc, ReformatJpkFAFile);
}

namespace {

void ReformatV7(v7m::IXMLJPK& doc, const std::string& fileName, const TreePrint* written) {
  Reformat(doc, fileName, v7m::LoadJpkV7, v7m::GetJpkV7, nullptr, written);
}
void ReformatFA(fa::IXMLJPKFA& doc, const std::string& fileName, const TreePrint* written) {
  Reformat(doc, fileName, fa::LoadJpkFA, fa::GetJpkFA, "Błąd formatowania pliku JPK_FA", written);
}
void ReformatMAG(mag::IXMLJPKMAG& doc, const std::string& fileName, const TreePrint* written) {
  Reformat(doc, fileName, mag::LoadJpkMAG, mag::GetJpkMAG, "Błąd formatowania pliku JPK_MAG", written);
}
void ReformatKR(kr::IXMLJPKKR& doc, const std::string& fileName, const TreePrint* written) {
  Reformat(doc, fileName, kr::LoadJpkKR, kr::GetJpkKR, "Błąd formatowania pliku JPK_KR", written);
}

}  // namespace

void ReformatJpkV7File(v7m::IXMLJPK& doc, const std::string& fileName) { ReformatV7(doc, fileName, nullptr); }
void ReformatJpkFAFile(fa::IXMLJPKFA& doc, const std::string& fileName) { ReformatFA(doc, fileName, nullptr); }
void ReformatJpkMAGFile(mag::IXMLJPKMAG& doc, const std::string& fileName) { ReformatMAG(doc, fileName, nullptr); }
void ReformatJpkKRFile(kr::IXMLJPKKR& doc, const std::string& fileName) { ReformatKR(doc, fileName, nullptr); }

void SaveJpkFile(v7m::IXMLJPK& doc, const std::string& fileName) { SaveAndReformat(doc, fileName, ReformatV7, "JPK"); }
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
void SaveJpkFAAs(fa::IXMLJPKFA& doc, GeneratedJpkFile& file) { SaveGeneratedAs(doc, file, "JPK_FA", false); }
void SaveJpkMAGAs(mag::IXMLJPKMAG& doc, GeneratedJpkFile& file) { SaveGeneratedAs(doc, file, "JPK_MAG", false); }
void SaveJpkKRAs(kr::IXMLJPKKR& doc, GeneratedJpkFile& file) { SaveGeneratedAs(doc, file, "JPK_KR", true); }

void ShowWaitHint(const std::string& message) { Ui().ShowWaitHint(message); }
void HideWaitHint() { Ui().HideWaitHint(); }

}  // namespace velkar
