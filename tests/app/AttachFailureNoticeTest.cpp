// The box of a run that could not attach to the host: each runtime status is told in words
// with the store or folder concerned, never as the status number.
#include "app/AttachFailureNotice.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Cp932.h"

namespace {

TEST(AttachFailureNotice, EveryStatusIsToldInWordsWithItsPlace) {
  struct Case {
    long status;
    const char* cause;
  };
  const Case cases[] = {
      {9010, "ホストのフォルダ /h/o がありません。"},
      {9011, "ホストのフォルダ /h/o に会計データ (orbeck.db) がありません。"},
      {9012, "会計データ /h/o/orbeck.db を読み込めません。"},
      {9013, "会計データ /h/o/orbeck.db の形式が、このプログラムの扱えるものではありません (より新しい版"},
      {9014, "会計データ /h/o/orbeck.db が、作成された後に書き換えられています (封印と一致しません)。"},
      {9001, "会計データ /h/o/orbeck.db を読み込めません。"},
      {9999, "会計データ /h/o/orbeck.db を読み込めません。"},
  };
  for (const Case& c : cases) {
    const platform::cp932::Conversion text = platform::cp932::ToUtf8(AttachFailureNotice(c.status, "/h/o"));
    ASSERT_TRUE(text.ok) << c.status;
    EXPECT_NE(std::string::npos, text.text.find(c.cause)) << text.text;
    EXPECT_EQ(std::string::npos, text.text.find(std::to_string(c.status))) << text.text;
    EXPECT_NE(std::string::npos, text.text.find("orbeck-admin load")) << text.text;
  }
}

}  // namespace
