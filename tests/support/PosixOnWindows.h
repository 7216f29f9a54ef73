// The few POSIX calls the tests use to set up their worlds (environment variables and
// temporary folders), for the Windows build, where every test source gets this header
// first. Under Wine a test's "/tmp/..." is a folder on the current drive (Z:), which is the
// build machine's /tmp.
#pragma once

#ifdef _WIN32

#include <direct.h>
#include <stdlib.h>

#include <cstring>
#include <random>

inline int setenv(const char* name, const char* value, int overwrite) {
  if (overwrite == 0 && std::getenv(name) != nullptr) return 0;
  return ::_putenv_s(name, value) == 0 ? 0 : -1;
}

inline int unsetenv(const char* name) { return ::_putenv_s(name, "") == 0 ? 0 : -1; }

inline char* mkdtemp(char* pattern) {
  const std::size_t length = std::strlen(pattern);
  if (length < 6 || std::strcmp(pattern + length - 6, "XXXXXX") != 0) return nullptr;
  static std::mt19937 random(std::random_device{}());
  const char* kLetters = "abcdefghijklmnopqrstuvwxyz0123456789";
  for (int attempt = 0; attempt < 100; ++attempt) {
    for (std::size_t i = length - 6; i < length; ++i) pattern[i] = kLetters[random() % 36];
    if (::_mkdir(pattern) == 0) return pattern;
  }
  return nullptr;
}

#endif
