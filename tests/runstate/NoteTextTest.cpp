// The saved-notes texts: settings values, section display flags and the note lines.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "runstate/NoteSettingsText.h"
#include "runstate/SavedNotesReader.h"

namespace {

using Lines = std::vector<std::string>;

Lines Load(const std::string& text) {
  Lines lines{"left over from an earlier call"};
  LoadNoteLines(text, lines);
  return lines;
}

}  // namespace

TEST(NoteSettingsText, InputModeReadsTheNumberAfterTheEqualsSign) {
  EXPECT_TRUE(InputModeInText("[Main]\r\nInputMode = 2\r\nOther=0\r\n"));
  EXPECT_TRUE(InputModeInText("InputMode=1"));
  EXPECT_FALSE(InputModeInText("InputMode=0\r\nNote=1\r\n"));
  EXPECT_FALSE(InputModeInText("Mode=1\r\nNote=1\r\n"));
  EXPECT_FALSE(InputModeInText("InputMode"));
  EXPECT_FALSE(InputModeInText("InputMode=-3"));
  EXPECT_FALSE(InputModeInText(""));
  // The value stops at the line end: a number on the next line is not read.
  EXPECT_FALSE(InputModeInText("InputMode=\r\n5"));
}

TEST(NoteSettingsText, NoteFlagNeedsAValueAfterTheKey) {
  EXPECT_TRUE(NoteFlagInText("Title=x\r\nNote=1\r\n"));
  EXPECT_FALSE(NoteFlagInText("Note=0\r\n"));
  EXPECT_FALSE(NoteFlagInText("Title=x\r\nNote="));
  EXPECT_FALSE(NoteFlagInText("Notes=1"));
  EXPECT_FALSE(NoteFlagInText(""));
}

TEST(NoteSettingsText, DispFlagsFollowTheSectionsInOrder) {
  uint8_t flags[kNoteDispFlagCount] = {};
  NoteDispFlagsInText("InputMode=1\r\n[Note_0]\r\nDisp=1\r\n[Note_1]\r\nDisp=0\r\n[Note_2]\r\nDisp=1\r\n",
                      flags);
  EXPECT_EQ(1, flags[0]);
  EXPECT_EQ(0, flags[1]);
  EXPECT_EQ(1, flags[2]);
  EXPECT_EQ(0, flags[3]);
}

TEST(NoteSettingsText, SectionWithoutDispTakesTheNextValue) {
  uint8_t flags[kNoteDispFlagCount] = {};
  NoteDispFlagsInText("[Note_0]\r\nTitle=a\r\n[Note_1]\r\nDisp=3\r\n[Note_2]\r\nDisp=4\r\n", flags);
  EXPECT_EQ(3, flags[0]);
  EXPECT_EQ(4, flags[1]);
  EXPECT_EQ(0, flags[2]);
}

TEST(NoteSettingsText, DispValueIsCutToAByte) {
  uint8_t flags[kNoteDispFlagCount] = {};
  NoteDispFlagsInText("[Note_0]\r\nDisp=257\r\n", flags);
  EXPECT_EQ(1, flags[0]);
}

TEST(NoteSettingsText, SectionHeadAtTheEndOfTheTextIsNotReadPast) {
  uint8_t flags[kNoteDispFlagCount] = {};
  NoteDispFlagsInText("[Note_0]\r\nDisp=2\r\n[Note_", flags);
  EXPECT_EQ(2, flags[0]);
  EXPECT_EQ(0, flags[1]);
  NoteDispFlagsInText("[Note_1", flags);
  EXPECT_EQ(0, flags[1]);
  // A text that ends right after "Disp=" ends the walk with the value 0.
  flags[0] = 9;
  NoteDispFlagsInText("[Note_0]\r\nDisp=", flags);
  EXPECT_EQ(0, flags[0]);
}

TEST(NoteSettingsText, SectionsPastTheFiftiethAreIgnored) {
  struct {
    uint8_t flags[kNoteDispFlagCount];
    uint8_t guard[8];
  } area{};
  std::string text;
  for (int i = 0; i < 60; ++i)
    text += "[Note_" + std::to_string(i) + "]\r\nDisp=" + std::to_string(i + 1) + "\r\n";
  NoteDispFlagsInText(text, area.flags);
  EXPECT_EQ(1, area.flags[0]);
  EXPECT_EQ(50, area.flags[49]);
  for (uint8_t guard : area.guard) EXPECT_EQ(0, guard);
}

TEST(LoadNoteLines, SplitsAtCrLfAndKeepsEmptyLines) {
  EXPECT_EQ((Lines{"A&B", "", "C"}), Load("A&amp;B\r\n\r\nC"));
  EXPECT_EQ((Lines{"A", "B"}), Load("A\r\nB\r\n"));
  EXPECT_EQ((Lines{"", "x"}), Load("\r\nx"));
}

TEST(LoadNoteLines, TextWithoutBreaksIsOneDecodedLine) {
  EXPECT_EQ((Lines{"<ID>1</ID> \"q\" 'a'"}), Load("&lt;ID&gt;1&lt;/ID&gt; &quot;q&quot; &apos;a&apos;"));
}

TEST(LoadNoteLines, EmptyTextGivesNoLines) { EXPECT_EQ(Lines{}, Load("")); }

TEST(LoadNoteLines, DecodesInOnePass) {
  EXPECT_EQ((Lines{"&lt;"}), Load("&amp;lt;"));
  EXPECT_EQ((Lines{"&foo; & &amp"}), Load("&foo; & &amp"));
  // A lone CR or LF is not a break.
  EXPECT_EQ((Lines{"a\rb\nc"}), Load("a\rb\nc"));
}

TEST(LoadNoteLines, KeepsDoubleByteText) {
  const std::string text = "\x92\x8d\x8b\x4c&amp;\x95\x5c\r\n\x8e\xd0";  // 注記&表 / 社 in code page 932
  EXPECT_EQ((Lines{"\x92\x8d\x8b\x4c&\x95\x5c", "\x8e\xd0"}), Load(text));
}
