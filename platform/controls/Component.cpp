#include <algorithm>
#include <cctype>

#include "platform/controls/Controls.h"
#include "platform/rtl/StrUtils.h"

namespace qel {

namespace {

bool IsValidIdent(const std::string& s) {
  if (s.empty()) return false;
  auto c0 = static_cast<unsigned char>(s[0]);
  if (!(std::isalpha(c0) || c0 == '_')) return false;
  return std::all_of(s.begin() + 1, s.end(), [](char ch) {
    auto c = static_cast<unsigned char>(ch);
    return std::isalnum(c) || c == '_';
  });
}

void Erase(std::vector<TComponent*>& v, const TComponent* c) {
  auto it = std::find(v.begin(), v.end(), c);
  if (it != v.end()) v.erase(it);
}

}  // namespace

TComponent::TComponent(TComponent* AOwner) {
  if (AOwner) AOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  FComponentState << csDestroying;
  // Subscribers first, so nobody keeps a pointer into a half-destroyed owner tree.
  while (!FFreeNotifies.empty()) {
    TComponent* other = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    Erase(other->FFreeNotifies, this);
    other->Notification(this, opRemove);
  }
  DestroyComponents();
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::SetName(const std::string& NewName) {
  if (NewName == FName) return;
  if (!NewName.empty() && !IsValidIdent(NewName))
    throw EComponentError("'" + NewName + "' is not a valid component name");
  if (FOwner && !NewName.empty()) {
    TComponent* same = FOwner->FindComponent(NewName);
    if (same && same != this)
      throw EComponentError("A component named " + NewName + " already exists");
  }
  FName = NewName;
}

void TComponent::SetComponentStateItem(TComponentStateItem Item, bool On) {
  if (On)
    FComponentState << Item;
  else
    FComponentState >> Item;
}

void TComponent::SetDesigning(bool Value, bool SetChildren) {
  SetComponentStateItem(csDesigning, Value);
  if (SetChildren)
    for (TComponent* c : FComponents) c->SetDesigning(Value, true);
}

void TComponent::Loading() { FComponentState << csLoading << csReading; }

void TComponent::Loaded() { FComponentState >> csLoading >> csReading; }

TComponent* TComponent::Components(int Index) const {
  if (Index < 0 || Index >= ComponentCount())
    throw EListError("List index out of bounds (" + std::to_string(Index) + ")");
  return FComponents[static_cast<size_t>(Index)];
}

int TComponent::GetComponentIndex() const {
  if (!FOwner) return -1;
  auto& v = FOwner->FComponents;
  auto it = std::find(v.begin(), v.end(), this);
  return it == v.end() ? -1 : static_cast<int>(it - v.begin());
}

TComponent* TComponent::FindComponent(const std::string& AName) const {
  if (AName.empty()) return nullptr;
  for (TComponent* c : FComponents)
    if (SameText(c->FName, AName)) return c;
  return nullptr;
}

void TComponent::InsertComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner == this) return;
  if (!AComponent->FName.empty()) {
    TComponent* same = FindComponent(AComponent->FName);
    if (same) throw EComponentError("A component named " + AComponent->FName + " already exists");
  }
  if (AComponent->FOwner) AComponent->FOwner->RemoveComponent(AComponent);
  InsertOwned(AComponent);
  Notification(AComponent, opInsert);
}

void TComponent::RemoveComponent(TComponent* AComponent) {
  if (!AComponent || AComponent->FOwner != this) return;
  Notification(AComponent, opRemove);
  RemoveOwned(AComponent);
}

void TComponent::InsertOwned(TComponent* AComponent) {
  FComponents.push_back(AComponent);
  AComponent->FOwner = this;
}

void TComponent::RemoveOwned(TComponent* AComponent) {
  Erase(FComponents, AComponent);
  AComponent->FOwner = nullptr;
}

void TComponent::DestroyComponents() {
  // Last created goes first, as the classic framework frees them.
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    Notification(c, opRemove);
    if (!FComponents.empty() && FComponents.back() == c) RemoveOwned(c);
    delete c;
  }
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end()) {
    FFreeNotifies.push_back(AComponent);
    AComponent->FFreeNotifies.push_back(this);
  }
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  Erase(FFreeNotifies, AComponent);
  Erase(AComponent->FFreeNotifies, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  if (Operation == opRemove && AComponent) RemoveFreeNotification(AComponent);
  // Everything owned hears about it too, so siblings can drop references to each other.
  for (size_t i = 0; i < FComponents.size(); ++i)
    if (FComponents[i] != AComponent) FComponents[i]->Notification(AComponent, Operation);
}

// ---------------------------------------------------------------- TComponentWatch

TComponentWatch::TComponentWatch(TComponent* AWatched) : TComponent(nullptr), FWatched(AWatched) {
  if (FWatched) FWatched->FreeNotification(this);
}

TComponentWatch::~TComponentWatch() {
  if (FWatched) FWatched->RemoveFreeNotification(this);
}

void TComponentWatch::Notification(TComponent* AComponent, TOperation Operation) {
  TComponent::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == FWatched) FWatched = nullptr;
}

}  // namespace qel
