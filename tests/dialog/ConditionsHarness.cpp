// The conditions dialog harness: host store, scripted backend and transcript queries.
#include "ConditionsHarness.h"

#include <fstream>

#include "platform/Cp932.h"
#include "platform/Faults.h"
#include "platform/script/ScriptBackend.h"
#include "runtime/Connect.h"
#include "tests/support/Cp932Text.h"
#include "tests/support/FilledConditions.h"

void ConditionsHarness::TearDown() {
  platform::faults::Clear();
  ClAccConnect::Inst().Terminate();
  host_.reset();
}

void ConditionsHarness::Host(const std::string& outputFolder, const std::string& settingsFolder) {
  nlohmann::json folders = nlohmann::json::object();
  if (!outputFolder.empty()) folders["0"] = outputFolder;
  if (!settingsFolder.empty()) folders["1"] = settingsFolder;
  nlohmann::json company = velmora::test::TestHost::MinimalCompany();
  company["folders"] = folders;
  nlohmann::json second = company["data"][0];
  second["dataId"] = "D2";
  second["selectedNo"] = 2;
  second.erase("journals");
  company["data"].push_back(second);
  host_ = std::make_unique<velmora::test::TestHost>(company);
  ASSERT_TRUE(host_->loaded());
  std::ofstream(host_->drivesFile(), std::ios::app) << "E: - cdrom\n";
  platform::faults::Clear();
  ASSERT_EQ(0, ClAccConnect::Inst().Initiate());
}

std::unique_ptr<ConditionsDialog> ConditionsHarness::Dialog(int32_t periodStart, int32_t periodEnd,
                                                            int32_t dataNo, const EditionProfile& edition) {
  velmora::test::ConditionsFill fill;
  fill.companyUtf8 = " 株式会社表計算";
  fill.periodStart = periodStart;
  fill.periodEnd = periodEnd;
  fill.dataNo = dataNo;
  fill.edition = &edition;
  return velmora::test::FilledConditions(fill);
}

int ConditionsHarness::Run(ConditionsDialog& dialog, const std::string& script) {
  auto backend = std::make_unique<platform::script::ScriptBackend>(script);
  transcript_ = &backend->Transcript();
  platform::SetUi(std::move(backend));
  return dialog.DoModal();
}

std::vector<std::string> ConditionsHarness::Messages() const {
  std::vector<std::string> texts;
  for (const auto& e : Events("messageBox")) texts.push_back(e.at("text").get<std::string>());
  return texts;
}

std::vector<std::string> ConditionsHarness::Focus() const {
  std::vector<std::string> moves;
  for (const auto& e : Events("focus")) {
    moves.push_back(std::to_string(e.at("control").get<int>()) +
                    (e.at("selectAll").get<bool>() ? "/all" : ""));
  }
  return moves;
}

std::vector<nlohmann::json> ConditionsHarness::Events(const std::string& kind) const {
  std::vector<nlohmann::json> found;
  if (transcript_ == nullptr) return found;
  for (const auto& e : *transcript_) {
    if (e.value("event", "") == kind) found.push_back(e);
  }
  return found;
}

nlohmann::json ConditionsHarness::Shown(int id) const {
  for (const auto& e : Events("dialog")) {
    for (const auto& c : e.at("controls")) {
      if (c.at("id").get<int>() == id) return c;
    }
  }
  return nullptr;
}

std::string ConditionsHarness::Sj(const std::string& utf8) { return velmora::test::Cp932(utf8); }
