// Test support: the order in which the connection's life-cycle calls (Initiate, ExpSysLink,
// DispMsg, LogOut, Terminate, Release) were made in this process, so a test of the run can
// check that the host was left in the right order. Release does not clear it.
#pragma once

#include <string>
#include <vector>

namespace orbeck {

const std::vector<std::string>& CallLog();
void ClearCallLog();
void RecordCall(const char* name);

}  // namespace orbeck
