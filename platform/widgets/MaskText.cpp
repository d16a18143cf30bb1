// The edit-mask language as text functions: parsing a mask, the display text of a value, the
// value of a display text, and the character classes the slots accept. No controls here.
#include <algorithm>

#include "platform/rtl/DateTime.h"
#include "platform/widgets/EditText.h"
#include "platform/widgets/Mask.h"

namespace qel {

namespace {

std::vector<char32_t> Decode(const std::string& S) {
  std::vector<char32_t> r;
  r.reserve(S.size());
  int n = static_cast<int>(S.size());
  for (int p = 0; p < n; p = edittext::Next(S, p)) {
    char32_t c = edittext::Decode(S, p);
    // What has no UTF-8 form (surrogates, beyond U+10FFFF) is stored as U+FFFD, as it would be
    // written: a mask position then always reads back as what it holds.
    r.push_back((c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF ? 0xFFFD : c);
  }
  return r;
}

std::string Encode(const std::vector<char32_t>& Cps) {
  std::string r;
  r.reserve(Cps.size());
  for (char32_t c : Cps) AppendUtf8(r, c);
  return r;
}

// The three parts of a mask: the pattern ends at the first ';' that no '\' escapes; the
// save-literals part runs to the next ';', the blank part is the rest.
struct TMaskParts {
  std::vector<char32_t> Pattern;
  bool HasSave = false, HasBlank = false;
  std::vector<char32_t> Save, Blank;
};

TMaskParts SplitMask(const std::string& EditMask) {
  TMaskParts parts;
  std::vector<char32_t> cps = Decode(EditMask);
  size_t i = 0, n = cps.size();
  while (i < n && cps[i] != ';') {
    if (cps[i] == '\\' && i + 1 < n) parts.Pattern.push_back(cps[i++]);
    parts.Pattern.push_back(cps[i++]);
  }
  if (i >= n) return parts;
  parts.HasSave = true;
  for (++i; i < n && cps[i] != ';'; ++i) parts.Save.push_back(cps[i]);
  if (i >= n) return parts;
  parts.HasBlank = true;
  for (++i; i < n; ++i) parts.Blank.push_back(cps[i]);
  return parts;
}

bool SaveFlag(const TMaskParts& Parts) { return Parts.Save.empty() || Parts.Save[0] != '0'; }

char32_t BlankChar(const TMaskParts& Parts) {
  // A control character would be invisible and untypable: such a blank falls back to '_'.
  if (Parts.Blank.empty() || Parts.Blank[0] < 32 || Parts.Blank[0] == 127) return '_';
  return Parts.Blank[0];
}

bool IsDigit(char32_t C) { return C >= '0' && C <= '9'; }

struct TRange {
  char32_t From, To;
};

// Letter blocks of the common scripts, in order.
constexpr TRange kLetters[] = {
    {'A', 'Z'},       {'a', 'z'},       {0xAA, 0xAA},     {0xB5, 0xB5},     {0xBA, 0xBA},
    {0xC0, 0xD6},     {0xD8, 0xF6},     {0xF8, 0x2AF},    {0x370, 0x373},   {0x376, 0x377},
    {0x37B, 0x37D},   {0x386, 0x386},   {0x388, 0x38A},   {0x38C, 0x38C},   {0x38E, 0x3A1},
    {0x3A3, 0x3F5},   {0x3F7, 0x481},   {0x48A, 0x52F},   {0x531, 0x556},   {0x561, 0x587},
    {0x5D0, 0x5EA},   {0x620, 0x64A},   {0x671, 0x6D3},   {0x904, 0x939},   {0xE01, 0xE30},
    {0x10A0, 0x10FF}, {0x1E00, 0x1F15}, {0x1F18, 0x1FBC}, {0x3041, 0x3096}, {0x30A1, 0x30FA},
    {0x3400, 0x4DBF}, {0x4E00, 0x9FFF}, {0xAC00, 0xD7A3}, {0xFF21, 0xFF3A}, {0xFF41, 0xFF5A},
};

}  // namespace

bool MaskIsLetter(char32_t C) {
  auto it = std::upper_bound(std::begin(kLetters), std::end(kLetters), C,
                             [](char32_t V, const TRange& R) { return V < R.From; });
  return it != std::begin(kLetters) && C <= std::prev(it)->To;
}

// Simple one-to-one case pairs; both directions map only between letters, and applying a
// mapping twice changes nothing more, so a slot's case can be applied again safely.
char32_t MaskUpperCase(char32_t C) {
  if (C >= 'a' && C <= 'z') return C - 32;
  if (C >= 0xE0 && C <= 0xFE && C != 0xF7) return C - 32;
  if (C == 0xFF) return 0x178;
  if (C >= 0x100 && C <= 0x137) return C & 1 ? C - 1 : C;
  if (C >= 0x139 && C <= 0x148) return C & 1 ? C : C - 1;
  if (C >= 0x14A && C <= 0x177) return C & 1 ? C - 1 : C;
  if (C >= 0x179 && C <= 0x17E) return C & 1 ? C : C - 1;
  if (C == 0x3C2) return 0x3A3;
  if (C >= 0x3B1 && C <= 0x3C9) return C - 32;
  if (C >= 0x430 && C <= 0x44F) return C - 32;
  if (C >= 0x450 && C <= 0x45F) return C - 80;
  return C;
}

char32_t MaskLowerCase(char32_t C) {
  if (C >= 'A' && C <= 'Z') return C + 32;
  if (C >= 0xC0 && C <= 0xDE && C != 0xD7) return C + 32;
  if (C == 0x178) return 0xFF;
  if (C >= 0x100 && C <= 0x137) return C & 1 ? C : C + 1;
  if (C >= 0x139 && C <= 0x148) return C & 1 ? C + 1 : C;
  if (C >= 0x14A && C <= 0x177) return C & 1 ? C : C + 1;
  if (C >= 0x179 && C <= 0x17E) return C & 1 ? C + 1 : C;
  if (C >= 0x391 && C <= 0x3A9 && C != 0x3A2) return C + 32;
  if (C >= 0x410 && C <= 0x42F) return C + 32;
  if (C >= 0x400 && C <= 0x40F) return C + 80;
  return C;
}

std::string MaskGetPattern(const std::string& EditMask) {
  return Encode(SplitMask(EditMask).Pattern);
}

bool MaskGetMaskSave(const std::string& EditMask) { return SaveFlag(SplitMask(EditMask)); }

char32_t MaskGetMaskBlank(const std::string& EditMask) { return BlankChar(SplitMask(EditMask)); }

std::string FormatMaskText(const std::string& EditMask, const std::string& Value) {
  TMaskPattern m(EditMask);
  return m.IsEmpty() ? Value : m.DisplayText(Value);
}

// ---------------------------------------------------------------- TMaskPattern

TMaskPattern::TMaskPattern(const std::string& EditMask) {
  TMaskParts parts = SplitMask(EditMask);
  FSaveLiterals = SaveFlag(parts);
  FBlank = BlankChar(parts);
  TFormatSettings fs = GetFormatSettings();
  TMaskCase cs = mcAsTyped;
  const std::vector<char32_t>& p = parts.Pattern;
  auto literal = [&](char32_t C) { FItems.push_back({mkLiteral, mcAsTyped, C}); };
  auto slot = [&](TMaskCharKind K) { FItems.push_back({K, cs, 0}); };
  for (size_t i = 0; i < p.size(); ++i) {
    char32_t c = p[i];
    switch (c) {
      case '!':
        FTrimLeading = true;
        break;
      case '>':
        cs = mcUpper;
        break;
      case '<':
        // "<>" switches case conversion off; '<' alone turns to lower case.
        if (i + 1 < p.size() && p[i + 1] == '>') {
          cs = mcAsTyped;
          ++i;
        } else {
          cs = mcLower;
        }
        break;
      case '\\':
        // A '\' at the very end has nothing to escape and stands for itself.
        literal(i + 1 < p.size() ? p[++i] : c);
        break;
      case 'L':
        slot(mkLetter);
        break;
      case 'l':
        slot(mkLetterOpt);
        break;
      case 'A':
        slot(mkAlphaNum);
        break;
      case 'a':
        slot(mkAlphaNumOpt);
        break;
      case 'C':
        slot(mkAny);
        break;
      case 'c':
        slot(mkAnyOpt);
        break;
      case '0':
        slot(mkDigit);
        break;
      case '9':
        slot(mkDigitOpt);
        break;
      case '#':
        slot(mkDigitSign);
        break;
      case ':':
        literal(static_cast<unsigned char>(fs.TimeSeparator));
        break;
      case '/':
        literal(static_cast<unsigned char>(fs.DateSeparator));
        break;
      case '_':
        literal(' ');
        break;
      default:
        literal(c);
        break;
    }
  }
}

TMaskCharKind TMaskPattern::KindAt(int P) const {
  return P >= 0 && P < Length() ? FItems[static_cast<size_t>(P)].Kind : mkLiteral;
}

TMaskCase TMaskPattern::CaseAt(int P) const {
  return P >= 0 && P < Length() ? FItems[static_cast<size_t>(P)].Case : mcAsTyped;
}

char32_t TMaskPattern::LiteralAt(int P) const {
  return P >= 0 && P < Length() ? FItems[static_cast<size_t>(P)].Literal : 0;
}

bool TMaskPattern::IsEditable(int P) const { return KindAt(P) != mkLiteral; }

bool TMaskPattern::IsRequired(int P) const {
  TMaskCharKind k = KindAt(P);
  return k == mkLetter || k == mkAlphaNum || k == mkAny || k == mkDigit;
}

int TMaskPattern::SlotCount() const {
  return static_cast<int>(std::count_if(FItems.begin(), FItems.end(),
                                        [](const TItem& I) { return I.Kind != mkLiteral; }));
}

int TMaskPattern::NextEditable(int P) const {
  for (int p = std::max(P, 0); p < Length(); ++p)
    if (IsEditable(p)) return p;
  return Length();
}

int TMaskPattern::PrevEditable(int P) const {
  for (int p = std::min(P, Length()) - 1; p >= 0; --p)
    if (IsEditable(p)) return p;
  return -1;
}

bool TMaskPattern::CharFits(int P, char32_t& C) const {
  if (!IsEditable(P) || C < 32 || C == 127 || C == ' ' || C == FBlank) return false;
  bool ok = false;
  switch (KindAt(P)) {
    case mkLetter:
    case mkLetterOpt:
      ok = MaskIsLetter(C);
      break;
    case mkAlphaNum:
    case mkAlphaNumOpt:
      ok = MaskIsLetter(C) || IsDigit(C);
      break;
    case mkAny:
    case mkAnyOpt:
      ok = true;
      break;
    case mkDigit:
    case mkDigitOpt:
      ok = IsDigit(C);
      break;
    case mkDigitSign:
      ok = IsDigit(C) || C == '+' || C == '-';
      break;
    case mkLiteral:
      break;
  }
  if (!ok) return false;
  char32_t r = C;
  if (CaseAt(P) == mcUpper) r = MaskUpperCase(C);
  if (CaseAt(P) == mcLower) r = MaskLowerCase(C);
  // A conversion that lands on the blank would read back as an empty slot.
  if (r == FBlank) return false;
  C = r;
  return true;
}

std::string TMaskPattern::EmptyText() const { return DisplayText(std::string()); }

std::string TMaskPattern::DisplayText(const std::string& Value) const {
  std::vector<char32_t> v = Decode(Value);
  int n = Length(), count = static_cast<int>(v.size());
  std::vector<char32_t> out(static_cast<size_t>(n));
  // Without '!' the value fills the mask from its start; with it, from its end, so a short value
  // ends up right-aligned. A value with literals carries them in place: a matching character at
  // a literal position is the literal; any other character there goes to the next slot.
  bool backward = FTrimLeading;
  int k = backward ? count - 1 : 0;
  auto more = [&] { return backward ? k >= 0 : k < count; };
  auto step = [&] { k += backward ? -1 : 1; };
  for (int i = 0; i < n; ++i) {
    int p = backward ? n - 1 - i : i;
    const TItem& it = FItems[static_cast<size_t>(p)];
    char32_t& o = out[static_cast<size_t>(p)];
    if (it.Kind == mkLiteral) {
      o = it.Literal;
      if (FSaveLiterals && more() && v[static_cast<size_t>(k)] == it.Literal) step();
      continue;
    }
    o = FBlank;
    if (!more()) continue;
    char32_t c = v[static_cast<size_t>(k)];
    step();
    if (CharFits(p, c)) o = c;
  }
  return Encode(out);
}

std::string TMaskPattern::StripLiterals(const std::string& Display) const {
  std::vector<char32_t> d = Decode(Display);
  std::vector<char32_t> r;
  for (int p = 0; p < Length(); ++p) {
    if (!IsEditable(p)) continue;
    char32_t c = p < static_cast<int>(d.size()) ? d[static_cast<size_t>(p)] : FBlank;
    r.push_back(c == FBlank ? ' ' : c);
  }
  return Encode(r);
}

std::string TMaskPattern::ValueText(const std::string& Display) const {
  std::vector<char32_t> d = Decode(Display);
  std::vector<char32_t> r;
  for (int p = 0; p < Length(); ++p) {
    const TItem& it = FItems[static_cast<size_t>(p)];
    if (it.Kind == mkLiteral) {
      if (FSaveLiterals) r.push_back(it.Literal);
      continue;
    }
    char32_t c = p < static_cast<int>(d.size()) ? d[static_cast<size_t>(p)] : FBlank;
    r.push_back(c == FBlank ? ' ' : c);
  }
  if (FTrimLeading) {
    auto first = std::find_if(r.begin(), r.end(), [](char32_t C) { return C != ' '; });
    r.erase(r.begin(), first);
  } else {
    while (!r.empty() && r.back() == ' ') r.pop_back();
  }
  return Encode(r);
}

bool TMaskPattern::Conforms(const std::string& Display) const {
  std::vector<char32_t> d = Decode(Display);
  if (static_cast<int>(d.size()) != Length()) return false;
  for (int p = 0; p < Length(); ++p) {
    const TItem& it = FItems[static_cast<size_t>(p)];
    char32_t c = d[static_cast<size_t>(p)];
    if (it.Kind == mkLiteral) {
      if (c != it.Literal) return false;
      continue;
    }
    char32_t f = c;
    if (c != FBlank && (!CharFits(p, f) || f != c)) return false;
  }
  // Malformed bytes decode to code points that encode differently: not a display text.
  return Encode(d) == Display;
}

bool TMaskPattern::IsFilled(const std::string& Display, int P) const {
  if (!IsEditable(P)) return false;
  std::vector<char32_t> d = Decode(Utf8Copy(Display, P, 1));
  return !d.empty() && d[0] != FBlank && d[0] != ' ';
}

int TMaskPattern::FirstMissing(const std::string& Display) const {
  std::vector<char32_t> d = Decode(Display);
  for (int p = 0; p < Length(); ++p) {
    if (!IsRequired(p)) continue;
    char32_t c = p < static_cast<int>(d.size()) ? d[static_cast<size_t>(p)] : FBlank;
    if (c == FBlank || c == ' ') return p;
  }
  return -1;
}

}  // namespace qel
