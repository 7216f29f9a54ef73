// Ten-thousandths of a yen as decimal yen text ("1500000", "-2.5"), the host document's
// form of an amount.
#pragma once

#include <cstdint>
#include <string>

namespace orbeck::import {

std::string YenText(int64_t tenThousandths);

}  // namespace orbeck::import
