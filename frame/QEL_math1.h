#pragma once
// Numeric helpers of the numerics package. Rounding and integer division come from
// platform/rtl/SafeMath.h, the one road from double to integer: RoundToInt/RoundToInt64 round
// to nearest with halves to even, TruncToInt/TruncToInt64 truncate, DivTrunc divides toward
// zero, MulDiv computes a * b / c rounded to nearest; all saturate and map NaN to 0.
#include <string_view>

#include "platform/rtl/SafeMath.h"

namespace qel {

// The largest integer not above X (rounding toward negative infinity), saturating at the int
// range; NaN gives 0.
int IntNeg(double X);

// True when Text is a decimal integer that fits 32 bits: optional blanks, an optional sign,
// at least one digit, optional blanks, nothing else.
bool IsValidDecInt(std::string_view Text);

}  // namespace qel
