// Opening, merging, saving and generating in the editor, with the questions that guard
// unsaved changes and the clean-up of line breaks before a file is loaded.
#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <cerrno>
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
#include "jpkfiles/V7mPublication.h"
#include "model/xml/XmlErrors.h"

namespace velkar {

namespace {

namespace fs = std::filesystem;

// The file `NormalizeJpkFile` cleans, opened and locked (two programs cleaning one file
// take turns) and its bytes mapped where the platform can (a large file then costs no
// copy), read into memory elsewhere. The file is never written in place: a new text
// replaces it through a rename, so the mapping keeps the old bytes.
class LockedFileBytes {
 public:
  explicit LockedFileBytes(const std::string& fileName) {
#if defined(__unix__) || defined(__APPLE__)
    fd_ = ::open(fileName.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) Fail("Nie można otworzyć pliku %s (%s)", fileName, std::strerror(errno));
    try {
      ::flock(fd_, LOCK_EX);
      struct stat info {};
      if (::fstat(fd_, &info) != 0) Fail("Nie można odczytać pliku %s (%s)", fileName, std::strerror(errno));
      if (!S_ISREG(info.st_mode)) Fail("%s nie jest zwykłym plikiem", fileName);
      if (info.st_size == 0) return;
      void* map = ::mmap(nullptr, static_cast<size_t>(info.st_size), PROT_READ, MAP_PRIVATE, fd_, 0);
      if (map != MAP_FAILED) {
        map_ = map;
        size_ = static_cast<size_t>(info.st_size);
        ::madvise(map_, size_, MADV_SEQUENTIAL);
        return;
      }
      copy_ = ReadWholeFile(fileName);
    } catch (...) {
      ::close(fd_);
      throw;
    }
#else
    copy_ = ReadWholeFile(fileName);
#endif
  }
  ~LockedFileBytes() {
#if defined(__unix__) || defined(__APPLE__)
    if (map_) ::munmap(map_, size_);
    if (fd_ >= 0) ::close(fd_);  // releases the lock
#endif
  }
  LockedFileBytes(const LockedFileBytes&) = delete;
  LockedFileBytes& operator=(const LockedFileBytes&) = delete;
  std::string_view View() const { return map_ ? std::string_view(static_cast<const char*>(map_), size_) : copy_; }

 private:
  int fd_ = -1;
  void* map_ = nullptr;
  size_t size_ = 0;
  std::string copy_;
};

// The regular file `fileName` stands for: a symbolic link is followed to the file it
// points to (that file is the one cleaned). A missing name or anything other than a
// regular file (a folder, a device) is refused before anything is moved or written.
std::string RegularFileBehind(const std::string& fileName) {
  std::error_code error;
  fs::file_status status = fs::status(fileName, error);
  if (!fs::exists(status)) Fail("Brak pliku %s", fileName);
  if (!fs::is_regular_file(status)) Fail("%s nie jest zwykłym plikiem", fileName);
  fs::path real = fs::canonical(fileName, error);
  if (error) Fail("Brak pliku %s", fileName);
  return real.string();
}

// Whether the text is in UTF-16 or UTF-32 (with or without a byte-order mark): its line
// breaks are not single bytes, so it is turned into UTF-8 before it is cleaned.
bool IsWideText(std::string_view text) {
  auto starts = [&](std::string_view prefix) { return text.starts_with(prefix); };
  using namespace std::string_view_literals;
  return starts("\xFE\xFF"sv) || starts("\xFF\xFE"sv) || starts("\0<"sv) || starts("<\0"sv) ||
         starts("\0\0\xFE\xFF"sv);
}

// Raised when a loaded file is not a JPK_V7M(2) or JPK_V7M(3) document.
struct NotJpkV7 {};

void RequireJpkV7(const v7m::IXMLJPK& doc) {
  if (!doc || doc.LocalName() != "JPK" || !v7m::StructureOfJpkV7(doc)) throw NotJpkV7{};
}

// Rows of one structure cannot go into a document of the other: their KSeF elements,
// K_360 and the declaration differ. Documents of an unknown structure pass (as before).
void RequireSameStructure(const v7m::IXMLJPK& loaded, const v7m::IXMLJPK& added) {
  std::optional<v7m::V7Structure> mine = loaded ? v7m::StructureOfJpkV7(loaded) : std::nullopt;
  std::optional<v7m::V7Structure> theirs = added ? v7m::StructureOfJpkV7(added) : std::nullopt;
  if (mine && theirs && *mine != *theirs)
    Fail("Nie można połączyć plików o różnych strukturach: %s i %s", v7m::SystemCode(*mine), v7m::SystemCode(*theirs));
}

// Whether any of the eight bytes of `word` is a carriage return or a line feed.
inline bool HasLineBreak(uint64_t word) {
  constexpr uint64_t kOnes = 0x0101010101010101ull, kHighs = 0x8080808080808080ull;
  uint64_t cr = word ^ (kOnes * '\r'), lf = word ^ (kOnes * '\n');
  return (((cr - kOnes) & ~cr) | ((lf - kOnes) & ~lf)) & kHighs;
}

// The text with its line breaks removed: a carriage return becomes one blank unless the
// character before it is a blank or ">" (a break inside element text joins the two lines
// with a blank, a break between tags leaves nothing); a line feed after a carriage return
// disappears, and a line feed alone (a file with LF line ends) counts as a carriage
// return, so that it does not join two words. The character before the first counts as a
// carriage return. A UTF-8 byte-order mark is not copied.
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
      bool breaks = *from == '\r' || previous != '\r';
      if (breaks && previous != ' ' && previous != '>') *to++ = ' ';
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
  // Nothing on disk changes until the new text is ready: the file as it was is copied to
  // the backup folder, then replaced whole through a scratch file of its own beside it.
  // Any failure on the way leaves the file as it was.
  const std::string target = RegularFileBehind(fileName);
  LockedFileBytes bytes(target);
  std::string_view original = bytes.View();
  if (original.empty()) {
    CopyToBackup(target, kEditorBackupPrefix, original);
    ShowInfo("Brak danych do odczytu");
    return false;
  }

  auto document = xml::TXMLDocument::Create();
  // The text read names the file it came from (it was read from memory).
  auto load = [&](std::string_view text) {
    try {
      document->LoadFromXML(text);
    } catch (const xml::EXMLDocError& error) {
      throw xml::EXMLDocError(ReplaceAll(error.what(), "(tekst XML)", fileName));
    }
  };
  // A UTF-16 or UTF-32 file is read as it is and cleaned as UTF-8 text.
  const bool wide = IsWideText(original);
  std::string utf8;
  if (wide) {
    load(original);
    document->SetEncoding("UTF-8");
    utf8 = document->SaveToXML();
  }
  std::string_view text = wide ? std::string_view(utf8) : original;

  try {
    load(JoinedText(text).View());
  } catch (const xml::EXMLDocError&) {
    // The joined text has one line: the error is told again with the lines of the file
    // as the user has them, when the file itself is at fault too.
    load(text);
    throw;
  }
  document->SetEncoding("UTF-8");
  // A file in the program's own form is recognised by a walk of the tree; any other is
  // written out by the formatter and compared as it goes.
  bool same = !wide && reindent::QuickSame(document->ConstDOMDocument(), original);
  std::string formatted;
  if (!same) {
    reindent::Text reindented(document->DOMDocument(), text);
    if (reindented.Same())
      formatted = std::string(text);
    else
      formatted = reindented.Differing();
    same = !wide && reindented.Same();
  }

  CopyToBackup(target, kEditorBackupPrefix, original);
  // The re-indented text stands for the document just read. When it comes out as long as
  // the original, the original stays (and the document still stands for it when the two
  // texts are the same); otherwise the re-indented text replaces it.
  bool reusable = true;
  if (same || (!wide && formatted.size() == original.size()))
    reusable = same;
  else
    WriteFileAtomically(target, formatted);
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
    // The earlier publication of JPK_V7M(2) is read as the current one (and saved so).
    OpenEarlierV7mPublication(doc);
    RequireJpkV7(doc);
    // A merge that must be refused is refused before the prefix check may rewrite the file.
    RequireSameStructure(LoadedJpk, doc);
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
    ShowErrorBox("Zła struktura pliku. Brak zgodności z JPK_V7M (2) ani JPK_V7M (3)");
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
  RequireSameStructure(LoadedJpk, GJPK);
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
  // JPK_V7M(3) compares the stamp as an instant: it is written in UTC.
  if (xml::TXMLNode naglowek = LoadedJpk.FindChild("Naglowek"))
    v7m::IXMLJPK_Naglowek(naglowek, xml::kUnchecked)
        .Set_DataWytworzeniaJPK(LoadedStructure() == v7m::V7Structure::V3 ? JpkCreationStampUtc() : JpkCreationStamp());
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
