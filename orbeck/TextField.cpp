// Byte-exact fills of the records' text fields.
#include "orbeck/TextField.h"

#include <cstring>

#include "platform/Cp932.h"

namespace orbeck {

void FillNameField(char* field, std::size_t width, std::string_view text) {
  // Millions of postings pass here: the text is fitted in place, without a copy in between.
  const std::size_t length = platform::cp932::BoundedLength(text, width);
  std::memset(field, 0, width);
  if (length > 0) std::memcpy(field, text.data(), length);
}

void FillTextField(char* field, std::size_t width, std::string_view text) {
  std::memset(field, 0, width);
  platform::cp932::BoundedCopy(field, width, text);
}

}  // namespace orbeck
