// The host's command line: parent mode only with all three commas, the rest is the path.
#include <gtest/gtest.h>

#include "app/HostCommandLine.h"

namespace {

struct Parse {
  bool parentMode;
  HostCommandLine fields;
};

Parse ParseLine(const std::string& line) {
  Parse p{};
  p.parentMode = ParseHostCommandLine(line, p.fields);
  return p;
}

}  // namespace

TEST(HostCommandLine, FourFieldsGiveParentMode) {
  const Parse p = ParseLine("1048577,32769,5,C:\\Out\\a.xml");
  EXPECT_TRUE(p.parentMode);
  EXPECT_EQ(1048577, p.fields.hostWindow);
  EXPECT_EQ(32769u, p.fields.notifyMessage);
  EXPECT_EQ(5, p.fields.functionId);
  EXPECT_EQ("C:\\Out\\a.xml", p.fields.hostOutputPath);
}

TEST(HostCommandLine, CommasInTheFourthFieldStayInThePath) {
  const Parse p = ParseLine("7,8,9,C:\\a,b\\c,d.xml");
  EXPECT_TRUE(p.parentMode);
  EXPECT_EQ(9, p.fields.functionId);
  EXPECT_EQ("C:\\a,b\\c,d.xml", p.fields.hostOutputPath);
}

TEST(HostCommandLine, EndingAfterTheThirdCommaIsParentModeWithoutPath) {
  const Parse p = ParseLine("7,8,4,");
  EXPECT_TRUE(p.parentMode);
  EXPECT_EQ(4, p.fields.functionId);
  EXPECT_EQ("", p.fields.hostOutputPath);
}

TEST(HostCommandLine, MissingCommasKeepWhatWasParsedButNoParentMode) {
  const Parse empty = ParseLine("");
  EXPECT_FALSE(empty.parentMode);
  EXPECT_EQ(0, empty.fields.hostWindow);
  EXPECT_EQ(3, empty.fields.functionId);

  const Parse none = ParseLine("12345");
  EXPECT_FALSE(none.parentMode);
  EXPECT_EQ(0, none.fields.hostWindow);

  const Parse two = ParseLine("12345,99");
  EXPECT_FALSE(two.parentMode);
  EXPECT_EQ(12345, two.fields.hostWindow);
  EXPECT_EQ(0u, two.fields.notifyMessage);

  const Parse three = ParseLine("12345,99,7");
  EXPECT_FALSE(three.parentMode);
  EXPECT_EQ(99u, three.fields.notifyMessage);
  EXPECT_EQ(3, three.fields.functionId);
  EXPECT_EQ("", three.fields.hostOutputPath);
}

TEST(HostCommandLine, NumbersAreReadLikeAtol) {
  const Parse p = ParseLine(" 42x, +7 ,-2,");
  EXPECT_TRUE(p.parentMode);
  EXPECT_EQ(42, p.fields.hostWindow);
  EXPECT_EQ(7u, p.fields.notifyMessage);
  EXPECT_EQ(-2, p.fields.functionId);
  const Parse words = ParseLine("a,b,c,d");
  EXPECT_TRUE(words.parentMode);
  EXPECT_EQ(0, words.fields.hostWindow);
  EXPECT_EQ(0, words.fields.functionId);
}

TEST(HostCommandLine, LongLineIsParsedWhole) {
  const std::string path = "C:\\" + std::string(400, 'p') + ".xml";
  const Parse p = ParseLine(std::string(300, ' ') + "1,2,3," + path);
  EXPECT_TRUE(p.parentMode);
  EXPECT_EQ(1, p.fields.hostWindow);
  EXPECT_EQ(path, p.fields.hostOutputPath);
}
