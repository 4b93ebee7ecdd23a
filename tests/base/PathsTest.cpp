// Path helpers and the transactional file write.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include "base/Error.h"
#include "base/Paths.h"
#include "tests/support/TempDir.h"

using namespace velkar;

TEST(Paths, FileNamePartsAndExtensions) {
  EXPECT_EQ(ExtractFileName("/a/b/prog"), "prog");
  EXPECT_EQ(ExtractFilePath("/a/b/prog"), "/a/b/");
  EXPECT_EQ(ExtractFileDir("/a/b/prog"), "/a/b");
  EXPECT_EQ(ExtractFileExt("x/a.cfg"), ".cfg");
  EXPECT_EQ(ExtractFileExt("x.d/a"), "");
  EXPECT_EQ(ChangeFileExt("/x/a.cfg", ".ini"), "/x/a.ini");
  EXPECT_EQ(ChangeFileExt("b", ".ini"), "b.ini");
  EXPECT_EQ(NativePath("C:\\Dane\\"), "C:/Dane/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/srv/dane"), "/srv/dane/");
  EXPECT_EQ(IncludeTrailingPathDelimiter("/srv/dane/"), "/srv/dane/");
}

TEST(Paths, AtomicWriteReplacesTheWholeFile) {
  test::TempDir dir;
  std::string target = dir.Write("a.xml", "old");
  WriteFileAtomically(target, "new content");
  EXPECT_EQ(test::ReadFile(target), "new content");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(Paths, FailedWriteLeavesTheOldFileAndNoTemporaryFile) {
  test::TempDir dir;
  std::string target = dir.Write("a.xml", "old");
  EXPECT_THROW(ReplaceFileAtomically(target, [](const std::string&) { Fail("Brak miejsca na dysku"); }), Error);
  EXPECT_EQ(test::ReadFile(target), "old");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST(Paths, WriteIntoAFolderThatCannotBeWrittenGivesAPolishError) {
  if (geteuid() == 0) GTEST_SKIP() << "root writes into read-only folders";
  test::TempDir dir;
  std::string target = dir.Write("ro/a.xml", "old");
  chmod((dir.Path() + "ro").c_str(), 0555);
  try {
    WriteFileAtomically(target, "new");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_NE(std::string(e.what()).find("Nie można zapisać pliku"), std::string::npos);
  }
  EXPECT_EQ(test::ReadFile(target), "old");
}

TEST(Paths, WriteWhereTheFolderIsAFileFailsEvenForRoot) {
  test::TempDir dir;
  dir.Write("notafolder", "x");
  try {
    WriteFileAtomically(dir.File("notafolder/a.xml"), "new");
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Nie można zapisać pliku " + dir.File("notafolder/a.xml")));
  }
  EXPECT_EQ(test::ReadFile(dir.File("notafolder")), "x");
}
