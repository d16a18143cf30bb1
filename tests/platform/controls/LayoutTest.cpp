// Alignment and anchors.
#include <functional>

#include "Probes.h"

namespace qel::test {
namespace {

using LayoutTest = ControlsTest;

TEST_F(LayoutTest, AlignedChildrenShareTheClientAreaInTheClassicOrder) {
  TWinControl host(nullptr);
  host.SetBounds(0, 0, 200, 100);
  auto make = [&](TAlign a, int w, int h) {
    auto* c = new TGraphicControl(&host);
    c->SetBounds(0, 0, w, h);
    c->SetAlign(a);
    c->SetParent(&host);
    return c;
  };
  auto* client = make(alClient, 1, 1);
  auto* top = make(alTop, 1, 10);
  auto* bottom = make(alBottom, 1, 20);
  auto* left = make(alLeft, 30, 1);
  auto* right = make(alRight, 40, 1);
  EXPECT_EQ(top->BoundsRect(), Rect(0, 0, 200, 10));
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 80, 200, 100));
  EXPECT_EQ(left->BoundsRect(), Rect(0, 10, 30, 80));
  EXPECT_EQ(right->BoundsRect(), Rect(160, 10, 200, 80));
  EXPECT_EQ(client->BoundsRect(), Rect(30, 10, 160, 80));
  host.SetBounds(0, 0, 300, 150);  // relayout on resize
  EXPECT_EQ(bottom->BoundsRect(), Rect(0, 130, 300, 150));
  EXPECT_EQ(client->BoundsRect(), Rect(30, 10, 260, 130));
  top->SetVisible(false);  // hidden controls take no room
  EXPECT_EQ(left->BoundsRect(), Rect(0, 0, 30, 130));
  // A parent smaller than its aligned children leaves the client with nothing, not less.
  host.SetBounds(0, 0, 50, 15);
  EXPECT_EQ(client->GetWidth(), 0);
  EXPECT_EQ(client->GetHeight(), 0);
}

TEST_F(LayoutTest, TwoTopAlignedControlsKeepTheirOrderAndDisableAlignBatches) {
  TWinControl host(nullptr);
  host.SetBounds(0, 0, 100, 100);
  auto* a = new TGraphicControl(&host);
  auto* b = new TGraphicControl(&host);
  a->SetParent(&host);
  b->SetParent(&host);
  host.DisableAlign();
  a->SetBounds(0, 50, 10, 5);
  b->SetBounds(0, 10, 10, 7);
  a->SetAlign(alTop);
  b->SetAlign(alTop);
  EXPECT_EQ(a->GetTop(), 50);  // nothing moves while disabled
  host.EnableAlign();
  EXPECT_EQ(b->BoundsRect(), Rect(0, 0, 100, 7));
  EXPECT_EQ(a->BoundsRect(), Rect(0, 7, 100, 12));
}

TEST_F(LayoutTest, AnchorsFollowTheParentsEdges) {
  TWinControl host(nullptr);
  host.SetBounds(0, 0, 200, 100);
  auto* stretch = new TGraphicControl(&host);
  auto* corner = new TGraphicControl(&host);
  auto* fixed = new TGraphicControl(&host);
  auto* centred = new TGraphicControl(&host);
  for (auto* c : {stretch, corner, fixed, centred}) c->SetParent(&host);
  stretch->SetBounds(10, 10, 100, 20);
  stretch->SetAnchors({akLeft, akTop, akRight});
  corner->SetBounds(150, 70, 40, 20);
  corner->SetAnchors({akRight, akBottom});
  fixed->SetBounds(5, 5, 10, 10);
  centred->SetBounds(90, 40, 20, 20);
  centred->SetAnchors({});
  host.SetBounds(0, 0, 260, 140);
  EXPECT_EQ(stretch->BoundsRect(), Rect(10, 10, 170, 30));
  EXPECT_EQ(corner->BoundsRect(), Rect(210, 110, 250, 130));
  EXPECT_EQ(fixed->BoundsRect(), Rect(5, 5, 15, 15));
  EXPECT_EQ(centred->BoundsRect(), Rect(120, 60, 140, 80));
  host.SetBounds(0, 0, 200, 100);  // and back, without drift
  EXPECT_EQ(stretch->BoundsRect(), Rect(10, 10, 110, 30));
  EXPECT_EQ(corner->BoundsRect(), Rect(150, 70, 190, 90));
}

TEST_F(LayoutTest, ResizeFiresOnSizeChangeOnlyAndNegativeSizesBecomeZero) {
  TGraphicControl c(nullptr);
  int resized = 0;
  c.OnResize = [&](TObject*) { ++resized; };
  c.SetBounds(0, 0, 10, 10);
  c.SetLeft(5);
  c.SetWidth(-3);
  EXPECT_EQ(resized, 2);
  EXPECT_EQ(c.GetWidth(), 0);
}

// A form's least size: smaller bounds, from code or from the native window, are raised to it;
// a least size above the present size grows the form.
TEST_F(LayoutTest, AFormNeverGetsSmallerThanItsLeastSize) {
  TForm form(nullptr);
  form.SetBounds(10, 20, 400, 300);
  form.SetMinSize({200, 150});
  EXPECT_EQ(form.BoundsRect(), Rect(10, 20, 410, 320));  // already larger: unchanged
  struct Case {
    const char* What;
    std::function<void()> Do;
    TRect Expected;
  } cases[] = {
      {"code", [&] { form.SetBounds(10, 20, 50, 400); }, Rect(10, 20, 210, 420)},
      {"client size", [&] { form.SetClientHeight(10); }, Rect(10, 20, 210, 170)},
      {"native window", [&] { form.NativeResized(120, 90); }, Rect(10, 20, 210, 170)},
      {"larger least size", [&] { form.SetMinSize({250, 0}); }, Rect(10, 20, 260, 170)},
      {"smaller again", [&] { form.SetBounds(10, 20, 240, 5); }, Rect(10, 20, 260, 25)},
  };
  for (const Case& c : cases) {
    c.Do();
    EXPECT_EQ(form.BoundsRect(), c.Expected) << c.What;
  }
  EXPECT_EQ(form.GetMinSize(), (TSize{250, 0}));
}

}  // namespace
}  // namespace qel::test
