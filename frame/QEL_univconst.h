#pragma once
// Universal constants shared by the packages.
namespace qel {
extern const double uc_MaxDouble;  // the largest finite double
extern const double uc_MaxReal;    // the largest finite value of the classic 48-bit real, 1.7e38
extern const double uc_ln10;       // natural logarithm of ten
}  // namespace qel
