// Opening, merging, saving and generating in the editor, with the questions that guard
// unsaved changes and the clean-up of line breaks before a file is loaded.
#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <memory>
#include <system_error>

#include "app/Settings.h"
#include "base/DateTime.h"
#include "base/Error.h"
#include "base/Paths.h"
#include "base/Text.h"
#include "editor/JpkVatDlg.h"
#include "editor/LinkAskDlg.h"
#include "editor/Reindent.h"
#include "editor/RowScan.h"
#include "jpkfiles/Backup.h"
#include "jpkfiles/JpkHeaders.h"
#include "jpkfiles/JpkLoadSave.h"
#include "jpkfiles/NodeCopy.h"
#include "model/xml/XmlErrors.h"

namespace velkar {

namespace {

namespace fs = std::filesystem;

// The scratch copy NormalizeJpkFile works on, in the current working directory.
constexpr const char* kTempFileName = "_tmp_V7M.xml";

// The bytes of a file, mapped where the platform can (a large file then costs no copy),
// read into memory elsewhere.
class FileBytes {
 public:
  explicit FileBytes(const std::string& fileName) {
#if defined(__unix__) || defined(__APPLE__)
    int fd = ::open(fileName.c_str(), O_RDONLY);
    struct stat info {};
    if (fd >= 0 && ::fstat(fd, &info) == 0 && info.st_size > 0) {
      void* map = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
      if (map != MAP_FAILED) {
        map_ = map;
        size_ = static_cast<size_t>(info.st_size);
        ::madvise(map_, size_, MADV_SEQUENTIAL);
      }
    }
    if (fd >= 0) ::close(fd);
    if (map_ || (fd >= 0 && info.st_size == 0)) return;
#endif
    copy_ = ReadWholeFile(fileName);
  }
  ~FileBytes() {
#if defined(__unix__) || defined(__APPLE__)
    if (map_) ::munmap(map_, size_);
#endif
  }
  FileBytes(const FileBytes&) = delete;
  FileBytes& operator=(const FileBytes&) = delete;
  std::string_view View() const { return map_ ? std::string_view(static_cast<const char*>(map_), size_) : copy_; }

 private:
  void* map_ = nullptr;
  size_t size_ = 0;
  std::string copy_;
};

// Raised when a loaded file is not a JPK_V7M(2) document.
struct NotJpkV7 {};

void RequireJpkV7(const v7m::IXMLJPK& doc) {
  if (!doc || doc.LocalName() != "JPK" || doc.NamespaceURI() != v7m::kTargetNamespace) throw NotJpkV7{};
}

void CopyOver(const std::string& from, const std::string& to) {
  std::error_code error;
  fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
  if (error) Fail("Nie można skopiować pliku %s do %s", from, to);
}

// Renames, or copies and deletes when the two names are on different file systems.
void MoveOver(const std::string& from, const std::string& to) {
  std::error_code error;
  fs::rename(from, to, error);
  if (!error) return;
  CopyOver(from, to);
  fs::remove(from, error);
}

// Whether any of the eight bytes of `word` is a carriage return or a line feed.
inline bool HasLineBreak(uint64_t word) {
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  uint64_t cr = word ^ (kOnes * '\r'), lf = word ^ (kOnes * '\n');
  return (((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighs;
}

// The text with its line breaks removed: a line feed disappears; a carriage return
// becomes one blank unless the character before it is a blank or ">" (a break inside
// element text joins the two lines with a blank, a break between tags leaves nothing).
// The character before the first counts as a carriage return. A UTF-8 byte-order mark is
// not copied.
class JoinedText {
 public:
  explicit JoinedText(std::string_view text) : buffer_(new char[text.size()]) {
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    char* to = buffer_.get();
    const char* from = text.data();
    const char* end = from + text.size();
    char previous = '\r';
    while (from < end) {
      // Runs without line breaks are copied whole, eight bytes at a time while they last.
      const char* run = from;
      uint64_t word;
      while (end - run >= 8 && (std::memcpy(&word, run, 8), !HasLineBreak(word))) run += 8;
      while (run < end && *run != '\r' && *run != '\n') ++run;
      if (run > from) {
        std::memcpy(to, from, static_cast<size_t>(run - from));
        to += run - from;
        previous = run[-1];
        from = run;
        continue;
      }
      if (*from == '\r' && previous != ' ' && previous != '>') *to++ = ' ';
      previous = *from++;
    }
    size_ = static_cast<size_t>(to - buffer_.get());
  }
  std::string_view View() const { return {buffer_.get(), size_}; }

 private:
  std::unique_ptr<char[]> buffer_;
  size_t size_ = 0;
};

}  // namespace

Answer TJpkVatDlg::AskSaveChanges() {
  if (!LoadedJpk || !LoadedJpk.OwnerDocument()->Modified()) return Answer::Ok;
  Answer answer = Ui().Ask(MessageKind::Confirmation, "Zapisać dokonane zmiany?", Buttons::YesNo);
  if (answer == Answer::Yes) btnSaveJPKClick();
  return answer;
}

Answer TJpkVatDlg::AskLinkOrNew() {
  if (!LoadedJpk) return Answer::Ok;
  int result = Ui().ShowModal(dlgLinkAsk);
  if (result == mrNo) {
    LoadedJpk = v7m::IXMLJPK();
    RefreshInfo();
    return Answer::Ok;
  }
  return result == mrYes ? Answer::Yes : Answer::Cancel;
}

void TJpkVatDlg::CheckPodmiotRola(const v7m::IXMLJPK& doc) {
  xml::TXMLNode podmiot = doc.FindChild("Podmiot1");
  if (!podmiot || podmiot.HasAttribute("rola")) return;
  podmiot.SetAttribute("rola", "Podatnik");
  ShowInfo("Dodano brakujący atrybut: \"Rola\" w węźle XML:\r<Podmiot1 rola=\"Podatnik\">");
}

bool TJpkVatDlg::NormalizeJpkFile(const std::string& fileName, xml::IXMLDocument* parsed) {
  std::string backup = MoveToBackup(fileName, kEditorBackupPrefix);
  CopyOver(backup, kTempFileName);
  FileBytes bytes(kTempFileName);
  std::string_view original = bytes.View();
  if (original.empty()) {
    // The user's file goes back where it was; the backup keeps its copy.
    MoveOver(kTempFileName, fileName);
    ShowInfo("Brak danych do odczytu");
    return false;
  }

  auto document = xml::TXMLDocument::Create();
  bool same = false;
  std::string formatted;
  try {
    try {
      document->LoadFromXML(JoinedText(original).View());
    } catch (const xml::EXMLDocError& error) {
      // The text was read from memory: the message names the file it came from.
      throw xml::EXMLDocError(ReplaceAll(error.what(), "(tekst XML)", fileName));
    }
    document->SetEncoding("UTF-8");
    // A file in the program's own form is recognised by a walk of the tree; any other
    // is written out by the formatter and compared as it goes.
    same = reindent::QuickSame(document->ConstDOMDocument(), original);
    if (!same) {
      reindent::Text text(document->DOMDocument(), original);
      same = text.Same();
      if (!same) formatted = text.Differing();
    }
  } catch (...) {
    // A file that cannot be read as XML stays as it was.
    MoveOver(kTempFileName, fileName);
    throw;
  }

  // The re-indented text stands for the document just read. When it comes out as long as
  // the original, the original comes back (and the document still stands for it when the
  // two texts are the same); otherwise the re-indented text replaces it.
  bool reusable = true;
  std::error_code error;
  if (same || formatted.size() == original.size()) {
    reusable = same;
    MoveOver(kTempFileName, fileName);
  } else {
    WriteFileAtomically(fileName, formatted);
    fs::remove(kTempFileName, error);
  }
  if (parsed && reusable) {
    document->SetModified(false);
    *parsed = document;
  }
  return true;
}

bool TJpkVatDlg::btnOpenJPKClick() {
  if (AskSaveChanges() == Answer::Cancel) return false;
  // What the editor holds before the open: a failed open puts it all back, so no error
  // loses the document the user was working on (also after "Nowy plik").
  struct Before {
    v7m::IXMLJPK document;
    bool modified = false;
    std::string currentName, openName, openDir, saveName, saveDir;
  } before{LoadedJpk, LoadedJpk && LoadedJpk.OwnerDocument()->Modified(), CurrentJpkFileName(), OpenDlg.fileName,
           OpenDlg.initialDir, SaveDlg.fileName, SaveDlg.initialDir};
  auto restore = [&] {
    LoadedJpk = before.document;
    if (LoadedJpk) LoadedJpk.OwnerDocument()->SetModified(before.modified);
    CurrentJpkFileName() = before.currentName;
    OpenDlg.fileName = before.openName;
    OpenDlg.initialDir = before.openDir;
    SaveDlg.fileName = before.saveName;
    SaveDlg.initialDir = before.saveDir;
    RefreshInfo();
  };
  if (AskLinkOrNew() == Answer::Cancel) return false;
  std::optional<std::string> chosen = Ui().OpenFileDialog(OpenDlg);
  if (!chosen) return false;
  const std::string fileName = *chosen;
  OpenDlg.fileName = fileName;
  CurrentJpkFileName() = fileName;
  try {
    xml::IXMLDocument parsed;
    if (Settings().ClearEnter && !NormalizeJpkFile(fileName, &parsed)) {
      restore();
      return false;
    }
    v7m::IXMLJPK doc = parsed ? v7m::GetJpkV7(parsed) : v7m::LoadJpkV7(fileName);
    RequireJpkV7(doc);
    CheckJpkV7Prefixes(doc, fileName);
    CheckPodmiotRola(doc);
    OpenDlg.initialDir = SaveDlg.initialDir = ExtractFilePath(ExpandFileName(fileName));
    if (LoadedJpk) {
      CurrentJpkFileName() = kNewJpkFileName;
      SaveDlg.fileName.clear();
      LinkJPK(doc);
      RefreshInfo();
      ShowInfo("Pomyślnie połączono pliki JPK:\r" + CurrentJpkFileName());
      AskSaveChanges();
    } else {
      SaveDlg.fileName = fileName;
      RecalcJPK(doc);
      LoadedJpk = doc;
      RefreshInfo();
    }
    return true;
  } catch (const NotJpkV7&) {
    restore();
    ShowErrorBox("Zła struktura pliku. Brak zgodności z JPK_V7M (2)");
    return false;
  } catch (...) {
    restore();
    throw;
  }
}

namespace {

bool SameNamespace(const xmlNs* ns, const xmlChar* href) {
  const xmlChar* own = ns ? ns->href : nullptr;
  return xmlStrEqual(own ? own : BAD_CAST "", href ? href : BAD_CAST "") != 0;
}

// A row whose fields are plain elements of `href` with text only and no attributes:
// moving it into the other document gives what copying its fields' names and texts would.
bool IsPlainRow(const xmlNode* row, const xmlChar* href) {
  if (row->properties || row->nsDef || !SameNamespace(row->ns, href)) return false;
  for (const xmlNode* field = row->children; field; field = field->next) {
    if (field->type != XML_ELEMENT_NODE || field->properties || field->nsDef || !SameNamespace(field->ns, href))
      return false;
    const xmlNode* text = field->children;
    if (text && (text->next || text->type != XML_TEXT_NODE)) return false;
  }
  return true;
}

// Appends the rows of one kind from `first` on (to the first element without `lpName`)
// to `target`, before `before` (at the end when null). Plain rows move over with their
// nodes; any other row is rebuilt from the names and texts of its fields.
void LinkRows(const xml::TXMLNode& target, xmlNode* first, const char* rowName, const char* lpName,
              const xml::TXMLNode& before, xmlDoc* sourceDoc, std::vector<xmlNode*>& added) {
  xmlNode* parent = target.DOMNode();
  xmlNode* anchor = before ? before.DOMNode() : nullptr;
  const xmlChar* href = parent->ns ? parent->ns->href : nullptr;
  std::string scratch;
  for (xmlNode* row = first; row && rowscan::FindChild(row, lpName);) {
    xmlNode* next = const_cast<xmlNode*>(rowscan::NextElement(row));
    if (IsPlainRow(row, href)) {
      xmlUnlinkNode(row);
      if (xmlDOMWrapAdoptNode(nullptr, sourceDoc, row, parent->doc, parent, 0) != 0)
        Fail("Nie można przenieść wiersza %s do połączonego pliku", rowName);
      if (anchor)
        xmlAddPrevSibling(anchor, row);
      else
        xmlAddChild(parent, row);
      added.push_back(row);
    } else {
      xml::TXMLNode copy = target.AddChildBefore(rowName, before);
      added.push_back(copy.DOMNode());
      for (const xmlNode* field = rowscan::FirstElement(row); field; field = rowscan::NextElement(field))
        copy.AddChild(reinterpret_cast<const char*>(field->name)).SetText(rowscan::Text(field, scratch));
    }
    row = next;
  }
}

}  // namespace

void TJpkVatDlg::LinkJPK(const v7m::IXMLJPK& GJPK) {
  if (!LoadedJpk) return;
  // A merge that fails (a wrong amount or a positive K_46 in an added row) takes the added
  // rows out again: the open document stays as it was.
  xml::IXMLDocument document = LoadedJpk.OwnerDocument();
  bool wasModified = document->Modified();
  xml::TXMLNode ewidencjaBefore = LoadedJpk.FindChild("Ewidencja");
  std::vector<xmlNode*> added;
  try {
    LinkRowsOf(GJPK, added);
    RecalcJPK(LoadedJpk);
  } catch (...) {
    if (xml::TXMLNode ewidencja = LoadedJpk.FindChild("Ewidencja"))
      for (xmlNode* node : added) ewidencja.ChildNodes().Remove(xml::TXMLNode(node, document));
    if (!ewidencjaBefore)
      if (xml::TXMLNode ewidencja = LoadedJpk.FindChild("Ewidencja")) LoadedJpk.ChildNodes().Remove(ewidencja);
    try {
      RecalcJPK(LoadedJpk);  // the numbers and control records of the rows that were there
    } catch (...) {
      // They were consistent before the merge; nothing better can be done here.
    }
    document->SetModified(wasModified);
    throw;
  }
}

void TJpkVatDlg::LinkRowsOf(const v7m::IXMLJPK& GJPK, std::vector<xmlNode*>& added) {
  {
    BusyCursor busy;
    xml::TXMLNode source = GJPK ? GJPK.FindChild("Ewidencja") : xml::TXMLNode();
    if (source) {
      xml::TXMLNode target = LoadedJpk.Ewidencja();
      xmlDoc* sourceDoc = GJPK.OwnerDocument()->DOMDocument();
      xmlNode* sourceEwidencja = source.DOMNode();
      // Sale rows land after the sale rows already there: before the child that stands
      // at the position of their count, which stays the same child while rows go in.
      if (const xmlNode* firstSale = rowscan::FindChild(sourceEwidencja, "SprzedazWiersz")) {
        int count = 0;
        for (const xmlNode* child = rowscan::FirstElement(target.ConstDOMNode()); child;
             child = rowscan::NextElement(child))
          if (rowscan::NameIs(child, "SprzedazWiersz")) ++count;
        xml::TXMLNodeList children = target.ChildNodes();
        xml::TXMLNode before = count < children.Count() ? children[count] : xml::TXMLNode();
        LinkRows(target, const_cast<xmlNode*>(firstSale), "SprzedazWiersz", "LpSprzedazy", before, sourceDoc,
                 added);
      }
      // Purchase rows land before ZakupCtrl, which is added when there was none.
      if (const xmlNode* firstPurchase = rowscan::FindChild(sourceEwidencja, "ZakupWiersz")) {
        xml::TXMLNode zakupCtrl = target.FindChild("ZakupCtrl");
        LinkRows(target, const_cast<xmlNode*>(firstPurchase), "ZakupWiersz", "LpZakupu", zakupCtrl, sourceDoc,
                 added);
        if (!zakupCtrl) added.push_back(target.AddChild("ZakupCtrl").DOMNode());
      }
      LoadedJpk.OwnerDocument()->SetModified(true);
      GJPK.OwnerDocument()->SetModified(true);
    }
  }
}

void TJpkVatDlg::SaveTo(const std::string& fileName) {
  try {
    BusyCursor busy;
    CurrentJpkFileName() = fileName;
    SaveJpkFile(LoadedJpk, fileName);
  } catch (...) {
    RefreshInfo();
    throw;
  }
}

bool TJpkVatDlg::btnSaveJPKClick() {
  if (!LoadedJpk) return false;
  if (!LoadedJpk.OwnerDocument()->Active()) Fail("Brak aktywnego pliku JPK");
  if (xml::TXMLNode naglowek = LoadedJpk.FindChild("Naglowek"))
    v7m::IXMLJPK_Naglowek(naglowek, xml::kUnchecked).Set_DataWytworzeniaJPK(JpkCreationStamp());
  if (SaveDlg.fileName.empty()) {
    SaveDlg.initialDir = Settings().SaveDir;
    SaveDlg.fileName = FormatPeriod(Settings().CurDate) + "_JPK_V7M" + Settings().NameSufix;
  }
  std::optional<std::string> chosen = Ui().SaveFileDialog(SaveDlg);
  if (!chosen) return false;
  SaveDlg.fileName = *chosen;
  SaveTo(*chosen);
  RefreshInfo();
  return true;
}

void TJpkVatDlg::btnMakeJPKClick() {
  if (AskSaveChanges() == Answer::Cancel || AskLinkOrNew() == Answer::Cancel) return;
  if (!GenJpkVatDlg) return;
  if (Ui().ShowModal(*GenJpkVatDlg) != mrOk) return;
  RefreshInfo();
  if (AskYesNo("Zapisać wygenerowany plik?")) btnSaveJPKClick();
}

}  // namespace velkar
