#pragma once
// The table editor page's editor: a TNTabEd that fills its table, once loaded, with made-up
// readings (1,000 columns x 100,000 rows as the page sets them), every tenth column nominal with
// named levels, a few marked cells, locked cells in the first row, and names on every line.
#include <string>

#include "ntabed/QEL_ntabed.h"

namespace qel {

class TNTabEdDemo : public TNTabEd {
 public:
  explicit TNTabEdDemo(TComponent* AOwner) : TNTabEd(AOwner) {}
  std::string ClassName() const override { return "TNTabEdDemo"; }
  void Loaded() override;
  // Fills the table as Loaded does (public for the benchmark and the tests).
  void FillDemoData();
};

// Registers the table editor classes and TNTabEdDemo. Idempotent.
void RegisterNTabEdDemoClasses();

}  // namespace qel
