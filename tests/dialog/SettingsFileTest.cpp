// The settings file's line format, the key match and the rewrite that keeps one line per key.
#include "dialog/SettingsFile.h"

#include <gtest/gtest.h>

#include <string>

namespace {

SettingsValues Values(int16_t first, int16_t last, int16_t kind, int32_t ledger, std::string path) {
  return SettingsValues{first, last, kind, ledger, std::move(path)};
}

TEST(SettingsLineFormat, KeyAndValuesAsStored) {
  const std::string key = SettingsKey("admin", 1, 23);
  EXPECT_EQ("admin/1/23:", key);
  EXPECT_EQ("admin/1/23:4/3/1/1/C:\\Out\\a.xml\n", SettingsLine(key, Values(4, 3, 1, 1, "C:\\Out\\a.xml")));
  EXPECT_EQ("admin/1/23:10/9/2/0/\n", SettingsLine(key, Values(10, 9, 2, 0, "")));
  EXPECT_EQ("u/-1/0:0/0/1/1/\n", SettingsLine(SettingsKey("u", -1, 0), Values(0, 0, 1, 1, "")));
}

TEST(SettingsRead, FourNumbersAndThreeNumbers) {
  SettingsValues v;
  ASSERT_TRUE(FindSettings("a/1/2:4/3/2/0/C:\\x.xml\n", "a/1/2:", v));
  EXPECT_EQ(4, v.firstMonth);
  EXPECT_EQ(3, v.lastMonth);
  EXPECT_EQ(2, v.kind);
  EXPECT_EQ(0, v.withLedger);
  EXPECT_EQ("C:\\x.xml", v.path);

  SettingsValues three;
  three.withLedger = 0;
  ASSERT_TRUE(FindSettings("a/1/2:10/9/1/D:\\Out\\b.xml", "a/1/2:", three));
  EXPECT_EQ(10, three.firstMonth);
  EXPECT_EQ(9, three.lastMonth);
  EXPECT_EQ(1, three.kind);
  EXPECT_EQ(1, three.withLedger);
  EXPECT_EQ("D:\\Out\\b.xml", three.path);
}

TEST(SettingsRead, PathWithDoubleByteSeparatorByteKeptWhole) {
  // 表 is 0x95 0x5C in code page 932; the path is taken after the last "/" only.
  const std::string path = "C:\\\x95\x5C\\a.xml";
  SettingsValues v;
  ASSERT_TRUE(FindSettings("k/0/0:1/12/1/1/" + path + "\n", "k/0/0:", v));
  EXPECT_EQ(path, v.path);
}

TEST(SettingsRead, KeyMatchesOnlyAtTheStartOfALine) {
  SettingsValues v;
  // The key inside another user's id, and inside a path, is not this key's line.
  EXPECT_FALSE(FindSettings("xa/1/2:4/3/1/1/\nb/1/1:4/3/1/1/C:\\a/1/2:\n", "a/1/2:", v));
  // A longer selection number is another key.
  EXPECT_FALSE(FindSettings("a/1/22:4/3/1/1/\n", "a/1/2:", v));
  ASSERT_TRUE(FindSettings("xa/1/2:5/5/1/1/\na/1/2:6/7/1/1/p\n", "a/1/2:", v));
  EXPECT_EQ(6, v.firstMonth);
  EXPECT_EQ("p", v.path);
}

TEST(SettingsRead, HandEditedLinesAreIgnored) {
  SettingsValues v;
  EXPECT_FALSE(FindSettings("a/1/2:4/3\n", "a/1/2:", v));
  EXPECT_FALSE(FindSettings("a/1/2:\n", "a/1/2:", v));
  EXPECT_FALSE(FindSettings("a/1/2:4/3/1/1/" + std::string(600, 'x') + "\n", "a/1/2:", v));
  EXPECT_FALSE(FindSettings("", "a/1/2:", v));
  EXPECT_EQ(0, v.firstMonth);  // untouched by the refused lines
  // A sound line after a broken one for the same key is taken.
  ASSERT_TRUE(FindSettings("a/1/2:4/3\na/1/2:1/12/1/0/q\n", "a/1/2:", v));
  EXPECT_EQ(12, v.lastMonth);
}

TEST(SettingsRead, CarriageReturnOfAWindowsEditorIsNoPartOfThePath) {
  SettingsValues v;
  ASSERT_TRUE(FindSettings("b/0/0:1/1/1/1/y\r\na/1/2:4/3/2/0/C:\\x.xml\r\n", "a/1/2:", v));
  EXPECT_EQ("C:\\x.xml", v.path);
  EXPECT_EQ(0, v.withLedger);
  SettingsValues empty;
  ASSERT_TRUE(FindSettings("a/1/2:4/3/1/\r\n", "a/1/2:", empty));
  EXPECT_EQ("", empty.path);
  EXPECT_EQ(1, empty.withLedger);
}

TEST(SettingsRewrite, OldLineRemovedNewLineLast) {
  const std::string content = "a/1/1:4/3/1/1/x\nb/1/1:1/12/1/1/y\na/1/2:4/3/1/1/z\n";
  EXPECT_EQ("b/1/1:1/12/1/1/y\na/1/2:4/3/1/1/z\na/1/1:5/3/2/0/w\n",
            ReplaceSettingsLine(content, "a/1/1:", "a/1/1:5/3/2/0/w\n"));
  EXPECT_EQ(content + "c/0/0:1/1/1/1/\n", ReplaceSettingsLine(content, "c/0/0:", "c/0/0:1/1/1/1/\n"));
  EXPECT_EQ("n/0/0:1/1/1/1/\n", ReplaceSettingsLine("", "n/0/0:", "n/0/0:1/1/1/1/\n"));
}

TEST(SettingsRewrite, UnterminatedLastLineAndDuplicates) {
  // A hand-edited file without a final line feed still gets the new line on a line of its own,
  // and every line of the key goes, so one line per key remains.
  EXPECT_EQ("b/1/1:1/1/1/1/y\nn/0/0:2/2/1/1/\n",
            ReplaceSettingsLine("b/1/1:1/1/1/1/y", "n/0/0:", "n/0/0:2/2/1/1/\n"));
  EXPECT_EQ("b/0/0:1/1/1/1/\nk/0/0:3/3/1/1/\n",
            ReplaceSettingsLine("k/0/0:1\nb/0/0:1/1/1/1/\nk/0/0:2/2/1/1/\n", "k/0/0:", "k/0/0:3/3/1/1/\n"));
}

TEST(SettingsRewrite, LargeFileHandledWhole) {
  std::string content;
  for (int i = 0; i < 2000; ++i)
    content += SettingsLine(SettingsKey("user", i, i), Values(4, 3, 1, 1, "C:\\o.xml"));
  ASSERT_GT(content.size(), 32767u);
  const std::string oldLine = "user/7/7:4/3/1/1/C:\\o.xml\n";
  const std::string newLine = "user/7/7:1/1/1/1/\n";
  ASSERT_NE(std::string::npos, content.find(oldLine));
  std::string rewritten = ReplaceSettingsLine(content, SettingsKey("user", 7, 7), newLine);
  EXPECT_EQ(content.size() - oldLine.size() + newLine.size(), rewritten.size());
  EXPECT_EQ(std::string::npos, rewritten.find(oldLine));
  SettingsValues v;
  ASSERT_TRUE(FindSettings(rewritten, SettingsKey("user", 1999, 1999), v));
  EXPECT_EQ("C:\\o.xml", v.path);
  EXPECT_EQ(newLine, rewritten.substr(rewritten.size() - newLine.size()));
}

}  // namespace
