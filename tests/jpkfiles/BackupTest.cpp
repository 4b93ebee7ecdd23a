// The backup move and its two failures.
#include <gtest/gtest.h>

#include <filesystem>

#include "base/Error.h"
#include "jpkfiles/Backup.h"
#include "tests/support/TempDir.h"

using namespace velkar;

TEST(MoveToBackup, MovesTheFileIntoANewBackupFolderUnderThePrefix) {
  test::TempDir dir;
  std::string file = dir.Write("dane/2024-03_JPK_V7M.xml", "stary");
  EXPECT_EQ(MoveToBackup(file, '~'), dir.File("dane/backup/~2024-03_JPK_V7M.xml"));
  EXPECT_FALSE(std::filesystem::exists(file));
  EXPECT_EQ(test::ReadFile(dir.File("dane/backup/~2024-03_JPK_V7M.xml")), "stary");
}

TEST(MoveToBackup, ANewerBackupReplacesTheOlderOne) {
  test::TempDir dir;
  dir.Write("backup/_a.xml", "pierwszy");
  std::string file = dir.Write("a.xml", "drugi");
  EXPECT_EQ(MoveToBackup(file, '_'), dir.File("backup/_a.xml"));
  EXPECT_EQ(test::ReadFile(dir.File("backup/_a.xml")), "drugi");
}

TEST(MoveToBackup, ABareFileNameKeepsItsBackupBesideIt) {
  test::TempDir dir;
  dir.Write("a.xml", "x");
  test::ChangeDir here(dir.Path());
  EXPECT_EQ(MoveToBackup("a.xml", '~'), dir.File("backup/~a.xml"));
}

TEST(MoveToBackup, WithoutABackupFolderTheCopyGoesIntoTheFilesFolder) {
  test::TempDir dir;
  dir.Write("backup", "a file where the folder would be");
  std::string file = dir.Write("a.xml", "x");
  EXPECT_EQ(MoveToBackup(file, '~'), dir.File("~a.xml"));
  EXPECT_EQ(test::ReadFile(dir.File("~a.xml")), "x");
}

TEST(MoveToBackup, FailuresNameTheBackupAndLeaveTheFile) {
  test::TempDir dir;
  std::string file = dir.Write("a.xml", "x");
  dir.Write("backup/~a.xml/inside", "a folder in the way");
  try {
    MoveToBackup(file, '~');
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Nie można usunąć starej kopii zapasowej:\r" + dir.File("backup/~a.xml") + " (")) << e.what();
  }
  EXPECT_EQ(test::ReadFile(file), "x");

  try {
    MoveToBackup(dir.File("none.xml"), '~');
    FAIL() << "no error";
  } catch (const Error& e) {
    EXPECT_TRUE(std::string(e.what()).starts_with("Nie można utworzyć kopii zapasowej:\r" + dir.File("backup/~none.xml") + " (")) << e.what();
  }
}
