// The markers of the name cleaning, tried in this order at each position.
#include "xmlout/CleanName.h"

#include <array>

#include "platform/Cp932.h"

namespace {

const std::array<const std::string*, 16>& Markers() {
  static const std::array<const std::string*, 16> markers{
      &SJ(" "),  &SJ("　"), &SJ("【"),   &SJ("】"),   &SJ("《"),   &SJ("》"),   &SJ("（"),   &SJ("）"),
      &SJ("［"), &SJ("］"), &SJ("(製)"), &SJ("[製]"), &SJ("(完)"), &SJ("[完]"), &SJ("(未)"), &SJ("[未]"),
  };
  return markers;
}

}  // namespace

std::string CleanName(std::string_view name) {
  std::string cleaned;
  CleanNameInto(cleaned, name);
  return cleaned;
}

void CleanNameInto(std::string& cleaned, std::string_view name) {
  cleaned.clear();
  std::size_t pos = 0;
  while (pos < name.size()) {
    // Every marker begins with one of these bytes; most positions need no comparison.
    const auto first = static_cast<unsigned char>(name[pos]);
    const bool mayStartMarker = first == 0x20 || first == 0x81 || first == '(' || first == '[';
    bool dropped = false;
    for (const std::string* marker : Markers()) {
      if (!mayStartMarker) break;
      if (name.substr(pos).starts_with(*marker)) {
        pos += marker->size();
        dropped = true;
        break;
      }
    }
    if (dropped) {
      continue;
    }
    // A double-byte character is kept whole, so that its second byte is never taken for
    // the start of a marker.
    const bool doubleByte =
        platform::cp932::IsLeadByte(static_cast<unsigned char>(name[pos])) && pos + 1 < name.size();
    const std::size_t width = doubleByte ? 2 : 1;
    cleaned.append(name.substr(pos, width));
    pos += width;
  }
}
