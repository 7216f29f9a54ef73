// Private-profile (INI) reads with the Windows rules: sections and keys matched without
// regard to case, the value trimmed, the default when the key is absent.
#pragma once

#include <cstddef>
#include <string>

namespace platform::win {

// GetPrivateProfileStringA into a buffer of bufferSize bytes: the value cut to bufferSize - 1 bytes.
std::string GetPrivateProfileStringA(const std::string& section, const std::string& key,
                                     const std::string& defaultValue, std::size_t bufferSize,
                                     const std::string& path);

}  // namespace platform::win
