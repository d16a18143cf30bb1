// TNTabEd layout: column widths and row heights, decimal places, the attribute lines, scrolling,
// the look properties and selection tracking.
#include <algorithm>

#include "ntabed/QEL_ntabed.h"
#include "platform/rtl/NumText.h"

namespace qel {

// ---------------------------------------------------------------- decimal places

int TNTabEd::GetDecPlaces(int C) const {
  return C < 1 || C > int(FDecPlaces.size()) ? 0 : FDecPlaces[static_cast<size_t>(C - 1)];
}

void TNTabEd::SetDecPlaces(int C, int N) {
  if (C < 1 || C > int(FDecPlaces.size())) return;
  FDecPlaces[static_cast<size_t>(C - 1)] = static_cast<int8_t>(std::clamp(N, -1, 10));
  Invalidate();
  ChangedLayout();
}

void TNTabEd::SetNumWidth(int Value) {
  if (Value >= 1 && Value <= 20 && Value != FNumWidth) {
    FNumWidth = Value;
    Invalidate();
  }
  ChangedLayout();
}

// ---------------------------------------------------------------- widths and heights

int TNTabEd::GetColWidths(int C) const {
  if (C > 0) return C <= NrOfColumns() ? TCustomGrid::GetColWidths(C + FRA) : 0;
  if (C == 0) return TCustomGrid::GetColWidths(0);
  return FRA == 1 ? TCustomGrid::GetColWidths(1) : 0;
}

void TNTabEd::SetColWidths(int C, int W) {
  if (C > 0) {
    if (C <= NrOfColumns()) TCustomGrid::SetColWidths(C + FRA, W);
  } else if (C == 0) {
    TCustomGrid::SetColWidths(0, W);
  } else if (FRA == 1) {
    TCustomGrid::SetColWidths(1, W);
    FRowAttWidth = W;
  }
  ChangedLayout();
}

void TNTabEd::SetDefColWidth(int W) {
  SetDefaultColWidth(W);
  TCustomGrid::SetColWidths(0, 80);
  if (FRA == 1) TCustomGrid::SetColWidths(1, FRowAttWidth);
  ChangedLayout();
}

int TNTabEd::AutoColWidth(int C, bool WithHeader, int Extra) {
  TCanvas* cv = Canvas();
  cv->Font()->Assign(GetFont());
  int w = 0;
  if (C == -1) {
    w = cv->TextWidth(WithHeader ? "Attrib" : "255");
  } else if (C == 0) {
    w = cv->TextWidth("999:9999");
    for (int r = 1; r <= NrOfRows(); ++r) w = std::max(w, cv->TextWidth(FData->GetRowName(r)));
  } else if (C >= 1 && C <= NrOfColumns()) {
    if (WithHeader) w = cv->TextWidth(FData->GetColName(C));
    w = std::max(w, cv->TextWidth(IntToStr(FData->GetColAttrib(C))));
    const int d = GetDecPlaces(C);
    for (int r = 1; r <= NrOfRows(); ++r)
      w = std::max(w, cv->TextWidth(NTabNumberText(FData->GetElem(C, r), d, FNumWidth)));
  }
  const int result = std::max(w + Extra + 8, 4);
  SetColWidths(C, result);
  return result;
}

void TNTabEd::SetRowHeight(int R, int H) {
  if (R > 0) {
    if (R + FCA < GetRowCount()) SetRowHeights(R + FCA, H);
  } else if (R == 0) {
    SetRowHeights(0, H);
  } else if (FCA == 1) {
    SetRowHeights(1, H);
  }
}

int TNTabEd::AutoRowHeight(int R, int Extra) {
  TCanvas* cv = Canvas();
  cv->Font()->Assign(GetFont());
  const int h = std::max(cv->TextHeight("9GMg\xC3\x9C$\xC2\xA7[{|") + Extra + 2, 8);
  SetRowHeight(R, h);
  return h;
}

void TNTabEd::SetOptRowHeight(bool Value) {
  if (Value == FOptRowHeight) return;
  FOptRowHeight = Value;
  Invalidate();
}

void TNTabEd::ApplyOptimalRowHeight() {
  const int h = AutoRowHeight(-1, 2);
  if (h != GetDefaultRowHeight()) SetDefaultRowHeight(h);
}

// ---------------------------------------------------------------- attribute lines

void TNTabEd::SetRowAttVis(bool Value) {
  if (Value == (FRA == 1)) return;
  HideEditor();
  const int n = NrOfColumns();
  if (Value) {
    SetColCount(n + 2);
    SetFixedCols(2);
    FRA = 1;
    for (int g = n + 1; g >= 2; --g) TCustomGrid::SetColWidths(g, TCustomGrid::GetColWidths(g - 1));
    TCustomGrid::SetColWidths(1, FRowAttWidth);
  } else {
    for (int g = 1; g <= n; ++g) TCustomGrid::SetColWidths(g, TCustomGrid::GetColWidths(g + 1));
    SetFixedCols(1);
    FRA = 0;
    SetColCount(n + 1);
  }
  Invalidate();
  ChangedLayout();
}

void TNTabEd::SetColAttVis(bool Value) {
  if (Value == (FCA == 1)) return;
  HideEditor();
  const int n = NrOfRows();
  if (Value) {
    SetRowCount(n + 2);
    SetFixedRows(2);
    FCA = 1;
    for (int g = n + 1; g >= 2; --g) SetRowHeights(g, GetRowHeights(g - 1));
    SetRowHeights(1, GetRowHeights(0));
  } else {
    for (int g = 1; g <= n; ++g) SetRowHeights(g, GetRowHeights(g + 1));
    SetFixedRows(1);
    FCA = 0;
    SetRowCount(n + 1);
  }
  Invalidate();
  ChangedLayout();
}

// ---------------------------------------------------------------- scrolling and selection

void TNTabEd::SetLeftCol(int C) {
  TCustomGrid::SetLeftCol(std::clamp(C + FRA, FRA + 1, FRA + NrOfColumns()));
}

void TNTabEd::SetTopRow(int R) {
  TCustomGrid::SetTopRow(std::clamp(R + FCA, FCA + 1, FCA + NrOfRows()));
  Invalidate();
}

void TNTabEd::SetSuppressPaint(bool B) {
  if (B == FSuppressPaint) return;
  FSuppressPaint = B;
  if (!B) Invalidate();
}

TGridRect TNTabEd::TableSelection() const {
  TGridRect s = GetSelection();
  return {s.Left - FRA, s.Top - FCA, s.Right - FRA, s.Bottom - FCA};
}

void TNTabEd::SetTableSelection(const TGridRect& R) {
  SetSelection({R.Left + FRA, R.Top + FCA, R.Right + FRA, R.Bottom + FCA});
}

void TNTabEd::CheckSelectionChanged() {
  const TGridRect s = GetSelection();
  if (s == FSelRemembered) return;
  FSelRemembered = s;
  ChangedSelection();
}

void TNTabEd::TopLeftChanged() {
  CheckSelectionChanged();
  // Not suppressed: a host keeping a ruler or a second view in step needs every scroll.
  if (OnTopLeftChanged) OnTopLeftChanged(this);
}

// ---------------------------------------------------------------- look

void TNTabEd::SetColorBackground(TColor Value) {
  FColorBackground = Value;
  SetColor(Value);
}

void TNTabEd::SetColorFixed(TColor Value) {
  FColorFixed = Value;
  SetFixedColor(Value);
}

#define QEL_NTABED_COLOR(Setter, Field) \
  void TNTabEd::Setter(TColor Value) {  \
    if (Value == Field) return;         \
    Field = Value;                      \
    Invalidate();                       \
    ChangedLayout();                    \
  }
QEL_NTABED_COLOR(SetColorNormal, FColorNormal)
QEL_NTABED_COLOR(SetColorSelected, FColorSelected)
QEL_NTABED_COLOR(SetColorMarkedA, FColorMarkedA)
QEL_NTABED_COLOR(SetColorMarkedB, FColorMarkedB)
QEL_NTABED_COLOR(SetColorMarkedBoth, FColorMarkedBoth)
QEL_NTABED_COLOR(SetFColorRngSelFG, FColorRngSelFG)
QEL_NTABED_COLOR(SetFColorRngSelBG, FColorRngSelBG)
#undef QEL_NTABED_COLOR

void TNTabEd::SetBoldMarks(bool Value) {
  if (Value == FBoldMarks) return;
  FBoldMarks = Value;
  Invalidate();
}

void TNTabEd::SetBoldSelHeads(bool Value) {
  if (Value == FBoldSelHeads) return;
  FBoldSelHeads = Value;
  Invalidate();
}

void TNTabEd::SetShowCellCursor(bool Value) {
  if (Value == FShowCellCursor) return;
  FShowCellCursor = Value;
  Invalidate();
}

void TNTabEd::DisplayCellCursor(int ACol, int ARow) {
  if (!FShowCellCursor) return;
  FCursorCell = {ACol, ARow};
  InvalidateCell(0, 0);
}

void TNTabEd::CMFontChanged(TMessage& Message) {
  TCustomGrid::CMFontChanged(Message);
  Invalidate();
}

}  // namespace qel
