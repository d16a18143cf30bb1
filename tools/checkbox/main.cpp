// Draws the two check-box pictures of the table editor's "Data Read-Only" menu item with our own
// canvas and writes them as PNG into the resources folder (default: resources/ of the source
// tree), where they become the named resources CHECKEDBOX and EMPTYBOX.
//
//   qel-checkbox [output-folder]
#include <cstdio>
#include <memory>
#include <string>

#include "platform/graphics/Graphics.h"

using namespace qel;

namespace {

constexpr int kSize = 13;

// A sunken white box: gray and black edges on the top and left, silver and white on the others,
// as a check box of the classic look.
std::unique_ptr<TBitmap> Box() {
  auto b = std::make_unique<TBitmap>(kSize, kSize);
  TCanvas* c = b->Canvas();
  c->Brush()->SetColor(clWhite);
  c->FillRect(Rect(0, 0, kSize, kSize));
  auto line = [c](TColor Color, int X1, int Y1, int X2, int Y2) {
    c->Pen()->SetColor(Color);
    c->MoveTo(X1, Y1);
    c->LineTo(X2, Y2);
  };
  line(clGray, 0, kSize - 1, 0, 0);
  line(clGray, 0, 0, kSize, 0);
  line(clBlack, 1, kSize - 2, 1, 1);
  line(clBlack, 1, 1, kSize - 1, 1);
  line(clSilver, 1, kSize - 2, kSize - 2, kSize - 2);
  line(clSilver, kSize - 2, kSize - 2, kSize - 2, 0);
  line(clWhite, 0, kSize - 1, kSize - 1, kSize - 1);
  line(clWhite, kSize - 1, kSize - 1, kSize - 1, -1);
  return b;
}

// The tick: a short stroke down to the right and a long one up, three pixels thick.
void Tick(TCanvas* C) {
  C->Pen()->SetColor(clBlack);
  for (int d = 0; d < 3; ++d) {
    C->MoveTo(3, 5 + d);
    C->LineTo(5, 7 + d);
    C->LineTo(10, 2 + d);
  }
}

}  // namespace

int main(int argc, char** argv) {
  const std::string dir = argc > 1 ? argv[1] : QEL_SOURCE_DIR "/resources";
  auto empty = Box();
  auto checked = Box();
  Tick(checked->Canvas());
  empty->SaveToFile(dir + "/emptybox.png");
  checked->SaveToFile(dir + "/checkedbox.png");
  std::printf("wrote %s/emptybox.png and %s/checkedbox.png\n", dir.c_str(), dir.c_str());
  return 0;
}
