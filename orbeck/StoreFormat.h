// The store's format version: the loader records it in the meta table ("format_version")
// and the runtime refuses a store whose format is newer than the one it reads.
#pragma once

namespace orbeck {

inline constexpr long long kFormatVersion = 2;

}  // namespace orbeck
