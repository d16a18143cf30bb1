// Form files with extreme geometry: positions and sizes at the ends of int for every registered
// control class, a panel's frame as wide as int allows, and grids whose rows and columns add up
// to far more than int holds. Each must read (or be refused with its line) and paint without
// overflow, painting no more cells than show.
#include <gtest/gtest.h>

#include <climits>
#include <memory>
#include <string>

#include "platform/controls/FormFiles.h"
#include "platform/controls/Properties.h"
#include "platform/grids/Grids.h"
#include "platform/widgets/ExtCtrls.h"
#include "platform/widgets/StdCtrls.h"
#include "tests/platform/widgets/WidgetFixture.h"

namespace qel::test {
namespace {

class HostileGeometryTest : public WidgetTest {
 protected:
  void SetUp() override {
    WidgetTest::SetUp();
    RegisterStdWidgetClasses();
    RegisterGridClasses();
  }
  // Reads a form holding one component of Class with the given property lines, shows and paints
  // it; the form, or nullptr with the error's text in Error.
  std::unique_ptr<TComponent> ReadAndPaint(const std::string& Class, const std::string& Props,
                                           std::string& Error) {
    const std::string text =
        "object F: TForm\n  ClientWidth = 200\n  ClientHeight = 120\n"
        "  object X: " +
        Class + "\n" + Props + "  end\nend\n";
    std::unique_ptr<TComponent> root;
    try {
      root.reset(CreateComponentFromText(text, nullptr));
    } catch (const EFormFileError& e) {
      Error = e.Message;
      return nullptr;
    }
    auto* form = dynamic_cast<TForm*>(root.get());
    form->Show();
    Application->ProcessMessages();
    TBitmap bmp;
    bmp.SetSize(200, 120);
    form->PaintTo(&bmp);
    return root;
  }
};

TEST_F(HostileGeometryTest, ExtremePositionsAndSizesAreRefusedOrKeptInRange) {
  int classes = 0;
  for (const TClassInfo* info : RegisteredClasses()) {
    if (!info->Create || info->Name == "TForm") continue;
    std::unique_ptr<TComponent> probe(info->Create(nullptr));
    if (!dynamic_cast<TControl*>(probe.get())) continue;
    ++classes;
    for (const char* prop : {"Left", "Top", "Width", "Height"}) {
      for (const int64_t v : {int64_t{INT_MAX}, int64_t{INT_MIN}, int64_t{kMaxControlCoord} + 1}) {
        std::string error;
        const std::string line = "    " + std::string(prop) + " = " + std::to_string(v) + "\n";
        EXPECT_EQ(ReadAndPaint(info->Name, line, error), nullptr) << info->Name << " " << prop;
        EXPECT_NE(error.find("Line 5: Value " + std::to_string(v) + " out of range for " + prop + " ("),
                  std::string::npos)
            << error;
      }
    }
    // The largest that is allowed reads and paints; set in code, anything is kept in range.
    std::string error;
    EXPECT_NE(ReadAndPaint(info->Name,
                           "    Left = -4194304\n    Top = 4194304\n    Width = 4194304\n"
                           "    Height = 4194304\n",
                           error),
              nullptr)
        << info->Name << ": " << error;
    auto* ctl = dynamic_cast<TControl*>(info->Create(Form));
    ctl->SetParent(Form);
    ctl->SetBounds(INT_MAX, INT_MIN, INT_MAX, INT_MAX);
    EXPECT_EQ(ctl->BoundsRect(), Rect(kMaxControlCoord, -kMaxControlCoord, 2 * kMaxControlCoord, 0))
        << info->Name;
    ctl->SetBounds(-5, -5, 50, 50);
    ShowForm();
    Surface();
    delete ctl;
  }
  EXPECT_GE(classes, 11);
}

TEST_F(HostileGeometryTest, PanelFramesAsWideAsIntAllows) {
  for (const char* props :
       {"    BorderWidth = 2147483647\n",
        "    BevelWidth = 2147483647\n    BevelInner = bvRaised\n",
        "    BorderWidth = 2147483647\n    BevelWidth = 2147483647\n    BevelInner = bvLowered\n"
        "    BorderStyle = bsSingle\n    Caption = 'x'\n"}) {
    std::string error;
    auto root = ReadAndPaint("TPanel", props, error);
    ASSERT_NE(root, nullptr) << error;
    auto* panel = dynamic_cast<TCustomPanel*>(root->FindComponent("X"));
    EXPECT_LE(panel->GetBorderWidth(), kMaxControlCoord);
    EXPECT_LE(panel->GetBevelWidth(), kMaxControlCoord);
  }
}

TEST_F(HostileGeometryTest, GridsBeyondIntPaintOnlyTheCellsThatShow) {
  struct Case {
    const char* Props;
    int ScrollRow, ScrollCol;
  };
  const Case cases[] = {
      {"    DefaultRowHeight = 2147483647\n    RowCount = 100000000\n", 99999999, 1},
      {"    DefaultColWidth = 2147483600\n    GridLineWidth = 2147483647\n    ColCount = 100000\n",
       1, 99999},
      {"    DefaultColWidth = 2147483647\n    DefaultRowHeight = 2147483647\n"
       "    ColCount = 100000000\n    RowCount = 100000000\n    GridLineWidth = 1000000\n",
       99999999, 99999999},
  };
  for (const Case& k : cases) {
    std::string error;
    auto root = ReadAndPaint(
        "TDrawGrid", std::string("    Left = 0\n    Width = 200\n    Height = 120\n") + k.Props,
        error);
    ASSERT_NE(root, nullptr) << error;
    auto* grid = dynamic_cast<TDrawGrid*>(root->FindComponent("X"));
    int drawn = 0;
    grid->OnDrawCell = [&](TObject*, int, int, const TRect&, TGridDrawState) { ++drawn; };
    for (const auto& [row, col] : {std::pair{1, 1}, std::pair{k.ScrollRow, k.ScrollCol}}) {
      grid->SetTopRow(std::min(row, grid->GetRowCount() - 1));
      grid->SetLeftCol(std::min(col, grid->GetColCount() - 1));
      drawn = 0;
      TBitmap bmp;
      bmp.SetSize(200, 120);
      grid->PaintTo(&bmp);
      // A cell larger than the grid shows at most one cell beside the fixed ones per axis.
      EXPECT_GE(drawn, 1) << k.Props;
      EXPECT_LE(drawn, 4) << k.Props;
      const TRect r = grid->CellRect(grid->GetLeftCol(), grid->GetTopRow());
      EXPECT_LE(r.Left, r.Right);
      EXPECT_LE(r.Top, r.Bottom);
    }
    EXPECT_GE(grid->MouseCoord(100, 100).X, 0);
  }
}

}  // namespace
}  // namespace qel::test
