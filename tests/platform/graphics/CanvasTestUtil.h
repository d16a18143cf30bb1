#pragma once
// Pixel-grid helpers for the canvas tests: bitmaps are compared as ASCII art so that a failure
// shows the picture that was drawn next to the one expected.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "platform/graphics/Graphics.h"

namespace qel::testing {

// '.' white, '#' black, 'r' red, 'g' lime, 'b' blue, 'y' yellow, '?' anything else unless the
// caller names more colours.
inline std::string Dump(const TBitmap& B, const std::map<TColor, char>& Extra = {}) {
  std::string s;
  for (int y = 0; y < B.GetHeight(); ++y) {
    const TPixel* row = B.ScanLine(y);
    for (int x = 0; x < B.GetWidth(); ++x) {
      TColor c = PixelToColor(row[x] & 0xFFFFFF);
      char ch = '?';
      if (auto it = Extra.find(c); it != Extra.end())
        ch = it->second;
      else if (c == clWhite)
        ch = '.';
      else if (c == clBlack)
        ch = '#';
      else if (c == clRed)
        ch = 'r';
      else if (c == clLime)
        ch = 'g';
      else if (c == clBlue)
        ch = 'b';
      else if (c == clYellow)
        ch = 'y';
      s += ch;
    }
    s += '\n';
  }
  return s;
}

inline std::string Grid(std::initializer_list<const char*> Rows) {
  std::string s;
  for (const char* r : Rows) s += std::string(r) + '\n';
  return s;
}

// Counts the pixels of a colour.
inline int CountColor(const TBitmap& B, TColor C) {
  int n = 0;
  for (int y = 0; y < B.GetHeight(); ++y)
    for (int x = 0; x < B.GetWidth(); ++x)
      if (PixelToColor(B.ScanLine(y)[x] & 0xFFFFFF) == C) ++n;
  return n;
}

// The set of (x, y) of pixels that are not white.
inline std::vector<TPoint> Inked(const TBitmap& B) {
  std::vector<TPoint> v;
  for (int y = 0; y < B.GetHeight(); ++y)
    for (int x = 0; x < B.GetWidth(); ++x)
      if ((B.ScanLine(y)[x] & 0xFFFFFF) != 0xFFFFFF) v.push_back({x, y});
  return v;
}

inline void Fill(TBitmap& B, TColor C) {
  for (int y = 0; y < B.GetHeight(); ++y)
    for (int x = 0; x < B.GetWidth(); ++x) B.ScanLine(y)[x] = ColorToPixel(C);
}

}  // namespace qel::testing
