// TNTabEd and the clipboards: Copy (values and states into the internal clipboard, text onto the
// system clipboard), Paste (from the internal one), Extract from Clipboard (numbers read out of
// any text) and the size a text would fill.
#include <algorithm>
#include <cstring>
#include <new>

#include "frame/QEL_univconst.h"
#include "ntabed/QEL_ntabed.h"
#include "numio/NumNotation.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/NumText.h"

namespace qel {

namespace {

inline bool StartsNumber(char Ch) {
  return Ch == '+' || Ch == '-' || Ch == '.' || (Ch >= '0' && Ch <= '9');
}

// The text as extraction reads it: tabs, carriage returns and commas become blanks (so a comma
// separates numbers rather than decimals), and a blank ends it.
std::string ExtractionText(std::string_view Text) {
  std::string s;
  s.reserve(Text.size() + 1);
  s.append(Text);
  for (char& ch : s)
    if (ch == '\t' || ch == '\r' || ch == ',') ch = ' ';
  s.push_back(' ');
  return s;
}

}  // namespace

double ScanClipNumber(const std::string& Text, int& Pos) {
  return ScanFloatText(Text, true, kSepPointOrComma, Pos);
}

int64_t ForEachClipNumber(std::string_view Text,
                          const std::function<void(int I, int J, double Value)>& Visit) {
  // Positions are 1-based int; a text beyond that is read up to the last position an int holds.
  const std::string s = ExtractionText(Text.substr(0, std::min<size_t>(Text.size(), 0x7FFFFFF0)));
  const char* p = s.data();
  const int len = static_cast<int>(s.size());
  int pos = 1, i = 0, j = 0;
  int64_t count = 0;
  // Moves to the next character that starts a number, counting the line feeds passed.
  auto skip = [&] {
    while (pos <= len && !StartsNumber(p[pos - 1])) {
      if (p[pos - 1] == '\n') ++j, i = 0;
      ++pos;
    }
  };
  skip();
  while (pos <= len) {
    const int start = pos;
    const double v = ScanClipNumber(s, pos);
    if (pos <= start) pos = start + 1;  // a lone sign or point still moves on
    Visit(i, j, v);
    ++count;
    ++i;
    skip();
  }
  return count;
}

bool ClipTextMatrixSize(std::string_view Text, int& NCols, int& NRows) {
  NCols = 1;
  NRows = 1;
  const int64_t n = ForEachClipNumber(Text, [&](int I, int J, double) {
    NCols = std::max(NCols, I + 1);
    NRows = std::max(NRows, J + 1);
  });
  return n > 0;
}

int64_t ExtractClipNumbers(TDataTable& Table, int Left, int Top, std::string_view Text, int& MaxI,
                           int& MaxJ) {
  MaxI = MaxJ = -1;
  const int64_t nc = Table.NrOfColumns(), nr = Table.NrOfRows();
  return ForEachClipNumber(Text, [&](int I, int J, double V) {
    const int64_t c = int64_t{Left} + I, r = int64_t{Top} + J;
    if (c >= 1 && c <= nc && r >= 1 && r <= nr) Table.Matrix().At(int(c), int(r)) = V;
    MaxI = std::max(MaxI, I);
    MaxJ = std::max(MaxJ, J);
  });
}

// ---------------------------------------------------------------- Copy

std::string TNTabEd::SelectionText() const {
  const TGridRect s = TableSelection();
  std::string out;
  for (int r = s.Top; r <= s.Bottom; ++r) {
    out.push_back(' ');
    for (int c = s.Left; c <= s.Right; ++c) {
      if (c > s.Left) out.push_back('\t');
      if (!GetIsNumber(c, r)) {
        out += "####";
        continue;
      }
      const double x = FData->GetElem(c, r);
      if (FClipboardUseFullPrec)
        out += StrSci(x, 22);
      else
        out += StrFixed(x, 1, GetDecPlaces(c));  // -1 decimals: exponent notation
    }
    out += "\r\n";
  }
  return out;
}

void TNTabEd::CopyToClipboard() {
  const TGridRect s = TableSelection();
  const int w = s.Right - s.Left + 1, h = s.Bottom - s.Top + 1;
  if (w < 1 || h < 1) return;
  try {
    FClip->Resize(w, h);
    for (int c = s.Left; c <= s.Right; ++c)
      for (int r = s.Top; r <= s.Bottom; ++r) {
        FClip->Matrix().At(c - s.Left + 1, r - s.Top + 1) = FData->GetElem(c, r);
        FClip->SetCellState(c - s.Left + 1, r - s.Top + 1, FData->GetCellState(c, r));
      }
    Clipboard()->SetAsText(SelectionText());
  } catch (const EOutOfMemory&) {
    RaiseError("\": not enough memory on heap");
  } catch (const std::bad_alloc&) {
    RaiseError("\": not enough memory on heap");
  }
  FClipFilled = true;
}

// ---------------------------------------------------------------- Paste

void TNTabEd::PasteFromClipboard() {
  if (!FClipFilled) return;
  const TGridRect s = TableSelection();
  const int w = FClip->NrOfColumns(), h = FClip->NrOfRows();
  {
    TQuietData quiet(*this);
    for (int c = 1; c <= w; ++c)
      for (int r = 1; r <= h; ++r) {
        const int tc = s.Left + c - 1, tr = s.Top + r - 1;
        if (tc > NrOfColumns() || tr > NrOfRows()) continue;
        FData->Matrix().At(tc, tr) = FClip->GetElem(c, r);
        FData->SetCellState(tc, tr, FClip->GetCellState(c, r));
      }
  }
  // The selection covers what was pasted, within the table.
  SetTableSelection({s.Left, s.Top, std::min(s.Left + w - 1, NrOfColumns()),
                     std::min(s.Top + h - 1, NrOfRows())});
  Invalidate();
  ChangedData();
  ChangedCellStates();
  if (OnPaste) OnPaste(this);
}

// ---------------------------------------------------------------- Extract from Clipboard

void TNTabEd::ExtractFromClipboard() {
  if (!Clipboard()->HasFormat(CF_TEXT)) return;
  const std::string text = Clipboard()->GetAsText();
  const TGridRect s = TableSelection();
  int maxI = -1, maxJ = -1;
  {
    TQuietData quiet(*this);
    ExtractClipNumbers(*FData, s.Left, s.Top, text, maxI, maxJ);
  }
  if (maxI >= 0)
    SetTableSelection(
        {s.Left, s.Top, int(std::min<int64_t>(int64_t{s.Left} + maxI, NrOfColumns())),
         int(std::min<int64_t>(int64_t{s.Top} + maxJ, NrOfRows()))});
  Invalidate();
  ChangedData();
  if (OnPaste) OnPaste(this);
}

bool TNTabEd::GetClipMatrixSize(int& NCols, int& NRows) const {
  NCols = NRows = 1;
  if (!Clipboard()->HasFormat(CF_TEXT)) return false;
  return ClipTextMatrixSize(Clipboard()->GetAsText(), NCols, NRows);
}

}  // namespace qel
