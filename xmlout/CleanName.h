// Name cleaning for labels: blanks, the brackets 【】《》（）［］ and the markers (製) [製]
// (完) [完] (未) [未] are dropped from a code page 932 name; everything else is kept.
#pragma once

#include <string>
#include <string_view>

std::string CleanName(std::string_view name);
// The cleaned name into `out` (replacing its content), for callers that reuse one buffer.
void CleanNameInto(std::string& out, std::string_view name);
