// Name cleaning for labels: blanks, the brackets 【】《》（）［］ and the markers (製) [製]
// (完) [完] (未) [未] are dropped from a code page 932 name; everything else is kept.
#pragma once

#include <string>
#include <string_view>

std::string CleanName(std::string_view name);

// A name held in a fixed NUL-terminated field of the engine's records.
template <std::size_t N>
std::string_view FieldText(const char (&field)[N]) {
  std::size_t length = 0;
  while (length < N && field[length] != '\0') {
    ++length;
  }
  return std::string_view(field, length);
}
