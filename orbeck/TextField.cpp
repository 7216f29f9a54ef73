// Byte-exact fills of the records' text fields.
#include "orbeck/TextField.h"

#include <cstring>
#include <string>

#include "platform/Cp932.h"

namespace orbeck {

void FillNameField(char* field, std::size_t width, std::string_view text) {
  std::string fitted = platform::cp932::BoundedString(text, width);
  std::memset(field, 0, width);
  std::memcpy(field, fitted.data(), fitted.size());
}

void FillTextField(char* field, std::size_t width, std::string_view text) {
  std::memset(field, 0, width);
  platform::cp932::BoundedCopy(field, width, text);
}

}  // namespace orbeck
