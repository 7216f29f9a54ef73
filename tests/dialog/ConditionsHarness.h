// Runs the conditions dialog in-process under the scripted backend, over a host store with
// one user and two data, and reads the transcript back.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include "dialog/ConditionsDialog.h"
#include "tests/support/TestHost.h"

class ConditionsHarness : public ::testing::Test {
 protected:
  void TearDown() override;

  // Builds the host (user "user1", data 1 and 2, a CD-ROM drive E: besides C:) and attaches
  // to it; folders in Windows form, empty = the host has none.
  void Host(const std::string& outputFolder, const std::string& settingsFolder = "C:\\Settings\\");
  // The Linux path of a folder or file below drive C: (UTF-8 names).
  // relative is UTF-8, on every system.
  std::filesystem::path OnC(const std::string& relative) const {
    return host_->cDrive() / std::u8string(relative.begin(), relative.end());
  }

  // A dialog for the data numbered dataNo with a fiscal period and eligible data.
  std::unique_ptr<ConditionsDialog> Dialog(int32_t periodStart, int32_t periodEnd, int32_t dataNo = 1,
                                           const EditionProfile& edition = kVelmora1);

  // Shows the dialog with the script (UTF-8) and returns DoModal's result.
  int Run(ConditionsDialog& dialog, const std::string& script);

  const std::vector<nlohmann::json>& Transcript() const { return *transcript_; }
  // The texts of the message boxes shown, in order.
  std::vector<std::string> Messages() const;
  // "control/selectAll" of every focus move the program made, in order.
  std::vector<std::string> Focus() const;
  // The events of one kind.
  std::vector<nlohmann::json> Events(const std::string& kind) const;
  // A control of the first "dialog" event (the state the user first saw).
  nlohmann::json Shown(int id) const;

  static std::string Sj(const std::string& utf8);

 private:
  std::unique_ptr<velmora::test::TestHost> host_;
  const std::vector<nlohmann::json>* transcript_ = nullptr;
};
