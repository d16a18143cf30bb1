#include "frame/QEL_math1.h"

#include <cmath>
#include <cstdint>

namespace qel {

int IntNeg(double X) {
  if (std::isnan(X)) return 0;
  return TruncToInt(std::floor(X));
}

bool IsValidDecInt(std::string_view Text) {
  size_t i = 0, n = Text.size();
  while (i < n && Text[i] == ' ') ++i;
  while (n > i && Text[n - 1] == ' ') --n;
  bool negative = false;
  if (i < n && (Text[i] == '+' || Text[i] == '-')) negative = Text[i++] == '-';
  if (i >= n) return false;
  int64_t v = 0;
  for (; i < n; ++i) {
    if (Text[i] < '0' || Text[i] > '9') return false;
    v = v * 10 + (Text[i] - '0');
    if (v > 2147483648LL) return false;  // stop before the digits could overflow
  }
  return negative || v <= 2147483647LL;
}

}  // namespace qel
