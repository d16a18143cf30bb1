#include "platform/rtl/Strings.h"

#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

namespace qel {

namespace {

// Ends an update however the block is left, so an exception cannot leave a list updating. The
// normal path calls End, where an exception of an OnChange handler reaches the caller; while
// unwinding, a second exception from the handler is dropped rather than terminating.
class TUpdateScope {
 public:
  explicit TUpdateScope(TStrings& S) : FS(S) { FS.BeginUpdate(); }
  ~TUpdateScope() {
    if (FDone) return;
    try {
      FS.EndUpdate();
    } catch (...) {
    }
  }
  void End() {
    FDone = true;
    FS.EndUpdate();
  }
  TUpdateScope(const TUpdateScope&) = delete;
  TUpdateScope& operator=(const TUpdateScope&) = delete;

 private:
  TStrings& FS;
  bool FDone = false;
};

}  // namespace

// --- TStrings

void TStrings::IndexError(int Index) const {
  throw EStringListError("List index out of bounds (" + std::to_string(Index) + ")");
}

void TStrings::CheckIndex(int Index, int Limit) const {
  if (Index < 0 || Index >= Limit) IndexError(Index);
}

void TStrings::Put(int Index, const std::string& S) {
  TObject* obj = GetObject(Index);
  TUpdateScope update(*this);
  Delete(Index);
  InsertObject(Index, S, obj);
  update.End();
}

TObject* TStrings::GetObject(int Index) const {
  CheckIndex(Index, GetCount());
  return nullptr;
}

void TStrings::PutObject(int Index, TObject*) { CheckIndex(Index, GetCount()); }

void TStrings::InsertObject(int Index, const std::string& S, TObject* AObject) {
  TUpdateScope update(*this);
  Insert(Index, S);
  PutObject(Index, AObject);
  update.End();
}

int TStrings::Add(const std::string& S) { return AddObject(S, nullptr); }

int TStrings::AddObject(const std::string& S, TObject* AObject) {
  int index = GetCount();
  InsertObject(index, S, AObject);
  return index;
}

void TStrings::AddStrings(const TStrings& Strings) {
  // Copy first: Strings may be this list.
  std::vector<std::pair<std::string, TObject*>> lines;
  for (int i = 0; i < Strings.GetCount(); ++i)
    lines.emplace_back(Strings.Get(i), Strings.GetObject(i));
  TUpdateScope update(*this);
  for (auto& [s, o] : lines) AddObject(s, o);
  update.End();
}

void TStrings::Exchange(int Index1, int Index2) {
  CheckIndex(Index1, GetCount());
  CheckIndex(Index2, GetCount());
  TUpdateScope update(*this);
  std::string s1 = Get(Index1);
  TObject* o1 = GetObject(Index1);
  Put(Index1, Get(Index2));
  PutObject(Index1, GetObject(Index2));
  Put(Index2, s1);
  PutObject(Index2, o1);
  update.End();
}

void TStrings::Move(int CurIndex, int NewIndex) {
  if (CurIndex == NewIndex) return;
  CheckIndex(CurIndex, GetCount());
  CheckIndex(NewIndex, GetCount());
  TUpdateScope update(*this);
  std::string s = Get(CurIndex);
  TObject* o = GetObject(CurIndex);
  Delete(CurIndex);
  InsertObject(NewIndex, s, o);
  update.End();
}

int TStrings::CompareStrings(const std::string& A, const std::string& B) const {
  return CompareText(A, B);
}

int TStrings::IndexOf(const std::string& S) const {
  for (int i = 0; i < GetCount(); ++i)
    if (CompareStrings(Get(i), S) == 0) return i;
  return -1;
}

int TStrings::IndexOfName(const std::string& Name) const {
  for (int i = 0; i < GetCount(); ++i) {
    std::string s = Get(i);
    size_t p = s.find(FNameValueSeparator);
    if (p != std::string::npos && CompareStrings(s.substr(0, p), Name) == 0) return i;
  }
  return -1;
}

int TStrings::IndexOfObject(const TObject* AObject) const {
  for (int i = 0; i < GetCount(); ++i)
    if (GetObject(i) == AObject) return i;
  return -1;
}

std::string TStrings::GetName(int Index) const {
  std::string s = Get(Index);
  size_t p = s.find(FNameValueSeparator);
  return p == std::string::npos ? std::string() : s.substr(0, p);
}

std::string TStrings::GetValueFromIndex(int Index) const {
  std::string s = Get(Index);
  size_t p = s.find(FNameValueSeparator);
  return p == std::string::npos ? std::string() : s.substr(p + 1);
}

std::string TStrings::GetValue(const std::string& Name) const {
  int i = IndexOfName(Name);
  return i < 0 ? std::string() : GetValueFromIndex(i);
}

void TStrings::SetValue(const std::string& Name, const std::string& Value) {
  int i = IndexOfName(Name);
  if (Value.empty()) {
    if (i >= 0) Delete(i);
    return;
  }
  std::string line = Name + FNameValueSeparator + Value;
  if (i >= 0)
    Put(i, line);
  else
    Add(line);
}

std::string TStrings::GetText() const {
  std::string r;
  for (int i = 0; i < GetCount(); ++i) {
    r += Get(i);
    r += FLineBreak;
  }
  return r;
}

void TStrings::SetText(const std::string& Text) {
  TUpdateScope update(*this);
  Clear();
  size_t i = 0;
  const size_t n = Text.size();
  while (i < n) {
    size_t end = Text.find_first_of("\r\n", i);
    if (end == std::string::npos) {
      Add(Text.substr(i));
      break;
    }
    Add(Text.substr(i, end - i));
    i = end + 1;
    if (Text[end] == '\r' && i < n && Text[i] == '\n') ++i;  // CRLF is one break
  }
  update.End();
}

std::string TStrings::DelimitedText(char Delimiter, char Quote) const {
  const int count = GetCount();
  if (count == 1 && Get(0).empty()) return std::string(2, Quote);
  std::string r;
  for (int i = 0; i < count; ++i) {
    std::string s = Get(i);
    bool quote = false;
    for (char c : s) {
      if (c == Delimiter || c == Quote ||
          (!FStrictDelimiter && static_cast<unsigned char>(c) <= ' ')) {
        quote = true;
        break;
      }
    }
    if (i > 0) r += Delimiter;
    r += quote ? AnsiQuotedStr(s, Quote) : s;
  }
  return r;
}

void TStrings::SetDelimited(const std::string& Text, char Delimiter, char Quote) {
  // Outside strict mode blanks and control characters separate fields too; the delimiter itself
  // never counts as a blank, so a blank delimiter still splits.
  auto blank = [&](char c) {
    return !FStrictDelimiter && c != Delimiter && static_cast<unsigned char>(c) <= ' ';
  };
  TUpdateScope update(*this);
  Clear();
  const size_t n = Text.size();
  size_t i = 0;
  while (i < n && blank(Text[i])) ++i;
  while (i < n) {
    std::string s;
    if (Text[i] == Quote) {
      // Quoted field: a doubled quote stands for one; a missing closing quote ends the text.
      ++i;
      while (i < n) {
        if (Text[i] == Quote) {
          if (i + 1 < n && Text[i + 1] == Quote) {
            s += Quote;
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        s += Text[i++];
      }
    } else {
      size_t start = i;
      while (i < n && Text[i] != Delimiter &&
             (FStrictDelimiter || static_cast<unsigned char>(Text[i]) > ' '))
        ++i;
      s = Text.substr(start, i - start);
    }
    Add(s);
    while (i < n && blank(Text[i])) ++i;
    if (i < n && Text[i] == Delimiter) {
      ++i;
      if (i == n) Add("");  // a trailing delimiter ends with an empty field
      while (i < n && blank(Text[i])) ++i;
    }
  }
  update.End();
}

std::string TStrings::GetCommaText() const { return DelimitedText(',', '"'); }
void TStrings::SetCommaText(const std::string& Text) { SetDelimited(Text, ',', '"'); }
std::string TStrings::GetDelimitedText() const { return DelimitedText(FDelimiter, FQuoteChar); }
void TStrings::SetDelimitedText(const std::string& Text) {
  SetDelimited(Text, FDelimiter, FQuoteChar);
}

void TStrings::LoadFromStream(TStream& Stream) {
  int64_t size = Stream.GetSize() - Stream.GetPosition();
  std::string data(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (!data.empty()) Stream.ReadBuffer(data.data(), static_cast<int64_t>(data.size()));
  if (data.compare(0, 3, "\xEF\xBB\xBF") == 0) data.erase(0, 3);
  SetText(data);
}

void TStrings::SaveToStream(TStream& Stream) const {
  std::string text = GetText();
  Stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStrings::LoadFromFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead | fmShareDenyNone);
  LoadFromStream(f);
}

void TStrings::SaveToFile(const std::string& FileName) const {
  TFileStream f(FileName, fmCreate);
  SaveToStream(f);
}

void TStrings::BeginUpdate() {
  if (FUpdateCount++ == 0) SetUpdateState(true);
}

void TStrings::EndUpdate() {
  if (FUpdateCount > 0 && --FUpdateCount == 0) SetUpdateState(false);
}

void TStrings::Assign(const TPersistent* Source) {
  auto* src = dynamic_cast<const TStrings*>(Source);
  if (!src) {
    TPersistent::Assign(Source);
    return;
  }
  if (src == this) return;
  TUpdateScope update(*this);
  Clear();
  FDelimiter = src->FDelimiter;
  FQuoteChar = src->FQuoteChar;
  FStrictDelimiter = src->FStrictDelimiter;
  FNameValueSeparator = src->FNameValueSeparator;
  FLineBreak = src->FLineBreak;
  AddStrings(*src);
  update.End();
}

bool TStrings::Equals(const TStrings& Other) const {
  if (GetCount() != Other.GetCount()) return false;
  for (int i = 0; i < GetCount(); ++i)
    if (Get(i) != Other.Get(i)) return false;
  return true;
}

// --- TStringList

TStringList::~TStringList() {
  if (FOwnsObjects)
    for (TItem& item : FItems) delete item.Object;
}

void TStringList::Changed() {
  if (GetUpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (GetUpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool Updating) {
  // Called as the outermost update begins and ends, when the count is still or already 0.
  if (Updating) {
    if (OnChanging) OnChanging(this);
  } else if (OnChange) {
    OnChange(this);
  }
}

int TStringList::CompareStrings(const std::string& A, const std::string& B) const {
  return FCaseSensitive ? CompareStr(A, B) : CompareText(A, B);
}

void TStringList::CheckUnsorted() const {
  if (FSorted) throw EStringListError("Operation not allowed on sorted list");
}

std::string TStringList::Get(int Index) const {
  CheckIndex(Index, GetCount());
  return FItems[static_cast<size_t>(Index)].S;
}

void TStringList::Put(int Index, const std::string& S) {
  CheckUnsorted();
  CheckIndex(Index, GetCount());
  Changing();
  FItems[static_cast<size_t>(Index)].S = S;
  Changed();
}

TObject* TStringList::GetObject(int Index) const {
  CheckIndex(Index, GetCount());
  return FItems[static_cast<size_t>(Index)].Object;
}

void TStringList::PutObject(int Index, TObject* AObject) {
  CheckIndex(Index, GetCount());
  Changing();
  FItems[static_cast<size_t>(Index)].Object = AObject;
  Changed();
}

void TStringList::Clear() {
  if (FItems.empty()) return;
  Changing();
  std::vector<TItem> old;
  old.swap(FItems);
  if (FOwnsObjects)
    for (TItem& item : old) delete item.Object;
  Changed();
}

void TStringList::Delete(int Index) {
  CheckIndex(Index, GetCount());
  Changing();
  TObject* obj = FItems[static_cast<size_t>(Index)].Object;
  FItems.erase(FItems.begin() + Index);
  if (FOwnsObjects) delete obj;
  Changed();
}

void TStringList::InsertItem(int Index, const std::string& S, TObject* AObject) {
  Changing();
  FItems.insert(FItems.begin() + Index, TItem{S, AObject});
  Changed();
}

void TStringList::Insert(int Index, const std::string& S) { InsertObject(Index, S, nullptr); }

void TStringList::InsertObject(int Index, const std::string& S, TObject* AObject) {
  CheckUnsorted();
  CheckIndex(Index, GetCount() + 1);
  InsertItem(Index, S, AObject);
}

int TStringList::AddObject(const std::string& S, TObject* AObject) {
  if (!FSorted) {
    InsertItem(GetCount(), S, AObject);
    return GetCount() - 1;
  }
  int index = 0;
  if (Find(S, index)) {
    if (FDuplicates == dupIgnore) return index;
    if (FDuplicates == dupError) throw EStringListError("String list does not allow duplicates");
    // dupAccept: after the equal lines, so equal lines keep their order of arrival.
    while (index < GetCount() && CompareStrings(FItems[static_cast<size_t>(index)].S, S) == 0)
      ++index;
  }
  InsertItem(index, S, AObject);
  return index;
}

void TStringList::Exchange(int Index1, int Index2) {
  CheckUnsorted();
  CheckIndex(Index1, GetCount());
  CheckIndex(Index2, GetCount());
  Changing();
  std::swap(FItems[static_cast<size_t>(Index1)], FItems[static_cast<size_t>(Index2)]);
  Changed();
}

void TStringList::Move(int CurIndex, int NewIndex) {
  CheckUnsorted();
  TStrings::Move(CurIndex, NewIndex);
}

bool TStringList::Find(const std::string& S, int& Index) const {
  // Lower bound: the first line not less than S.
  int lo = 0, hi = GetCount();
  while (lo < hi) {
    int mid = lo + (hi - lo) / 2;
    if (CompareStrings(FItems[static_cast<size_t>(mid)].S, S) < 0)
      lo = mid + 1;
    else
      hi = mid;
  }
  Index = lo;
  return lo < GetCount() && CompareStrings(FItems[static_cast<size_t>(lo)].S, S) == 0;
}

int TStringList::IndexOf(const std::string& S) const {
  if (!FSorted) return TStrings::IndexOf(S);
  int index = 0;
  return Find(S, index) ? index : -1;
}

template <class Compare>
void TStringList::SortBy(Compare Cmp) {
  // A merge sort of indices that stays in bounds even when Compare is inconsistent; Compare
  // always sees the list as it was before sorting.
  const size_t n = FItems.size();
  if (n < 2) return;
  std::vector<int> order(n), tmp(n);
  for (size_t i = 0; i < n; ++i) order[i] = static_cast<int>(i);
  for (size_t width = 1; width < n; width *= 2) {
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
      size_t a = lo, b = mid, k = lo;
      while (a < mid && b < hi) tmp[k++] = Cmp(order[b], order[a]) < 0 ? order[b++] : order[a++];
      while (a < mid) tmp[k++] = order[a++];
      while (b < hi) tmp[k++] = order[b++];
    }
    order.swap(tmp);
  }
  if (FItems.size() != n) throw EInvalidOperation("The list changed while it was being sorted");
  Changing();
  std::vector<TItem> sorted;
  sorted.reserve(n);
  for (int i : order) sorted.push_back(std::move(FItems[static_cast<size_t>(i)]));
  FItems.swap(sorted);
  Changed();
}

void TStringList::Sort() {
  SortBy([this](int a, int b) {
    return CompareStrings(FItems[static_cast<size_t>(a)].S, FItems[static_cast<size_t>(b)].S);
  });
}

void TStringList::CustomSort(const TStringListSortCompare& Compare) {
  CheckUnsorted();
  if (Compare) SortBy([&](int a, int b) { return Compare(this, a, b); });
}

void TStringList::SetSorted(bool Value) {
  if (FSorted == Value) return;
  if (Value) Sort();
  FSorted = Value;
}

void TStringList::SetCaseSensitive(bool Value) {
  if (FCaseSensitive == Value) return;
  FCaseSensitive = Value;
  if (FSorted) Sort();
}

}  // namespace qel
