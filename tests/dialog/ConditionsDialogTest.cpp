// The conditions dialog driven by a script: refusals, pre-filled fields, the checks with
// their messages and focus, folder creation, overwrite questions, parent mode and keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "ConditionsHarness.h"
#include "platform/Faults.h"

namespace {

using Strings = std::vector<std::string>;

const std::string kCancelled = "｢決算書｣の集計を中止します。";
const std::string kWrongPeriod = "集計期間に誤りがあります。\n\n集計期間を設定しなおしてください。";
const std::string kBeforeIntro = "集計期間には、導入開始月より前は指定できません。";
const std::string kNoDestination = "データ出力先が指定されていません。\n\n出力先を指定してください。";
const std::string kBadCharacters =
    "データの出力先に不正な文字が含まれています。\n\n出力先を再入力してください。";
const std::string kBadDrive = "ドライブ名が有効でありません。\n\n有効なドライブを指定してください。";
const std::string kNoFileName = "ファイル名が指定されていません。";
const std::string kCreateFolder = "指定されたフォルダは存在しません。\n\n作成してもよろしいですか？";
const std::string kCreateFailed = "フォルダの作成に失敗しました。\n\n出力先を再入力してください。";
const std::string kOverwrite = "同名のファイルが存在します。\n\n上書きしてもよろしいですか？";

constexpr int32_t kAprilStart = 20240401, kMarchEnd = 20250331;

class ConditionsDialogTest : public ConditionsHarness {};

TEST_F(ConditionsDialogTest, PastResultsRefusedWithItsOwnMessageOnly) {
  Host("C:\\Out\\");
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  dialog->isPastData = 1;
  dialog->companiesActReady = 0;
  EXPECT_EQ(1003, Run(*dialog, ""));
  EXPECT_EQ(Strings{"過去実績データは、連携の対象として使用できません。\n\nアプリケーションを終了します。"},
            Messages());
  EXPECT_TRUE(Events("dialog").empty());
  const auto box = Events("messageBox").at(0);
  EXPECT_EQ("決算書", box.at("caption"));
  EXPECT_EQ("exclamation", box.at("icon"));
  EXPECT_EQ(130, box.at("owner"));
}

TEST_F(ConditionsDialogTest, DataNotConvertedForTheCompaniesActRefused) {
  Host("C:\\Out\\");
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  dialog->companiesActReady = 0;
  EXPECT_EQ(1003, Run(*dialog, ""));
  EXPECT_EQ(
      Strings{
          "選択された会計データは会社法(H18.5施行)に対応していないため、\n連携の対象として使用できません。\n"
          "(Orbeckを起動し、[事業所・消費税情報設定]にて会社法対応データへ   "
          "\n変換することで、連携ができます。)"
          "\n\nアプリケーションを終了します。"},
      Messages());
  EXPECT_TRUE(Events("dialog").empty());
}

TEST_F(ConditionsDialogTest, FiscalDefaultsAndWildcardPathRejected) {
  Host("C:\\Out\\");
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  EXPECT_EQ(1003, Run(*dialog, "key F12\n"));
  EXPECT_EQ("4", Shown(1016).at("text"));
  EXPECT_EQ("3", Shown(1000).at("text"));
  EXPECT_EQ("C:\\Out\\*.xml", Shown(1015).at("text"));
  EXPECT_EQ(" 株式会社表計算", Shown(1006).at("text"));
  EXPECT_EQ(1, Shown(1019).at("checked"));
  EXPECT_EQ(1, Shown(1021).at("checked"));
  EXPECT_EQ("出力先(&O)", Shown(1014).at("text"));
  EXPECT_EQ((Strings{kBadCharacters, kCancelled}), Messages());
  EXPECT_EQ(Strings{"1015/all"}, Focus());
  EXPECT_EQ("information", Events("messageBox").at(1).at("icon"));
}

TEST_F(ConditionsDialogTest, CalendarYearDefaultsAndTemporaryFolder) {
  Host("");
  auto dialog = Dialog(20240101, 20241231);
  Run(*dialog, "");
  EXPECT_EQ("1", Shown(1016).at("text"));
  EXPECT_EQ("12", Shown(1000).at("text"));
  const std::string path = Shown(1015).at("text");
  ASSERT_GT(path.size(), 6u);
  EXPECT_EQ("\\*.xml", path.substr(path.size() - 6));
  EXPECT_EQ(std::string::npos, path.find("\\\\", 2));
}

TEST_F(ConditionsDialogTest, RememberedConditionsWithStoredFirstMonthZero) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Settings"));
  std::ofstream(OnC("Settings/Velmora1.env")) << "user1/1/1:0/9/2/0/C:\\Kept\\k.xml\n";
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  Run(*dialog, "");
  EXPECT_EQ("4", Shown(1016).at("text"));
  EXPECT_EQ("9", Shown(1000).at("text"));
  EXPECT_EQ("C:\\Kept\\k.xml", Shown(1015).at("text"));
  EXPECT_EQ(0, Shown(1019).at("checked"));
  EXPECT_EQ(1, Shown(1020).at("checked"));
  EXPECT_EQ(0, Shown(1021).at("checked"));
  EXPECT_EQ("C:\\Kept\\k.xml", std::string(dialog->savedOutputPath));
}

TEST_F(ConditionsDialogTest, StoredKindTwoHoldsOnlyWhileItsRadioIsSelected) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Out"));
  std::filesystem::create_directories(OnC("Settings"));
  std::ofstream(OnC("Settings/Velmora1.env")) << "user1/1/1:4/3/2/1/C:\\Out\\k.xml\n";
  auto kept = Dialog(kAprilStart, kMarchEnd);
  EXPECT_EQ(1002, Run(*kept, "key F12\n"));
  EXPECT_EQ(2, kept->changesKind);
  auto changed = Dialog(kAprilStart, kMarchEnd);
  EXPECT_EQ(1002, Run(*changed, "click 1019\nkey F12\n"));
  EXPECT_EQ(1, changed->changesKind);
  EXPECT_EQ(1, changed->withGeneralLedger);
}

TEST_F(ConditionsDialogTest, ExecuteReadsKindAndLedgerFromTheControls) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Out"));
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  EXPECT_EQ(1002,
            Run(*dialog, "set 1016 10\nset 1015 C:\\Out\\a.xml\ncheck 1020 1\ncheck 1021 0\nkey F12\n"));
  EXPECT_EQ("10", dialog->firstMonthText);
  EXPECT_EQ("3", dialog->lastMonthText);
  EXPECT_EQ("C:\\Out\\a.xml", dialog->outputPathText);
  EXPECT_EQ(2, dialog->changesKind);
  EXPECT_EQ(0, dialog->withGeneralLedger);
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ConditionsDialogTest, PeriodMessagesAndFocus) {
  Host("C:\\Out\\");
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  dialog->introMonthIndex = 4;
  Run(*dialog,
      "set 1016 5\nset 1000 4\nkey F12\nset 1016 3\nset 1000 10\nkey F12\n"
      "set 1016 13\nkey F12\nset 1016 4\nset 1000 6\nkey F12\n");
  EXPECT_EQ((Strings{kWrongPeriod, kWrongPeriod, kWrongPeriod, kBeforeIntro, kCancelled}), Messages());
  EXPECT_EQ((Strings{"1000/all", "1000/all", "1016/all", "1000/all"}), Focus());
}

// Each month rule once, in a fiscal year where it is the first rule to match: the message,
// the field that receives the focus with its text selected, and the dialog left open.
TEST_F(ConditionsDialogTest, EachMonthRuleFocusesItsField) {
  Host("C:\\Out\\");
  struct Case {
    const char* rule;
    int32_t start, end;
    const char* first;
    const char* last;
    const char* focus;
  };
  const Case cases[] = {
      {"R1", 20240301, 20240831, "2", "5", "1016/all"},
      {"R2", 20240301, 20240831, "3", "9", "1016/all"},
      {"R3", 20240101, 20241231, "12", "1", "1016/all"},
      {"R4", kAprilStart, kMarchEnd, "5", "4", "1000/all"},
      {"R5", kAprilStart, kMarchEnd, "3", "10", "1000/all"},
      {"R6", 20241001, 20250331, "5", "2", "1016/all"},
      {"R7", 20241001, 20250331, "11", "6", "1016/all"},
      {"last 13", kAprilStart, kMarchEnd, "4", "13", "1000/all"},
  };
  for (const Case& c : cases) {
    auto dialog = Dialog(c.start, c.end);
    const std::string script = std::string("set 1016 ") + c.first + "\nset 1000 " + c.last + "\nkey F12\n";
    EXPECT_EQ(1003, Run(*dialog, script)) << c.rule;
    EXPECT_EQ((Strings{kWrongPeriod, kCancelled}), Messages()) << c.rule;
    EXPECT_EQ(Strings{c.focus}, Focus()) << c.rule;
    const auto box = Events("messageBox").at(0);
    EXPECT_EQ("決算書", box.at("caption")) << c.rule;
    EXPECT_EQ("exclamation", box.at("icon")) << c.rule;
    EXPECT_EQ("ok", box.at("buttons")) << c.rule;
    EXPECT_EQ(130, box.at("owner")) << c.rule;
  }
}

TEST_F(ConditionsDialogTest, FirstMonthBeforeTheIntroductionMonthPasses) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Out"));
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  dialog->introMonthIndex = 4;
  EXPECT_EQ(1002, Run(*dialog, "set 1016 4\nset 1000 7\nset 1015 C:\\Out\\a.xml\nkey F12\n"));
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ("7", dialog->lastMonthText);
}

TEST_F(ConditionsDialogTest, DoubleByteFolderCreatedAfterTheQuestion) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Out"));
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  EXPECT_EQ(1002, Run(*dialog, "set 1015 C:\\Out\\表\\a.xml\nkey F12\nanswer yes\n"));
  EXPECT_EQ(Strings{kCreateFolder}, Messages());
  EXPECT_EQ("question", Events("messageBox").at(0).at("icon"));
  EXPECT_EQ("yesno", Events("messageBox").at(0).at("buttons"));
  EXPECT_TRUE(std::filesystem::is_directory(OnC("Out/表")));
  EXPECT_EQ(Sj("C:\\Out\\表\\a.xml"), dialog->outputPathText);
}

TEST_F(ConditionsDialogTest, FolderQuestionAnsweredNoCreatesNothing) {
  Host("C:\\Out\\");
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  EXPECT_EQ(1003, Run(*dialog, "set 1015 C:\\New\\a.xml\nkey F12\nanswer no\n"));
  EXPECT_EQ((Strings{kCreateFolder, kCancelled}), Messages());
  EXPECT_EQ(Strings{"1015/all"}, Focus());
  EXPECT_FALSE(std::filesystem::exists(OnC("New")));
}

TEST_F(ConditionsDialogTest, ThirdNewLevelFailsAndIsRolledBack) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Keep"));
  platform::faults::Set("CreateDirectoryA@Keep\\one\\two\\three");
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  EXPECT_EQ(1003, Run(*dialog, "set 1015 C:\\Keep\\one\\two\\three\\a.xml\nkey F12\nanswer yes\n"));
  EXPECT_EQ((Strings{kCreateFolder, kCreateFailed, kCancelled}), Messages());
  EXPECT_EQ(Strings{"1015/all"}, Focus());
  EXPECT_TRUE(std::filesystem::is_directory(OnC("Keep")));
  EXPECT_FALSE(std::filesystem::exists(OnC("Keep/one")));
}

TEST_F(ConditionsDialogTest, ExistingFileOverwriteQuestion) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Out"));
  std::ofstream(OnC("Out/a.xml")) << "old";
  auto refused = Dialog(kAprilStart, kMarchEnd);
  EXPECT_EQ(1003, Run(*refused, "set 1015 C:\\Out\\a.xml\nkey F12\nanswer no\n"));
  EXPECT_EQ((Strings{kOverwrite, kCancelled}), Messages());
  EXPECT_EQ(Strings{"1015/all"}, Focus());

  auto accepted = Dialog(kAprilStart, kMarchEnd);
  EXPECT_EQ(1002, Run(*accepted, "set 1015 C:\\Out\\a.xml\nkey F12\nanswer yes\n"));
  EXPECT_EQ(Strings{kOverwrite}, Messages());
}

TEST_F(ConditionsDialogTest, DestinationRulesInOrder) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Out/dir"));
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  Run(*dialog,
      "set 1015 E:\\a.xml\nkey F12\n"
      "set 1015 C:\\Out\\\nkey F12\n"
      "set 1015 C:\\Out\\dir\nkey F12\n"
      "set 1015 Q:\\Nowhere\\a.xml\nkey F12\nanswer yes\n"
      "set 1015 C:a;b.xml\nkey F12\n");
  EXPECT_EQ((Strings{kBadDrive, kNoFileName, kNoFileName, kCreateFolder, kCreateFailed, kBadCharacters,
                     kCancelled}),
            Messages());
  EXPECT_EQ(Strings(5, "1015/all"), Focus());
  std::string kinds;
  for (const auto& box : Events("messageBox")) {
    EXPECT_EQ("決算書", box.at("caption"));
    EXPECT_EQ(130, box.at("owner"));
    kinds += box.at("icon").get<std::string>() + "/" + box.at("buttons").get<std::string>() + " ";
  }
  EXPECT_EQ(
      "exclamation/ok exclamation/ok exclamation/ok question/yesno exclamation/ok exclamation/ok "
      "information/ok ",
      kinds);
}

TEST_F(ConditionsDialogTest, EmptyPathLeadsToTheFileDialog) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Out"));
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  EXPECT_EQ(1002, Run(*dialog, "set 1015 \nkey F12\nsave C:\\Out\\b.xml\nkey F12\n"));
  EXPECT_EQ(Strings{kNoDestination}, Messages());
  EXPECT_EQ("C:\\Out\\b.xml", dialog->outputPathText);
  EXPECT_EQ(Strings{"1002"}, Focus());
}

TEST_F(ConditionsDialogTest, BrowseSplitsThePathAndFocusesExecute) {
  Host("C:\\Out\\");
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  Run(*dialog,
      "set 1015 C:\\表\\x.xml\nclick 1001\ncancel\nset 1015 k.xml\nclick 1001\ncancel\nset 1015 \nclick "
      "1001\ncancel\nset 1015 D:y.xml\nfocus 1001\nkey Enter\nsave D:\\z.xml\n");
  auto dialogs = Events("saveFileDialog");
  ASSERT_EQ(4u, dialogs.size());
  // Without a folder in the path the dialog opens in the host's output folder.
  for (std::size_t i : {1u, 2u}) EXPECT_EQ("C:\\Out\\", dialogs[i].at("folder")) << i;
  EXPECT_EQ("k.xml", dialogs[1].at("fileName"));
  EXPECT_EQ("", dialogs[2].at("fileName"));
  dialogs.erase(dialogs.begin() + 1, dialogs.begin() + 3);
  EXPECT_EQ("保存ファイルを指定", dialogs[0].at("title"));
  EXPECT_EQ("C:\\表\\", dialogs[0].at("folder"));
  EXPECT_EQ("x.xml", dialogs[0].at("fileName"));
  EXPECT_EQ("Xml Files (*.xml)|*.xml||", dialogs[0].at("filter"));
  EXPECT_EQ("XML", dialogs[0].at("defaultExt"));
  EXPECT_EQ(0x4 | 0x8 | 0x800 | 0x1000, dialogs[0].at("flags"));
  EXPECT_EQ(130, dialogs[0].at("owner"));
  EXPECT_EQ("D:", dialogs[1].at("folder"));
  EXPECT_EQ("y.xml", dialogs[1].at("fileName"));
  EXPECT_EQ("D:\\z.xml", dialog->outputPathText);
  EXPECT_EQ((Strings{"1002", "1002", "1002", "1002"}), Focus());
}

TEST_F(ConditionsDialogTest, ANameWithoutACodePage932FormIsToldAndTheFileDialogOpensAgain) {
  const std::string told =
      "保存先のフォルダ名またはファイル名に、使用できない文字（絵文字など）が含まれています。\n\n"
      "別の保存先を指定してください。";
  Host("C:\\Out\\");
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  // Twice a name the program cannot hold, then a name it can: the last one is taken.
  Run(*dialog,
      "set 1015 C:\\表\\x.xml\nclick 1001\nsave C:\\Out\\決算😀.xml\nsave C:\\♬\\a.xml\nsave "
      "C:\\Out\\b.xml\n");
  // The script's end cancels the dialog.
  EXPECT_EQ((Strings{told, told, kCancelled}), Messages());
  std::string sequence;
  for (const nlohmann::json& e : Transcript()) {
    if (e.at("event") == "saveFileDialog") {
      sequence += e.at("answer").get<std::string>() + " ";
      // Each time the dialog starts where the user first started it.
      EXPECT_EQ("C:\\表\\", e.at("folder"));
      EXPECT_EQ("x.xml", e.at("fileName"));
    } else if (e.at("event") == "messageBox") {
      sequence += e.at("icon").get<std::string>() + "/" + e.at("caption").get<std::string>() + "/" +
                  std::to_string(e.at("owner").get<int>()) + " ";
    }
  }
  EXPECT_EQ(
      "nameWithoutCp932Form exclamation/決算書/130 nameWithoutCp932Form exclamation/決算書/130 save "
      "information/決算書/130 ",
      sequence);
  EXPECT_EQ("C:\\Out\\b.xml", dialog->outputPathText);
  EXPECT_EQ(Strings{"1002"}, Focus());

  // Cancelling after the message keeps the path the dialog had.
  auto again = Dialog(kAprilStart, kMarchEnd);
  Run(*again, "set 1015 C:\\Out\\a.xml\nclick 1001\nsave C:\\Out\\😀.xml\ncancel\n");
  EXPECT_EQ((Strings{told, kCancelled}), Messages());
  EXPECT_EQ("C:\\Out\\a.xml", again->outputPathText);
  EXPECT_EQ(Strings{"1002"}, Focus());
}

TEST_F(ConditionsDialogTest, ParentModeFixesThePath) {
  Host("C:\\Out\\");
  std::filesystem::create_directories(OnC("Out"));
  std::ofstream(OnC("Out/host.xml")) << "old";
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  dialog->hostOutputPath = "C:\\Out\\host.xml";
  EXPECT_EQ(1002, Run(*dialog, "key Enter\nkey Enter\nkey Enter\n"));
  EXPECT_EQ("C:\\Out\\host.xml", Shown(1015).at("text"));
  EXPECT_FALSE(Shown(1015).at("enabled").get<bool>());
  EXPECT_FALSE(Shown(1001).at("enabled").get<bool>());
  EXPECT_EQ("出力先", Shown(1014).at("text"));
  EXPECT_EQ(1, dialog->outputPathFixed);
  EXPECT_EQ((Strings{"1000/all", "1002"}), Focus());
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ConditionsDialogTest, EnterMovesThroughTheFieldsButNotWithShift) {
  Host("C:\\Out\\");
  auto dialog = Dialog(kAprilStart, kMarchEnd);
  Run(*dialog, "key Enter+Shift\nkey Enter\nkey Enter\nkey Enter\nfocus 1021\nkey Enter\nkey F12+Ctrl\n");
  EXPECT_EQ((Strings{"1000/all", "1015/all", "1001"}), Focus());
  // Enter on the check box reaches the platform's OK command, which must not end the dialog.
  EXPECT_EQ(Strings{kCancelled}, Messages());
  EXPECT_EQ(1003, dialog->Result());
}

TEST_F(ConditionsDialogTest, EscCloseBoxAndCancelButtonAlike) {
  Host("C:\\Out\\");
  for (const char* script : {"key Esc\n", "close\n", "click 1003\n"}) {
    auto dialog = Dialog(kAprilStart, kMarchEnd);
    EXPECT_EQ(1003, Run(*dialog, script)) << script;
    EXPECT_EQ(Strings{kCancelled}, Messages()) << script;
    EXPECT_TRUE(Events("scriptEnded").empty()) << script;
  }
}

}  // namespace
