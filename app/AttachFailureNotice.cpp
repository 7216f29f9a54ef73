// The attach failure notice. The runtime's statuses 9010 to 9014 say which part of the
// installation is missing or unusable; any other status means the store could not be read.
#include "app/AttachFailureNotice.h"

#include <string>

#include "platform/Cp932.h"

namespace {

constexpr long kNoHome = 9010;
constexpr long kNoStore = 9011;
constexpr long kOpenFailed = 9012;
constexpr long kWrongSchema = 9013;
constexpr long kDamagedStore = 9014;

std::string Missing(long status, const std::string& folder) {
  switch (status) {
    case kNoHome:
      return "ホストのフォルダ " + folder + " がありません。";
    case kNoStore:
      return "ホストのフォルダ " + folder + " に会計データ (orbeck.db) がありません。";
    case kOpenFailed:
      return "会計データ " + folder + "/orbeck.db を読み込めません。";
    case kWrongSchema:
      return "会計データ " + folder +
             "/orbeck.db の形式が、このプログラムの扱えるものではありません "
             "(より新しい版で作成されたか、別の形式です)。";
    case kDamagedStore:
      return "会計データ " + folder +
             "/orbeck.db が、作成された後に書き換えられています (封印と一致しません)。";
    default:
      return "会計データ " + folder + "/orbeck.db を読み込めません。";
  }
}

}  // namespace

std::string AttachFailureNotice(long status, const std::string& homeFolder) {
  const auto compose = [status](const std::string& folder) {
    return "Orbeck２１ のインストールに接続できないため、決算書情報を出力できません。\n\n" +
           Missing(status, folder) +
           "\n\n会計データは次のコマンドで作成できます。\n"
           "    orbeck-admin load 会社データ.json --home フォルダ\n"
           "フォルダが既定の ~/.local/share/orbeck でないときは、環境変数 ORBECK_HOME に\n"
           "そのフォルダを指定してから、もう一度起動してください。\n\nアプリケーションを終了します。";
  };
  platform::cp932::Conversion converted =
      platform::cp932::FromUtf8(compose(homeFolder.empty() ? "(未設定)" : homeFolder));
  // A folder name without a code page 932 form is named by the variable instead.
  if (!converted.ok) converted = platform::cp932::FromUtf8(compose("$ORBECK_HOME"));
  return converted.text;
}
