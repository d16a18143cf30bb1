// The grid's input: keys, mouse (selection, sizing, moving, scroll bars), wheel and the timers
// that repeat held scroll-bar parts and grow a resting selection drag.
#include <algorithm>

#include "platform/controls/Forms.h"
#include "platform/grids/Grids.h"
#include "platform/rtl/SafeMath.h"

namespace qel {

// ---------------------------------------------------------------- input

void TCustomGrid::WMGetDlgCode(TMessage& Message) {
  Message.Result = DLGC_WANTARROWS;
  if (FOptions.Contains(goTabs)) Message.Result |= DLGC_WANTTAB;
  if (FOptions.Contains(goEditing)) Message.Result |= DLGC_WANTCHARS;
}

void TCustomGrid::WMSetFocus(TMessage& Message) {
  TCustomControl::WMSetFocus(Message);
  InvalidateGridRect(GetSelection());
  InvalidateCell(FCurrent.X, FCurrent.Y);
  // goAlwaysShowEditor: gaining the focus opens the editor (which then takes the focus), unless
  // the focus is coming back because the editor is closing.
  if (FOptions.Contains(goAlwaysShowEditor) && !FEditorMode && !FHidingEditor) ShowEditor();
}

void TCustomGrid::WMKillFocus(TMessage& Message) {
  TCustomControl::WMKillFocus(Message);
  InvalidateGridRect(GetSelection());
  InvalidateCell(FCurrent.X, FCurrent.Y);
}

TCursor TCustomGrid::GetCursorAt(int X, int Y) const {
  if (FGridState == gsColSizing) return crSizeWE;
  if (FGridState == gsRowSizing) return crSizeNS;
  if (FGridState == gsNormal) {
    switch (HitTestGrid(X, Y)) {
      case ghColLine:
        return crSizeWE;
      case ghRowLine:
        return crSizeNS;
      default:
        break;
    }
  }
  return TCustomControl::GetCursorAt(X, Y);
}

void TCustomGrid::WMCancelMode(TMessage& Message) {
  TCustomControl::WMCancelMode(Message);
  StopTimers();
  InvalidateRect(MoveIndicatorRect());
  FGridState = gsNormal;
  FThumbPixel = -1;
}

void TCustomGrid::KeyDown(uint16_t& Key, TShiftState Shift) {
  TCustomControl::KeyDown(Key, Shift);
  if (Key == 0) return;
  bool ctrl = Shift.Contains(ssCtrl), shift = Shift.Contains(ssShift);
  bool rowSelect = FOptions.Contains(goRowSelect);
  int lastCol = GetColCount() - 1, lastRow = GetRowCount() - 1;
  int page = std::max(1, VisibleRowCount());
  TGridCoord to = FCurrent;
  bool handled = true, moveAnchor = !shift;
  switch (Key) {
    case VK_UP:
      if (ctrl) return ScrollBy(true, -1);
      --to.Y;
      break;
    case VK_DOWN:
      if (ctrl) return ScrollBy(true, 1);
      ++to.Y;
      break;
    case VK_LEFT:
      // A whole-row selection has no column to move to: the view scrolls instead.
      if (rowSelect || ctrl) return ScrollBy(false, -1);
      --to.X;
      break;
    case VK_RIGHT:
      if (rowSelect || ctrl) return ScrollBy(false, 1);
      ++to.X;
      break;
    case VK_PRIOR:
      if (ctrl) {
        to.Y = FTopLeft.Y;
      } else {
        to.Y -= page;
        ScrollBy(true, -page);
      }
      break;
    case VK_NEXT:
      if (ctrl) {
        to.Y = FTopLeft.Y + std::max(0, VisibleRowCount() - 1);
      } else {
        to.Y = int(std::min<int64_t>(int64_t(to.Y) + page, INT32_MAX));  // no wrap at 2^31
        ScrollBy(true, page);
      }
      break;
    case VK_HOME:
      if (ctrl || rowSelect) to.Y = FFixedRows;
      if (!rowSelect) to.X = FFixedCols;
      break;
    case VK_END:
      if (ctrl || rowSelect) to.Y = lastRow;
      if (!rowSelect) to.X = lastCol;
      break;
    case VK_TAB:
      if (!FOptions.Contains(goTabs) || ctrl) {
        handled = false;
        break;
      }
      // Tab walks the cells row by row and wraps; the selection collapses to the cell.
      moveAnchor = true;
      if (shift) {
        if (--to.X < FFixedCols) to.X = lastCol, to.Y = to.Y > FFixedRows ? to.Y - 1 : lastRow;
      } else {
        if (++to.X > lastCol) to.X = FFixedCols, to.Y = to.Y < lastRow ? to.Y + 1 : FFixedRows;
      }
      break;
    case VK_F2:
    case VK_RETURN:
      if (!FOptions.Contains(goEditing)) return;
      // Enter closes an open editor; either key opens one.
      if (Key == VK_RETURN && FEditorMode)
        HideEditor();
      else
        ShowEditor();
      Key = 0;
      return;
    default:
      handled = false;
  }
  if (!handled) return;
  MoveCurrent(to.X, to.Y, moveAnchor, true);
  Key = 0;
}

void TCustomGrid::KeyPress(char32_t& Key) {
  TCustomControl::KeyPress(Key);
  // A printable character typed on the cell starts editing with that character.
  if (Key < 32 || Key == 127 || !FOptions.Contains(goEditing) || FEditorMode) return;
  ShowEditor();
  if (!FEditorMode || !FInplaceEdit) return;
  FInplaceEdit->SelectAll();
  FInplaceEdit->KeyPress(Key);
  Key = 0;
}

void TCustomGrid::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (CanFocus() && !Focused()) SetFocus();
    bool vert = false;
    int index = -1;
    TGridHitKind kind = HitTestGrid(X, Y, &vert, &index);
    switch (kind) {
      case ghLineUp:
      case ghLineDown:
      case ghPageUp:
      case ghPageDown:
        // Held down, the part repeats after a pause, as long as the pointer stays on it.
        ScrollPart(kind, vert);
        FGridState = gsScrollRepeat;
        FRepeatKind = kind;
        FRepeatVert = vert;
        FDragPoint = {X, Y};
        if (FTimerWnd) SetTimer(FTimerWnd, kRepeatTimer, RepeatDelayMs);
        break;
      case ghThumb: {
        TRect t = ScrollThumbRect(vert);
        FGridState = vert ? gsVertThumb : gsHorzThumb;
        FThumbGrab = vert ? Y - t.Top : X - t.Left;
        FThumbPixel = vert ? t.Top : t.Left;
        break;
      }
      case ghColLine:
      case ghRowLine: {
        int from, to;
        if (Span(View(vert), index, from, to)) {
          FGridState = vert ? gsRowSizing : gsColSizing;
          FSizingIndex = index;
          FSizingStart = from;
        }
        break;
      }
      case ghCell: {
        TGridCoord g = MouseCoord(X, Y);
        // Fixed cells are headers, not part of what can be selected; with the moving options a
        // header drags its column or row to a new place.
        bool colHead = g.Y < FFixedRows && g.X >= FFixedCols && FOptions.Contains(goColMoving);
        bool rowHead = g.X < FFixedCols && g.Y >= FFixedRows && FOptions.Contains(goRowMoving);
        if (colHead || rowHead) {
          FGridState = colHead ? gsColMoving : gsRowMoving;
          FMoveFrom = FMoveTo = colHead ? g.X : g.Y;
          break;
        }
        if (g.X < FFixedCols || g.Y < FFixedRows) break;
        bool extend = Shift.Contains(ssShift) && FOptions.Contains(goRangeSelect);
        if (!MoveCurrent(g.X, g.Y, !extend, true)) break;
        // A double click opens the editor on the cell; a single one may start a range drag.
        if (Shift.Contains(ssDouble) && FOptions.Contains(goEditing))
          ShowEditor();
        else
          FGridState = gsSelecting;
        break;
      }
      default:
        break;
    }
  }
  TCustomControl::MouseDown(Button, Shift, X, Y);
}

void TCustomGrid::MouseMove(TShiftState Shift, int X, int Y) {
  switch (FGridState) {
    case gsSelecting: {
      FDragPoint = {X, Y};
      SelectToward(FDragPoint);
      // Resting outside the cells keeps the selection growing on a timer.
      if (FTimerWnd && !CellArea().Contains(FDragPoint) && FOptions.Contains(goRangeSelect))
        SetTimer(FTimerWnd, kDragScrollTimer, DragScrollMs);
      else if (FTimerWnd)
        KillTimer(FTimerWnd, kDragScrollTimer);
      break;
    }
    case gsScrollRepeat:
      FDragPoint = {X, Y};
      break;
    case gsColMoving:
    case gsRowMoving: {
      bool rows = FGridState == gsRowMoving;
      TAxisView v = View(rows);
      int p = rows ? Y : X, target;
      if (p >= v.End)
        target = v.First + VisibleCount(v);
      else if (p < v.Start + ClampToInt(v.A->Pos(v.Fixed)))
        target = v.First - 1;
      else
        target = IndexAt(v, p) < 0 ? v.A->GetCount() - 1 : IndexAt(v, p);
      target = std::clamp(target, v.Fixed, v.A->GetCount() - 1);
      if (target != FMoveTo) {
        InvalidateRect(MoveIndicatorRect());
        FMoveTo = target;
        rows ? ScrollToCell(FTopLeft.X, target) : ScrollToCell(target, FTopLeft.Y);
        InvalidateRect(MoveIndicatorRect());
      }
      break;
    }
    case gsColSizing:
      SetColWidths(FSizingIndex, std::max(MinCellSize, X - FSizingStart));
      break;
    case gsRowSizing:
      SetRowHeights(FSizingIndex, std::max(MinCellSize, Y - FSizingStart));
      break;
    case gsVertThumb:
    case gsHorzThumb: {
      bool vert = FGridState == gsVertThumb;
      FThumbPixel = (vert ? Y : X) - FThumbGrab;
      if (FOptions.Contains(goThumbTracking)) {
        int target = ThumbIndexAt(vert, FThumbPixel);
        vert ? MoveTopLeft(FTopLeft.X, target) : MoveTopLeft(target, FTopLeft.Y);
      }
      InvalidateRect(vert ? VertScrollBarRect() : HorzScrollBarRect());
      break;
    }
    default:
      break;
  }
  TCustomControl::MouseMove(Shift, X, Y);
}

void TCustomGrid::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Button == mbLeft) {
    if (FGridState == gsVertThumb || FGridState == gsHorzThumb) {
      bool vert = FGridState == gsVertThumb;
      int target = ThumbIndexAt(vert, FThumbPixel);
      FGridState = gsNormal;
      FThumbPixel = -1;
      vert ? MoveTopLeft(FTopLeft.X, target) : MoveTopLeft(target, FTopLeft.Y);
      InvalidateRect(vert ? VertScrollBarRect() : HorzScrollBarRect());
    }
    StopTimers();
    TGridState was = FGridState;
    InvalidateRect(MoveIndicatorRect());
    FGridState = gsNormal;
    if (was == gsColMoving) MoveColumn(FMoveFrom, FMoveTo);
    if (was == gsRowMoving) MoveRow(FMoveFrom, FMoveTo);
    FMoveFrom = FMoveTo = -1;
  }
  TCustomControl::MouseUp(Button, Shift, X, Y);
}

void TCustomGrid::ScrollPart(TGridHitKind Kind, bool Vertical) {
  int page = std::max(1, VisibleCount(View(Vertical)));
  switch (Kind) {
    case ghLineUp:
      return ScrollBy(Vertical, -1);
    case ghLineDown:
      return ScrollBy(Vertical, 1);
    case ghPageUp:
      return ScrollBy(Vertical, -page);
    case ghPageDown:
      return ScrollBy(Vertical, page);
    default:
      return;
  }
}

void TCustomGrid::SelectToward(TPoint P) {
  if (!FOptions.Contains(goRangeSelect)) return;
  // Beyond the cells the selection reaches for the next hidden cell, which scrolls it in.
  auto reach = [&](bool vert, int p) {
    TAxisView v = View(vert);
    // One cell past the last wholly shown one: each step scrolls by exactly one cell.
    if (p >= v.End) return v.First + VisibleCount(v);
    if (p < v.Start + ClampToInt(v.A->Pos(v.Fixed))) return v.First - 1;
    int i = IndexAt(v, p);
    return i < 0 ? v.A->GetCount() - 1 : i;
  };
  MoveCurrent(reach(false, P.X), reach(true, P.Y), false, true);
}

void TCustomGrid::StopTimers() {
  if (!FTimerWnd) return;
  KillTimer(FTimerWnd, kRepeatTimer);
  KillTimer(FTimerWnd, kDragScrollTimer);
}

void TCustomGrid::GridTimer(TMessage& Message) {
  if (Message.Msg != WM_TIMER) return;
  if (Message.WParam == kRepeatTimer) {
    if (FGridState != gsScrollRepeat) return StopTimers();
    SetTimer(FTimerWnd, kRepeatTimer, RepeatIntervalMs);
    bool vert = false;
    if (HitTestGrid(FDragPoint.X, FDragPoint.Y, &vert) == FRepeatKind && vert == FRepeatVert)
      ScrollPart(FRepeatKind, FRepeatVert);
  } else if (Message.WParam == kDragScrollTimer) {
    if (FGridState != gsSelecting) return StopTimers();
    SelectToward(FDragPoint);
  }
}

bool TCustomGrid::DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) {
  if (TCustomControl::DoMouseWheel(Shift, WheelDelta, MousePos)) return true;
  // A notch away from the user shows earlier rows; Shift turns the wheel sideways.
  bool vert = !Shift.Contains(ssShift);
  int cells = DivTrunc(WheelDelta * (vert ? WheelLines : 1), WHEEL_DELTA);
  if (cells == 0) cells = WheelDelta > 0 ? 1 : -1;
  ScrollBy(vert, -cells);
  return true;
}

}  // namespace qel
