// Block transfers: BitBlt, StretchBlt, Draw, StretchDraw, CopyRect, with the ternary raster
// operations and the two stretch modes.
#include <climits>
#include <cstring>

#include "platform/graphics/CanvasRaster.h"
#include "platform/graphics/Graphics.h"

namespace qel {

using namespace raster;

namespace {

constexpr TPixel kMask = kRgbMask;

// A ternary raster operation's truth table is its second byte: bit (P*4 + S*2 + D) is the
// result for pattern bit P, source bit S and destination bit D.
inline uint8_t RopIndex(TCopyMode Rop) { return static_cast<uint8_t>(Rop >> 16); }
inline bool UsesSource(uint8_t Idx) { return ((Idx >> 2) & 0x33) != (Idx & 0x33); }
inline bool UsesPattern(uint8_t Idx) { return ((Idx >> 4) & 0x0F) != (Idx & 0x0F); }

inline TPixel Rop3Generic(uint8_t Idx, TPixel P, TPixel S, TPixel D) {
  TPixel r = 0;
  for (int k = 0; k < 8; ++k)
    if (Idx & (1 << k)) r |= ((k & 4) ? P : ~P) & ((k & 2) ? S : ~S) & ((k & 1) ? D : ~D);
  return r & kMask;
}

// The pattern of the block transfers is the canvas brush: its colour, or on a hatched brush
// the colour on the hatch and white between.
struct Pattern {
  TPixel Color = 0;
  const uint8_t* Hatch = nullptr;
  TPixel At(int X, int Y) const {
    if (!Hatch) return Color;
    return (Hatch[Y & 7] & (0x80u >> (X & 7))) ? Color : kMask;
  }
};

Pattern BrushPattern(const TCanvas& C) {
  Pattern p;
  p.Color = ColorToPixel(C.Brush()->GetColor());
  Ink ink = BrushInk(C, pmCopy);
  p.Hatch = ink.Hatch;
  return p;
}

// Combines N source pixels S (may be null when the operation ignores them) into the row D at
// surface position (X, Y). A transparent key skips source pixels of that colour.
void ApplyRow(uint8_t Idx, const Pattern& Pat, const TPixel* S, TPixel* D, int X, int Y, int N,
              bool Keyed, TPixel Key) {
  if (Keyed) {
    for (int i = 0; i < N; ++i)
      if ((S[i] & kMask) != Key) D[i] = Rop3Generic(Idx, Pat.At(X + i, Y), S[i], D[i]);
    return;
  }
  const bool solid = Pat.Hatch == nullptr;
  const TPixel P = Pat.Color & kMask;
  switch (Idx) {
    case 0xCC:  // source copy, masked on the way in one pass (the source never overlaps D)
      for (int i = 0; i < N; ++i) D[i] = S[i] & kMask;
      return;
    case 0x88:
      for (int i = 0; i < N; ++i) D[i] = S[i] & D[i] & kMask;
      return;
    case 0xEE:
      for (int i = 0; i < N; ++i) D[i] = (S[i] | D[i]) & kMask;
      return;
    case 0x66:
      for (int i = 0; i < N; ++i) D[i] = (S[i] ^ D[i]) & kMask;
      return;
    case 0x33:
      for (int i = 0; i < N; ++i) D[i] = ~S[i] & kMask;
      return;
    case 0x55:
      for (int i = 0; i < N; ++i) D[i] = ~D[i] & kMask;
      return;
    case 0x00:
      FillPixels(D, static_cast<size_t>(N), 0);
      return;
    case 0xFF:
      FillPixels(D, static_cast<size_t>(N), kMask);
      return;
    case 0xF0:
      if (solid) {
        FillPixels(D, static_cast<size_t>(N), P);
        return;
      }
      break;
    default:
      break;
  }
  for (int i = 0; i < N; ++i)
    D[i] = Rop3Generic(Idx, solid ? P : Pat.At(X + i, Y), S ? S[i] : 0, D[i]);
}

// Source pixel index for destination pixel I of N when stretching M source pixels: the source
// pixel under the destination pixel's centre.
inline int64_t NearestIndex(int64_t I, int64_t N, int64_t M) {
  if (I < (int64_t{1} << 30) && M < (int64_t{1} << 31)) return ((2 * I + 1) * M) / (2 * N);
  return static_cast<int64_t>((__int128(2 * I + 1) * M) / (2 * N));
}

struct Axis {
  int64_t Dst0 = 0, DstLen = 0;  // destination pixels Dst0 .. Dst0+DstLen-1
  int64_t Src0 = 0, SrcLen = 0;  // source pixels Src0 .. Src0+SrcLen-1
  bool Flip = false;
};

// Normalises a destination/source pair of signed extents: a negative extent runs from the
// given coordinate backwards (covering Pos+Len+1 .. Pos), and opposite signs mirror.
Axis MakeAxis(int64_t Pos, int64_t Len, int64_t SPos, int64_t SLen) {
  Axis a;
  bool flip = false;
  if (Len < 0) Pos += Len + 1, Len = -Len, flip = !flip;
  if (SLen < 0) SPos += SLen + 1, SLen = -SLen, flip = !flip;
  a.Dst0 = Pos, a.DstLen = Len, a.Src0 = SPos, a.SrcLen = SLen, a.Flip = flip;
  return a;
}

// Source pixel (absolute) for destination index I (0-based).
inline int64_t SourceOf(const Axis& A, int64_t I) {
  int64_t j = A.DstLen == A.SrcLen ? I : NearestIndex(I, A.DstLen, A.SrcLen);
  if (A.Flip) j = A.SrcLen - 1 - j;
  return A.Src0 + j;
}

// SourceOf for I0..I1-1, stepping the division instead of repeating it.
void SourceIndices(const Axis& A, int64_t I0, int64_t I1, std::vector<int64_t>& Out) {
  Out.resize(static_cast<size_t>(I1 - I0));
  const __int128 den = 2 * static_cast<__int128>(A.DstLen);
  const __int128 step = 2 * static_cast<__int128>(A.SrcLen);
  const __int128 num0 = (2 * static_cast<__int128>(I0) + 1) * A.SrcLen;
  int64_t q = static_cast<int64_t>(num0 / den);
  int64_t r = static_cast<int64_t>(num0 % den);
  const int64_t stepQ = static_cast<int64_t>(step / den), stepR = static_cast<int64_t>(step % den);
  const int64_t d = static_cast<int64_t>(den);
  for (size_t i = 0; i < Out.size(); ++i) {
    Out[i] = A.Src0 + (A.Flip ? A.SrcLen - 1 - q : q);
    q += stepQ;
    r += stepR;
    if (r >= d) r -= d, ++q;
  }
}

// The destination indices [I0, I1) that fall inside [Lo, Hi) on the destination and whose
// source pixel lies inside [SLo, SHi).
bool VisibleRange(const Axis& A, int64_t Lo, int64_t Hi, int64_t SLo, int64_t SHi, int64_t& I0,
                  int64_t& I1) {
  I0 = std::max<int64_t>(0, Lo - A.Dst0);
  I1 = std::min<int64_t>(A.DstLen, Hi - A.Dst0);
  if (I0 >= I1) return false;
  if (A.Src0 >= SLo && A.Src0 + A.SrcLen <= SHi) return true;  // the whole source is there
  // The source index is monotonic in I; trim both ends by bisection.
  auto inside = [&](int64_t i) {
    int64_t s = SourceOf(A, i);
    return s >= SLo && s < SHi;
  };
  auto below = [&](int64_t i) {  // true while the source index is before the valid range
    int64_t s = SourceOf(A, i);
    return A.Flip ? s >= SHi : s < SLo;
  };
  int64_t lo = I0, hi = I1;
  while (lo < hi) {
    int64_t mid = lo + (hi - lo) / 2;
    if (below(mid))
      lo = mid + 1;
    else
      hi = mid;
  }
  I0 = lo;
  lo = I0, hi = I1;
  while (lo < hi) {  // first index past the valid range
    int64_t mid = lo + (hi - lo) / 2;
    if (inside(mid))
      lo = mid + 1;
    else
      hi = mid;
  }
  I1 = lo;
  return I0 < I1;
}

// Box-filter weights: destination pixel I of N covers source [I*M, (I+1)*M) in units where a
// source pixel is N long; each overlapping source pixel weighs its overlap.
struct Weights {
  std::vector<int64_t> First;   // first source index per destination index
  std::vector<uint32_t> Start;  // offset into W per destination index (+1 sentinel)
  std::vector<int64_t> W;
};

Weights BoxWeights(int64_t I0, int64_t I1, const Axis& A) {
  Weights w;
  const int64_t n = A.DstLen, m = A.SrcLen;
  for (int64_t i = I0; i < I1; ++i) {
    int64_t a = i * m, b = (i + 1) * m;  // in source units scaled by n
    int64_t j0 = a / n, j1 = (b - 1) / n;
    w.First.push_back(j0);
    w.Start.push_back(static_cast<uint32_t>(w.W.size()));
    for (int64_t j = j0; j <= j1; ++j) w.W.push_back(std::min(b, (j + 1) * n) - std::max(a, j * n));
  }
  w.Start.push_back(static_cast<uint32_t>(w.W.size()));
  return w;
}

// The pixels of one block transfer. Src may be null when the operation ignores the source.
void Transfer(TCanvas& Dst, int64_t X, int64_t Y, int64_t W, int64_t H, const TSurface* Src,
              TPoint SrcOrigin, int64_t SX, int64_t SY, int64_t SW, int64_t SH, TCopyMode Rop,
              int Mode, bool Keyed, TPixel Key) {
  if (!Dst.HasSurface()) return;
  const uint8_t idx = RopIndex(Rop);
  const bool needSrc = UsesSource(idx) || Keyed;
  if (needSrc && (!Src || !Src->Pixels)) return;
  if (!needSrc) SW = W, SH = H, SX = 0, SY = 0;
  if (W == 0 || H == 0 || SW == 0 || SH == 0) return;
  const TPoint o = Dst.Origin();
  Axis ax = MakeAxis(X + o.X, W, SX + SrcOrigin.X, SW);
  Axis ay = MakeAxis(Y + o.Y, H, SY + SrcOrigin.Y, SH);
  const TRect clip = Dst.SurfaceClip();
  const int64_t sw = needSrc ? Src->Width : INT64_MAX / 4,
                sh = needSrc ? Src->Height : INT64_MAX / 4;
  int64_t i0, i1, k0, k1;
  if (!needSrc) ax.Src0 = ay.Src0 = 0;
  if (!VisibleRange(ax, clip.Left, clip.Right, needSrc ? 0 : INT64_MIN / 4, sw, i0, i1)) return;
  if (!VisibleRange(ay, clip.Top, clip.Bottom, needSrc ? 0 : INT64_MIN / 4, sh, k0, k1)) return;
  const int n = static_cast<int>(i1 - i0);
  const int dx0 = static_cast<int>(ax.Dst0 + i0);
  const TSurface& d = Dst.Surface();
  const Pattern pat = BrushPattern(Dst);

  // A source that shares pixels with the destination is read from a copy of the rows it needs.
  std::vector<TPixel> copy;
  TSurface src = needSrc ? *Src : TSurface{};
  if (needSrc && Src->Pixels == d.Pixels) {
    copy.assign(src.Pixels,
                src.Pixels + static_cast<size_t>(src.Stride) * (src.Height - 1) + src.Width);
    src.Pixels = copy.data();
  }
  const bool halftone = Mode == HALFTONE && needSrc &&
                        (ax.DstLen != ax.SrcLen || ay.DstLen != ay.SrcLen) &&
                        // Beyond a million source pixels a side the box weights would not fit
                        // in memory; such absurd sources fall back to nearest sampling.
                        ax.SrcLen <= (int64_t{1} << 20) && ay.SrcLen <= (int64_t{1} << 20);
  std::vector<TPixel> row(static_cast<size_t>(n));
  std::vector<int64_t> cols64, rows;
  std::vector<int> cols;  // source columns lie inside the source surface: int is enough
  if (needSrc && !halftone) {
    SourceIndices(ax, i0, i1, cols64);
    SourceIndices(ay, k0, k1, rows);
    cols.assign(cols64.begin(), cols64.end());
  }
  Weights wx, wy;
  std::vector<uint64_t> acc;
  std::vector<uint64_t> colAcc;
  std::vector<int64_t> colOf;  // the source column of each horizontal weight
  int64_t colLo = 0;
  size_t colCount = 0;
  if (halftone) {
    wx = BoxWeights(i0, i1, ax);
    wy = BoxWeights(k0, k1, ay);
    acc.resize(static_cast<size_t>(n) * 3);
    colOf.resize(wx.W.size());
    int64_t colHi = 0;
    colLo = INT64_MAX;
    for (int i = 0; i < n; ++i)
      for (uint32_t p = wx.Start[i]; p < wx.Start[i + 1]; ++p) {
        int64_t jx = wx.First[i] + (p - wx.Start[i]);
        if (ax.Flip) jx = ax.SrcLen - 1 - jx;
        colOf[p] = std::clamp<int64_t>(ax.Src0 + jx, 0, src.Width - 1);
        colLo = std::min(colLo, colOf[p]);
        colHi = std::max(colHi, colOf[p]);
      }
    colCount = static_cast<size_t>(colHi - colLo + 1);
    colAcc.resize(colCount * 3);
  }
  const bool direct = needSrc && !halftone && !ax.Flip && ax.DstLen == ax.SrcLen;
  for (int64_t k = k0; k < k1; ++k) {
    const int y = static_cast<int>(ay.Dst0 + k);
    TPixel* drow = d.Row(y) + dx0;
    const TPixel* s = nullptr;
    if (halftone) {
      // Separable box filter: the source rows of this destination row are summed into column
      // totals first, then the columns of each destination pixel are summed from those.
      std::fill(colAcc.begin(), colAcc.end(), 0);
      const size_t kk = static_cast<size_t>(k - k0);
      for (uint32_t q = wy.Start[kk]; q < wy.Start[kk + 1]; ++q) {
        int64_t jy = wy.First[kk] + (q - wy.Start[kk]);
        if (ay.Flip) jy = ay.SrcLen - 1 - jy;
        const int64_t syy = std::clamp<int64_t>(ay.Src0 + jy, 0, src.Height - 1);
        const TPixel* srow = src.Row(static_cast<int>(syy)) + colLo;
        const uint64_t wyv = static_cast<uint64_t>(wy.W[q]);
        uint64_t* c = colAcc.data();
        for (size_t x = 0; x < colCount; ++x, c += 3) {
          const TPixel px = srow[x];
          c[0] += wyv * ((px >> 16) & 0xFF);
          c[1] += wyv * ((px >> 8) & 0xFF);
          c[2] += wyv * (px & 0xFF);
        }
      }
      for (int i = 0; i < n; ++i) {
        uint64_t r = 0, g = 0, b = 0;
        for (uint32_t p = wx.Start[i]; p < wx.Start[i + 1]; ++p) {
          const uint64_t* c = &colAcc[3 * static_cast<size_t>(colOf[p] - colLo)];
          const uint64_t wxv = static_cast<uint64_t>(wx.W[p]);
          r += wxv * c[0];
          g += wxv * c[1];
          b += wxv * c[2];
        }
        acc[3 * i] = r;
        acc[3 * i + 1] = g;
        acc[3 * i + 2] = b;
      }
      const uint64_t total = static_cast<uint64_t>(ax.SrcLen) * static_cast<uint64_t>(ay.SrcLen);
      for (int i = 0; i < n; ++i) {
        auto avg = [&](uint64_t v) { return static_cast<TPixel>((v + total / 2) / total); };
        row[static_cast<size_t>(i)] =
            (avg(acc[3 * i]) << 16) | (avg(acc[3 * i + 1]) << 8) | avg(acc[3 * i + 2]);
      }
      s = row.data();
    } else if (needSrc) {
      const TPixel* srow = src.Row(static_cast<int>(rows[static_cast<size_t>(k - k0)]));
      if (direct) {
        s = srow + cols[0];
      } else if (idx == 0xCC && !Keyed) {
        // A plain stretched copy gathers straight into the destination.
        const int* c = cols.data();
        for (int i = 0; i < n; ++i) drow[i] = srow[c[i]] & kMask;
        continue;
      } else {
        for (int i = 0; i < n; ++i)
          row[static_cast<size_t>(i)] = srow[cols[static_cast<size_t>(i)]];
        s = row.data();
      }
    }
    ApplyRow(idx, pat, s, drow, dx0, y, n, Keyed, Key);
  }
  NotifyDrawn(Dst, {dx0, ay.Dst0 + k0, dx0 + n, ay.Dst0 + k1});
}

}  // namespace

// ---------------------------------------------------------------- public entry points

bool StretchBlt(TCanvas* Dest, int X, int Y, int Width, int Height, const TCanvas* Src, int XSrc,
                int YSrc, int WidthSrc, int HeightSrc, TCopyMode Rop) {
  if (!Dest) return false;
  const bool needSrc = UsesSource(RopIndex(Rop));
  if (needSrc && (!Src || !Src->HasSurface())) return false;
  Transfer(*Dest, X, Y, Width, Height, Src ? &Src->Surface() : nullptr,
           Src ? Src->Origin() : TPoint{}, XSrc, YSrc, WidthSrc, HeightSrc, Rop,
           Dest->GetStretchBltMode(), false, 0);
  return true;
}

bool BitBlt(TCanvas* Dest, int X, int Y, int Width, int Height, const TCanvas* Src, int XSrc,
            int YSrc, TCopyMode Rop) {
  return StretchBlt(Dest, X, Y, Width, Height, Src, XSrc, YSrc, Width, Height, Rop);
}

int SetStretchBltMode(TCanvas* Canvas, int Mode) {
  if (!Canvas) return 0;
  int old = Canvas->GetStretchBltMode();
  Canvas->SetStretchBltMode(Mode);
  return old;
}

void TCanvas::Draw(int X, int Y, const TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Graphic->Draw(this, Bounds(X, Y, Graphic->GetWidth(), Graphic->GetHeight()));
}

void TCanvas::StretchDraw(const TRect& R, const TGraphic* Graphic) {
  if (!Graphic || Graphic->Empty()) return;
  Graphic->Draw(this, R);
}

void TCanvas::CopyRect(const TRect& Dest, const TCanvas* Source, const TRect& SourceRect) {
  StretchBlt(this, Dest.Left, Dest.Top, Dest.Width(), Dest.Height(), Source, SourceRect.Left,
             SourceRect.Top, SourceRect.Width(), SourceRect.Height(), FCopyMode);
}

void TBitmap::Draw(TCanvas* Canvas, const TRect& R) const {
  if (!Canvas || Empty()) return;
  TSurface s{const_cast<TPixel*>(FPixels.data()), FWidth, FHeight, FWidth};
  const bool keyed = FTransparent;
  const TPixel key = keyed ? ColorToPixel(GetTransparentColor()) & kMask : 0;
  // Transparent stretching picks whole pixels, so that no averaged colour escapes the key.
  const int mode = keyed ? COLORONCOLOR : Canvas->GetStretchBltMode();
  Transfer(*Canvas, R.Left, R.Top, int64_t{R.Right} - R.Left, int64_t{R.Bottom} - R.Top, &s,
           TPoint{}, 0, 0, FWidth, FHeight, Canvas->GetCopyMode(), mode, keyed, key);
}

}  // namespace qel
