#include "apps/gallery/NTabEdDemo.h"

#include <cmath>

#include "platform/controls/Properties.h"
#include "platform/rtl/NumText.h"

namespace qel {

namespace {
constexpr const char* kLevels[] = {"off", "low", "mid", "high", "max"};
}  // namespace

void TNTabEdDemo::Loaded() {
  TNTabEd::Loaded();
  FillDemoData();
}

void TNTabEdDemo::FillDemoData() {
  SetSuppressPaint(true);
  TDataTable* t = DataTable();
  const int nc = t->NrOfColumns(), nr = t->NrOfRows();
  for (int c = 1; c <= nc; ++c) {
    t->SetColName(c, c % 10 == 1 ? "Level " + IntToStr(c) : "Ch " + IntToStr(c));
    t->SetColAttrib(c, static_cast<uint8_t>(c % 256));
    if (c % 10 == 1) {
      t->SetMScaleType(c, mstNominal);
      for (int v = 1; v <= 5; ++v) t->SetNominalID(c, v, kLevels[v - 1]);
    }
  }
  for (int r = 1; r <= nr; ++r) {
    t->SetRowName(r, IntToStr(r * 5) + " s");
    t->SetRowAttrib(r, static_cast<uint8_t>(r % 4 == 0 ? 1 : 0));
  }
  // Column by column, as the matrix stores them: a damped wave per channel, levels 1..5.
  TMatrix& m = t->Matrix();
  for (int c = 1; c <= nc; ++c) {
    const bool nominal = c % 10 == 1;
    const double f = 0.01 + 0.0007 * c, a = 10.0 + c % 7 * 25.0;
    for (int r = 1; r <= nr; ++r)
      m.At(c, r) = nominal ? 1 + (r / 7 + c) % 5 : a * std::sin(f * r) + 0.001 * r;
  }
  for (int c = 2; c <= nc && c <= 40; c += 3) t->SetCellState(c, 2 + c % 9, dtsMarkedA);
  for (int c = 3; c <= nc && c <= 40; c += 4) t->SetCellState(c, 3 + c % 7, dtsMarkedB);
  for (int c = 1; c <= nc && c <= 4; ++c) t->SetCellState(c, 1, dtsLocked);
  if (nc >= 3 && nr >= 12) t->SetCellState(3, 12, dtsEmpty);
  SetDecPlaces(2, 1);
  SetComment("Readings every 5 s; first row locked");
  SetSuppressPaint(false);
}

void RegisterNTabEdDemoClasses() {
  RegisterNTabEdClasses();
  RegisterClass<TNTabEdDemo>("TNTabEdDemo", "TNTabEd");
}

}  // namespace qel
