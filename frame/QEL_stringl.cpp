#include "frame/QEL_stringl.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace qel {
namespace {
bool IsContinuation(unsigned char c) { return (c & 0xC0) == 0x80; }
char FoldAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }
}  // namespace

int Utf8Length(std::string_view Text) {
  int n = 0;
  for (size_t i = 0; i < Text.size(); ++i)
    if (!IsContinuation(static_cast<unsigned char>(Text[i])) || i == 0) ++n;
  return n;
}

std::string Utf8Left(std::string_view Text, int N) {
  if (N <= 0) return {};
  int count = 0;
  for (size_t i = 0; i < Text.size(); ++i) {
    if (i > 0 && IsContinuation(static_cast<unsigned char>(Text[i]))) continue;
    if (count == N) return std::string(Text.substr(0, i));
    ++count;
  }
  return std::string(Text);
}

std::string strff(double Value, int Width, int Decimals) {
  if (Width < 0) Width = 0;
  if (Width > 1024) Width = 1024;
  std::string s;
  if (std::isnan(Value)) {
    s = "NaN";
  } else if (std::isinf(Value)) {
    s = Value > 0 ? "+Inf" : "-Inf";
  } else {
    const bool exponential = Decimals < 0;
    // Up to 255 decimals: the report-list store's default values ask for that many.
    const int d = exponential ? (Decimals < -kStrffMaxDecimals ? kStrffMaxDecimals : -Decimals)
                              : std::min(Decimals, kStrffMaxDecimals);
    const char* fmt = exponential ? "%.*E" : "%.*f";
    const int n = std::snprintf(nullptr, 0, fmt, d, Value);
    s.resize(static_cast<size_t>(n) + 1);
    std::snprintf(s.data(), s.size(), fmt, d, Value);
    s.resize(static_cast<size_t>(n));
    if (exponential) {
      // Three exponent digits at least, as the classic writers show them.
      const size_t e = s.find('E');
      if (e != std::string::npos && s.size() - e - 2 < 3)
        s.insert(e + 2, 3 - (s.size() - e - 2), '0');
    }
  }
  if (static_cast<int>(s.size()) < Width) s.insert(0, Width - s.size(), ' ');
  return s;
}

int Tokenize(std::string_view Text, char Separator, std::vector<std::string>& Parts) {
  Parts.clear();
  size_t start = 0;
  for (;;) {
    const size_t p = Text.find(Separator, start);
    if (p == std::string_view::npos) {
      Parts.emplace_back(Text.substr(start));
      break;
    }
    Parts.emplace_back(Text.substr(start, p - start));
    start = p + 1;
  }
  return static_cast<int>(Parts.size());
}

int NumberedPos(std::string_view Sub, std::string_view Text, int Start, int N, bool IgnoreCase) {
  if (Sub.empty() || N < 1) return 0;
  if (Start < 1) Start = 1;
  size_t pos = static_cast<size_t>(Start - 1);  // 0-based from here on
  int found = 0;
  while (pos + Sub.size() <= Text.size()) {
    bool match = true;
    for (size_t k = 0; k < Sub.size() && match; ++k)
      match = IgnoreCase ? FoldAscii(Text[pos + k]) == FoldAscii(Sub[k]) : Text[pos + k] == Sub[k];
    if (match) {
      if (++found == N) return static_cast<int>(pos + 1);
      pos += Sub.size();
    } else {
      ++pos;
    }
  }
  return 0;
}

std::string LeftString(std::string_view Text, int N) {
  if (N <= 0) return {};
  std::string s = Utf8Left(Text, N);
  const int len = Utf8Length(s);
  if (len < N) s.append(N - len, ' ');
  return s;
}

std::string StripLeadingChars(std::string_view Text, std::string_view Chars) {
  const size_t p = Text.find_first_not_of(Chars);
  return p == std::string_view::npos ? std::string() : std::string(Text.substr(p));
}

std::string StripTrailingChars(std::string_view Text, std::string_view Chars) {
  const size_t p = Text.find_last_not_of(Chars);
  return p == std::string_view::npos ? std::string() : std::string(Text.substr(0, p + 1));
}

std::string ReplaceCharInString(std::string_view Text, char OldChar, char NewChar) {
  std::string s(Text);
  for (char& c : s)
    if (c == OldChar) c = NewChar;
  return s;
}

std::string RemoveControlChars(std::string_view Text) {
  std::string s;
  s.reserve(Text.size());
  for (char c : Text) {
    const auto u = static_cast<unsigned char>(c);
    if (u >= 32 && u != 127) s.push_back(c);
  }
  return s;
}

std::string EnsureTrailingChar(std::string_view Text, char Ch) {
  std::string s(Text);
  if (s.empty() || s.back() != Ch) s.push_back(Ch);
  return s;
}

std::string EnsureTrailingBkSlash(std::string_view Text) { return EnsureTrailingChar(Text, '\\'); }

}  // namespace qel
