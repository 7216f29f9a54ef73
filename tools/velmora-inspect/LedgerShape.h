// The shape of the general ledger, checked by the reader itself: the validator would visit
// every one of its millions of elements, so the schema's rules for HJ00780S (see
// docs/rc25.xsd) are kept here, as one ordered list of fields per form and per row.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace inspect {

class LedgerShape {
 public:
  // An element starts inside HJ00780S at the given depth below it (1 form, 2 form field or
  // row, 3 row field, deeper: inside a field). Returns the complaint, if any.
  std::optional<std::string> Start(std::string_view name, int depth);
  // The element at depth ends with its text.
  std::optional<std::string> End(std::string_view name, int depth, std::string_view text);

 private:
  int formField_ = 0;  // next of the four form fields; 4: rows follow
  int rowField_ = 0;   // next of the eight row fields
  int rows_ = 0;
  // After the first complaint inside a form or a row its other elements are not judged:
  // one misplaced element would otherwise be reported once for every one after it.
  bool formBroken_ = false;
  bool rowBroken_ = false;
};

}  // namespace inspect
