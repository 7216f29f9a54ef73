// The process-wide record of the connection's life-cycle calls.
#include "orbeck/RuntimeCallLog.h"

namespace orbeck {

namespace {
std::vector<std::string>& Log() {
  static std::vector<std::string> log;
  return log;
}
}  // namespace

const std::vector<std::string>& CallLog() { return Log(); }

void ClearCallLog() { Log().clear(); }

void RecordCall(const char* name) { Log().emplace_back(name); }

}  // namespace orbeck
