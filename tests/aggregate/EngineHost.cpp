// The engine tests' host installation over the store loader and the runtime.
#include "tests/aggregate/EngineHost.h"

#include "orbeck/store/HostDataLoader.h"
#include "runtime/OrbeckRuntime.h"

nlohmann::json BaseDocument() {
  return nlohmann::json::parse(R"({
    "format": "orbeck-host-data", "version": 1,
    "packageName": "Orbeck２１",
    "folders": { "0": "out\\", "1": "settings\\" },
    "users": [ { "id": "admin", "selectedFirst": 1, "selectedNo": 1 } ],
    "currentUser": "admin",
    "eras": [ { "no": 1, "firstDay": 18680125, "name": "明治" },
              { "no": 2, "firstDay": 19120730, "name": "大正" },
              { "no": 3, "firstDay": 19261225, "name": "昭和" },
              { "no": 4, "firstDay": 19890108, "name": "平成" },
              { "no": 5, "firstDay": 20190501, "name": "令和" } ],
    "data": [ { "dataId": "TEST01", "selectedNo": 1, "companyName": "テスト株式会社",
                "periodStart": 20240401, "periodEnd": 20250331, "closingDay": 31,
                "accounts": [], "journals": [] } ]
  })");
}

nlohmann::json& DataOf(nlohmann::json& document) { return document["data"][0]; }

EngineHost::EngineHost(const nlohmann::json& document) : installation_(document) {
  if (!installation_.loaded()) {
    error_ = "the loader refused the document";
    return;
  }
  const long status = ClAccConnect::Inst().Initiate();
  if (status != 0) {
    error_ = "Initiate returned " + std::to_string(status);
    return;
  }
  ok_ = true;
}

StDATAINFO EngineHost::Profile() const {
  StDATAINFO profile{};
  if (auto* dataSet = dynamic_cast<ClSetData*>(ClDataMgr::Inst().GetSetObject(5, 1))) {
    dataSet->GetSelectedInfo(&profile);
  }
  return profile;
}
