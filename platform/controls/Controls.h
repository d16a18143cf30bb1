#pragma once
// The component and control model: TComponent (ownership, names, state, notification),
// TControl (bounds, parent, look, mouse, messages, painting), TWinControl (children, focus,
// keys, tab order, a virtual window handle), TGraphicControl and TCustomControl.
//
// Where the code lives: Component.cpp, Control.cpp (bounds, look, messages, mouse),
// WinControl.cpp (children, alignment, focus, keys), Painting.cpp (invalidation, the paint walk,
// PaintTo). docs/controls.md describes the design.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <type_traits>
#include <unordered_map>
#include <vector>

#include "platform/controls/Messages.h"
#include "platform/graphics/Graphics.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Types.h"

namespace qel {

// The largest position (either sign) and size of a control, in pixels. Form files may nest
// controls 200 deep; within this bound every sum of positions and sizes along such a chain
// stays far inside int.
inline constexpr int kMaxControlCoord = 1 << 22;
// A 64-bit geometry result brought back into that range.
inline int ClampCoord(int64_t V) {
  return static_cast<int>(V < -kMaxControlCoord  ? -kMaxControlCoord
                          : V > kMaxControlCoord ? kMaxControlCoord
                                                 : V);
}

class TComponent;
class TControl;
class TWinControl;
class TForm;
class TPopupMenu;  // defined by the widgets layer; controls only keep a pointer to it

// ---------------------------------------------------------------- shared types

enum TOperation : uint8_t { opInsert, opRemove };

enum TComponentStateItem : uint8_t {
  csLoading,
  csReading,
  csWriting,
  csDestroying,
  csDesigning,
  csAncestor,
  csUpdating,
  csFixups,
  csFreeNotification,
  csInline,
  csDesignInstance
};
using TComponentState = TSet<TComponentStateItem>;

enum TControlStyleItem : uint8_t {
  csAcceptsControls,
  csCaptureMouse,
  csDesignInteractive,
  csClickEvents,
  csFramed,
  csSetCaption,
  csOpaque,
  csDoubleClicks,
  csFixedWidth,
  csFixedHeight,
  csNoDesignVisible,
  csReplicatable,
  csNoStdEvents,
  csDisplayDragImage,
  csReflector,
  csActionClient,
  csMenuEvents
};
using TControlStyle = TSet<TControlStyleItem>;

// Transient state of a control (classic ControlState).
enum TControlStateItem : uint8_t {
  csLButtonDown,
  csClicked,
  csPalette,
  csReadingState,
  csAlignmentNeeded,
  csFocusing,
  csCreating,
  csPaintCopy,
  csCustomPaint,
  csDestroyingHandle,
  csDocking
};
using TControlState = TSet<TControlStateItem>;

enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient, alCustom };
enum TAnchorKind : uint8_t { akLeft, akTop, akRight, akBottom };
using TAnchors = TSet<TAnchorKind>;

// Form border styles; edits and panels use the first two (TBorderStyle).
enum TFormBorderStyle : uint8_t {
  bsNone,
  bsSingle,
  bsSizeable,
  bsDialog,
  bsToolWindow,
  bsSizeToolWin
};
using TBorderStyle = TFormBorderStyle;

// Screen cursors (classic numbering: built-in cursors are negative).
using TCursor = int16_t;
constexpr TCursor crDefault = 0;
constexpr TCursor crNone = -1;
constexpr TCursor crArrow = -2;
constexpr TCursor crCross = -3;
constexpr TCursor crIBeam = -4;
constexpr TCursor crSizeNESW = -6;
constexpr TCursor crSizeNS = -7;
constexpr TCursor crSizeNWSE = -8;
constexpr TCursor crSizeWE = -9;
constexpr TCursor crUpArrow = -10;
constexpr TCursor crHourGlass = -11;
constexpr TCursor crDrag = -12;
constexpr TCursor crNoDrop = -13;
constexpr TCursor crHSplit = -14;
constexpr TCursor crVSplit = -15;
constexpr TCursor crMultiDrag = -16;
constexpr TCursor crSQLWait = -17;
constexpr TCursor crNo = -18;
constexpr TCursor crAppStart = -19;
constexpr TCursor crHelp = -20;
constexpr TCursor crHandPoint = -21;
constexpr TCursor crSizeAll = -22;
constexpr TCursor crSize = -22;

// Event types. The sender comes first; "var" arguments are references.
using TMouseEvent =
    std::function<void(TObject* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TMouseMoveEvent = std::function<void(TObject* Sender, TShiftState Shift, int X, int Y)>;
using TMouseWheelEvent = std::function<void(TObject* Sender, TShiftState Shift, int WheelDelta,
                                            TPoint MousePos, bool& Handled)>;
using TMouseWheelUpDownEvent =
    std::function<void(TObject* Sender, TShiftState Shift, TPoint MousePos, bool& Handled)>;
using TKeyEvent = std::function<void(TObject* Sender, uint16_t& Key, TShiftState Shift)>;
// Typed text reaches controls one Unicode code point at a time, so any UTF-8 text can be typed;
// a handler sets Key to 0 to swallow it.
using TKeyPressEvent = std::function<void(TObject* Sender, char32_t& Key)>;
// A context menu is about to open; MousePos is in client coordinates, (-1, -1) when the keyboard
// asked for it. Setting Handled keeps the menu shut.
using TContextPopupEvent = std::function<void(TObject* Sender, TPoint MousePos, bool& Handled)>;

// The classic handler of a private message window.
using TWndMethod = std::function<void(TMessage& Message)>;

// ---------------------------------------------------------------- TComponent

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* AOwner);
  // Destroys the owned components, tells everyone who asked (FreeNotification) and leaves the
  // owner.
  ~TComponent() override;
  std::string ClassName() const override { return "TComponent"; }

  TComponent* GetOwner() const { return FOwner; }
  const std::string& GetName() const { return FName; }
  // Raises EComponentError for a name that is not an identifier or that a sibling (a component
  // of the same owner) already has (compared case-insensitively). An empty name is allowed.
  virtual void SetName(const std::string& NewName);
  intptr_t GetTag() const { return FTag; }
  void SetTag(intptr_t Value) { FTag = Value; }

  TComponentState ComponentState() const { return FComponentState; }
  // Switches the design state of this component and everything it owns.
  void SetDesigning(bool Value, bool SetChildren = true);
  // Marks the component as being read from a form file (csLoading, csReading); Loaded ends it.
  void Loading();
  // Called once all properties have been read; clears csLoading and csReading. Components that
  // compute their layout from several properties recompute it here.
  virtual void Loaded();

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  TComponent* Components(int Index) const;  // raises EListError out of range
  int GetComponentIndex() const;            // position in the owner's list, -1 without owner
  // The owned component of that name (case-insensitive), or nullptr.
  TComponent* FindComponent(const std::string& AName) const;
  // Adopts AComponent (removing it from its previous owner) / gives it up without destroying it.
  void InsertComponent(TComponent* AComponent);
  void RemoveComponent(TComponent* AComponent);
  // Destroys every owned component now.
  void DestroyComponents();
  // Asks to be told (Notification opRemove) when AComponent is destroyed, whoever owns it.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Called on the owner (and, passed on, on all it owns) when a component is inserted into or
  // removed from it, and on free-notification subscribers when one is destroyed.
  virtual void Notification(TComponent* AComponent, TOperation Operation);

  // The place of a component in the tree a form file shows, apart from ownership: a control
  // sits in its parent control, a menu item in its menu or parent item. A form file nests an
  // object inside another one and the reader calls SetParentComponent with the enclosing one;
  // the writer nests a component inside GetParentComponent. ParentComponentIndex orders the
  // children of one parent when written (-1: in the order the owner holds them).
  virtual bool HasParent() const { return false; }
  virtual TComponent* GetParentComponent() const { return nullptr; }
  virtual void SetParentComponent(TComponent*) {}
  virtual int ParentComponentIndex() const { return -1; }

 protected:
  void SetComponentStateItem(TComponentStateItem Item, bool On);
  TComponentState FComponentState;

 private:
  void InsertOwned(TComponent* AComponent);
  void RemoveOwned(TComponent* AComponent);

  TComponent* FOwner = nullptr;
  std::string FName;
  intptr_t FTag = 0;
  std::vector<TComponent*> FComponents;
  // The named components of FComponents by their lower-case names: an owner of many components
  // finds one (and checks a new name) at once.
  std::unordered_map<std::string, TComponent*> FNames;
  std::vector<TComponent*> FFreeNotifies;
};

// Tells whether a component was destroyed while it was watched: an event handler may free the
// control whose message is still being handled, which must then not be touched again.
class TComponentWatch : public TComponent {
 public:
  explicit TComponentWatch(TComponent* AWatched);
  ~TComponentWatch() override;
  std::string ClassName() const override { return "TComponentWatch"; }
  bool Gone() const { return FWatched == nullptr; }

 protected:
  void Notification(TComponent* AComponent, TOperation Operation) override;

 private:
  TComponent* FWatched;
};

// ---------------------------------------------------------------- TControl

class TControl : public TComponent {
 public:
  explicit TControl(TComponent* AOwner);
  // Leaves the parent (which forgets focus, capture and hover on it) before the component goes.
  ~TControl() override;
  std::string ClassName() const override { return "TControl"; }

  // Bounds, in the parent's client coordinates. Negative sizes count as 0.
  int GetLeft() const { return FLeft; }
  int GetTop() const { return FTop; }
  int GetWidth() const { return FWidth; }
  int GetHeight() const { return FHeight; }
  void SetLeft(int Value) { SetBounds(Value, FTop, FWidth, FHeight); }
  void SetTop(int Value) { SetBounds(FLeft, Value, FWidth, FHeight); }
  void SetWidth(int Value) { SetBounds(FLeft, FTop, Value, FHeight); }
  void SetHeight(int Value) { SetBounds(FLeft, FTop, FWidth, Value); }
  virtual void SetBounds(int ALeft, int ATop, int AWidth, int AHeight);
  TRect BoundsRect() const { return Bounds(FLeft, FTop, FWidth, FHeight); }
  void SetBoundsRect(const TRect& R) { SetBounds(R.Left, R.Top, R.Width(), R.Height()); }

  // The client area, in the control's own coordinates (origin 0, 0).
  virtual TRect GetClientRect() const { return Rect(0, 0, FWidth, FHeight); }
  int ClientWidth() const { return GetClientRect().Width(); }
  int ClientHeight() const { return GetClientRect().Height(); }
  void SetClientWidth(int Value);
  void SetClientHeight(int Value);
  // Offset of the client origin inside the bounds (non-zero for controls with borders).
  virtual TPoint ClientOrigin() const { return {0, 0}; }

  TPoint ClientToScreen(TPoint P) const;
  TPoint ScreenToClient(TPoint P) const;
  TPoint ClientToParent(TPoint P, const TWinControl* AParent = nullptr) const;
  TPoint ParentToClient(TPoint P, const TWinControl* AParent = nullptr) const;

  TWinControl* GetParent() const { return FParent; }
  virtual void SetParent(TWinControl* AParent);
  // The form this control sits on (walking up the parents), or nullptr.
  TForm* GetParentForm() const;

  bool GetVisible() const { return FVisible; }
  void SetVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }
  // Visible and every parent up to the top visible (a form must be shown).
  bool Showing() const;
  bool GetEnabled() const { return FEnabled; }
  virtual void SetEnabled(bool Value);
  // Enabled and every parent enabled.
  bool IsEnabledInTree() const;

  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);  // clears ParentColor
  bool GetParentColor() const { return FParentColor; }
  void SetParentColor(bool Value);
  TFont* GetFont() const { return FFont.get(); }
  void SetFont(const TFont* Value) { FFont->Assign(Value); }
  bool GetParentFont() const { return FParentFont; }
  void SetParentFont(bool Value);

  const std::string& GetHint() const { return FHint; }
  void SetHint(const std::string& Value) { FHint = Value; }
  bool GetShowHint() const { return FShowHint; }
  void SetShowHint(bool Value);  // clears ParentShowHint
  bool GetParentShowHint() const { return FParentShowHint; }
  void SetParentShowHint(bool Value);

  TCursor GetCursor() const { return FCursor; }
  void SetCursor(TCursor Value);
  // The cursor shown while the pointer is at (X, Y) of the client area; crDefault defers to the
  // parent. The screen asks the hovered control after every pointer move.
  virtual TCursor GetCursorAt(int /*X*/, int /*Y*/) const { return FCursor; }

  TAlign GetAlign() const { return FAlign; }
  void SetAlign(TAlign Value);
  TAnchors GetAnchors() const { return FAnchors; }
  void SetAnchors(TAnchors Value);

  TPopupMenu* GetPopupMenu() const { return FPopupMenu; }
  // The menu is the widgets layer's TPopupMenu (a TComponent); the control is told when it is
  // destroyed and forgets it. A template only so that TPopupMenu may stay incomplete here.
  template <class M>
  void SetPopupMenu(M* Value) {
    static_assert(std::is_same_v<M, TPopupMenu>, "PopupMenu takes a TPopupMenu");
    SetPopupMenuComponent(Value, Value);
  }
  void SetPopupMenu(std::nullptr_t) { SetPopupMenuComponent(nullptr, nullptr); }
  void SetName(const std::string& NewName) override;  // follows with Caption (csSetCaption)
  void Loaded() override;

  // Caption and Text are the same string.
  const std::string& GetText() const { return FText; }
  void SetText(const std::string& Value);  // CM_TEXTCHANGED when it changes
  const std::string& GetCaption() const { return FText; }
  void SetCaption(const std::string& Value) { SetText(Value); }

  TControlStyle GetControlStyle() const { return FControlStyle; }
  void SetControlStyle(TControlStyle Value) { FControlStyle = Value; }
  TControlState GetControlState() const { return FControlState; }

  // Capture: while set, every mouse message goes to this control wherever the pointer is.
  bool GetMouseCapture() const;
  void SetMouseCapture(bool Value);

  // Invalidate marks the whole control for the next repaint; Repaint paints it now; Update
  // paints whatever is marked now; Refresh = Repaint.
  virtual void Invalidate();
  void InvalidateRect(const TRect& R);  // client coordinates
  virtual void Repaint();
  void Refresh() { Repaint(); }
  virtual void Update();
  // Paints this control (and its children) into Bitmap at (X, Y) as it would look on a form.
  // Works for controls on no form; the bitmap keeps its size.
  void PaintTo(TBitmap* Bitmap, int X = 0, int Y = 0);

  // Message handling: Perform sends a message to the control's WndProc and returns Result.
  LRESULT Perform(UINT Msg, WPARAM WParam = 0, LPARAM LParam = 0);
  virtual void WndProc(TMessage& Message);
  // Routes a message to the typed handler for its number; unknown ones go to DefaultHandler.
  virtual void Dispatch(TMessage& Message);
  virtual void DefaultHandler(TMessage& Message);

  void BringToFront();
  void SendToBack();

  // Whether the point (client coordinates) belongs to the control for hit testing.
  virtual bool HitTest(int X, int Y) const;

  // Events.
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TMouseWheelEvent OnMouseWheel;
  TMouseWheelUpDownEvent OnMouseWheelDown;
  TMouseWheelUpDownEvent OnMouseWheelUp;
  TNotifyEvent OnResize;
  TNotifyEvent OnMouseEnter;
  TNotifyEvent OnMouseLeave;
  TContextPopupEvent OnContextPopup;

  // Public so the input router, the form reader and tests can drive them; they are the classic
  // overridable steps.
  virtual void Click();
  virtual void DblClick();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y);
  virtual void MouseMove(TShiftState Shift, int X, int Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y);
  // Wheel: DoMouseWheel fires OnMouseWheel and then the down/up step; each returns Handled.
  // MousePos is in screen coordinates.
  virtual bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos);
  virtual bool DoMouseWheelDown(TShiftState Shift, TPoint MousePos);
  virtual bool DoMouseWheelUp(TShiftState Shift, TPoint MousePos);
  virtual void Resize();
  // Fires OnContextPopup (WM_CONTEXTMENU calls it before any menu opens).
  virtual void DoContextPopup(TPoint MousePos, bool& Handled);

  // Internal use of the painting walk: the surface binding of this control's canvas.
  virtual TCanvas* GetControlCanvas() const { return nullptr; }

 protected:
  // The steps of painting: TGraphicControl and TCustomControl draw with Paint.
  virtual void Paint() {}
  // Erases the background before Paint: fills the bounds with Color. Windowed controls erase
  // unless csOpaque; graphic controls never do (without csOpaque they are transparent and the
  // parent's painting shows beneath).
  virtual void EraseBackground(TCanvas* ACanvas);
  virtual bool ErasesBackground() const { return false; }
  // Binds ACanvas to the control's visible part of the form surface when not painting (direct
  // drawing outside Paint), or unbinds it on no form.
  void BindCanvasOutsidePaint(TCanvas* ACanvas) const;
  void SetPopupMenuComponent(TComponent* AsComponent, TPopupMenu* Menu);
  void UpdateAnchorBase();
  // The menu a control shows on WM_CONTEXTMENU when it has no PopupMenu of its own (an edit's
  // standard commands); returns false when it has none, and the parents' menus are asked.
  virtual bool DefaultContextMenu(TPoint /*ScreenPos*/) { return false; }
  // Where a menu asked for from the keyboard opens, in client coordinates (an edit: the caret).
  virtual TPoint KeyboardContextPoint() const { return {0, 0}; }

  // Typed message handlers; the default ones do what the classic framework does.
  virtual void WMLButtonDown(TMessage& Message);
  virtual void WMRButtonDown(TMessage& Message);
  virtual void WMMButtonDown(TMessage& Message);
  virtual void WMLButtonDblClk(TMessage& Message);
  virtual void WMRButtonDblClk(TMessage& Message);
  virtual void WMMButtonDblClk(TMessage& Message);
  virtual void WMLButtonUp(TMessage& Message);
  virtual void WMRButtonUp(TMessage& Message);
  virtual void WMMButtonUp(TMessage& Message);
  virtual void WMMouseMove(TMessage& Message);
  virtual void WMMouseWheel(TMessage& Message);
  virtual void WMSize(TMessage& Message);
  virtual void WMCancelMode(TMessage& Message);
  virtual void WMContextMenu(TMessage& Message);
  virtual void CMMouseEnter(TMessage& Message);
  virtual void CMMouseLeave(TMessage& Message);
  virtual void CMEnabledChanged(TMessage& Message);
  virtual void CMVisibleChanged(TMessage& Message);
  virtual void CMFontChanged(TMessage& Message);
  virtual void CMColorChanged(TMessage& Message);
  virtual void CMTextChanged(TMessage& Message);
  virtual void CMParentFontChanged(TMessage& Message);
  virtual void CMParentColorChanged(TMessage& Message);
  virtual void CMParentShowHintChanged(TMessage& Message);
  virtual void CMHitTest(TMessage& Message);

  void Notification(TComponent* AComponent, TOperation Operation) override;
  // Called by the parent when its client size changes: applies the anchors.
  void ParentResized(int OldClientWidth, int OldClientHeight);

  // Whether the paint walk has the canvas bound right now (drawing then is part of a repaint).
  bool IsPainting() const { return FPainting; }

  TControlStyle FControlStyle;
  TControlState FControlState;
  std::unique_ptr<TFont> FFont;

 private:
  friend class TWinControl;
  friend class TForm;
  friend struct TPaintWalk;
  void FontChanged(TObject* Sender);
  void DoMouseDown(TMessage& Message, TMouseButton Button, TShiftState Shift);
  void DoMouseUp(TMessage& Message, TMouseButton Button);

  TWinControl* FParent = nullptr;
  int FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
  bool FVisible = true;
  bool FEnabled = true;
  TColor FColor = clWindow;
  bool FParentColor = false;
  bool FParentFont = true;
  bool FChangingFont = false;  // the parent's font is being copied in; ParentFont stays
  std::string FHint;
  bool FShowHint = false;
  bool FParentShowHint = true;
  TCursor FCursor = crDefault;
  TAlign FAlign = alNone;
  TAnchors FAnchors{akLeft, akTop};
  TPopupMenu* FPopupMenu = nullptr;
  TComponent* FPopupMenuComponent = nullptr;
  std::string FText;
  int FWheelAccumulator = 0;
  // Anchors: bounds and parent client size when the control was last placed by hand.
  TRect FAnchorBounds;
  TSize FAnchorParentSize;
  bool FAnchorBaseValid = false;
  bool FAutoPlacing = false;  // bounds set by alignment or anchoring
  // Painting: set while the paint walk has the canvas bound; the last binding made outside.
  bool FPainting = false;
  mutable TSurface FBoundSurface;
  mutable TPoint FBoundOrigin;
  mutable TRect FBoundClip;
};

// ---------------------------------------------------------------- TWinControl

class TWinControl : public TControl {
 public:
  explicit TWinControl(TComponent* AOwner);
  // Destroys the child controls still on it (as the classic framework does), then leaves.
  ~TWinControl() override;
  std::string ClassName() const override { return "TWinControl"; }

  // Children in z-order (first is bottom-most). Windowed children always lie above graphic ones.
  int ControlCount() const { return static_cast<int>(FControls.size()); }
  TControl* Controls(int Index) const;  // raises EListError out of range
  void InsertControl(TControl* AControl);
  void RemoveControl(TControl* AControl);
  bool ContainsControl(const TControl* AControl) const;  // a descendant (or itself)
  // The topmost visible (and, unless AllowDisabled, enabled) child at P (client coordinates).
  TControl* ControlAtPos(TPoint P, bool AllowDisabled = false, bool AllowWinControls = true) const;

  // Sends Message to every child (in order) until one sets a non-zero Result.
  void Broadcast(TMessage& Message);
  // Sends a notification to every child (all of them, whatever they answer).
  void NotifyControls(UINT Msg);

  // Virtual window handle: a number and a flag, created on demand.
  HWND GetHandle();
  bool HandleAllocated() const { return FHandle != 0; }
  void HandleNeeded();
  void DestroyHandle();

  // Focus.
  virtual bool CanFocus() const;
  bool Focused() const;
  virtual void SetFocus();  // EInvalidOperation "Cannot focus a disabled or invisible window"
  bool GetTabStop() const { return FTabStop; }
  void SetTabStop(bool Value);
  int GetTabOrder() const;
  void SetTabOrder(int Value);  // out-of-range values put the control last
  // Children in tab order, recursively (a container's children follow it).
  void GetTabOrderList(std::vector<TWinControl*>& List) const;
  TWinControl* FindNextControl(TWinControl* CurControl, bool GoForward, bool CheckTabStop,
                               bool CheckParent) const;
  void SelectNext(TWinControl* CurControl, bool GoForward, bool CheckTabStop);

  // Alignment: lays out the aligned children (alTop, alBottom, alLeft, alRight, alClient in
  // that order) within the client area. DisableAlign/EnableAlign batch changes.
  void Realign();
  void DisableAlign() { ++FAlignLevel; }
  void EnableAlign();

  // Events.
  TKeyEvent OnKeyDown;
  TKeyPressEvent OnKeyPress;
  TKeyEvent OnKeyUp;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;

  virtual void KeyDown(uint16_t& Key, TShiftState Shift);
  virtual void KeyUp(uint16_t& Key, TShiftState Shift);
  virtual void KeyPress(char32_t& Key);

  void WndProc(TMessage& Message) override;
  void Dispatch(TMessage& Message) override;

 protected:
  virtual void CreateWnd();   // gives the control its handle
  virtual void DestroyWnd();  // takes it away
  virtual void AlignControls(TControl* AControl, TRect& ARect);
  virtual void DoEnter();
  virtual void DoExit();
  // The form's key preview, then the control's own handler; return true when the key was eaten.
  bool DoKeyDown(TMessage& Message);
  bool DoKeyUp(TMessage& Message);
  bool DoKeyPress(TMessage& Message);

  bool ErasesBackground() const override { return !FControlStyle.Contains(csOpaque); }

  virtual void WMSetFocus(TMessage& Message);
  virtual void WMKillFocus(TMessage& Message);
  virtual void WMKeyDown(TMessage& Message);
  virtual void WMKeyUp(TMessage& Message);
  virtual void WMChar(TMessage& Message);
  virtual void CNKeyDown(TMessage& Message);
  virtual void CNKeyUp(TMessage& Message);
  virtual void CNChar(TMessage& Message);
  virtual void WMGetDlgCode(TMessage& Message);
  virtual void WMNextDlgCtl(TMessage& Message);
  virtual void WMTimer(TMessage& Message);
  virtual void CMDialogKey(TMessage& Message);
  virtual void CMDialogChar(TMessage& Message);
  virtual void CMChildKey(TMessage& Message);
  virtual void CMWantSpecialKey(TMessage& Message);
  virtual void CMEnter(TMessage& Message);
  virtual void CMExit(TMessage& Message);
  void CMEnabledChanged(TMessage& Message) override;
  void CMVisibleChanged(TMessage& Message) override;
  void CMFontChanged(TMessage& Message) override;
  void CMColorChanged(TMessage& Message) override;
  void CMParentShowHintChanged(TMessage& Message) override;
  void WMSize(TMessage& Message) override;

 private:
  friend class TControl;
  friend class TForm;
  friend struct TPaintWalk;
  void AddToLists(TControl* AControl);
  void ApplyAlign();
  void UpdateTabList(TWinControl* AControl, bool Add);

  std::vector<TControl*> FControls;
  std::vector<TWinControl*> FTabList;
  HWND FHandle = 0;
  bool FTabStop = false;
  int FAlignLevel = 0;
  bool FAligning = false;
  int FLastClientWidth = 0, FLastClientHeight = 0;
};

// ---------------------------------------------------------------- graphic and custom controls

// A control without a window: it paints on its parent's surface through its own canvas, which
// is bound (origin and clip) before Paint.
class TGraphicControl : public TControl {
 public:
  explicit TGraphicControl(TComponent* AOwner);
  ~TGraphicControl() override;
  std::string ClassName() const override { return "TGraphicControl"; }
  // The drawing canvas. Outside painting it is bound to the control's visible part on the form
  // surface (so direct drawing shows); on no form it is unbound and drawing has no effect.
  TCanvas* Canvas() const;
  TCanvas* GetControlCanvas() const override { return FCanvas.get(); }

 protected:
  bool ErasesBackground() const override { return false; }
  std::unique_ptr<TCanvas> FCanvas;
};

// A windowed control that paints itself with Paint on its own canvas.
class TCustomControl : public TWinControl {
 public:
  explicit TCustomControl(TComponent* AOwner);
  ~TCustomControl() override;
  std::string ClassName() const override { return "TCustomControl"; }
  TCanvas* Canvas() const;
  TCanvas* GetControlCanvas() const override { return FCanvas.get(); }

 protected:
  std::unique_ptr<TCanvas> FCanvas;
};

// The parent form of a control, or nullptr (the classic free function).
TForm* GetParentForm(const TControl* Control);

}  // namespace qel
