// The element writer: line composition, escaping, attributes and the failure rule.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "XmlTestSupport.h"
#include "platform/Faults.h"
#include "xmlout/XmlElementWriter.h"

TEST(XmlElementWriter, EscapesTheFiveCharactersInTextAndIndentsByLevel) {
  const std::string bytes =
      Capture([](XmlElementWriter& xml) { return xml.WriteElement("X", "A&B<C>\"'", 2); });
  EXPECT_TRUE(SameBytes("\t\t<X>A&amp;B&lt;C&gt;&quot;&apos;</X>\r\n", bytes));
}

TEST(XmlElementWriter, DoubleByteCharactersWithBackslashOrBarSecondBytesPassUnchanged) {
  // ソ is 0x83 0x5C and 竹 is 0x92 0x7C; neither second byte may be altered.
  const std::string text = Cp932("ソ竹表");
  ASSERT_EQ(std::string("\x83\x5C\x92\x7C\x95\x5C", 6), text);
  const std::string bytes =
      Capture([&](XmlElementWriter& xml) { return xml.WriteElement("N", text, 0, "Label", text.c_str()); });
  EXPECT_TRUE(SameBytes("<N Label=\"" + text + "\">" + text + "</N>\r\n", bytes));
}

TEST(XmlElementWriter, AttributesAreWrittenOnlyWhenNameAndValueAreGiven) {
  // One statement per line: the operands of & are evaluated in no fixed order.
  const std::string bytes = Capture([](XmlElementWriter& xml) {
    int written = xml.StartElement("S", 1, "Label", "a<b", "Amount", "");
    written &= xml.StartElement("S", 1, "Label", nullptr, "Amount", "5");
    written &= xml.StartElement("S", 1, "Label", "x", "Amount", nullptr);
    written &= xml.WriteElement("E", "", 3, "Label", "L", "Amount", "");
    written &= xml.WriteElement("E", "t", 0, nullptr, "v", "Amount", "1");
    written &= xml.EndElement("S", 0);
    written &= xml.EndElement("S", -2);
    return written;
  });
  EXPECT_TRUE(SameBytes(Lines({
                            "\t<S Label=\"a&lt;b\" Amount=\"\">",
                            "\t<S>",
                            "\t<S Label=\"x\">",
                            "\t\t\t<E Label=\"L\" Amount=\"\"></E>",
                            "<E>t</E>",
                            "</S>",
                            "</S>",
                        }),
                        bytes));
}

TEST(XmlElementWriter, ControlCharactersInValuesPassAsTheyAre) {
  const std::string bytes =
      Capture([](XmlElementWriter& xml) { return xml.WriteElement("T", "a\tb\r\nc", 0); });
  EXPECT_TRUE(SameBytes("<T>a\tb\r\nc</T>\r\n", bytes));
}

TEST(XmlElementWriter, LongValuesAreWrittenWhole) {
  const std::string longText(700, 'x');
  const std::string bytes =
      Capture([&](XmlElementWriter& xml) { return xml.WriteElement("Line", longText + "&", 5); });
  EXPECT_TRUE(SameBytes("\t\t\t\t\t<Line>" + longText + "&amp;</Line>\r\n", bytes));
}

TEST(XmlElementWriter, AFileThatCannotBeCreatedFailsEveryWrite) {
  TempFolder folder;
  XmlElementWriter xml;
  EXPECT_FALSE(xml.Open(folder.Windows("missing\\a.xml")));
  EXPECT_FALSE(xml.WriteRaw("x"));
  EXPECT_FALSE(xml.StartElement("A", 0));
  EXPECT_FALSE(xml.Close());
  EXPECT_FALSE(xml.Close());
}

TEST(XmlElementWriter, AfterAFailedWriteLaterWritesFailAndAddNothing) {
  TempFolder folder;
  XmlElementWriter xml;
  ASSERT_TRUE(xml.Open(folder.Windows("a.xml")));
  EXPECT_TRUE(xml.WriteElement("A", "1", 0));
  platform::faults::Set("FileWrite#1");
  EXPECT_FALSE(xml.WriteElement("B", "2", 0));
  platform::faults::Clear();
  EXPECT_FALSE(xml.WriteElement("C", "3", 0));
  EXPECT_FALSE(xml.EndElement("D", 0));
  EXPECT_FALSE(xml.Close());
  EXPECT_TRUE(SameBytes("<A>1</A>\r\n", ReadBytes(folder.LinuxPath("a.xml"))));
}

// The ledger rows' batched lines: the same bytes as the single calls, whether the characters
// to escape begin, end or fill a value or stand side by side, or a value is longer than the
// writer's buffer for a row; a plain text passes as given.
TEST(XmlElementWriter, BatchedLinesEscapeAsTheSingleCallsDo) {
  const std::pair<std::string, std::string> cases[] = {
      {"", ""},
      {"plain", "plain"},
      {"&", "&amp;"},
      {"&lead", "&amp;lead"},
      {"trail>", "trail&gt;"},
      {"a&&b<<c", "a&amp;&amp;b&lt;&lt;c"},
      {"\"''\"", "&quot;&apos;&apos;&quot;"},
      {"\x81\x95\xff&", "\x81\x95\xff&amp;"},
      {std::string(5000, '"'),
       [] {
         std::string all;
         for (int i = 0; i < 5000; ++i) all += "&quot;";
         return all;
       }()},
  };
  for (const auto& [value, escaped] : cases) {
    SCOPED_TRACE(value);
    const std::string single =
        Capture([&](XmlElementWriter& xml) { return xml.WriteElement("V", value, 1); });
    EXPECT_TRUE(SameBytes("\t<V>" + escaped + "</V>\r\n", single));
    const std::string batched = Capture([&](XmlElementWriter& xml) {
      xml.BeginLines();
      xml.AddStartLine("R", 0);
      xml.AddTextLine("V", value, 1);
      xml.AddPlainLine("N", "-120", 1);
      xml.AddTextLine("V", value, 1);
      xml.AddEndLine("R", 0);
      return xml.WriteLines();
    });
    EXPECT_TRUE(SameBytes(
        "<R>\r\n\t<V>" + escaped + "</V>\r\n\t<N>-120</N>\r\n\t<V>" + escaped + "</V>\r\n</R>\r\n", batched));
  }
}
