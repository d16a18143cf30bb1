// TRLData: counts, columns, cells, check marks, structure, values, sorting, clipboard copies
// and Assign. The file exchange is in replist_xml.cpp and replist_exchange.cpp.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>

#include "frame/QEL_filesys.h"
#include "frame/QEL_stringl.h"
#include "platform/controls/Forms.h"
#include "platform/rtl/NumText.h"
#include "replist/QEL_replist_data.h"

namespace qel {

namespace {

std::string ColumnDefaultName(int C) { return "C-" + std::to_string(C); }

std::string AsciiLower(std::string_view S) {
  std::string r(S);
  for (char& ch : r)
    if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
  return r;
}

// Length in bytes of the first UTF-8 character of S (1 for a stray byte).
size_t FirstCharBytes(std::string_view S) {
  if (S.empty()) return 0;
  size_t n = 1;
  while (n < S.size() && (static_cast<unsigned char>(S[n]) & 0xC0) == 0x80) ++n;
  return n;
}

std::string_view WithoutFirstChar(std::string_view S) { return S.substr(FirstCharBytes(S)); }

// Reads the integer of a "rix" or "$pwd$" default from 0-based byte position From: leading
// blanks, an optional sign, decimal digits up to the first non-digit (none give 0). Saturates,
// so absurd widths cannot overflow; callers limit the result.
int ReadDefaultCount(std::string_view S, size_t From) {
  size_t i = From;
  while (i < S.size() && S[i] == ' ') ++i;
  bool negative = false;
  if (i < S.size() && (S[i] == '+' || S[i] == '-')) negative = S[i++] == '-';
  int64_t n = 0;
  while (i < S.size() && S[i] >= '0' && S[i] <= '9') {
    if (n < 1000000) n = n * 10 + (S[i] - '0');
    ++i;
  }
  return static_cast<int>(negative ? -n : n);
}

}  // namespace

TRepListXmlTag RepListXmlTagOf(std::string_view Name) {
  // Called once per element of a document, so no allocation; cells come first.
  static constexpr TRepListXmlTag kOrder[] = {xmlCell,          xmlColName, xmlColumnFormat,
                                              xmlCheckedColumn, xmlNumCols, xmlNumRows,
                                              xmlCommonHd,      xmlComment, xmlEndReplist};
  for (const TRepListXmlTag t : kOrder) {
    const std::string_view tag = kRepListXmlTags[t];
    if (tag.size() != Name.size()) continue;
    size_t i = 0;
    while (i < tag.size()) {
      char ch = Name[i];
      if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
      if (ch != tag[i]) break;
      ++i;
    }
    if (i == tag.size()) return t;
  }
  return xmlInvalid;
}

namespace {

// The storage's before-exchange hook as the store installs it; a type of its own lets Sort
// recognise it.
struct TStoreSortHook {
  TRLData* Self;
  void operator()(TObject*, std::string& Text, std::string& Text2) const {
    if (Self->OnBeforeSortExchange) Self->OnBeforeSortExchange(Self, Text, Text2);
  }
};

}  // namespace

// ---------------------------------------------------------------- lifecycle

TRLData::TRLData(TComponent* AOwner) : TComponent(AOwner) {
  try {
    auto storage = std::make_unique<TStringArray>();
    storage->SetAllocRowsBy(10);
    storage->Resize(1, 1);
    storage->Clear();
    FStorage = std::move(storage);
    ResizeColumnArrays(1);
  } catch (const std::bad_alloc&) {
    throw EQELRLDataError(ComponentMessage(GetName(), kFailedToInitialize));
  } catch (const EQELDStructError&) {
    throw EQELRLDataError(ComponentMessage(GetName(), kFailedToInitialize));
  }
  FStorage->OnBeforeSortExchange = TStoreSortHook{this};
  RecomputeWork();
}

TRLData::~TRLData() = default;

void TRLData::ResizeColumnArrays(int N) {
  // Entry 0 is unused and entry 1 always exists (see the declaration).
  const size_t size = static_cast<size_t>(std::max(N, 1)) + 1;
  const size_t old = FColNames.size();
  FColNames.reserve(size);
  FColFormats.reserve(size);
  FCheckModes.reserve(size);
  FColNames.resize(size);
  FColFormats.resize(size);
  FCheckModes.resize(size, cmNone);
  for (size_t k = std::max<size_t>(old, 1); k < size; ++k)
    FColNames[k] = ColumnDefaultName(static_cast<int>(k));
}

void TRLData::RecomputeWork() {
  const int64_t total = static_cast<int64_t>(FNrOfRows) * (static_cast<int64_t>(FNrOfColumns) + 1);
  FWorkTotal = static_cast<int>(std::clamp<int64_t>(total, 1, std::numeric_limits<int>::max()));
  FProgressStep = FWorkTotal / 100 + 1;
}

void TRLData::InstallStorage(std::unique_ptr<TStringArray> Storage) {
  // The hooks belong to whoever installed them (the store or its view), not to the contents.
  Storage->OnChange = FStorage->OnChange;
  Storage->OnPercentDone = FStorage->OnPercentDone;
  Storage->OnBeforeSortExchange = FStorage->OnBeforeSortExchange;
  FStorage = std::move(Storage);
  if (FStorage->OnChange) FStorage->OnChange(FStorage.get());
}

void TRLData::TakeOver(TRLData& Fresh) {
  // Nothing below allocates except the moves of vectors and strings, which cannot fail.
  FNrOfColumns = Fresh.FNrOfColumns;
  FNrOfRows = Fresh.FNrOfRows;
  FCommonHeader = std::move(Fresh.FCommonHeader);
  FComment = std::move(Fresh.FComment);
  FDataID = std::move(Fresh.FDataID);
  FColNames = std::move(Fresh.FColNames);
  FColFormats = std::move(Fresh.FColFormats);
  FCheckModes = std::move(Fresh.FCheckModes);
  FSortColumn = -1;
  FSortColumnSec = -1;
  FSortOrder = true;
  RecomputeWork();
  InstallStorage(std::move(Fresh.FStorage));
}

// ---------------------------------------------------------------- counts and texts

void TRLData::SetNrCols(int N) {
  if (N <= 0) N = 1;
  if (N == FNrOfColumns) return;
  try {
    FColNames.reserve(static_cast<size_t>(N) + 1);
    FColFormats.reserve(static_cast<size_t>(N) + 1);
    FCheckModes.reserve(static_cast<size_t>(N) + 1);
    FStorage->Resize(N, std::max(FNrOfRows, 1));
  } catch (const std::bad_alloc&) {
    throw EQELRLDataError(ComponentMessage(GetName(), kNotEnoughMemory));
  } catch (const std::length_error&) {
    throw EQELRLDataError(ComponentMessage(GetName(), kNotEnoughMemory));
  } catch (const EQELDStructError&) {
    throw EQELRLDataError(ComponentMessage(GetName(), kNotEnoughMemory));
  }
  const int old = FNrOfColumns;
  if (N > old) {
    const size_t oldSize = FColNames.size();
    ResizeColumnArrays(N);
    // Columns old+1.. that were already in the arrays (the emptied only column) take defaults.
    for (int k = std::max(old + 1, 1); k < static_cast<int>(std::min(oldSize, FColNames.size()));
         ++k) {
      FColNames[k] = ColumnDefaultName(k);
      FColFormats[k].clear();
      FCheckModes[k] = cmNone;
    }
  } else {
    ResizeColumnArrays(N);
  }
  FNrOfColumns = N;
  RecomputeWork();
}

void TRLData::SetNrRows(int N) {
  if (N < 0) N = 0;
  if (N == FNrOfRows) return;
  try {
    // The storage always keeps one row, so row 1 is there to be blanked.
    FStorage->Resize(std::max(FNrOfColumns, 1), std::max(N, 1));
  } catch (const std::bad_alloc&) {
    throw EQELRLDataError(ComponentMessage(GetName(), kNotEnoughMemory));
  } catch (const EQELDStructError&) {
    throw EQELRLDataError(ComponentMessage(GetName(), kNotEnoughMemory));
  }
  FNrOfRows = N;
  if (N == 0) {
    FNrOfRows = 1;  // SetElem addresses existing rows only
    for (int c = 0; c <= FNrOfColumns; ++c) SetElem(c, 1, "");
    FNrOfRows = 0;
  }
  RecomputeWork();
}

void TRLData::SetCommonHeader(const std::string& S) {
  if (S != FCommonHeader) FCommonHeader = S;
}

// ---------------------------------------------------------------- columns

std::string TRLData::GetColName(int C) const { return ValidCol(C) ? FColNames[C] : std::string(); }

void TRLData::SetColName(int C, const std::string& S) {
  if (ValidCol(C)) FColNames[C] = Utf8Left(S, kMaxColNameChars);
}

std::string TRLData::GetColumnFormat(int C) const {
  return ValidCol(C) ? FColFormats[C] : std::string();
}

void TRLData::SetColumnFormat(int C, const std::string& S) {
  if (ValidCol(C)) FColFormats[C] = Utf8Left(S, kMaxColFormatChars);
}

int TRLData::ColumnIndex(const std::string& Name, bool Partial) const {
  const std::string key = AsciiLower(Name);
  for (int c = FNrOfColumns; c >= 1; --c) {
    const std::string name = AsciiLower(FColNames[c]);
    if (Partial ? name.find(key) != std::string::npos : name == key) return c;
  }
  return -1;
}

// ---------------------------------------------------------------- cells

std::string TRLData::GetStoredElem(int C, int R) const {
  return ValidCell(C, R) ? FStorage->GetString(C, R) : std::string();
}

std::string TRLData::GetElem(int C, int R) const {
  if (!ValidCell(C, R)) return {};
  const std::string_view s = FStorage->GetStringView(C, R);
  return std::string(IsCheckCol(C) ? WithoutFirstChar(s) : s);
}

void TRLData::SetElem(int C, int R, const std::string& S) {
  if (!ValidCell(C, R)) return;
  if (!IsCheckCol(C)) {
    FStorage->SetString(C, R, S);
    return;
  }
  const std::string_view old = FStorage->GetStringView(C, R);
  std::string stored =
      old.empty() ? std::string(" ") : std::string(old.substr(0, FirstCharBytes(old)));
  stored += S;
  FStorage->SetString(C, R, stored);
}

// ---------------------------------------------------------------- check columns

bool TRLData::GetCheckedCol(int C) const { return ValidCol(C) && FCheckModes[C] == cmBox; }

void TRLData::SetCheckedCol(int C, bool B) { SetColCheckMode(C, B ? cmBox : cmNone); }

TCheckMode TRLData::GetColCheckMode(int C) const { return ValidCol(C) ? FCheckModes[C] : cmNone; }

void TRLData::SetColCheckMode(int C, TCheckMode M) {
  if (!ValidCol(C) || M == FCheckModes[C] || M > cmRadio) return;
  const TCheckMode old = FCheckModes[C];
  FCheckModes[C] = M;
  // The cells are rewritten silently; the hook comes back even when a write throws.
  struct TRestore {
    TStringArray* Storage;
    TNotifyEvent Saved;
    ~TRestore() { Storage->OnChange = std::move(Saved); }
  } restore{FStorage.get(), std::move(FStorage->OnChange)};
  FStorage->OnChange = nullptr;
  if (old == cmNone) {
    for (int r = 1; r <= FNrOfRows; ++r) {
      const std::string_view s = FStorage->GetStringView(C, r);
      if (s.empty()) continue;
      std::string marked(1, ' ');
      marked += s;
      FStorage->SetString(C, r, marked);
    }
  } else if (M == cmNone) {
    for (int r = 1; r <= FNrOfRows; ++r) {
      const std::string_view s = FStorage->GetStringView(C, r);
      if (!s.empty()) FStorage->SetString(C, r, std::string(WithoutFirstChar(s)));
    }
  } else if (old == cmBox && M == cmRadio) {
    for (int r = 1; r <= FNrOfRows; ++r)
      if (!FStorage->GetStringView(C, r).empty()) SetMarker(C, r, false);
  }
}

void TRLData::SetMarker(int C, int R, bool Checked) {
  const std::string_view s = FStorage->GetStringView(C, R);
  std::string stored(Checked ? "X" : " ");
  stored += WithoutFirstChar(s);
  FStorage->SetString(C, R, stored);
}

bool TRLData::GetElemChecked(int C, int R) const {
  if (!IsCheckCol(C) || !ValidCell(C, R)) return false;
  const std::string_view s = FStorage->GetStringView(C, R);
  return !s.empty() && s[0] != ' ';
}

void TRLData::SetElemChecked(int C, int R, bool B) {
  if (!IsCheckCol(C) || !ValidCell(C, R)) return;
  if (FCheckModes[C] == cmRadio)
    for (int r = 1; r <= FNrOfRows; ++r)
      if (GetElemChecked(C, r)) SetMarker(C, r, false);
  SetMarker(C, R, B);
}

void TRLData::SetAllCheckmarksOfCol(int C, bool B) {
  if (!IsCheckCol(C)) return;
  if (FCheckModes[C] == cmBox || !B) SetAllCheckmarksOfColIntern(C, B, false);
}

void TRLData::SetAllCheckmarksOfColIntern(int C, bool B, bool SkipDisabled) {
  if (!IsCheckCol(C)) return;
  for (int r = 1; r <= FNrOfRows; ++r) {
    if (SkipDisabled && (FStorage->GetRowAttrib(r) & kRowDisabledBit)) continue;
    SetMarker(C, r, B);
  }
}

void TRLData::InvertAllCheckmarksOfCol(int C) { InvertAllCheckmarksOfColIntern(C, false); }

void TRLData::InvertAllCheckmarksOfColIntern(int C, bool SkipDisabled) {
  if (!ValidCol(C) || FCheckModes[C] != cmBox) return;
  for (int r = 1; r <= FNrOfRows; ++r) {
    if (SkipDisabled && (FStorage->GetRowAttrib(r) & kRowDisabledBit)) continue;
    const std::string_view s = FStorage->GetStringView(C, r);
    SetMarker(C, r, s.empty() || s[0] != 'X');
  }
}

int TRLData::CountCheckedElemsInCol(int C) const {
  if (!IsCheckCol(C)) return 0;
  int n = 0;
  for (int r = 1; r <= FNrOfRows; ++r) n += GetElemChecked(C, r) ? 1 : 0;
  return n;
}

int TRLData::CountCheckedElemsInRow(int R) const {
  int n = 0;
  for (int c = 1; c <= FNrOfColumns; ++c) n += GetElemChecked(c, R) ? 1 : 0;
  return n;
}

int TRLData::FirstCheckedElemInCol(int C) const {
  if (!IsCheckCol(C)) return 0;
  for (int r = 1; r <= FNrOfRows; ++r)
    if (GetElemChecked(C, r)) return r;
  return 0;
}

int TRLData::FirstCheckedElemInRow(int R) const {
  if (R < 1 || R > FNrOfRows) return 0;
  for (int c = 1; c <= FNrOfColumns; ++c)
    if (GetElemChecked(c, R)) return c;
  return 0;
}

// ---------------------------------------------------------------- structure

void TRLData::InsertColumn(int C) {
  if (!ValidCol(C)) return;
  FColNames.insert(FColNames.begin() + C, std::string());
  FColFormats.insert(FColFormats.begin() + C, std::string());
  FCheckModes.insert(FCheckModes.begin() + C, cmNone);
  FStorage->InsertColumn(C);
  ++FNrOfColumns;
  RecomputeWork();
}

void TRLData::RemoveColumn(int C) {
  if (!ValidCol(C)) return;
  FStorage->CommitSorting();
  if (FNrOfColumns == 1) {
    for (int r = 0; r <= FStorage->NrOfRows(); ++r) FStorage->SetString(C, r, "");
    FColNames[1].clear();
    FColFormats[1].clear();
    FCheckModes[1] = cmNone;
    FNrOfColumns = 0;
  } else {
    FStorage->RemoveColumn(C);
    FColNames.erase(FColNames.begin() + C);
    FColFormats.erase(FColFormats.begin() + C);
    FCheckModes.erase(FCheckModes.begin() + C);
    --FNrOfColumns;
  }
  RecomputeWork();
}

void TRLData::InsertRow(int R) {
  if (R < 1 || R > FNrOfRows) return;
  FStorage->CommitSorting();
  FStorage->InsertRow(R);
  ++FNrOfRows;
  RecomputeWork();
}

void TRLData::RemoveRow(int R) {
  if (R < 1 || R > FNrOfRows) return;
  FStorage->CommitSorting();
  if (FNrOfRows == 1) {
    for (int c = 0; c <= FNrOfColumns; ++c) FStorage->SetString(c, 1, "");
    // A hidden row must not bring a stale selection or disabled state back with the next row.
    FStorage->SetRowAttrib(1, 0);
    FNrOfRows = 0;
  } else {
    FStorage->RemoveRow(R);
    --FNrOfRows;
  }
  RecomputeWork();
}

void TRLData::RemoveEmptyRows() {
  for (int r = FNrOfRows; r >= 1; --r) {
    bool empty = true;
    for (int c = 0; c <= FNrOfColumns && empty; ++c) empty = GetElem(c, r).empty();
    if (empty) RemoveRow(r);
  }
}

void TRLData::CopyRow(int Src, int Dst) {
  if (Src < 1 || Src > FNrOfRows || Dst < 1 || Dst > FNrOfRows || Src == Dst) return;
  for (int c = 0; c <= FNrOfColumns; ++c)
    FStorage->SetString(c, Dst, std::string(FStorage->GetStringView(c, Src)));
  FStorage->SetRowAttrib(Dst, FStorage->GetRowAttrib(Src));
}

void TRLData::Fill(const std::string& S) {
  for (int c = 1; c <= FNrOfColumns; ++c) {
    const bool check = IsCheckCol(c);
    for (int r = 1; r <= FNrOfRows; ++r) {
      if (!check) {
        FStorage->SetString(c, r, S);
        continue;
      }
      // An empty check cell was never checked, so it stays unchecked.
      const std::string_view s = FStorage->GetStringView(c, r);
      std::string stored(1, s.empty() || s[0] == ' ' ? ' ' : 'X');
      stored += S;
      FStorage->SetString(c, r, stored);
    }
  }
}

void TRLData::Clear() {
  FStorage->Clear();
  for (size_t k = 1; k < FColNames.size(); ++k) {
    FColNames[k] = ColumnDefaultName(static_cast<int>(k));
    FColFormats[k].clear();
    FCheckModes[k] = cmNone;
  }
  // The storage dropped its sort order, so the recorded sort columns would be stale.
  FSortColumn = -1;
  FSortColumnSec = -1;
}

// ---------------------------------------------------------------- values

long double TRLData::GetAsNumber(int C, int R) const {
  const std::string stored = FStorage->GetString(C, R);
  std::string_view s = stored;
  if (IsCheckCol(C)) s = WithoutFirstChar(s);
  while (!s.empty() && s.front() == ' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == ' ') s.remove_suffix(1);
  std::string text(s);
  std::replace(text.begin(), text.end(), ',', '.');
  if (text.empty()) return 0;
  long double value = 0;
  int code = 0;
  Val(text, value, code);
  if (code != 0)
    throw EQELDStructError("Class TRLData: invalid numeric string: [" + std::to_string(C) + "," +
                           std::to_string(R) + "]: " + stored);
  return value;
}

std::string TRLData::GetCellDefaultValue(int C, int R) const {
  const std::string f = GetColumnFormat(C);
  const size_t close = f.find(']');
  if (close == std::string::npos) return {};  // no type part: nothing to derive a default from
  const std::string head = f.substr(0, close + 1);
  std::string rest = f.substr(close + 1);
  if (rest.empty()) return {};
  const size_t close2 = rest.find(']');
  if (close2 != std::string::npos) rest.erase(0, close2 + 1);
  if (head.size() < 2) return {};
  return ResolveDefaultText(head[1], rest, R);
}

std::string ResolveDefaultText(char Letter, std::string_view Default, int R) {
  const std::string rest = Utf8Left(Default, kMaxCellChars);
  const std::string lower = AsciiLower(rest);
  std::string result;
  switch (Letter) {
    case 'c':
    case 'l':
      result = rest.substr(0, rest.find('|'));
      break;
    case 'd':
      result = rest;
      break;
    case 'e':
    case 'f':
    case 'h':
    case 'i': {
      if (lower.find("rix") == std::string::npos) {
        result = rest;
        break;
      }
      int n = ReadDefaultCount(rest, 3);  // from the fourth character on
      if (Letter == 'e' || Letter == 'f') {
        result = strff(R, 1, std::clamp(n, -kMaxCellChars, kMaxCellChars));
      } else if (Letter == 'h') {
        n = std::clamp(n, 1, 8);
        const uint32_t mask = n == 8 ? 0xFFFFFFFFu : (1u << (4 * n)) - 1;
        result = IntToHex(static_cast<uint32_t>(R) & mask, n);
      } else {
        n = std::clamp(n, 1, kMaxCellChars);
        const int64_t magnitude = R < 0 ? -static_cast<int64_t>(R) : R;
        std::string digits = std::to_string(magnitude);
        if (static_cast<int>(digits.size()) > n)
          digits.erase(0, digits.size() - n);
        else
          digits.insert(0, n - digits.size(), '0');
        result = (R < 0 ? "-" : "") + digits;
      }
      break;
    }
    case 's':
      if (lower.find("$pwd$") != std::string::npos)
        result = InventPassword(std::clamp(ReadDefaultCount(rest, 5), 0, kMaxCellChars));
      else
        result = rest;
      break;
    default:
      break;
  }
  return Utf8Left(result, kMaxCellChars);
}

// ---------------------------------------------------------------- sorting

void TRLData::BeforeSortExchange(TObject*, std::string& Text, std::string& Text2) {
  if (OnBeforeSortExchange) OnBeforeSortExchange(this, Text, Text2);
}

void TRLData::Sort(int ColPrim, int ColSec, bool Ascending) {
  FSortColumn = ColPrim;
  FSortColumnSec = ColSec;
  FSortOrder = Ascending;
  // The store's own hook with no event assigned passes the texts through unchanged; sorting
  // without it spares two string copies per comparison and gives the same order.
  TBeforeSortExchgEvent& hook = FStorage->OnBeforeSortExchange;
  const auto* own = hook.target<TStoreSortHook>();
  if (own && own->Self == this && !OnBeforeSortExchange) {
    struct TRestore {
      TBeforeSortExchgEvent& Hook;
      TStoreSortHook Saved;
      ~TRestore() { Hook = Saved; }
    } restore{hook, *own};
    hook = nullptr;
    FStorage->Sort(ColPrim, ColSec, Ascending);
    return;
  }
  FStorage->Sort(ColPrim, ColSec, Ascending);
}

void TRLData::UnSort() {
  FSortColumn = -1;
  FSortColumnSec = -1;
  FStorage->UnSort();
}

// ---------------------------------------------------------------- clipboard copies

namespace {

struct TCopyRange {
  int C0, R0, C1, R1;
};

TCopyRange ClampRange(int ColLow, int RowLow, int ColHigh, int RowHigh, int Cols, int Rows) {
  return {std::max(ColLow, 0), std::max(RowLow, 1), std::min(ColHigh, Cols),
          std::min(RowHigh, Rows)};
}

}  // namespace

std::string TRLData::ClipboardText(int ColLow, int RowLow, int ColHigh, int RowHigh, bool Header,
                                   bool Tabs) const {
  const TCopyRange g = ClampRange(ColLow, RowLow, ColHigh, RowHigh, FNrOfColumns, FNrOfRows);
  if (Tabs) return ClipboardText(g.C0, g.R0, g.C1, g.R1, Header, std::string("\t"));
  std::vector<int> width;
  for (int c = g.C0; c <= g.C1; ++c) {
    int w = Header ? Utf8Length(GetColName(c)) : 0;
    for (int r = g.R0; r <= g.R1; ++r) w = std::max(w, Utf8Length(FStorage->GetStringView(c, r)));
    width.push_back(w);
  }
  std::string text;
  if (Header) {
    for (int c = g.C0; c <= g.C1; ++c) text += LeftString(GetColName(c), width[c - g.C0] + 1);
    text += "\n\n";
  }
  for (int r = g.R0; r <= g.R1; ++r) {
    for (int c = g.C0; c <= g.C1; ++c) text += LeftString(GetElem(c, r), width[c - g.C0] + 1);
    text += '\n';
  }
  return text;
}

std::string TRLData::ClipboardText(int ColLow, int RowLow, int ColHigh, int RowHigh, bool Header,
                                   const std::string& Separator) const {
  const TCopyRange g = ClampRange(ColLow, RowLow, ColHigh, RowHigh, FNrOfColumns, FNrOfRows);
  std::string text;
  if (Header) {
    for (int c = g.C0; c <= g.C1; ++c) {
      if (c > g.C0) text += Separator;
      text += GetColName(c);
    }
    text += "\n\n";
  }
  for (int r = g.R0; r <= g.R1; ++r) {
    for (int c = g.C0; c <= g.C1; ++c) {
      if (c > g.C0) text += Separator;
      text += GetElem(c, r);
    }
    text += '\n';
  }
  return text;
}

void TRLData::CopyToClipBoard(int ColLow, int RowLow, int ColHigh, int RowHigh, bool Header,
                              bool Tabs) {
  Clipboard()->SetAsText(ClipboardText(ColLow, RowLow, ColHigh, RowHigh, Header, Tabs));
}

void TRLData::CopyToClipBoard(int ColLow, int RowLow, int ColHigh, int RowHigh, bool Header,
                              const std::string& Separator) {
  Clipboard()->SetAsText(ClipboardText(ColLow, RowLow, ColHigh, RowHigh, Header, Separator));
}

// ---------------------------------------------------------------- Assign

void TRLData::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TRLData*>(Source);
  if (!src) {
    TComponent::Assign(Source);
    return;
  }
  if (src == this) return;
  std::vector<std::string> names, formats;
  std::vector<TCheckMode> modes;
  std::unique_ptr<TStringArray> storage;
  try {
    // Everything is copied aside first, so a failure leaves this store as it was.
    names = src->FColNames;
    formats = src->FColFormats;
    modes = src->FCheckModes;
    storage = std::make_unique<TStringArray>();
    storage->SetAllocRowsBy(src->FStorage->GetAllocRowsBy());
    storage->Assign(*src->FStorage);
  } catch (const std::bad_alloc&) {
    throw EQELRLDataError(ComponentMessage(GetName(), kNotEnoughMemory));
  }
  FNrOfColumns = src->FNrOfColumns;
  FNrOfRows = src->FNrOfRows;
  FSortColumn = src->FSortColumn;
  FSortColumnSec = src->FSortColumnSec;
  FSortOrder = src->FSortOrder;
  FHeaderSortDir = src->FHeaderSortDir;
  FComment = src->FComment;
  FDataID = src->FDataID;
  FCommonHeader = src->FCommonHeader;
  OnBeforeSortExchange = src->OnBeforeSortExchange;
  FColNames = std::move(names);
  FColFormats = std::move(formats);
  FCheckModes = std::move(modes);
  RecomputeWork();
  InstallStorage(std::move(storage));
}

void TRLData::AssignTo(TPersistent* Dest) const {
  if (auto* d = dynamic_cast<TRLData*>(Dest)) {
    d->Assign(this);
    return;
  }
  TComponent::AssignTo(Dest);
}

}  // namespace qel
