// FixedAmount conversions and arithmetic. Unchecked operations wrap like the host's own
// 64-bit sums instead of invoking undefined behaviour.
#include "aggregate/FixedAmount.h"

namespace {

int64_t WrappingAdd(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) + static_cast<uint64_t>(b));
}

int64_t WrappingSub(int64_t a, int64_t b) {
  return static_cast<int64_t>(static_cast<uint64_t>(a) - static_cast<uint64_t>(b));
}

}  // namespace

FixedAmount FixedAmount::FromRaw(int64_t raw) {
  FixedAmount amount;
  // Through uint64_t so that INT64_MIN has a magnitude too.
  const uint64_t magnitude = raw < 0 ? 0 - static_cast<uint64_t>(raw) : static_cast<uint64_t>(raw);
  amount.sign_ = raw < 0 ? -1 : 1;
  amount.whole_ = magnitude / 10000;
  amount.fraction_ = static_cast<uint32_t>(magnitude % 10000);
  return amount;
}

FixedAmount FixedAmount::FromInt(int32_t value) {
  FixedAmount amount;
  amount.sign_ = value < 0 ? -1 : 1;
  amount.whole_ =
      value < 0 ? 0 - static_cast<uint64_t>(static_cast<int64_t>(value)) : static_cast<uint64_t>(value);
  return amount;
}

int64_t FixedAmount::Raw() const {
  const uint64_t magnitude = whole_ * 10000 + fraction_;
  return static_cast<int64_t>(sign_ < 0 ? 0 - magnitude : magnitude);
}

bool FixedAmount::CheckedAdd(const FixedAmount& a, const FixedAmount& b, FixedAmount& out) {
  int64_t sum = 0;
  if (__builtin_add_overflow(a.Raw(), b.Raw(), &sum)) return false;
  if (sum >= kRawLimit || sum <= -kRawLimit) return false;
  out = FromRaw(sum);
  return true;
}

FixedAmount& FixedAmount::operator+=(const FixedAmount& other) {
  *this = FromRaw(WrappingAdd(Raw(), other.Raw()));
  return *this;
}

FixedAmount operator-(const FixedAmount& a, const FixedAmount& b) {
  return FixedAmount::FromRaw(WrappingSub(a.Raw(), b.Raw()));
}

FixedAmount operator+(int64_t raw, const FixedAmount& b) {
  return FixedAmount::FromRaw(WrappingAdd(raw, b.Raw()));
}

bool FixedAmount::DiffersFromInt(int64_t value) const {
  if (fraction_ != 0) return true;
  const int64_t signedWhole = sign_ < 0 ? -static_cast<int64_t>(whole_) : static_cast<int64_t>(whole_);
  return signedWhole != value;
}
