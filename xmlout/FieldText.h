// The text of a fixed-size, NUL-terminated field of the engine's records (names, dates,
// descriptions), without its terminator; a field filled to its end has none.
#pragma once

#include <cstddef>
#include <string_view>

template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length] != '\0') {
    ++length;
  }
  return std::string_view(field, length);
}
