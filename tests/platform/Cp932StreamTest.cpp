// The stream decoder gives iconv's conversion of the whole text, however the text is cut
// into chunks, and names the offset of the first byte that does not map.
#include <gtest/gtest.h>

#include <string>

#include "platform/Cp932.h"
#include "platform/Cp932Stream.h"

namespace {

using platform::cp932::StreamDecoder;

// Every single byte and every lead/trail pair that iconv maps, with ASCII between them.
std::string EveryCharacter() {
  std::string text;
  for (int b = 0x20; b < 0x80; ++b) text += static_cast<char>(b);
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string pair = {static_cast<char>(lead), static_cast<char>(trail)};
      if (platform::cp932::IsLeadByte(static_cast<unsigned char>(lead)) && platform::cp932::ToUtf8(pair).ok) {
        text += pair;
        if (trail % 16 == 0) text += "<\r\n";
      }
    }
  }
  for (int b = 0xA1; b <= 0xDF; ++b) text += static_cast<char>(b);  // half-width katakana
  return text;
}

TEST(Cp932Stream, AnyChunkingGivesIconvsConversion) {
  const std::string text = EveryCharacter();
  const auto expected = platform::cp932::ToUtf8(text);
  ASSERT_TRUE(expected.ok);
  for (const std::size_t chunk :
       {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, std::size_t{4096}}) {
    StreamDecoder decoder;
    std::string out;
    for (std::size_t i = 0; i < text.size(); i += chunk) {
      ASSERT_TRUE(decoder.Decode(std::string_view(text).substr(i, chunk), out)) << chunk;
    }
    EXPECT_TRUE(decoder.Finish());
    EXPECT_TRUE(out == expected.text) << "chunks of " << chunk;
  }
}

TEST(Cp932Stream, FirstByteThatDoesNotMapIsNamed) {
  const struct {
    std::vector<std::string> chunks;
    std::uint64_t badOffset;
  } cases[] = {
      {{"ab\xFF"
        "cd"},
       2},
      {{"a\x81<"}, 1},       // a lead byte before a byte that cannot follow it
      {{"ab\x81", " "}, 2},  // the same across two chunks
      {{"abc", "\x80"}, 3},
      {{"\x82\xA0\x82"}, 2},  // a lead byte left over at the end
  };
  for (const auto& c : cases) {
    StreamDecoder decoder;
    std::string out;
    bool ok = true;
    for (const std::string& chunk : c.chunks) ok = ok && decoder.Decode(chunk, out);
    ok = ok && decoder.Finish();
    EXPECT_FALSE(ok) << c.chunks[0];
    EXPECT_EQ(c.badOffset, decoder.BadOffset()) << c.chunks[0];
  }
}

}  // namespace
