// FixedAmount: the engine's exact amount, a sign and magnitude of whole yen and
// ten-thousandths of a yen. Its raw form is the host's signed 64-bit amount in
// ten-thousandths of a yen. Only the checked sum is range-checked; the other operations
// assume magnitudes the host can deliver.
#pragma once

#include <cstdint>

class FixedAmount {
 public:
  // Magnitudes at or beyond this many ten-thousandths (10^14 yen) have no value.
  static constexpr int64_t kRawLimit = 1000000000000000000LL;

  FixedAmount() = default;
  virtual ~FixedAmount() = default;
  FixedAmount(const FixedAmount&) = default;
  FixedAmount& operator=(const FixedAmount&) = default;

  static FixedAmount FromRaw(int64_t raw);
  static FixedAmount FromInt(int32_t value);
  int64_t Raw() const;

  uint64_t Whole() const { return whole_; }
  uint32_t Fraction() const { return fraction_; }
  int16_t Sign() const { return sign_; }

  // a + b into out; false, with out untouched, when the sum's magnitude reaches kRawLimit
  // or the raw addition itself overflows.
  static bool CheckedAdd(const FixedAmount& a, const FixedAmount& b, FixedAmount& out);

  FixedAmount& operator+=(const FixedAmount& other);
  friend FixedAmount operator-(const FixedAmount& a, const FixedAmount& b);
  friend FixedAmount operator+(int64_t raw, const FixedAmount& b);
  friend bool operator==(const FixedAmount& a, const FixedAmount& b) { return a.Raw() == b.Raw(); }
  friend bool operator!=(const FixedAmount& a, const FixedAmount& b) { return a.Raw() != b.Raw(); }

  bool DiffersFromInt(int64_t value) const;

 private:
  uint64_t whole_ = 0;
  uint32_t fraction_ = 0;
  int16_t sign_ = 1;
};
