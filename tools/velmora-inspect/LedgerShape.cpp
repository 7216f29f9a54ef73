// The ledger's element order and value formats, worded as libxml2's validator words them.
#include "tools/velmora-inspect/LedgerShape.h"

#include <array>

namespace inspect {
namespace {

constexpr std::array<std::string_view, 4> kFormFields = {"HJ00780S0010", "HJ00780S0020", "HJ00780S0030",
                                                         "HJ00780S0040"};
constexpr std::array<std::string_view, 8> kRowFields = {"HJ00780S0050", "HJ00780S0060", "HJ00780S0070",
                                                        "HJ00780S0080", "HJ00780S0090", "HJ00780S0100",
                                                        "HJ00780S0110", "HJ00780S0120"};

bool IsYen(std::string_view t, std::size_t maxDigits) {
  if (t == "0") return true;
  if (!t.empty() && t[0] == '-') t.remove_prefix(1);
  if (t.empty() || t.size() > maxDigits || t[0] < '1' || t[0] > '9') return false;
  for (const char c : t) {
    if (c < '0' || c > '9') return false;
  }
  return true;
}

std::string Unexpected(std::string_view name, std::string_view expected) {
  std::string m = "structure: Element '" + std::string(name) + "': This element is not expected.";
  if (!expected.empty()) m += " Expected is ( " + std::string(expected) + " ).";
  return m;
}

std::string Missing(std::string_view name, std::string_view expected) {
  return "structure: Element '" + std::string(name) + "': Missing child element(s). Expected is ( " +
         std::string(expected) + " ).";
}

std::string BadValue(std::string_view name, std::string_view text) {
  return "structure: Element '" + std::string(name) + "': '" + std::string(text) +
         "' is not a valid value of the amount format.";
}

}  // namespace

std::optional<std::string> LedgerShape::Start(std::string_view name, int depth) {
  switch (depth) {
    case 1:
      if (name != "HJ00780S01") return Unexpected(name, "HJ00780S01");
      formField_ = 0;
      rows_ = 0;
      formBroken_ = false;
      return std::nullopt;
    case 2:
      if (formField_ < 4 && name == kFormFields[static_cast<std::size_t>(formField_)]) {
        ++formField_;
        return std::nullopt;
      }
      if (formField_ == 4 && name == "HJ00780S02") {
        rowField_ = 0;
        rowBroken_ = false;
        ++rows_;
        return std::nullopt;
      }
      if (formBroken_) return std::nullopt;
      formBroken_ = true;
      return Unexpected(name,
                        formField_ < 4 ? kFormFields[static_cast<std::size_t>(formField_)] : "HJ00780S02");
    case 3:
      if (rowField_ < 8 && name == kRowFields[static_cast<std::size_t>(rowField_)]) {
        ++rowField_;
        return std::nullopt;
      }
      if (rowBroken_) return std::nullopt;
      rowBroken_ = true;
      return Unexpected(name, rowField_ < 8 ? kRowFields[static_cast<std::size_t>(rowField_)] : "");
    default:
      return Unexpected(name, "");
  }
}

std::optional<std::string> LedgerShape::End(std::string_view name, int depth, std::string_view text) {
  if (depth == 1 && name == "HJ00780S01") {
    if (formBroken_) return std::nullopt;
    if (formField_ < 4) return Missing(name, kFormFields[static_cast<std::size_t>(formField_)]);
    if (rows_ == 0) return Missing(name, "HJ00780S02");
  } else if (depth == 2 && name == "HJ00780S02") {
    if (rowBroken_) return std::nullopt;
    if (rowField_ < 8) return Missing(name, kRowFields[static_cast<std::size_t>(rowField_)]);
  } else if (name == "HJ00780S0030" || name == "HJ00780S0040" || name == "HJ00780S0110" ||
             name == "HJ00780S0120") {
    // A posting's movement is never zero, but one under a yen is printed as 0.
    if (!IsYen(text, 19)) return BadValue(name, text);
  } else if (name == "HJ00780S0050") {
    if (!IsYen(text, 10)) return BadValue(name, text);
  }
  return std::nullopt;
}

}  // namespace inspect
