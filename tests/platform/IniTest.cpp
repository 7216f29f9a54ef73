// Private-profile reads with the Windows rules: case-insensitive names (single-byte letters
// only), trimmed and unquoted values, defaults, empty values and the buffer size.
#include "platform/Ini.h"

#include <gtest/gtest.h>

#include "platform/WinFs.h"
#include "tests/platform/TempDrives.h"

namespace win = platform::win;

namespace {

class IniTest : public platform::testing::TempDrives {
 protected:
  void SetUp() override {
    TempDrives::SetUp();
    Make("c");
    UseMap("C: @/c\n");
  }

  std::string Read(const std::string& content, const std::string& section, const std::string& key,
                   const std::string& defaultValue = "DEF", std::size_t bufferSize = 16) {
    WriteFile("c/a.ini", content);
    return win::GetPrivateProfileStringA(section, key, defaultValue, bufferSize, "C:\\a.ini");
  }
};

TEST_F(IniTest, SectionAndKeyMatchWithoutRegardToCase) {
  std::string ini = "[programlevel]\nrx52=4\n";
  EXPECT_EQ("4", Read(ini, "ProgramLevel", "RX52"));
  EXPECT_EQ("5", Read("[ProgramLevel]\r\nRX52=5\r\n", "PROGRAMLEVEL", "rx52"));
}

TEST_F(IniTest, DoubleByteNamesAreNotCaseFolded) {
  // ア is 0x83 0x41 and ヂ is 0x83 0x61: folding their second bytes would make them equal.
  std::string ini = "[\x83\x41]\nkey=a\n[\x83\x61]\nkey=b\n";
  EXPECT_EQ("a", Read(ini, "\x83\x41", "KEY"));
  EXPECT_EQ("b", Read(ini, "\x83\x61", "key"));
  EXPECT_EQ("t", Read("[s]\n\x95\x5C=t\n", "S", "\x95\x5C"));
}

TEST_F(IniTest, ValuesAreTrimmedAndLoseEnclosingQuotes) {
  std::string ini =
      "[s]\n"
      "  plain  =   3 a  \t\r\n"
      "dq=\" spaced \"\n"
      "sq='x'\n"
      "mixed=\"x'\n"
      "one=\"\n"
      "inner=a\"b\"\n"
      "comment=1 ; not a comment\n";
  EXPECT_EQ("3 a", Read(ini, "s", "plain"));
  EXPECT_EQ(" spaced ", Read(ini, "s", "dq"));
  EXPECT_EQ("x", Read(ini, "s", "sq"));
  EXPECT_EQ("\"x'", Read(ini, "s", "mixed"));
  EXPECT_EQ("\"", Read(ini, "s", "one"));
  EXPECT_EQ("a\"b\"", Read(ini, "s", "inner"));
  EXPECT_EQ("1 ; not a comment", Read(ini, "s", "comment", "DEF", 64));
}

TEST_F(IniTest, DefaultWhenSectionKeyOrFileIsAbsentButEmptyValueStaysEmpty) {
  std::string ini =
      "; [s]\n"
      "[other]\n"
      "k=other\n"
      "[s]\n"
      "empty=\n"
      "quotes=\"\"\n"
      "novalue\n"
      ";k=commented\n";
  EXPECT_EQ("", Read(ini, "s", "empty"));
  EXPECT_EQ("", Read(ini, "s", "quotes"));
  EXPECT_EQ("DEF", Read(ini, "s", "k"));
  EXPECT_EQ("DEF", Read(ini, "s", "novalue"));
  EXPECT_EQ("DEF", Read(ini, "missing", "k"));
  EXPECT_EQ("3", Read(ini, "s", "none", "3  "));
  EXPECT_EQ("3", win::GetPrivateProfileStringA("s", "k", "3", 16, "C:\\missing.ini"));
}

TEST_F(IniTest, FirstSectionAndFirstKeyOfANameWin) {
  std::string ini = "[s]\nk=1\nk=2\n[t]\nj=0\n[S]\nk=3\nj=4\n";
  EXPECT_EQ("1", Read(ini, "s", "k"));
  EXPECT_EQ("DEF", Read(ini, "s", "j"));
}

TEST_F(IniTest, ValueIsCutToTheBufferWithoutSplittingACharacter) {
  std::string ini = "[s]\nk=0123456789abcdefXYZ\nj=ab\x95\x5C\n";
  EXPECT_EQ("0123456789abcde", Read(ini, "s", "k"));
  EXPECT_EQ("0123", Read(ini, "s", "k", "DEF", 5));
  EXPECT_EQ("ab", Read(ini, "s", "j", "DEF", 4));
  EXPECT_EQ("ab\x95\x5C", Read(ini, "s", "j", "DEF", 5));
  EXPECT_EQ("", Read(ini, "s", "k", "DEF", 0));
  EXPECT_EQ("DE", Read(ini, "s", "none", "DEF", 3));
}

}  // namespace
