// Invalidation, the repaint order and regions, transparent and opaque controls, PaintTo.
#include "Probes.h"

namespace qel::test {
namespace {

class PaintTest : public ControlsTest {
 protected:
  void SetUp() override {
    ControlsTest::SetUp();
    Form = new TForm(nullptr);
    Form->SetBounds(0, 0, 200, 150);
    Form->SetColor(clSilver);
    Form->OnPaint = [this](TObject*) { Log.push_back("form.paint"); };
    Panel = new TProbe(Form, &Log, "panel", clBlue);
    Panel->SetParent(Form);
    Panel->SetBounds(10, 10, 120, 100);
    Shape = new TGraphicProbe(Form, &Log, "shape", clRed, 5);
    Shape->SetParent(Panel);
    Shape->SetBounds(10, 10, 40, 40);
    Inner = new TProbe(Form, &Log, "inner", clLime);
    Inner->SetParent(Panel);
    Inner->SetBounds(60, 10, 40, 40);
    Form->Show();
    Log.clear();  // the focus arriving is not what these tests look at
  }
  void TearDown() override {
    delete Form;
    ControlsTest::TearDown();
  }
  TLog Log;
  TForm* Form = nullptr;
  TProbe* Panel = nullptr;
  TGraphicProbe* Shape = nullptr;
  TProbe* Inner = nullptr;
};

using V = std::vector<std::string>;

TEST_F(PaintTest, FirstPaintGoesParentFirstThenChildrenAndFillsTheSurface) {
  EXPECT_TRUE(Log.empty());  // nothing until the loop runs
  Application->ProcessMessages();
  EXPECT_EQ(Log, (V{"form.paint", "panel.paint", "shape.paint", "inner.paint"}));
  EXPECT_EQ(SurfacePixel(Form, 5, 5), clSilver);  // form background
  EXPECT_EQ(SurfacePixel(Form, 12, 12), clBlue);  // panel
  EXPECT_EQ(SurfacePixel(Form, 22, 22), clBlue);  // inside the shape's transparent margin
  EXPECT_EQ(SurfacePixel(Form, 30, 30), clRed);   // the shape
  EXPECT_EQ(SurfacePixel(Form, 75, 25), clLime);  // the windowed child
  EXPECT_TRUE(Form->DirtyRects().empty());
  ASSERT_FALSE(Backend()->Presented.empty());
  EXPECT_EQ(Backend()->Presented.back().Rect, Rect(0, 0, 200, 150));
}

TEST_F(PaintTest, OnlyDirtyRegionsRepaintAndTransparentControlsRepaintTheirParentBeneath) {
  Application->ProcessMessages();
  Log.clear();
  Backend()->ClearRecords();
  Application->ProcessMessages();
  EXPECT_TRUE(Log.empty());  // nothing dirty, nothing painted
  EXPECT_TRUE(Backend()->Presented.empty());

  Shape->Invalidate();  // transparent: the panel beneath paints first
  Application->ProcessMessages();
  EXPECT_EQ(Log, (V{"panel.paint", "shape.paint"}));
  ASSERT_EQ(Backend()->Presented.size(), 1u);
  EXPECT_EQ(Backend()->Presented[0].Rect, Rect(20, 20, 60, 60));

  Log.clear();
  Inner->Invalidate();  // windowed controls cover their area: only they repaint
  Application->ProcessMessages();
  EXPECT_EQ(Log, (V{"inner.paint"}));

  Log.clear();
  Shape->SetOpaque(true);
  Shape->Invalidate();
  Application->ProcessMessages();
  EXPECT_EQ(Log, (V{"shape.paint"}));
}

TEST_F(PaintTest, PaintingIsClippedToTheDirtyRegion) {
  Application->ProcessMessages();
  Panel->Fill = clYellow;  // changed without invalidating: stays blue on screen
  Panel->InvalidateRect(Rect(0, 0, 5, 5));
  Application->ProcessMessages();
  EXPECT_EQ(SurfacePixel(Form, 12, 12), clYellow);
  EXPECT_EQ(SurfacePixel(Form, 16, 16), clBlue);
}

TEST_F(PaintTest, ChildrenAreClippedToTheirParentsClientArea) {
  Shape->SetBounds(100, 80, 60, 60);  // reaches out of the panel (panel ends at 130, 110)
  Application->ProcessMessages();
  EXPECT_EQ(SurfacePixel(Form, 120, 100), clRed);
  EXPECT_EQ(SurfacePixel(Form, 135, 100), clSilver);
  EXPECT_EQ(SurfacePixel(Form, 120, 115), clSilver);
}

TEST_F(PaintTest, MovingAndHidingRepaintWhatWasUncovered) {
  Application->ProcessMessages();
  Inner->SetVisible(false);
  Application->ProcessMessages();
  EXPECT_EQ(SurfacePixel(Form, 75, 25), clBlue);
  Shape->SetLeft(50);
  Application->ProcessMessages();
  EXPECT_EQ(SurfacePixel(Form, 30, 30), clBlue);
  EXPECT_EQ(SurfacePixel(Form, 70, 30), clRed);
}

TEST_F(PaintTest, RepaintDrawsAtOnceAndUpdateFlushesPendingWork) {
  Application->ProcessMessages();
  Log.clear();
  Inner->Fill = clFuchsia;
  Inner->Repaint();
  EXPECT_EQ(Log, (V{"inner.paint"}));
  EXPECT_EQ(SurfacePixel(Form, 75, 25), clFuchsia);
  Log.clear();
  Shape->Invalidate();
  Inner->Update();  // the form's pending region, wherever it is
  EXPECT_EQ(Log, (V{"panel.paint", "shape.paint"}));
}

TEST_F(PaintTest, DrawingOutsidePaintLandsOnTheSurfaceAndIsPresented) {
  Application->ProcessMessages();
  Backend()->ClearRecords();
  TCanvas* c = Inner->Canvas();
  c->Brush()->SetColor(clBlack);
  c->FillRect(Rect(0, 0, 4, 4));
  EXPECT_EQ(SurfacePixel(Form, 70, 20), clBlack);
  c->FillRect(Rect(-50, -50, 200, 200));  // clipped to the control's visible part
  EXPECT_EQ(SurfacePixel(Form, 69, 19), clBlue);
  Application->ProcessMessages();
  ASSERT_FALSE(Backend()->Presented.empty());
  EXPECT_EQ(Backend()->Presented[0].Rect, Rect(70, 20, 74, 24));
}

TEST_F(PaintTest, PaintToDrawsAControlTreeThatIsOnNoForm) {
  TLog log;
  TProbe root(nullptr, &log, "root", clNavy);
  root.SetBounds(0, 0, 30, 20);
  auto* g = new TGraphicProbe(&root, &log, "g", clRed, 0);
  g->SetParent(&root);
  g->SetBounds(20, 5, 20, 10);  // half outside the root
  auto* w = new TProbe(&root, &log, "w", clLime);
  w->SetParent(&root);
  w->SetBounds(2, 2, 5, 5);
  w->SetVisible(false);
  TBitmap bmp(40, 30);
  bmp.Canvas()->Brush()->SetColor(clWhite);
  bmp.Canvas()->FillRect(Rect(0, 0, 40, 30));
  root.PaintTo(&bmp, 5, 5);
  EXPECT_EQ(log, (V{"root.paint", "g.paint"}));
  EXPECT_TRUE(w->HandleAllocated());
  EXPECT_EQ(bmp.Canvas()->GetPixel(4, 4), clWhite);
  EXPECT_EQ(bmp.Canvas()->GetPixel(5, 5), clNavy);
  EXPECT_EQ(bmp.Canvas()->GetPixel(8, 8), clNavy);  // hidden child not drawn
  EXPECT_EQ(bmp.Canvas()->GetPixel(26, 12), clRed);
  EXPECT_EQ(bmp.Canvas()->GetPixel(34, 12), clRed);
  EXPECT_EQ(bmp.Canvas()->GetPixel(35, 12), clWhite);  // clipped by the root
  EXPECT_EQ(bmp.Canvas()->GetPixel(35, 24), clWhite);
  // Without a form a control's canvas draws nowhere, and that is no error.
  g->Canvas()->FillRect(Rect(0, 0, 10, 10));
  EXPECT_FALSE(g->Canvas()->HasSurface());
}

TEST_F(PaintTest, ExceptionsInPaintAreHandledAndPaintingGoesOn) {
  struct TBroken : TGraphicControl {
    using TGraphicControl::TGraphicControl;
    void Paint() override { throw EInvalidGraphic("broken paint"); }
  };
  auto* b = new TBroken(Form);
  b->SetParent(Form);
  b->SetBounds(150, 10, 20, 20);
  Application->ProcessMessages();
  EXPECT_EQ(Backend()->Errors, (V{"broken paint"}));
  EXPECT_EQ(SurfacePixel(Form, 75, 25), clLime);
}

TEST_F(PaintTest, ResizingTheFormResizesItsSurface) {
  Form->SetBounds(0, 0, 250, 90);
  EXPECT_EQ(Form->Surface()->GetWidth(), 250);
  EXPECT_EQ(Form->Surface()->GetHeight(), 90);
  Application->ProcessMessages();
  EXPECT_EQ(SurfacePixel(Form, 240, 80), clSilver);
}

}  // namespace
}  // namespace qel::test
