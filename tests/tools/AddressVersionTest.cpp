// Address line and the version text of a program file.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include "base/Error.h"
#include "tests/support/TempDir.h"
#include "tools/Address.h"
#include "tools/Version.h"

using namespace velkar;

TEST(Address, StreetPartFirstOrPostcodeFirstWithTwoBlanksBetween) {
  EXPECT_EQ(FormatAddress("00-950", "Warszawa", "Długa", false, "5", ""), "Długa 5  00-950 Warszawa");
  EXPECT_EQ(FormatAddress("00-950", "Warszawa", "Długa", true, "5", ""), "00-950 Warszawa  Długa 5");
  EXPECT_EQ(FormatAddress("00-950", "Warszawa", "Długa", false, "5", "12"), "Długa 5 12  00-950 Warszawa");
  EXPECT_EQ(FormatAddress("", "", "", false, "", ""), "");
  EXPECT_EQ(FormatAddress("", "", "", true, "", ""), "");
  EXPECT_EQ(FormatAddress("", "Kraków", "", false, "", ""), "Kraków");
}

TEST(Version, ReadsTheFourPartsOfTheVersionBlock) {
  test::TempDir dir;
  std::string file = dir.Write("prog", std::string("\x7f" "ELF junk") + MakeVersionBlock(1, 4, 2, 89) + "tail");
  EXPECT_EQ(FileVersionText(file), "ver 1.4.2 build 89");
}

TEST(Version, OurOwnExecutableCarriesTheProjectVersion) {
  std::string text = FileVersionText(RunningExecutablePath());
  EXPECT_TRUE(text.starts_with("ver ")) << text;
  EXPECT_NE(text.find(" build "), std::string::npos) << text;
}

TEST(Version, FileWithoutBlockOrMissingGivesTheFailureText) {
  test::TempDir dir;
  std::string plain = dir.Write("plain", "no version here");
  EXPECT_EQ(FileVersionText(plain), Format("GetFileVersionInfo failed: (%d) %s", ENODATA, std::strerror(ENODATA)));
  EXPECT_EQ(FileVersionText(dir.File("missing")), Format("GetFileVersionInfo failed: (%d) %s", ENOENT, std::strerror(ENOENT)));
}

TEST(Version, BlockWithoutFixedInformationGivesEmptyText) {
  test::TempDir dir;
  std::string block = MakeVersionBlock(1, 0, 0, 1);
  block[block.size() - 12] = 0;  // break the signature
  EXPECT_EQ(FileVersionText(dir.Write("prog", block)), "");
}

// The block is found through the executable's section table, not by reading the whole
// file: a copy with a different block written over its first bytes after the ELF header
// still gives the version of its own section.
TEST(Version, BlockIsTakenFromItsSectionNotFromTheFirstMatchInTheFile) {
  test::TempDir dir;
  std::string exe = test::ReadFile(RunningExecutablePath());
  std::string decoy = MakeVersionBlock(9, 9, 9, 9);
  ASSERT_GT(exe.size(), 64 + decoy.size());
  exe.replace(64, decoy.size(), decoy);
  std::string copy = dir.Write("prog", exe);
  EXPECT_EQ(FileVersionText(copy), FileVersionText(RunningExecutablePath()));
  EXPECT_NE(FileVersionText(copy), "ver 9.9.9 build 9");
}

TEST(Version, BlockAcrossTheReadingPiecesOfAFileWithoutSectionsIsFound) {
  test::TempDir dir;
  std::string file = dir.Write("prog", std::string((1 << 20) - 5, 'x') + MakeVersionBlock(2, 0, 1, 7));
  EXPECT_EQ(FileVersionText(file), "ver 2.0.1 build 7");
}
