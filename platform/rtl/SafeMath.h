#pragma once
// The one road from double to integer: no conversion here has undefined behaviour. Values
// beyond the target range saturate at its ends; NaN maps to 0.
#include <cmath>
#include <cstdint>
#include <limits>

namespace qel {

// Rounds to the nearest integer, halves to the even neighbour (the classic Round), saturating.
inline int64_t RoundToInt64(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
  if (x <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(std::nearbyint(x));  // default rounding mode: to nearest, ties even
}

inline int RoundToInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return std::numeric_limits<int>::max();
  if (x <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(std::nearbyint(x));
}

// Truncates toward zero (the classic Trunc), saturating.
inline int64_t TruncToInt64(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 9223372036854775807.0) return std::numeric_limits<int64_t>::max();
  if (x <= -9223372036854775808.0) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(x);
}

inline int TruncToInt(double x) {
  if (std::isnan(x)) return 0;
  if (x >= 2147483647.0) return std::numeric_limits<int>::max();
  if (x <= -2147483648.0) return std::numeric_limits<int>::min();
  return static_cast<int>(x);
}

// Integer division toward zero that cannot trap: a zero divisor gives 0, and INT_MIN / -1
// saturates.
inline int DivTrunc(int a, int b) {
  if (b == 0) return 0;
  if (b == -1) return a == std::numeric_limits<int>::min() ? std::numeric_limits<int>::max() : -a;
  return a / b;
}

// a * b / c rounded to nearest (halves away from zero), computed in 64 bits; -1 when c is 0,
// as the classic Win32 routine answers.
inline int MulDiv(int a, int b, int c) {
  if (c == 0) return -1;
  int64_t p = static_cast<int64_t>(a) * b;
  int64_t q = p / c;
  int64_t r = p % c;
  if (r != 0 && 2 * (r < 0 ? -r : r) >= (c < 0 ? -static_cast<int64_t>(c) : c))
    q += ((p < 0) != (c < 0)) ? -1 : 1;
  if (q > std::numeric_limits<int>::max() || q < std::numeric_limits<int>::min()) return -1;
  return static_cast<int>(q);
}

}  // namespace qel
