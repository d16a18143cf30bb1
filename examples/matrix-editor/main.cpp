// A matrix editor: a table of calibration readings in the numeric table editor. Type into a
// cell, copy a block with Ctrl+C and paste it back (or paste numbers from another program) with
// Ctrl+V, mark cells through the right-button menu; the buttons mark the readings out of
// tolerance and sum the marked ones.
#include <cmath>
#include <cstdio>
#include <functional>

#include "examples/ExampleMain.h"
#include "ntabed/QEL_ntabed.h"
#include "platform/widgets/StdCtrls.h"

namespace qel {
namespace {

class TMatrixForm : public TForm {
 public:
  explicit TMatrixForm(TComponent* AOwner) : TForm(AOwner) {
    SetCaption("Matrix editor");
    SetClientWidth(640);
    SetClientHeight(420);
    FTable = new TNTabEd(this);
    FTable->SetParent(this);
    FTable->SetBounds(8, 44, 624, 336);
    FTable->SetNrCols(8);
    FTable->SetNrRows(40);
    for (int c = 1; c <= 8; ++c) FTable->SetColName(c, "Probe " + std::to_string(c));
    for (int r = 1; r <= 40; ++r) {
      FTable->SetRowName(r, std::to_string(r * 5) + " °C");
      for (int c = 1; c <= 8; ++c)
        FTable->SetElem(c, r, 100 + r * 0.5 + 0.8 * std::sin(r * 0.7 + c) * (c % 3 == 0 ? 3 : 1));
    }
    Button("Mark out of tolerance", 8, 170, [this] { MarkOutOfTolerance(); });
    Button("Sum of marked", 186, 120, [this] { SumMarked(); });
    Button("Copy table", 314, 100, [this] { FTable->CopyToClipboard(); });
    FStatus = new TLabel(this);
    FStatus->SetParent(this);
    FStatus->SetBounds(8, 388, 624, 24);
    FStatus->SetCaption("Ctrl+C / Ctrl+V copy and paste blocks; the right button opens the menus.");
  }

 private:
  void Button(const char* Caption, int Left, int Width, std::function<void()> Action) {
    auto* b = new TButton(this);
    b->SetParent(this);
    b->SetBounds(Left, 9, Width, 26);
    b->SetCaption(Caption);
    b->OnClick = [Action](TObject*) { Action(); };
  }
  // A reading more than 1 away from its row's nominal value is out of tolerance.
  void MarkOutOfTolerance() {
    int n = 0;
    for (int r = 1; r <= FTable->GetNrRows(); ++r)
      for (int c = 1; c <= FTable->GetNrCols(); ++c) {
        const bool out = std::fabs(FTable->GetElem(c, r) - (100 + r * 0.5)) > 1;
        FTable->SetElemMarkedA(c, r, out);
        n += out;
      }
    FStatus->SetCaption(std::to_string(n) + " readings out of tolerance are marked");
  }
  void SumMarked() {
    double sum = 0;
    int n = 0;
    for (int r = 1; r <= FTable->GetNrRows(); ++r)
      for (int c = 1; c <= FTable->GetNrCols(); ++c)
        if (FTable->GetElemMarkedA(c, r)) sum += FTable->GetElem(c, r), ++n;
    char text[96];
    std::snprintf(text, sizeof text, "%d marked readings, sum %.3f", n, sum);
    FStatus->SetCaption(text);
  }

  TNTabEd* FTable;
  TLabel* FStatus;
};

}  // namespace
}  // namespace qel

int main(int argc, char** argv) {
  return qel::example::Run(argc, argv, "qel-matrix-editor", [] {
    qel::TMatrixForm* form = nullptr;
    qel::Application->CreateForm(form);
    return form;
  });
}
