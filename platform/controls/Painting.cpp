// Invalidation and the paint walk: dirty regions of a form are repainted parent first, then
// children, each control's canvas bound to the form surface with the control's origin and clip.
#include <algorithm>

#include "platform/controls/Backend.h"
#include "platform/controls/Forms.h"

namespace qel {

struct TPaintWalk {
  // Where C lies on its top-level control's surface: the top-left of its bounds, and the part of
  // it that its parents' client areas let show. False when C or a parent is hidden.
  static bool Place(const TControl* C, TPoint& Origin, TRect& Visible) {
    std::vector<const TControl*> chain;
    for (const TControl* c = C; c; c = c->FParent) chain.push_back(c);
    TPoint o{0, 0};
    TRect clip{-1000000000, -1000000000, 1000000000, 1000000000};
    // The top control's own position is where its surface sits, so it does not count.
    for (size_t i = chain.size(); i-- > 0;) {
      const TControl* c = chain[i];
      if (!c->FVisible) return false;
      if (i + 1 < chain.size()) {
        o.X += c->FLeft;
        o.Y += c->FTop;
      }
      TRect b = Bounds(o.X, o.Y, c->FWidth, c->FHeight);
      clip = IntersectRect(clip, b);
      if (i > 0) {
        TPoint co = c->ClientOrigin();
        TRect cr = c->GetClientRect();
        clip = IntersectRect(clip, cr.Offset(o.X + co.X, o.Y + co.Y));
        o.X += co.X;
        o.Y += co.Y;
      }
    }
    Origin = o;
    Visible = clip;
    return true;
  }

  static bool Covers(const TControl* C) {
    return C->FControlStyle.Contains(csOpaque) || C->ErasesBackground();
  }

  // The deepest, topmost control under Root that paints every pixel of R by itself; painting
  // can start there, as nothing drawn before it would show.
  static const TControl* StartFor(const TControl* Root, TPoint Origin, const TRect& Clip,
                                  const TRect& R) {
    const TControl* start = Root;
    auto* w = dynamic_cast<const TWinControl*>(Root);
    if (!w) return start;
    TPoint co = Root->ClientOrigin();
    TPoint base{Origin.X + co.X, Origin.Y + co.Y};
    TRect clientClip = IntersectRect(Clip, Root->GetClientRect().Offset(base.X, base.Y));
    for (auto it = w->FControls.rbegin(); it != w->FControls.rend(); ++it) {
      const TControl* c = *it;
      if (!c->FVisible) continue;
      TPoint o{base.X + c->FLeft, base.Y + c->FTop};
      TRect vis = IntersectRect(clientClip, Bounds(o.X, o.Y, c->FWidth, c->FHeight));
      if (IntersectRect(vis, R).IsEmpty()) continue;
      if (Covers(c) && UnionRect(vis, R) == vis) return StartFor(c, o, vis, R);
    }
    return start;
  }

  struct TState {
    TSurface Surface;
    TRect Dirty;
    const TControl* Start;
    bool Started;
    TCanvas* Scratch;
  };

  static void PaintOne(TControl* C, TPoint Origin, const TRect& Clip, TState& S) {
    TCanvas* canvas = C->GetControlCanvas();
    if (!canvas) canvas = S.Scratch;
    canvas->BindSurface(S.Surface, Origin, Clip);
    C->FBoundSurface = {};
    C->FPainting = true;
    try {
      if (C->ErasesBackground()) C->EraseBackground(canvas);
      C->Paint();
    } catch (...) {
      C->FPainting = false;
      canvas->UnbindSurface();
      Application->HandleException(C);
      return;
    }
    C->FPainting = false;
    canvas->UnbindSurface();
  }

  static void Walk(TControl* C, TPoint Origin, const TRect& ParentClip, TState& S, bool Root) {
    if (!Root && !C->FVisible) return;
    TRect clip = IntersectRect(ParentClip, Bounds(Origin.X, Origin.Y, C->FWidth, C->FHeight));
    if (clip.IsEmpty()) return;
    if (C == S.Start) S.Started = true;
    if (S.Started) PaintOne(C, Origin, clip, S);
    auto* w = dynamic_cast<TWinControl*>(C);
    if (!w) return;
    TPoint co = C->ClientOrigin();
    TPoint base{Origin.X + co.X, Origin.Y + co.Y};
    TRect clientClip = IntersectRect(clip, C->GetClientRect().Offset(base.X, base.Y));
    if (clientClip.IsEmpty()) return;
    // Children may change the list while painting (rarely); index access stays safe.
    for (size_t i = 0; i < w->FControls.size(); ++i) {
      TControl* c = w->FControls[i];
      Walk(c, {base.X + c->FLeft, base.Y + c->FTop}, clientClip, S, false);
    }
  }

  static void PaintRegion(TControl* Root, const TSurface& Surface, TPoint Origin, const TRect& R) {
    TRect dirty = IntersectRect(R, Rect(0, 0, Surface.Width, Surface.Height));
    if (dirty.IsEmpty()) return;
    TCanvas scratch;
    TState s{Surface, dirty, StartFor(Root, Origin, dirty, dirty), false, &scratch};
    Walk(Root, Origin, dirty, s, true);
  }
};

void TControl::EraseBackground(TCanvas* ACanvas) {
  ACanvas->Brush()->SetStyle(bsSolid);
  ACanvas->Brush()->SetColor(FColor);
  ACanvas->FillRect(Rect(0, 0, FWidth, FHeight));
}

void TControl::BindCanvasOutsidePaint(TCanvas* ACanvas) const {
  if (FPainting) return;
  TForm* f = GetParentForm();
  TPoint origin;
  TRect vis;
  if (!f || !f->Surface() || !TPaintWalk::Place(this, origin, vis)) {
    if (FBoundSurface.Pixels || ACanvas->HasSurface()) ACanvas->UnbindSurface();
    FBoundSurface = {};
    return;
  }
  TSurface s = f->Surface()->Surface();
  // Rebinding resets the canvas clip, so only rebind when something actually moved.
  if (ACanvas->HasSurface() && s.Pixels == FBoundSurface.Pixels && s.Width == FBoundSurface.Width &&
      s.Height == FBoundSurface.Height && origin == FBoundOrigin && vis == FBoundClip)
    return;
  ACanvas->BindSurface(s, origin, vis);
  FBoundSurface = s;
  FBoundOrigin = origin;
  FBoundClip = vis;
}

void TControl::Invalidate() {
  TForm* f = GetParentForm();
  TPoint origin;
  TRect vis;
  if (!f || !TPaintWalk::Place(this, origin, vis)) return;
  f->InvalidateFormRect(vis);
}

void TControl::InvalidateRect(const TRect& R) {
  TForm* f = GetParentForm();
  TPoint origin;
  TRect vis;
  if (!f || !TPaintWalk::Place(this, origin, vis)) return;
  TPoint co = ClientOrigin();
  f->InvalidateFormRect(IntersectRect(vis, R.Offset(origin.X + co.X, origin.Y + co.Y)));
}

void TControl::Update() {
  if (TForm* f = GetParentForm()) f->PaintDirty();
}

void TControl::Repaint() {
  Invalidate();
  Update();
}

void TControl::PaintTo(TBitmap* Bitmap, int X, int Y) {
  if (!Bitmap) return;
  std::vector<TWinControl*> pending;
  if (auto* w = dynamic_cast<TWinControl*>(this)) pending.push_back(w);
  // Controls that wait for their window before painting get one.
  while (!pending.empty()) {
    TWinControl* w = pending.back();
    pending.pop_back();
    w->HandleNeeded();
    for (TControl* c : w->FControls)
      if (auto* cw = dynamic_cast<TWinControl*>(c)) pending.push_back(cw);
  }
  TSurface s = Bitmap->Surface();
  TPaintWalk::PaintRegion(this, s, {X, Y}, Rect(0, 0, s.Width, s.Height));
}

// ---------------------------------------------------------------- form side

void TForm::InvalidateFormRect(const TRect& R) {
  TRect r = IntersectRect(R, Rect(0, 0, GetWidth(), GetHeight()));
  if (r.IsEmpty()) return;
  for (const TRect& d : FDirty)
    if (UnionRect(d, r) == d) return;
  std::erase_if(FDirty, [&](const TRect& d) { return UnionRect(d, r) == r; });
  FDirty.push_back(r);
  // Many small pieces cost more to walk than one larger rectangle.
  if (FDirty.size() > 16) {
    TRect u;
    for (const TRect& d : FDirty) u = UnionRect(u, d);
    FDirty.assign(1, u);
  }
}

void TForm::PresentRect(const TRect& R) {
  TRect r = IntersectRect(R, Rect(0, 0, GetWidth(), GetHeight()));
  if (!r.IsEmpty()) FPresent.push_back(r);
}

void TForm::PaintDirty() {
  if (!FShown) return;
  if (FDirty.empty() && FPresent.empty()) return;
  std::vector<TRect> rects = std::move(FDirty);
  FDirty.clear();
  TSurface s = FSurface->Surface();
  for (const TRect& r : rects) TPaintWalk::PaintRegion(this, s, {0, 0}, r);
  if (Application->HintControl() && !rects.empty()) {
    FCanvas->BindSurface(s, {0, 0}, Rect(0, 0, s.Width, s.Height));
    Application->PaintHint(this, FCanvas.get());
    FCanvas->UnbindSurface();
  }
  rects.insert(rects.end(), FPresent.begin(), FPresent.end());
  FPresent.clear();
  if (TBackend* b = Application->Backend(); b && !rects.empty()) b->Present(this, *FSurface, rects);
}

}  // namespace qel
