// A run that could not attach to the host: each runtime status is told in words with the
// store or folder concerned, in the line and in the box alike; the box never shows the
// status number, the line only for a status without words of its own.
#include "app/AttachFailure.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/Cp932.h"

namespace {

TEST(AttachFailure, EveryStatusIsToldInWordsWithItsPlace) {
  struct Case {
    long status;
    const char* boxCause;
    const char* lineCause;
  };
  const Case cases[] = {
      {9010, "ホストのフォルダ /h/o がありません。", "the host folder /h/o does not exist: create it with"},
      {9011, "ホストのフォルダ /h/o に会計データ (orbeck.db) がありません。",
       "the host folder /h/o holds no store (orbeck.db): load one with"},
      {9012, "会計データ /h/o/orbeck.db を読み込めません。",
       "the store /h/o/orbeck.db cannot be opened or read"},
      {9013, "会計データ /h/o/orbeck.db の形式が、このプログラムの扱えるものではありません (より新しい版",
       "the store /h/o/orbeck.db is of another schema"},
      {9014, "会計データ /h/o/orbeck.db が、作成された後に書き換えられています (封印と一致しません)。",
       "the store /h/o/orbeck.db differs from its seal"},
      {9001, "会計データ /h/o/orbeck.db を読み込めません。",
       "could not be read: check it with `orbeck-admin check --home /h/o`"},
      {9999, "会計データ /h/o/orbeck.db を読み込めません。",
       "the host runtime refused the store /h/o/orbeck.db (status 9999)"},
  };
  for (const Case& c : cases) {
    const platform::cp932::Conversion text = platform::cp932::ToUtf8(AttachFailureNotice(c.status, "/h/o"));
    ASSERT_TRUE(text.ok) << c.status;
    EXPECT_NE(std::string::npos, text.text.find(c.boxCause)) << text.text;
    EXPECT_EQ(std::string::npos, text.text.find(std::to_string(c.status))) << text.text;
    EXPECT_NE(std::string::npos, text.text.find("orbeck-admin load")) << text.text;
    const std::string line = AttachFailureLine("Velmora1", c.status, "/h/o");
    EXPECT_EQ(0u, line.find("Velmora1: the host installation could not be attached: ")) << line;
    EXPECT_NE(std::string::npos, line.find(c.lineCause)) << line;
    EXPECT_NE(std::string::npos, line.find("`orbeck-admin load COMPANY.json --home /h/o`")) << line;
    EXPECT_EQ(line.size() - 22, line.rfind("; nothing was exported")) << line;
  }
}

}  // namespace
