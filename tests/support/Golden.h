#pragma once
// Golden images and pixel probes for tests that draw.
//
// ExpectMatchesGolden compares a bitmap with tests/golden/<Name>.png, colour for colour. On a
// difference it writes tests/golden/<Name>_actual.png beside the reference and fails with the
// number of differing pixels and the first one. References are written only when QEL_REGENERATE_GOLDEN=1 is set
// (review them before committing).
#include <map>
#include <string>

#include "platform/graphics/Graphics.h"

namespace qel::test {

// Every pixel must match exactly, except at most TextPixelBudget of them: a sheet that draws
// anti-aliased text may give its glyph edges that much room (a font package update moves a few
// edge pixels). A wrong colour in a fill or a line always fails, since it changes many pixels.
void ExpectMatchesGolden(const TBitmap& Bitmap, const std::string& Name, int TextPixelBudget = 0);

// The folder of the reference images (tests/golden in the source tree).
std::string GoldenDir();

// Rows of R as characters, one per pixel: Legend maps colours (TColor) to characters, Other is
// used for any colour not in it. Rows end with "\n". Pixels outside the bitmap read as ' '.
std::string AsciiArt(const TBitmap& Bitmap, const TRect& R, const std::map<TColor, char>& Legend,
                     char Other = '?');

// The pixel at (X, Y) as a TColor (top byte dropped); clNone outside the bitmap.
TColor PixelAt(const TBitmap& Bitmap, int X, int Y);

// The smallest rectangle holding every pixel of R whose colour is not Background (empty when
// there is none) and how many such pixels there are.
TRect InkBounds(const TBitmap& Bitmap, TColor Background);
TRect InkBounds(const TBitmap& Bitmap, const TRect& R, TColor Background);
int CountPixels(const TBitmap& Bitmap, const TRect& R, TColor Color);
int CountOtherPixels(const TBitmap& Bitmap, const TRect& R, TColor Color);

// Fills the whole bitmap with one colour (without going through the canvas).
void FillBitmap(TBitmap& Bitmap, TColor Color);

}  // namespace qel::test
