#pragma once
// The foundation unit: the error base, the message builder of component errors, the shared
// enumerations, the progress event, the frame-colour rule of the colour schemes, frame and mark
// drawing, and the month and weekday name tables.
#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/graphics/Color.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Exceptions.h"

namespace qel {

class TCanvas;

class EQELError : public Exception {
 public:
  using Exception::Exception;
};

// "Component \"" + Name + Ending, e.g. ComponentMessage("NumIO1", "\": no timer available").
inline std::string ComponentMessage(const std::string& Name, const std::string& Ending) {
  return "Component \"" + Name + Ending;
}

// The fixed endings of component errors.
inline constexpr const char* kNoTimerAvailable = "\": no timer available";
inline constexpr const char* kNotEnoughMemory = "\": not enough memory on heap";
inline constexpr const char* kFailedToInitialize = "\": failed to initialize (out of memory)";
inline constexpr const char* kFailedToInitializeTableEditor =
    "\": failed to initialize table editor (out of memory)";
inline constexpr const char* kIntegerOverflow = "\": integer overflow";

// ---------------------------------------------------------------- shared enumerations
// Components store these as one byte and act on their ordinals; the order is fixed.

// The colour scheme of a component's frame: csBWG uses gray and white for the shaded and lit
// edges, every other ordinal the system button shadow and highlight.
enum TColorScheme : uint8_t { csBWG, csSystem };

// Frames drawn by DrawFrame: none, a single line, a lowered and a raised bevel, and the two
// double bevels (a ridge that stands out, a groove cut in).
enum TFrameStyle : uint8_t { fsNone, fsSimple, fsLowered, fsRaised, fsEmbossed, fsEngraved };

// How a background bitmap fills an area: at its own size, stretched, tiled.
enum TBkgFill : uint8_t { bfSimple, bfStretch, bfTile };

// Decimal separator choice of numeric fields: the locale's, point, comma, either.
enum TDecPSep : uint8_t { dpsSystem, dpsPoint, dpsComma, dpsBoth };

// Language of calendar texts; lgNeutral reads the English tables.
enum TLanguage : uint8_t { lgNeutral, lgEnglish, lgGerman, lgFrench, lgSpanish };
inline constexpr int kLanguageCount = 5;

// Fill direction of bars: upwards, downwards, to the left, to the right.
enum TDirection : uint8_t { drUp, drDown, drLeft, drRight };

// Direction of advance after an entry: down the column, along the row.
enum TOrientation : uint8_t { orVertical, orHorizontal };

// Field delimiter of CSV exchange.
enum TCSVDelimiters : uint8_t { csvComma, csvSemicolon, csvTab, csvSpace };
char CSVDelimiterChar(TCSVDelimiters Delimiter);

// A logical operator combining two findings. loNone keeps the second operand alone.
enum TLogicOp : uint8_t { loNone, loAnd, loOr, loXor };
bool ApplyLogicOp(TLogicOp Op, bool A, bool B);

// Progress of long operations, Percent in 0..100.
using TOnPercentDoneEvent = std::function<void(TObject* Sender, int Percent)>;

// ---------------------------------------------------------------- frame colours

// The shaded and lit edge colours that go with a colour scheme.
struct TSchemeColors {
  TColor Shadow;
  TColor Highlight;
};
inline TSchemeColors SchemeFrameColors(TColorScheme Scheme) {
  if (Scheme == csBWG) return {clGray, clWhite};
  return {clBtnShadow, clBtnHighlight};
}

// ---------------------------------------------------------------- drawing

// Draws a frame of Style round the inclusive rectangle Left..Right x Top..Bottom, two pixels
// wide for the bevels. C1 is the lit colour, C3 the shaded one, C4 the dark inner edge of the
// lowered bevel, C5 the dark outer edge of the raised bevel; C2 (the face colour) is not
// painted by any style, so the two off-diagonal corners keep what was there. Pen and brush are
// restored afterwards. Callers pass white, silver, gray, black, black by default.
void DrawFrame(TCanvas* Canvas, TFrameStyle Style, int Left, int Top, int Right, int Bottom,
               TColor C1, TColor C2, TColor C3, TColor C4, TColor C5);

// Number of mark symbols of DrawMarkOnCanvas (types 0..51).
inline constexpr int kMarkCount = 52;
// The largest mark spans 11 x 11 pixels, centred on its point.
inline constexpr int kMarkRadius = 5;

// The pixels of a mark: row y (0..10) of the 11 x 11 box centred on the point, bit x set for
// column x (0..10). An unknown type gives an empty mask.
using TMarkMask = std::array<uint16_t, 2 * kMarkRadius + 1>;
const TMarkMask& MarkMask(uint8_t MarkType);
// A short descriptive name of each mark ("filled circle 9"); empty for unknown types.
const char* MarkName(uint8_t MarkType);

// Draws mark MarkType centred at (X, Y) entirely in the canvas pen colour (outline and fill
// alike, so it stands out on any cell background). Unknown types draw nothing. The canvas
// brush is restored afterwards.
void DrawMarkOnCanvas(TCanvas* Canvas, uint8_t MarkType, int X, int Y);

// The outline of the inclusive rectangle Left..Right x Top..Bottom in the canvas pen; the
// inside is left untouched.
void DrawRectangle(TCanvas* Canvas, int Left, int Top, int Right, int Bottom);

// ---------------------------------------------------------------- name tables
// Indexed by TLanguage ordinal, then by month 1..12 or weekday 1..7 (Monday first); index 0 is
// empty. At most 10 characters (MonthLong, WeekDayLong), 4 (MonthShort) and 3 (WeekDayShort).

extern const std::array<std::array<const char*, 13>, kLanguageCount> MonthLong;
extern const std::array<std::array<const char*, 13>, kLanguageCount> MonthShort;
extern const std::array<std::array<const char*, 8>, kLanguageCount> WeekDayLong;
extern const std::array<std::array<const char*, 8>, kLanguageCount> WeekDayShort;

// The compare-and-store step of a setter: false, and nothing stored, when Value equals Field; a
// setter then returns without an event or a repaint.
template <class V>
bool Store(V& Field, V Value) {
  if (Field == Value) return false;
  Field = Value;
  return true;
}

}  // namespace qel
