#pragma once
// Byte-level UTF-8 stepping for the text controls: boundaries, decoding, encoding and the word
// classes used by word steps and double-click selection. Internal to platform/widgets.
#include <string>

#include "platform/rtl/StrUtils.h"

namespace qel::edittext {

inline bool IsCont(unsigned char B) { return (B & 0xC0) == 0x80; }

// Bytes of the sequence a lead byte starts; a malformed byte stands alone.
inline int SeqLen(const std::string& S, int Pos) {
  auto b = static_cast<unsigned char>(S[static_cast<size_t>(Pos)]);
  int n = b < 0x80 ? 1 : (b >> 5) == 6 ? 2 : (b >> 4) == 14 ? 3 : (b >> 3) == 30 ? 4 : 1;
  if (Pos + n > static_cast<int>(S.size())) return 1;
  for (int i = 1; i < n; ++i)
    if (!IsCont(static_cast<unsigned char>(S[static_cast<size_t>(Pos + i)]))) return 1;
  return n;
}

// The boundary after / before Pos (Pos itself at the ends).
inline int Next(const std::string& S, int Pos) {
  if (Pos >= static_cast<int>(S.size())) return static_cast<int>(S.size());
  return Pos + SeqLen(S, Pos);
}
inline int Prev(const std::string& S, int Pos) {
  if (Pos <= 0) return 0;
  int p = Pos - 1;
  // Walk back over at most three continuation bytes to the lead, then check it spans to Pos.
  int q = p;
  while (q > 0 && Pos - q < 4 && IsCont(static_cast<unsigned char>(S[static_cast<size_t>(q)]))) --q;
  return q + SeqLen(S, q) == Pos ? q : p;
}
// Snaps Pos to the start of the sequence it falls into.
inline int Snap(const std::string& S, int Pos) {
  if (Pos <= 0) return 0;
  if (Pos >= static_cast<int>(S.size())) return static_cast<int>(S.size());
  int q = Prev(S, Pos);
  return q + SeqLen(S, q) > Pos ? q : Pos;
}

inline char32_t Decode(const std::string& S, int Pos) {
  int n = SeqLen(S, Pos);
  auto b = static_cast<unsigned char>(S[static_cast<size_t>(Pos)]);
  if (n == 1) return b;
  char32_t c = b & (0x7F >> n);
  for (int i = 1; i < n; ++i) c = (c << 6) | (static_cast<unsigned char>(S[Pos + i]) & 0x3F);
  return c;
}

inline std::string Encode(char32_t C) {
  std::string s;
  AppendUtf8(s, C);
  return s;
}

// Word classes: 0 blank or line break, 1 punctuation, 2 letters, digits and anything non-ASCII.
inline int CharClass(char32_t C) {
  if (C == ' ' || C == '\t' || C == '\r' || C == '\n') return 0;
  if (C < 0x80 &&
      !((C >= '0' && C <= '9') || (C >= 'A' && C <= 'Z') || (C >= 'a' && C <= 'z') || C == '_'))
    return 1;
  return 2;
}

// ASCII capitals to small letters; every other code point as it is (accelerators and letter
// jumps compare these).
inline char32_t FoldAscii(char32_t C) { return C >= 'A' && C <= 'Z' ? C - 'A' + 'a' : C; }

}  // namespace qel::edittext
