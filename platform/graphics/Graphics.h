#pragma once
// Pens, brushes, fonts, bitmaps and the canvas. Pixel rules (the contract every drawing call
// keeps; tests pin them):
//  - pixel (x, y) is the unit square with top-left corner (x, y); y grows downwards;
//  - MoveTo/LineTo draw up to but not including the end point; Polyline chains such segments;
//  - Rectangle(L,T,R,B) outlines L..R-1 x T..B-1 with the pen and fills the inside with the
//    brush; FillRect fills L..R-1 x T..B-1 with no outline; FrameRect draws a 1-pixel brush border;
//  - Ellipse is inscribed in L..R-1 x T..B-1; Arc/Pie/Chord run counter-clockwise from the ray
//    through the first point to the ray through the second; Polygon fills by the alternate rule;
//  - text cells are ascent + descent high and TextOut puts their top-left at (x, y);
//  - everything is clipped to the canvas clip rectangle, whatever the coordinates.
//
// Where the code lives: Canvas.cpp (state, primitives, fills, block transfers), Bitmap.cpp,
// Color.cpp, CanvasText.cpp + FontEngine.cpp (text), ImageFiles.cpp (BMP/PNG).
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/graphics/Color.h"
#include "platform/rtl/Classes.h"
#include "platform/rtl/Streams.h"
#include "platform/rtl/Types.h"

namespace qel {

// ---------------------------------------------------------------- pens, brushes, fonts

enum TPenStyle : uint8_t { psSolid, psDash, psDot, psDashDot, psDashDotDot, psClear, psInsideFrame };
// The sixteen binary raster operations, in the classic order (R2_BLACK .. R2_WHITE).
enum TPenMode : uint8_t {
  pmBlack, pmWhite, pmNop, pmNot, pmCopy, pmNotCopy, pmMergePenNot, pmMaskPenNot,
  pmMergeNotPen, pmMaskNotPen, pmMerge, pmNotMerge, pmMask, pmNotMask, pmXor, pmNotXor
};
enum TBrushStyle : uint8_t {
  bsSolid, bsClear, bsHorizontal, bsVertical, bsFDiagonal, bsBDiagonal, bsCross, bsDiagCross
};
enum TFontStyle : uint8_t { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;
enum TFontPitch : uint8_t { fpDefault, fpVariable, fpFixed };
// fqDefault and fqAntialiased, fqProof, fqClearType* render anti-aliased; fqDraft and
// fqNonAntialiased render plain (every pixel fully on or off).
enum TFontQuality : uint8_t {
  fqDefault, fqDraft, fqProof, fqNonAntialiased, fqAntialiased, fqClearType, fqClearTypeNatural
};
enum TFillStyle : uint8_t { fsSurface, fsBorder };

constexpr int kScreenPixelsPerInch = 96;

class TGraphicsObject : public TPersistent {
 public:
  std::string ClassName() const override { return "TGraphicsObject"; }
  TNotifyEvent OnChange;

 protected:
  void Changed();
};

class TPen : public TGraphicsObject {
 public:
  std::string ClassName() const override { return "TPen"; }
  void Assign(const TPersistent* Source) override;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  int GetWidth() const { return FWidth; }
  void SetWidth(int Value);  // below 1 counts as 1
  TPenStyle GetStyle() const { return FStyle; }
  void SetStyle(TPenStyle Value);
  TPenMode GetMode() const { return FMode; }
  void SetMode(TPenMode Value);

 private:
  TColor FColor = clBlack;
  int FWidth = 1;
  TPenStyle FStyle = psSolid;
  TPenMode FMode = pmCopy;
};

class TBrush : public TGraphicsObject {
 public:
  std::string ClassName() const override { return "TBrush"; }
  void Assign(const TPersistent* Source) override;
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);  // a colour on a clear brush makes it solid, as the framework does
  TBrushStyle GetStyle() const { return FStyle; }
  void SetStyle(TBrushStyle Value);

 private:
  TColor FColor = clWhite;
  TBrushStyle FStyle = bsSolid;
};

class TFont : public TGraphicsObject {
 public:
  std::string ClassName() const override { return "TFont"; }
  void Assign(const TPersistent* Source) override;

  const std::string& GetName() const { return FName; }
  void SetName(const std::string& Value);
  // Size in points at 96 dpi; Height in pixels, negative for the character height
  // (Height = -Size * 96 / 72, rounded). Setting one sets the other.
  int GetSize() const;
  void SetSize(int Value);
  int GetHeight() const { return FHeight; }
  void SetHeight(int Value);
  TColor GetColor() const { return FColor; }
  void SetColor(TColor Value);
  TFontStyles GetStyle() const { return FStyle; }
  void SetStyle(TFontStyles Value);
  // Tenths of a degree, counter-clockwise.
  int GetOrientation() const { return FOrientation; }
  void SetOrientation(int Value);
  TFontPitch GetPitch() const { return FPitch; }
  void SetPitch(TFontPitch Value);
  TFontQuality GetQuality() const { return FQuality; }
  void SetQuality(TFontQuality Value);
  uint8_t GetCharset() const { return FCharset; }
  void SetCharset(uint8_t Value);

  bool SameAs(const TFont& Other) const;

 private:
  std::string FName = "MS Sans Serif";
  int FHeight = -11;  // 8 pt
  TColor FColor = clWindowText;
  TFontStyles FStyle;
  int FOrientation = 0;
  TFontPitch FPitch = fpDefault;
  TFontQuality FQuality = fqDefault;
  uint8_t FCharset = 1;  // DEFAULT_CHARSET
};

// ---------------------------------------------------------------- surfaces and canvas

// A block of 32-bit pixels that a canvas draws into. Stride counts pixels.
struct TSurface {
  TPixel* Pixels = nullptr;
  int Width = 0;
  int Height = 0;
  int Stride = 0;
  TPixel* Row(int y) const { return Pixels + static_cast<ptrdiff_t>(y) * Stride; }
};

// Raster operation codes of the block transfers (the classic ternary ROP values).
using TCopyMode = uint32_t;
constexpr TCopyMode cmBlackness = 0x00000042;
constexpr TCopyMode cmDstInvert = 0x00550009;
constexpr TCopyMode cmMergeCopy = 0x00C000CA;
constexpr TCopyMode cmMergePaint = 0x00BB0226;
constexpr TCopyMode cmNotSrcCopy = 0x00330008;
constexpr TCopyMode cmNotSrcErase = 0x001100A6;
constexpr TCopyMode cmPatCopy = 0x00F00021;
constexpr TCopyMode cmPatInvert = 0x005A0049;
constexpr TCopyMode cmPatPaint = 0x00FB0A09;
constexpr TCopyMode cmSrcAnd = 0x008800C6;
constexpr TCopyMode cmSrcCopy = 0x00CC0020;
constexpr TCopyMode cmSrcErase = 0x00440328;
constexpr TCopyMode cmSrcInvert = 0x00660046;
constexpr TCopyMode cmSrcPaint = 0x00EE0086;
constexpr TCopyMode cmWhiteness = 0x00FF0062;

// Stretch modes (SetStretchBltMode).
constexpr int BLACKONWHITE = 1;
constexpr int WHITEONBLACK = 2;
constexpr int COLORONCOLOR = 3;  // nearest pixel
constexpr int HALFTONE = 4;      // area average
constexpr int STRETCH_DELETESCANS = COLORONCOLOR;

class TGraphic;
class TBitmap;

class TCanvas : public TPersistent {
 public:
  TCanvas();
  ~TCanvas() override;
  std::string ClassName() const override { return "TCanvas"; }

  TPen* Pen() const { return FPen.get(); }
  TBrush* Brush() const { return FBrush.get(); }
  TFont* Font() const { return FFont.get(); }
  TPoint GetPenPos() const { return FPenPos; }
  void SetPenPos(TPoint p) { FPenPos = p; }
  TCopyMode GetCopyMode() const { return FCopyMode; }
  void SetCopyMode(TCopyMode Value) { FCopyMode = Value; }
  int GetStretchBltMode() const { return FStretchMode; }
  void SetStretchBltMode(int Mode);  // COLORONCOLOR or HALFTONE (the other two act as COLORONCOLOR)

  // Lines and shapes.
  void MoveTo(int X, int Y);
  void LineTo(int X, int Y);
  void Polyline(std::span<const TPoint> Points);
  void Polygon(std::span<const TPoint> Points);
  void Rectangle(int X1, int Y1, int X2, int Y2);
  void Rectangle(const TRect& R) { Rectangle(R.Left, R.Top, R.Right, R.Bottom); }
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3);
  void Ellipse(int X1, int Y1, int X2, int Y2);
  void Ellipse(const TRect& R) { Ellipse(R.Left, R.Top, R.Right, R.Bottom); }
  void Arc(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Pie(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void Chord(int X1, int Y1, int X2, int Y2, int X3, int Y3, int X4, int Y4);
  void FillRect(const TRect& R);
  void FrameRect(const TRect& R);
  // XORs a dotted outline (every other pixel), so a second call removes it.
  void DrawFocusRect(const TRect& R);
  void FloodFill(int X, int Y, TColor Color, TFillStyle FillStyle);

  TColor GetPixel(int X, int Y) const;  // clNone (0x1FFFFFFF) outside the surface
  void SetPixel(int X, int Y, TColor Color);

  // Text (CanvasText.cpp).
  void TextOut(int X, int Y, const std::string& Text);
  void TextRect(const TRect& R, int X, int Y, const std::string& Text);
  int TextWidth(const std::string& Text);
  int TextHeight(const std::string& Text);
  TSize TextExtent(const std::string& Text);

  // Block transfers, honouring CopyMode and, for stretching, the stretch mode.
  void Draw(int X, int Y, const TGraphic* Graphic);  // a transparent bitmap skips its key colour
  void StretchDraw(const TRect& R, const TGraphic* Graphic);
  void CopyRect(const TRect& Dest, const TCanvas* Source, const TRect& SourceRect);

  // The clip rectangle in canvas coordinates (the part of the surface this canvas may touch).
  TRect GetClipRect() const;
  // Narrows drawing to R (canvas coordinates) within what the surface binding allows; an empty
  // rectangle clips everything. ResetClipRect returns to the binding's clip.
  void SetClipRect(const TRect& R);
  void ResetClipRect();

  // Binding to a block of pixels: the canvas origin sits at Origin (surface coordinates) and
  // drawing is confined to Clip (surface coordinates, intersected with the surface). Bitmaps
  // bind their own canvas; controls bind theirs to the form surface before painting.
  void BindSurface(const TSurface& Surface, TPoint Origin, const TRect& Clip);
  void UnbindSurface();
  const TSurface& Surface() const { return FSurface; }
  TPoint Origin() const { return FOrigin; }
  // The effective clip in surface coordinates (binding clip ∩ user clip ∩ surface).
  TRect SurfaceClip() const { return FEffectiveClip; }
  bool HasSurface() const { return FSurface.Pixels != nullptr; }

  // Called after each drawing operation with the touched rectangle in canvas coordinates;
  // the control layer uses it to track what changed. Unset by default.
  std::function<void(const TRect&)> OnDrawn;

 private:
  void UpdateEffectiveClip();

  std::unique_ptr<TPen> FPen;
  std::unique_ptr<TBrush> FBrush;
  std::unique_ptr<TFont> FFont;
  TPoint FPenPos;
  TCopyMode FCopyMode = cmSrcCopy;
  int FStretchMode = COLORONCOLOR;
  TSurface FSurface;
  TPoint FOrigin;
  TRect FBindClip;
  TRect FUserClip;
  bool FHasUserClip = false;
  TRect FEffectiveClip;
};

// Classic free-function spellings over canvases, for code written against the Win32 calls.
bool BitBlt(TCanvas* Dest, int X, int Y, int Width, int Height, const TCanvas* Src, int XSrc,
            int YSrc, TCopyMode Rop);
bool StretchBlt(TCanvas* Dest, int X, int Y, int Width, int Height, const TCanvas* Src, int XSrc,
                int YSrc, int WidthSrc, int HeightSrc, TCopyMode Rop);
int SetStretchBltMode(TCanvas* Canvas, int Mode);  // returns the previous mode

// DrawText format flags (DT_*), for labels and cells that lay out text in a rectangle.
constexpr unsigned DT_TOP = 0x0000;
constexpr unsigned DT_LEFT = 0x0000;
constexpr unsigned DT_CENTER = 0x0001;
constexpr unsigned DT_RIGHT = 0x0002;
constexpr unsigned DT_VCENTER = 0x0004;
constexpr unsigned DT_BOTTOM = 0x0008;
constexpr unsigned DT_WORDBREAK = 0x0010;
constexpr unsigned DT_SINGLELINE = 0x0020;
constexpr unsigned DT_EXPANDTABS = 0x0040;
constexpr unsigned DT_NOCLIP = 0x0100;
constexpr unsigned DT_CALCRECT = 0x0400;
constexpr unsigned DT_NOPREFIX = 0x0800;
constexpr unsigned DT_END_ELLIPSIS = 0x8000;
// Lays out Text in R with the canvas font and brush; "&x" underlines x unless DT_NOPREFIX.
// With DT_CALCRECT nothing is drawn and R is set to the rectangle the text needs (its right
// and bottom edges move). Returns the height of the text.
int DrawText(TCanvas* Canvas, const std::string& Text, TRect& R, unsigned Format);

// ---------------------------------------------------------------- graphics

class TGraphic : public TPersistent {
 public:
  std::string ClassName() const override { return "TGraphic"; }
  virtual int GetWidth() const = 0;
  virtual int GetHeight() const = 0;
  virtual bool Empty() const { return GetWidth() == 0 || GetHeight() == 0; }
  bool GetTransparent() const { return FTransparent; }
  virtual void SetTransparent(bool Value);
  // Draws the graphic into R of the canvas (stretching when the sizes differ).
  virtual void Draw(TCanvas* Canvas, const TRect& R) const = 0;
  virtual void LoadFromFile(const std::string& FileName) = 0;
  virtual void SaveToFile(const std::string& FileName) const = 0;
  virtual void LoadFromStream(TStream& Stream) = 0;
  virtual void SaveToStream(TStream& Stream) const = 0;
  TNotifyEvent OnChange;

 protected:
  void Changed();
  bool FTransparent = false;
};

enum TPixelFormat : uint8_t { pfDevice, pf1bit, pf4bit, pf8bit, pf15bit, pf16bit, pf24bit, pf32bit };
enum TTransparentMode : uint8_t { tmAuto, tmFixed };

class TBitmap : public TGraphic {
 public:
  TBitmap();
  TBitmap(int Width, int Height);
  ~TBitmap() override;
  std::string ClassName() const override { return "TBitmap"; }
  void Assign(const TPersistent* Source) override;  // copies pixels and settings

  int GetWidth() const override { return FWidth; }
  int GetHeight() const override { return FHeight; }
  void SetWidth(int Value) { SetSize(Value, FHeight); }
  void SetHeight(int Value) { SetSize(FWidth, Value); }
  // Keeps the pixels that still fit; new pixels are white. Raises EOutOfResources for sizes
  // beyond what can be allocated (negative sizes count as 0).
  void SetSize(int Width, int Height);
  TCanvas* Canvas() const { return FCanvas.get(); }
  // The stored format is always 32 bits per pixel; the property is kept for callers that set it.
  TPixelFormat GetPixelFormat() const { return FPixelFormat; }
  void SetPixelFormat(TPixelFormat Value) { FPixelFormat = Value; }

  // Row y of the pixels (0x00RRGGBB); raises ERangeError for a row outside the bitmap.
  TPixel* ScanLine(int Y);
  const TPixel* ScanLine(int Y) const;
  TSurface Surface() { return {FPixels.data(), FWidth, FHeight, FWidth}; }

  // Transparent drawing skips pixels of TransparentColor. With tmAuto the colour is the pixel
  // at the bottom-left corner.
  TColor GetTransparentColor() const;
  void SetTransparentColor(TColor Value);
  TTransparentMode GetTransparentMode() const { return FTransparentMode; }
  void SetTransparentMode(TTransparentMode Value);

  void Draw(TCanvas* Canvas, const TRect& R) const override;
  // BMP (1, 4, 8, 16, 24, 32 bits; uncompressed, RLE4/RLE8, bitfields) and PNG, by content.
  // Broken or unsupported data raises EInvalidGraphic and leaves the bitmap as it was.
  void LoadFromFile(const std::string& FileName) override;
  // Writes PNG when the name ends in ".png" (any case), otherwise BMP: 24-bit, or 32-bit with
  // alpha when some pixel is translucent (the top byte holds 255 - alpha; 0 is opaque).
  void SaveToFile(const std::string& FileName) const override;
  void LoadFromStream(TStream& Stream) override;  // BMP or PNG, by content
  void SaveToStream(TStream& Stream) const override;  // BMP
  void SaveToPngStream(TStream& Stream) const;
  void LoadFromMemory(std::span<const uint8_t> Data);
  // Loads a bitmap compiled into the library from resources/ (name without extension,
  // case-insensitive); raises EResNotFound when there is none of that name.
  void LoadFromResourceName(const std::string& Name);
  void FreeImage() { SetSize(0, 0); }

 private:
  void Rebind();
  int FWidth = 0;
  int FHeight = 0;
  std::vector<TPixel> FPixels;
  std::unique_ptr<TCanvas> FCanvas;
  TPixelFormat FPixelFormat = pf32bit;
  TColor FTransparentColor = clDefault;
  TTransparentMode FTransparentMode = tmAuto;
};

}  // namespace qel
