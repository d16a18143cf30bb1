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

// From the back: the newest go first when an owner is destroyed.
void Erase(std::vector<TComponent*>& v, const TComponent* c) {
  auto it = std::find(v.rbegin(), v.rend(), c);
  if (it != v.rend()) v.erase(std::next(it).base());
}

// Names compare without case; valid names are ASCII.
std::string NameKey(const std::string& Name) {
  std::string k = Name;
  for (char& ch : k)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return k;
}

void EraseAll(std::vector<TComponent*>& v, const TComponent* c) {
  v.erase(std::remove(v.begin(), v.end(), c), v.end());
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
    EraseAll(FFreeNotifies, other);
    EraseAll(other->FFreeNotifies, this);
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
  if (FOwner && !NewName.empty()) FOwner->FNames.reserve(FOwner->FNames.size() + 1);
  if (FOwner && !FName.empty()) FOwner->FNames.erase(NameKey(FName));
  FName = NewName;
  if (FOwner && !FName.empty()) FOwner->FNames[NameKey(FName)] = this;
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
  const auto it = FNames.find(NameKey(AName));
  return it == FNames.end() ? nullptr : it->second;
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
  if (!AComponent->FName.empty()) {
    try {
      FNames[NameKey(AComponent->FName)] = AComponent;
    } catch (...) {
      FComponents.pop_back();
      throw;
    }
  }
  AComponent->FOwner = this;
}

void TComponent::RemoveOwned(TComponent* AComponent) {
  Erase(FComponents, AComponent);
  if (!AComponent->FName.empty()) {
    const auto it = FNames.find(NameKey(AComponent->FName));
    if (it != FNames.end() && it->second == AComponent) FNames.erase(it);
  }
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

// A link is counted: two interests in the same pair (a control and its popup menu, a menu
// and the control it popped up for) each add one and remove only their own, so one side
// dropping its interest never silences the other.
void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  FFreeNotifies.push_back(AComponent);
  AComponent->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  if (!AComponent) return;
  Erase(FFreeNotifies, AComponent);
  Erase(AComponent->FFreeNotifies, this);
}

void TComponent::Notification(TComponent* AComponent, TOperation Operation) {
  // Only the owner and the free-notification links hear of it. Passing every insertion and
  // removal on to all siblings made a form of n components cost n^2 calls to build and to free
  // (100,000 panels: minutes); a component that keeps a pointer to a sibling links the two
  // with FreeNotification, as it must for a component of another owner anyway.
  if (Operation == opRemove && AComponent) {
    EraseAll(FFreeNotifies, AComponent);
    EraseAll(AComponent->FFreeNotifies, this);
  }
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
