// A reviewed image of the rotated label: the four quarter turns and an oblique angle, each with
// the three alignments, plain text so the comparison is exact.
#include <gtest/gtest.h>

#include "displays/QEL_RotLab.h"
#include "tests/support/Golden.h"

namespace qel {
namespace {

TEST(RotLabGolden, AnglesAndAlignments) {
  const int angles[] = {0, 90, 180, 270, 30};
  const TAlignment aligns[] = {taLeftJustify, taCenter, taRightJustify};
  TBitmap sheet(5 * 110, 3 * 110);
  test::FillBitmap(sheet, clWhite);
  for (int a = 0; a < 5; ++a) {
    for (int l = 0; l < 3; ++l) {
      TRotLab r(nullptr);
      r.SetBounds(0, 0, 108, 108);
      r.SetAntiAlias(false);
      r.SetCaption("Angle " + std::to_string(angles[a]));
      r.SetAlignment(aligns[l]);
      r.SetTextAngle(angles[a]);
      r.SetFrameStyle(fsSimple);
      r.PaintTo(&sheet, a * 110, l * 110);
    }
  }
  test::ExpectMatchesGolden(sheet, "displays_rotlab");
}

}  // namespace
}  // namespace qel
