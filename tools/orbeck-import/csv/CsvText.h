// A journal CSV's bytes as UTF-8 text: the encoding given, or detected (a byte-order mark or
// valid UTF-8 means UTF-8, anything else is read as code page 932), and the CSV records of
// that text split into fields with the line each record starts on.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/orbeck-import/csv/CsvLayout.h"

namespace orbeck::import {

// The UTF-8 text of the file's bytes; 0 with "LINE: ..." naming the first byte that does not
// decode in the chosen encoding.
int DecodeCsvText(std::string_view bytes, CsvEncoding encoding, std::string& text, std::string& error);

struct CsvRecord {
  long line = 0;  // the physical line the record starts on, from 1
  std::vector<std::string> fields;
};

// The records of a text one after another: fields separated by `delimiter`, double-quoted
// fields holding delimiters, line breaks and doubled quotes. Blank lines are no records.
class CsvRecords {
 public:
  CsvRecords(std::string_view text, char delimiter) : text_(text), delimiter_(delimiter) {}

  // 1 with the next record, or with no fields at the end of the text; 0 with "LINE: ..."
  // for a quote left open.
  int Next(CsvRecord& record, std::string& error);

 private:
  std::string_view text_;
  char delimiter_;
  std::size_t at_ = 0;
  long line_ = 1;
};

}  // namespace orbeck::import
