// The statuses of the host runtime beyond 0 (success) and kEndOfRows (5000, a cursor's
// normal end). Statuses from 9000 to 9999 are fatal: ClMsgMgr::CheckFatalErrorWithMsg
// reports them and shows the runtime's message for them.
#pragma once

namespace orbeck {

inline constexpr long kNotFound = 1;  // no such record or document; not fatal
inline constexpr long kFatalFirst = 9000;
inline constexpr long kStoreError = 9001;    // a store read failed; also every injected fault
inline constexpr long kNotAttached = 9002;   // no store is open (before Initiate, after Terminate)
inline constexpr long kNotReady = 9003;      // a cursor used before it was readied, or a missing record
inline constexpr long kNoHome = 9010;        // Initiate: the host folder does not exist
inline constexpr long kNoStore = 9011;       // Initiate: the folder holds no orbeck.db
inline constexpr long kOpenFailed = 9012;    // Initiate: the store cannot be opened or read
inline constexpr long kWrongSchema = 9013;   // Initiate: the store's schema version is not 2, or its
                                             // format version is newer than this runtime's
inline constexpr long kDamagedStore = 9014;  // Initiate: the store disagrees with its seal
inline constexpr long kFatalLast = 9999;

inline constexpr bool IsFatal(long status) { return status >= kFatalFirst && status <= kFatalLast; }

}  // namespace orbeck
