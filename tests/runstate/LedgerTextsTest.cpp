// The ledger lines' texts: a shared text is kept once and handed out again, a description
// is a copy of its own, and every text keeps its bytes while later texts fill more blocks.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/LargeBlocks.h"
#include "runstate/LedgerTexts.h"

namespace {

TEST(LedgerTexts, SharedTextsOnceCopiesApartAndAllStayAcrossBlocks) {
  LedgerTexts texts;
  LedgerText first;
  LedgerText again;
  LedgerText copy;
  ASSERT_TRUE(texts.KeepShared("cash", first));
  ASSERT_TRUE(texts.KeepShared(std::string("cash"), again));
  ASSERT_TRUE(texts.Keep("cash", copy));
  EXPECT_TRUE(first == again) << "a shared text is kept once";
  EXPECT_FALSE(first == copy) << "a description is a copy of its own";
  EXPECT_EQ("cash", copy.View());

  // Texts of every length up to the largest, with bytes of every value, over several blocks.
  std::vector<std::string> written;
  std::vector<LedgerText> kept;
  std::size_t bytes = 0;
  for (std::size_t i = 0; bytes < 3 * platform::kLargeBlockBytes; ++i) {
    std::string text(i % (LedgerTexts::kMaxBytes + 1), '\0');
    for (std::size_t c = 0; c < text.size(); ++c) text[c] = static_cast<char>((i * 31 + c) & 0xff);
    LedgerText one;
    ASSERT_TRUE(i % 3 == 0 ? texts.KeepShared(text, one) : texts.Keep(text, one));
    written.push_back(text);
    kept.push_back(one);
    bytes += text.size() + 1;
  }
  for (std::size_t i = 0; i < written.size(); ++i) ASSERT_EQ(written[i], kept[i].View()) << i;
  EXPECT_EQ("cash", first.View());

  LedgerText tooLong;
  EXPECT_FALSE(texts.Keep(std::string(LedgerTexts::kMaxBytes + 1, 'x'), tooLong));
  LedgerText empty;
  ASSERT_TRUE(texts.Keep("", empty));
  EXPECT_TRUE(empty == LedgerText()) << "the empty text is the default one";

  texts.clear();
  LedgerText fresh;
  ASSERT_TRUE(texts.KeepShared("cash", fresh));
  EXPECT_EQ("cash", fresh.View());
}

}  // namespace
