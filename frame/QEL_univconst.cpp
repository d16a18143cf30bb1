#include "frame/QEL_univconst.h"

#include <cmath>
#include <limits>

namespace qel {
const double uc_MaxDouble = std::numeric_limits<double>::max();
const double uc_MaxReal = 1.7e38;
const double uc_ln10 = 2.302585092994045684;
}  // namespace qel
