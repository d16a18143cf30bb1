#pragma once
// Drawing helpers the widgets share: 3D frames, raised button faces, arrows; with them the
// drop-down lists' scroll bar and the repeat of a held button. Internal to platform/widgets.
#include <cstdint>
#include <functional>
#include <string>

#include "platform/controls/Messages.h"
#include "platform/graphics/Graphics.h"

namespace qel::widgetpaint {

// Draws Width one-pixel rings, TopColor on the top and left, BottomColor on the right and bottom,
// and shrinks Rect by what it drew (the classic Frame3D).
void Frame3D(TCanvas* C, TRect& Rect, TColor TopColor, TColor BottomColor, int Width);
// A push-button face filling R: raised, or sunken (one dark ring) when Pressed.
void ButtonFace(TCanvas* C, const TRect& R, bool Pressed);
// A small filled triangle centred in R pointing 0 up, 1 down, 2 left, 3 right.
void Arrow(TCanvas* C, const TRect& R, int Direction, TColor Color);
// Fills R with the classic checker of Color1 and Color2 (pressed-in toggle buttons, scroll bar
// tracks); the pattern is anchored to the canvas origin so neighbouring fills line up.
void Checker(TCanvas* C, const TRect& R, TColor Color1, TColor Color2);
// DrawText of a caption in the canvas font's colour, or, when not Enabled, embossed: a highlight
// copy one pixel down-right under the text in the shadow colour.
void DrawCaption(TCanvas* C, const std::string& Text, TRect R, unsigned Flags, bool Enabled);

// ---- a held button that repeats

// Runs a held button's step again after DelayMs, then every IntervalMs, until Stop: a private
// window's timer, so it follows the application's clock (virtual under headless, where tests
// move it with AdvanceTime). The step on the press itself is the caller's. The window is made
// on the first Start and goes with this object, taking a running timer with it.
class TPressRepeat {
 public:
  static constexpr unsigned DelayMs = 400;
  static constexpr unsigned IntervalMs = 50;

  TPressRepeat() = default;
  ~TPressRepeat();
  TPressRepeat(const TPressRepeat&) = delete;
  TPressRepeat& operator=(const TPressRepeat&) = delete;

  // (Re)arms the delay with Step as what repeats. Without a timer to be had the button simply
  // does not repeat.
  void Start(std::function<void()> Step);
  void Stop();
  bool Active() const { return FActive; }

 private:
  void Timer(TMessage& Message);
  HWND FWnd = 0;
  bool FActive = false;
  bool FDelaying = false;  // the first tick is still to come
  std::function<void()> FStep;
};

// ---- the items of a drop-down list (combo box list, grid pick list)

// The item a navigation key moves Current to in a list of Count items showing Visible at once:
// Up/Down by one, Page Up/Down by a page less one, Home/End (only when HomeEnd) to the ends;
// from no item (-1) Up and Page Up go to the first. Clamped to the items (-1 in an empty list);
// false for any other key.
bool ListKeyTarget(uint16_t Key, int Current, int Visible, int Count, bool HomeEnd, int& Target);
// The first item to show so that Index is in view, moving Top as little as possible.
int ListTopShowing(int Index, int Top, int Visible);
// Top clamped so that the last page is full.
int ClampListTop(int Top, int Visible, int Count);

// ---- the vertical scroll bar of a drop-down list (combo box list, grid pick list)

constexpr int ListScrollBarWidth = 16;  // the bar's width and the height of its arrow buttons

enum TListScrollPart : uint8_t { lsNone, lsLineUp, lsLineDown, lsPageUp, lsPageDown, lsThumb };

// The bar of a list showing Visible of Count items from Top, laid in Bar. Painting, hit testing
// and thumb dragging all read their rectangles from here.
struct TListScrollBar {
  TRect Bar;
  int Count = 0;
  int Visible = 1;
  int Top = 0;

  TRect UpButton() const;
  TRect DownButton() const;
  TRect Track() const;  // between the buttons
  // The thumb, sized to the visible share (at least 8 pixels); empty when the track is too short.
  TRect Thumb() const;
  int MaxTop() const;
  // The part under P (lsPageUp/lsPageDown: the track above/below the thumb).
  TListScrollPart HitTest(TPoint P) const;
  // The first item shown when the thumb's top edge is at ThumbTop (clamped).
  int TopForThumb(int ThumbTop) const;
  // Where one press on Part takes Top: an arrow by one item, the track by a page of Visible
  // items; Top itself for the thumb. Not clamped: the list clamps.
  int StepTop(TListScrollPart Part) const;
};

void PaintListScrollBar(TCanvas* C, const TListScrollBar& Bar);

// The mouse on a drop-down list's scroll bar, the same for every list that draws one. A press on
// an arrow or the track steps at once and, held, repeats while the pointer stays on that part,
// so paging stops where the thumb reaches the pointer (and goes on if the pointer moves past
// it). A press on the thumb drags it: the grabbed point stays under the pointer. Bar reads the
// bar as the list is now; Scroll asks the list to show item Top first (the list clamps).
class TListScrollInput {
 public:
  TListScrollInput(std::function<TListScrollBar()> Bar, std::function<void(int Top)> Scroll);

  // A press at P (list coordinates): false when P is off the bar, which then leaves the press
  // alone; else the bar owns the press until Release or Cancel.
  bool Press(TPoint P);
  void Move(TPoint P);
  // The button went up at P: a dragged thumb lands there, a repeat stops.
  void Release(TPoint P);
  // Ends the press where it is (the list closed, the capture went elsewhere).
  void Cancel();
  bool Pressed() const { return FPart != lsNone; }
  bool Dragging() const { return FPart == lsThumb; }
  bool Repeating() const { return FRepeat.Active(); }

 private:
  void DragTo(int Y);
  void Step();
  std::function<TListScrollBar()> FBar;
  std::function<void(int)> FScroll;
  TListScrollPart FPart = lsNone;  // the part pressed; lsNone when the bar has no press
  TPoint FAt;                      // where the pointer is now
  int FGrab = 0;                   // where in the thumb it was grabbed
  TPressRepeat FRepeat;
};

}  // namespace qel::widgetpaint
