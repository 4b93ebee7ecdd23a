// The output form of JPK files and its transactional write.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>

#include <filesystem>

#include "base/Error.h"
#include "jpkfiles/XmlFiles.h"
#include "tests/support/TempDir.h"

using namespace velkar;

namespace {

size_t FilesIn(const std::string& dir) {
  return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(dir), {}));
}

// Lowers the file-size limit of the process for a scope, so that writing a file larger
// than `bytes` fails as on a full disk.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &old_);
    oldHandler_ = signal(SIGXFSZ, SIG_IGN);
    rlimit limited = old_;
    limited.rlim_cur = bytes;
    setrlimit(RLIMIT_FSIZE, &limited);
  }
  ~FileSizeLimit() {
    setrlimit(RLIMIT_FSIZE, &old_);
    signal(SIGXFSZ, oldHandler_);
  }

 private:
  rlimit old_{};
  sighandler_t oldHandler_;
};

}  // namespace

TEST(XmlFiles, ReformatWritesUtf8DeclarationOneElementPerLineAndTabs) {
  test::TempDir dir;
  // ISO-8859-2 input with a messy layout; "Łódź" is \xA3\xF3d\xBC there.
  std::string file = dir.Write("a.xml",
                               "<?xml version=\"1.0\" encoding=\"ISO-8859-2\"?>\r\n<JPK xmlns=\"urn:x\">  <A>\n"
                               "<B kod=\"1\">\xA3\xF3"
                               "d\xBC</B><C/>   </A><D> two  words </D>\n</JPK>");
  ReformatXmlFile(file);
  EXPECT_EQ(test::ReadFile(file),
            "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<JPK xmlns=\"urn:x\">\n\t<A>\n\t\t<B kod=\"1\">Łódź</B>\n"
            "\t\t<C/>\n\t</A>\n\t<D> two  words </D>\n</JPK>\n");
  // Reformatting an already formatted file changes nothing.
  std::string once = test::ReadFile(file);
  ReformatXmlFile(file);
  EXPECT_EQ(test::ReadFile(file), once);
}

TEST(XmlFiles, ReadingRefusesBrokenFilesWithTheLine) {
  test::TempDir dir;
  std::string file = dir.Write("a.xml", "<JPK>\n<A>\n</JPK>\n");
  try {
    ReadXmlFile(file);
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Błąd w pliku " + file + " (wiersz 3): ")) << e.what();
  }
  EXPECT_THROW(ReadXmlFile(dir.File("none.xml")), Error);
}

TEST(XmlFiles, ExternalEntitiesAreNeitherLoadedNorExpanded) {
  test::TempDir dir;
  dir.Write("secret.txt", "TAJNE");
  std::string file =
      dir.Write("a.xml", "<!DOCTYPE JPK [<!ENTITY s SYSTEM \"" + dir.File("secret.txt") +
                             "\"><!ENTITY n SYSTEM \"http://127.0.0.1:9/x\">]>\n<JPK><A>&s;&n;</A></JPK>");
  ReformatXmlFile(file);
  std::string text = test::ReadFile(file);
  EXPECT_EQ(text.find("TAJNE"), std::string::npos);
  EXPECT_NE(text.find("<A>&s;&n;</A>"), std::string::npos) << text;
}

TEST(XmlFiles, AFolderThatCannotBeWrittenLeavesNothingBehind) {
  test::TempDir dir;
  dir.Write("plik", "x");
  std::string source = dir.Write("a.xml", "<JPK><A>1</A></JPK>");
  XmlDocPtr doc = ReadXmlFile(source);
  try {
    WriteFormattedXml(doc.get(), dir.File("plik/a.xml"));
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Nie można zapisać pliku " + dir.File("plik/a.xml"))) << e.what();
  }
  EXPECT_EQ(test::ReadFile(dir.File("plik")), "x");
  EXPECT_EQ(FilesIn(dir.Path()), 2u);
}

TEST(XmlFiles, AWriteFailureHalfwayKeepsTheOldFile) {
  test::TempDir dir;
  std::string content = "<JPK>";
  for (int i = 0; i < 2000; ++i) content += "<Wiersz>" + std::to_string(i) + "</Wiersz>";
  content += "</JPK>";
  std::string target = dir.Write("a.xml", "<JPK><Stary/></JPK>");
  XmlDocPtr doc = ReadXmlFile(dir.Write("src/big.xml", content));
  {
    FileSizeLimit limit(4096);
    EXPECT_THROW(WriteFormattedXml(doc.get(), target), Error);
  }
  EXPECT_EQ(test::ReadFile(target), "<JPK><Stary/></JPK>");
  EXPECT_EQ(FilesIn(dir.Path()), 2u);    // a.xml and src/: no temporary file left
  WriteFormattedXml(doc.get(), target);  // the same write without the limit succeeds
  EXPECT_NE(test::ReadFile(target).find("\t<Wiersz>1999</Wiersz>\n"), std::string::npos);
}
