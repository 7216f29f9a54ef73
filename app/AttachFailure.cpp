// The attach failure's line and box. The runtime's statuses 9010 to 9014 say which part of
// the installation is missing or unusable, 9001 that the store could not be read; any
// other status is a refusal the line names by its number.
#include "app/AttachFailure.h"

#include "platform/Cp932.h"

namespace {

enum class Problem { NoHome, NoStore, OpenFailed, WrongSchema, DamagedStore, StoreError, Refused };

// The statuses as docs/runtime.md lists them (orbeck/RuntimeStatus.h names them for the
// runtime, which the program does not include).
Problem ProblemOf(long status) {
  switch (status) {
    case 9010:
      return Problem::NoHome;
    case 9011:
      return Problem::NoStore;
    case 9012:
      return Problem::OpenFailed;
    case 9013:
      return Problem::WrongSchema;
    case 9014:
      return Problem::DamagedStore;
    case 9001:
      return Problem::StoreError;
    default:
      return Problem::Refused;
  }
}

std::string Cause(long status, const std::string& home) {
  const std::string store = home + "/orbeck.db";
  const std::string load = "`orbeck-admin load COMPANY.json --home " + home + "`";
  switch (ProblemOf(status)) {
    case Problem::NoHome:
      return "the host folder " + home + " does not exist: create it with " + load +
             ", or set ORBECK_HOME to the folder that holds orbeck.db";
    case Problem::NoStore:
      return "the host folder " + home + " holds no store (orbeck.db): load one with " + load;
    case Problem::OpenFailed:
      return "the store " + store + " cannot be opened or read: reload it with " + load;
    case Problem::WrongSchema:
      return "the store " + store +
             " is of another schema or was written by a newer loader: reload it with this version's " + load;
    case Problem::DamagedStore:
      return "the store " + store +
             " differs from its seal (it was changed after it was loaded): reload it with " + load;
    case Problem::StoreError:
      return "the store " + store + " could not be read: check it with `orbeck-admin check --home " + home +
             "` and reload it with " + load;
    case Problem::Refused:
      break;
  }
  return "the host runtime refused the store " + store + " (status " + std::to_string(status) +
         "): reload it with " + load;
}

// The box names no status: what it says of a store that cannot be read stands for every
// status without words of its own.
std::string Missing(long status, const std::string& folder) {
  switch (ProblemOf(status)) {
    case Problem::NoHome:
      return "ホストのフォルダ " + folder + " がありません。";
    case Problem::NoStore:
      return "ホストのフォルダ " + folder + " に会計データ (orbeck.db) がありません。";
    case Problem::WrongSchema:
      return "会計データ " + folder +
             "/orbeck.db の形式が、このプログラムの扱えるものではありません "
             "(より新しい版で作成されたか、別の形式です)。";
    case Problem::DamagedStore:
      return "会計データ " + folder +
             "/orbeck.db が、作成された後に書き換えられています (封印と一致しません)。";
    case Problem::OpenFailed:
    case Problem::StoreError:
    case Problem::Refused:
      break;
  }
  return "会計データ " + folder + "/orbeck.db を読み込めません。";
}

}  // namespace

std::string AttachFailureLine(const std::string& program, long status, const std::string& homeFolder) {
  const std::string cause = homeFolder.empty()
                                ? "no host folder can be named (neither ORBECK_HOME nor HOME is set): set "
                                  "ORBECK_HOME to the folder that holds orbeck.db"
                                : Cause(status, homeFolder);
  return program + ": the host installation could not be attached: " + cause + "; nothing was exported";
}

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
