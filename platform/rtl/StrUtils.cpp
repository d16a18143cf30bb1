#include "platform/rtl/StrUtils.h"

#include <algorithm>
#include <cstring>

namespace qel {

namespace {

char Up(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }
char Low(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }
bool IsCont(unsigned char c) { return (c & 0xC0) == 0x80; }

// Bytes of the code point starting at I: the lead byte's length if its continuation bytes are
// all there, otherwise one.
size_t CodePointSize(const std::string& S, size_t I) {
  unsigned char c = static_cast<unsigned char>(S[I]);
  size_t len = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 1;
  if (I + len > S.size()) return 1;
  for (size_t k = 1; k < len; ++k)
    if (!IsCont(static_cast<unsigned char>(S[I + k]))) return 1;
  return len;
}

}  // namespace

std::string UpperCase(const std::string& S) {
  std::string r = S;
  for (char& c : r) c = Up(c);
  return r;
}

std::string LowerCase(const std::string& S) {
  std::string r = S;
  for (char& c : r) c = Low(c);
  return r;
}

std::string Trim(const std::string& S) { return TrimLeft(TrimRight(S)); }

std::string TrimLeft(const std::string& S) {
  size_t i = 0;
  while (i < S.size() && IsBlank(S[i])) ++i;
  return S.substr(i);
}

std::string TrimRight(const std::string& S) {
  size_t n = S.size();
  while (n > 0 && IsBlank(S[n - 1])) --n;
  return S.substr(0, n);
}

bool SameText(const std::string& A, const std::string& B) { return CompareText(A, B) == 0; }

int CompareText(const std::string& A, const std::string& B) {
  size_t n = std::min(A.size(), B.size());
  for (size_t i = 0; i < n; ++i) {
    int a = static_cast<unsigned char>(Up(A[i]));
    int b = static_cast<unsigned char>(Up(B[i]));
    if (a != b) return a - b;
  }
  return A.size() < B.size() ? -1 : A.size() > B.size() ? 1 : 0;
}

int CompareStr(const std::string& A, const std::string& B) {
  int r = A.compare(B);
  return r < 0 ? -1 : r > 0 ? 1 : 0;
}

std::string QuotedStr(const std::string& S) { return AnsiQuotedStr(S, '\''); }

std::string AnsiQuotedStr(const std::string& S, char Quote) {
  std::string r(1, Quote);
  for (char c : S) {
    r += c;
    if (c == Quote) r += c;
  }
  r += Quote;
  return r;
}

std::string AnsiDequotedStr(const std::string& S, char Quote) {
  if (S.empty() || S[0] != Quote) return S;
  std::string r;
  for (size_t i = 1; i < S.size(); ++i) {
    if (S[i] != Quote) {
      r += S[i];
    } else if (i + 1 < S.size() && S[i + 1] == Quote) {
      r += Quote;
      ++i;
    } else {
      return r;
    }
  }
  return S;  // no closing quote
}

std::string StringReplace(const std::string& S, const std::string& OldPattern,
                          const std::string& NewPattern, TReplaceFlags Flags) {
  if (OldPattern.empty()) return S;
  const bool ignoreCase = Flags.Contains(rfIgnoreCase);
  const std::string hay = ignoreCase ? UpperCase(S) : S;
  const std::string needle = ignoreCase ? UpperCase(OldPattern) : OldPattern;
  std::string r;
  size_t from = 0;
  while (true) {
    size_t at = hay.find(needle, from);
    if (at == std::string::npos) break;
    r.append(S, from, at - from);
    r += NewPattern;
    from = at + needle.size();
    if (!Flags.Contains(rfReplaceAll)) break;
  }
  r.append(S, from, std::string::npos);
  return r;
}

int Pos(const std::string& Sub, const std::string& S, int Offset) {
  if (Sub.empty() || Offset < 1 || static_cast<size_t>(Offset) > S.size()) return 0;
  size_t at = S.find(Sub, static_cast<size_t>(Offset) - 1);
  return at == std::string::npos ? 0 : static_cast<int>(at) + 1;
}

std::string Copy(const std::string& S, int Index, int Count) {
  if (Index < 1) Index = 1;
  if (Count <= 0 || static_cast<size_t>(Index) > S.size()) return {};
  return S.substr(static_cast<size_t>(Index) - 1, static_cast<size_t>(Count));
}

std::string StringOfChar(char C, int Count) {
  return Count > 0 ? std::string(static_cast<size_t>(Count), C) : std::string();
}

void AppendUtf8(std::string& S, char32_t Cp) {
  if ((Cp >= 0xD800 && Cp <= 0xDFFF) || Cp > 0x10FFFF) Cp = 0xFFFD;
  if (Cp < 0x80) {
    S += static_cast<char>(Cp);
  } else if (Cp < 0x800) {
    S += static_cast<char>(0xC0 | (Cp >> 6));
    S += static_cast<char>(0x80 | (Cp & 0x3F));
  } else if (Cp < 0x10000) {
    S += static_cast<char>(0xE0 | (Cp >> 12));
    S += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    S += static_cast<char>(0x80 | (Cp & 0x3F));
  } else {
    S += static_cast<char>(0xF0 | (Cp >> 18));
    S += static_cast<char>(0x80 | ((Cp >> 12) & 0x3F));
    S += static_cast<char>(0x80 | ((Cp >> 6) & 0x3F));
    S += static_cast<char>(0x80 | (Cp & 0x3F));
  }
}

int Utf8CodePointCount(const std::string& S) {
  int n = 0;
  for (size_t i = 0; i < S.size(); i += CodePointSize(S, i)) ++n;
  return n;
}

size_t Utf8Offset(const std::string& S, int CodePointIndex) {
  size_t i = 0;
  for (int k = 0; k < CodePointIndex && i < S.size(); ++k) i += CodePointSize(S, i);
  return i;
}

std::string Utf8Truncate(const std::string& S, int MaxCodePoints) {
  if (MaxCodePoints <= 0) return {};
  return S.substr(0, Utf8Offset(S, MaxCodePoints));
}

std::string Utf8Copy(const std::string& S, int Index, int Count) {
  if (Index < 0) Index = 0;
  if (Count <= 0) return {};
  size_t from = Utf8Offset(S, Index);
  return Utf8Truncate(S.substr(from), Count);
}

bool IsValidUtf8(const std::string& S) {
  size_t i = 0;
  while (i < S.size()) {
    unsigned char c = static_cast<unsigned char>(S[i]);
    size_t len = CodePointSize(S, i);
    if (len == 1 && c >= 0x80) return false;
    if (len > 1) {
      // Reject overlong forms, surrogates and values beyond U+10FFFF.
      unsigned char c1 = static_cast<unsigned char>(S[i + 1]);
      if (len == 2 && c < 0xC2) return false;
      if (len == 3 && ((c == 0xE0 && c1 < 0xA0) || (c == 0xED && c1 >= 0xA0))) return false;
      if (len == 4 && ((c == 0xF0 && c1 < 0x90) || c > 0xF4 || (c == 0xF4 && c1 >= 0x90)))
        return false;
    }
    i += len;
  }
  return true;
}

}  // namespace qel
