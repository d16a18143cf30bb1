// Clipboard text read by the table editor: Extract from Clipboard and the matrix size it fills.
// Whatever the text, every number lands inside the size ClipTextMatrixSize reports, values are
// finite and within +-uc_MaxDouble, extraction never writes outside the table nor changes its
// size or cell states, and the visit count equals the count extraction reports.
#include <cmath>
#include <cstdint>
#include <string>

#include "frame/QEL_univconst.h"
#include "fuzz/FuzzCheck.h"
#include "ntabed/QEL_ntabed.h"

using namespace qel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  if (Size == 0 || Size > 65536) return 0;
  // The first byte places the extraction's top-left, the rest is the text.
  const int left = 1 + Data[0] % 4, top = 1 + (Data[0] >> 4) % 4;
  const std::string text(reinterpret_cast<const char*>(Data) + 1, Size - 1);

  int nc = 0, nr = 0;
  const bool any = ClipTextMatrixSize(text, nc, nr);
  QEL_FUZZ_CHECK(nc >= 1 && nr >= 1);
  int64_t visited = 0;
  const int64_t n = ForEachClipNumber(text, [&](int I, int J, double V) {
    QEL_FUZZ_CHECK(I >= 0 && J >= 0 && I < nc && J < nr);
    QEL_FUZZ_CHECK(std::isfinite(V) && std::fabs(V) <= uc_MaxDouble);
    ++visited;
  });
  QEL_FUZZ_CHECK(n == visited);
  QEL_FUZZ_CHECK(any == (n > 0));

  constexpr double kUntouched = -7.25;
  TDataTable table(5, 5);
  table.Matrix().Fill(kUntouched);
  for (int c = 1; c <= 5; ++c)
    for (int r = 1; r <= 5; ++r) table.SetCellState(c, r, static_cast<uint8_t>(c * 16 + r));
  int maxI = 0, maxJ = 0;
  QEL_FUZZ_CHECK(ExtractClipNumbers(table, left, top, text, maxI, maxJ) == n);
  QEL_FUZZ_CHECK(table.NrOfColumns() == 5 && table.NrOfRows() == 5);
  QEL_FUZZ_CHECK(maxI < nc && maxJ < nr);
  for (int c = 1; c <= 5; ++c)
    for (int r = 1; r <= 5; ++r) {
      QEL_FUZZ_CHECK(table.GetCellState(c, r) == c * 16 + r);
      // Cells before the top-left, or beyond what the text reaches, keep their value.
      if (c < left || r < top || c > left + maxI || r > top + maxJ)
        QEL_FUZZ_CHECK(table.GetElem(c, r) == kUntouched);
    }
  return 0;
}
