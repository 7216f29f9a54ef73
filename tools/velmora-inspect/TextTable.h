// Tables for the terminal, laid out in display cells: a double-byte character of code page
// 932 takes two cells, a single-byte one (half-width katakana included) one.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace inspect {

// Cells the UTF-8 text takes on a terminal.
int DisplayWidth(std::string_view utf8);
// The text cut to at most width cells (a cut marked with "~"), then padded to width.
std::string FitLeft(std::string_view utf8, int width);
std::string FitRight(std::string_view utf8, int width);

class TextTable {
 public:
  struct Column {
    std::string header;
    bool rightAligned = false;
  };
  explicit TextTable(std::vector<Column> columns) : columns_(std::move(columns)) {}

  void AddRow(std::vector<std::string> cells) { rows_.push_back(std::move(cells)); }
  void AddRule() { rows_.emplace_back(); }
  // Header, a rule under it, the rows; columns two cells apart.
  std::string Render() const;

 private:
  std::vector<Column> columns_;
  std::vector<std::vector<std::string>> rows_;  // an empty row is a rule
};

}  // namespace inspect
