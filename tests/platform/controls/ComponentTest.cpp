// Ownership, names, notification and early destruction of components and controls.
#include "Probes.h"

namespace qel {
// The widgets layer defines the real menu; the control layer only needs it to be a component.
class TPopupMenu : public TComponent {
 public:
  using TComponent::TComponent;
};
}  // namespace qel

namespace qel::test {
namespace {

// Counts its own destruction and remembers removal notices it receives.
class TTracked : public TComponent {
 public:
  TTracked(TComponent* AOwner, int* Destroyed) : TComponent(AOwner), FDestroyed(Destroyed) {}
  ~TTracked() override { ++*FDestroyed; }
  void Notification(TComponent* C, TOperation Op) override {
    TComponent::Notification(C, Op);
    if (Op == opRemove) Removed.push_back(C);
    if (Op == opRemove && C == Watched) Watched = nullptr;
  }
  std::vector<TComponent*> Removed;
  TComponent* Watched = nullptr;

 private:
  int* FDestroyed;
};

class TTrackedControl : public TGraphicControl {
 public:
  TTrackedControl(TComponent* AOwner, int* Destroyed)
      : TGraphicControl(AOwner), FDestroyed(Destroyed) {}
  ~TTrackedControl() override { ++*FDestroyed; }

 private:
  int* FDestroyed;
};

class TTrackedWin : public TWinControl {
 public:
  TTrackedWin(TComponent* AOwner, int* Destroyed) : TWinControl(AOwner), FDestroyed(Destroyed) {}
  ~TTrackedWin() override { ++*FDestroyed; }

 private:
  int* FDestroyed;
};

using ComponentTest = ControlsTest;

TEST_F(ComponentTest, OwnerDestroysOwnedComponentsAndEarlyDestructionLeavesTheOwner) {
  int destroyed = 0;
  auto* owner = new TComponent(nullptr);
  auto* a = new TTracked(owner, &destroyed);
  auto* b = new TTracked(owner, &destroyed);
  auto* c = new TTracked(a, &destroyed);  // owned one level down
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(1), b);
  EXPECT_EQ(b->GetComponentIndex(), 1);
  EXPECT_EQ(c->GetOwner(), a);

  auto* d = new TTracked(owner, &destroyed);
  a->FreeNotification(b);  // a keeps a pointer to its sibling b; d keeps none
  delete b;  // early: the owner forgets it and the sibling that asked hears of it
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(owner->ComponentCount(), 2);
  EXPECT_EQ(owner->Components(0), a);
  ASSERT_EQ(a->Removed.size(), 1u);
  EXPECT_EQ(a->Removed[0], b);
  EXPECT_TRUE(d->Removed.empty());
  delete d;
  EXPECT_TRUE(a->Removed.size() == 1u) << "a sibling without a link is not told";

  delete owner;  // takes a and, through a, c
  EXPECT_EQ(destroyed, 4);
}

TEST_F(ComponentTest, ComponentsIndexOutOfRangeRaises) {
  TComponent owner(nullptr);
  EXPECT_THROW(owner.Components(0), EListError);
  EXPECT_THROW(owner.Components(-1), EListError);
}

TEST_F(ComponentTest, NamesAreIdentifiersUniqueAmongSiblingsAndFoundCaseInsensitively) {
  TComponent owner(nullptr);
  auto* a = new TComponent(&owner);
  auto* b = new TComponent(&owner);
  a->SetName("Meter1");
  EXPECT_EQ(owner.FindComponent("meter1"), a);
  EXPECT_EQ(owner.FindComponent("Other"), nullptr);
  EXPECT_EQ(owner.FindComponent(""), nullptr);
  try {
    b->SetName("METER1");
    FAIL() << "duplicate name accepted";
  } catch (const EComponentError& e) {
    EXPECT_EQ(e.Message, "A component named METER1 already exists");
  }
  EXPECT_EQ(b->GetName(), "");
  EXPECT_THROW(b->SetName("1abc"), EComponentError);
  EXPECT_THROW(b->SetName("a b"), EComponentError);
  b->SetName("_x2");
  EXPECT_EQ(b->GetName(), "_x2");
  b->SetName("");  // unnamed is always fine
  // Moving a component to an owner that has its name already is refused.
  TComponent other(nullptr);
  auto* clash = new TComponent(&other);
  clash->SetName("Meter1");
  EXPECT_THROW(owner.InsertComponent(clash), EComponentError);
  EXPECT_EQ(clash->GetOwner(), &other);
}

TEST_F(ComponentTest, InsertComponentMovesOwnershipAndRemoveComponentGivesItUp) {
  int destroyed = 0;
  TComponent first(nullptr), second(nullptr);
  auto* t = new TTracked(&first, &destroyed);
  second.InsertComponent(t);
  EXPECT_EQ(first.ComponentCount(), 0);
  EXPECT_EQ(t->GetOwner(), &second);
  second.RemoveComponent(t);
  EXPECT_EQ(t->GetOwner(), nullptr);
  EXPECT_EQ(destroyed, 0);
  delete t;
  EXPECT_EQ(destroyed, 1);
}

TEST_F(ComponentTest, FreeNotificationTellsAnUnrelatedComponentAndEndsWithEitherSide) {
  int destroyed = 0;
  auto* watcher = new TTracked(nullptr, &destroyed);
  auto* target = new TTracked(nullptr, &destroyed);
  watcher->Watched = target;
  watcher->FreeNotification(target);
  delete target;
  EXPECT_EQ(watcher->Watched, nullptr);
  // The other way round: a destroyed watcher must not be called later.
  auto* target2 = new TTracked(nullptr, &destroyed);
  watcher->FreeNotification(target2);
  delete watcher;
  delete target2;  // would touch freed memory if the link survived
  EXPECT_EQ(destroyed, 3);

  // Two interests in one pair: dropping one keeps the other (a menu and the control it popped
  // up for, linked once by each side).
  auto* menu = new TTracked(nullptr, &destroyed);
  auto* control = new TTracked(nullptr, &destroyed);
  menu->Watched = control;
  control->FreeNotification(menu);
  menu->FreeNotification(control);
  control->RemoveFreeNotification(menu);
  delete control;
  EXPECT_EQ(menu->Watched, nullptr);
  EXPECT_EQ(menu->Removed.size(), 1u) << "told once, however many links there were";
  delete menu;
}

TEST_F(ComponentTest, DesigningAndLoadingStates) {
  TComponent owner(nullptr);
  auto* child = new TComponent(&owner);
  owner.SetDesigning(true);
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  owner.SetDesigning(false, false);
  EXPECT_FALSE(owner.ComponentState().Contains(csDesigning));
  EXPECT_TRUE(child->ComponentState().Contains(csDesigning));
  child->Loading();
  EXPECT_TRUE(child->ComponentState().Contains(csLoading));
  EXPECT_TRUE(child->ComponentState().Contains(csReading));
  child->Loaded();
  EXPECT_TRUE(child->ComponentState().Empty() == false);  // csDesigning remains
  EXPECT_FALSE(child->ComponentState().Contains(csLoading));
}

TEST_F(ComponentTest, DestroyingAChildFirstLeavesTheParent) {
  int destroyed = 0;
  auto* form = new TForm(nullptr);
  auto* panel = new TTrackedWin(form, &destroyed);
  panel->SetParent(form);
  auto* label = new TTrackedControl(form, &destroyed);
  label->SetParent(panel);
  delete label;
  EXPECT_EQ(panel->ControlCount(), 0);
  EXPECT_EQ(form->ComponentCount(), 1);
  delete form;  // panel goes with it, once
  EXPECT_EQ(destroyed, 2);
}

TEST_F(ComponentTest, ParentDestroysChildrenItDoesNotOwnAndTheirOwnerForgetsThem) {
  int destroyed = 0;
  TComponent owner(nullptr);
  auto* panel = new TTrackedWin(nullptr, &destroyed);
  auto* a = new TTrackedControl(&owner, &destroyed);
  auto* b = new TTrackedWin(&owner, &destroyed);
  a->SetParent(panel);
  b->SetParent(panel);
  delete panel;
  EXPECT_EQ(destroyed, 3);
  EXPECT_EQ(owner.ComponentCount(), 0);
}

TEST_F(ComponentTest, OwnerDestroyedWithOwnedControlsOnAnotherParent) {
  int destroyed = 0;
  auto* owner = new TComponent(nullptr);
  TWinControl host(nullptr);
  auto* a = new TTrackedControl(owner, &destroyed);
  a->SetParent(&host);
  delete owner;
  EXPECT_EQ(destroyed, 1);
  EXPECT_EQ(host.ControlCount(), 0);
}

TEST_F(ComponentTest, RemovedControlClearsFormReferencesBeforeItGoes) {
  TLog log;
  auto* form = new TForm(nullptr);
  auto* p = new TProbe(form, &log, "p");
  p->SetParent(form);
  p->SetBounds(10, 10, 50, 50);
  form->Show();
  THeadlessInput in(form);
  in.MouseMove(20, 20);
  in.MouseDown(20, 20);
  EXPECT_EQ(form->CaptureControl(), p);
  EXPECT_EQ(form->HoverControl(), p);
  EXPECT_TRUE(p->Focused());
  p->SetParent(nullptr);
  EXPECT_EQ(form->CaptureControl(), nullptr);
  EXPECT_EQ(form->HoverControl(), nullptr);
  EXPECT_EQ(form->GetActiveControl(), nullptr);
  EXPECT_FALSE(p->HandleAllocated());
  in.MouseUp(20, 20);  // must not reach the removed control
  delete p;
  in.MouseMove(25, 25);
  delete form;
}

TEST_F(ComponentTest, ParentCycleAndSelfParentAreRefused) {
  TWinControl a(nullptr), b(nullptr);
  b.SetParent(&a);
  EXPECT_THROW(a.SetParent(&a), EInvalidOperation);
  EXPECT_THROW(a.SetParent(&b), EInvalidOperation);
  EXPECT_EQ(a.GetParent(), nullptr);
  b.SetParent(nullptr);
}

TEST_F(ComponentTest, PopupMenuPointerIsForgottenWhenTheMenuIsDestroyed) {
  TGraphicControl c(nullptr);
  auto* menu = new TPopupMenu(nullptr);
  c.SetPopupMenu(menu);
  EXPECT_NE(c.GetPopupMenu(), nullptr);
  delete menu;
  EXPECT_EQ(c.GetPopupMenu(), nullptr);
}

TEST_F(ComponentTest, ApplicationCreateFormOwnsAndMakesTheFirstTheMainForm) {
  TForm* a = nullptr;
  TForm* b = nullptr;
  int created = 0;
  Application->CreateForm(a);
  Application->CreateForm(b);
  EXPECT_EQ(Application->GetMainForm(), a);
  EXPECT_EQ(a->GetOwner(), Application);
  EXPECT_EQ(Screen->FormCount(), 2);
  b->OnDestroy = [&](TObject*) { ++created; };
  delete b;
  EXPECT_EQ(created, 1);
  EXPECT_EQ(Screen->FormCount(), 1);
  EXPECT_EQ(Application->ComponentCount(), 1);
}

}  // namespace
}  // namespace qel::test
