#include "platform/controls/FormFiles.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <map>
#include <memory>
#include <set>
#include <unordered_map>
#include <vector>

#include "platform/rtl/StrUtils.h"
#include "platform/rtl/Streams.h"

namespace qel {

namespace {

constexpr int kMaxDepth = 200;
constexpr size_t kStringRun = 64;  // longest quoted run the writer puts on one line

struct TNoCaseLess {
  bool operator()(const std::string& A, const std::string& B) const {
    return CompareText(A, B) < 0;
  }
};

bool IsIdentStart(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsHex(char c) { return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

bool ValidName(const std::string& S) {
  if (S.empty() || !IsIdentStart(S[0])) return false;
  for (char c : S)
    if (!IsIdentChar(c)) return false;
  return true;
}

// ---------------------------------------------------------------- lexer

enum TTokKind : uint8_t { tkEnd, tkIdent, tkInteger, tkFloat, tkString, tkSymbol };

struct TToken {
  TTokKind Kind = tkEnd;
  std::string Text;  // identifier, string value, number spelling, symbol
  int64_t Int = 0;
  double Float = 0;
  int Line = 1;
};

class TLexer {
 public:
  // A UTF-8 byte order mark, which editors may put first, is skipped.
  explicit TLexer(const std::string& Text)
      : FText(Text), FPos(Text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0) {}

  TToken Next() {
    SkipBlanks();
    TToken t;
    t.Line = FLine;
    if (FPos >= FText.size()) return t;
    char c = FText[FPos];
    if (IsIdentStart(c)) {
      size_t start = FPos;
      // Dotted names (Font.Size) are one token.
      while (FPos < FText.size() &&
             (IsIdentChar(FText[FPos]) ||
              (FText[FPos] == '.' && FPos + 1 < FText.size() && IsIdentStart(FText[FPos + 1]))))
        ++FPos;
      t.Kind = tkIdent;
      t.Text = FText.substr(start, FPos - start);
      return t;
    }
    if (IsDigit(c) || c == '$') return Number(t);
    if (c == '\'' || c == '#') return String(t);
    if (std::string("=:[](),+-{}").find(c) != std::string::npos) {
      ++FPos;
      t.Kind = tkSymbol;
      t.Text = std::string(1, c);
      return t;
    }
    unsigned char u = static_cast<unsigned char>(c);
    throw EFormFileError(FLine, u >= 0x20 && u < 0x7F
                                    ? "Invalid character '" + std::string(1, c) + "'"
                                    : "Invalid character #" + std::to_string(u));
  }

 private:
  void SkipBlanks() {
    while (FPos < FText.size()) {
      char c = FText[FPos];
      if (c == '\n') {
        ++FLine;
      } else if (c == '\r') {
        if (FPos + 1 >= FText.size() || FText[FPos + 1] != '\n') ++FLine;
      } else if (c != ' ' && c != '\t') {
        break;
      }
      ++FPos;
    }
  }

  TToken& Number(TToken& t) {
    size_t start = FPos;
    if (FText[FPos] == '$') {
      ++FPos;
      size_t digits = FPos;
      while (FPos < FText.size() && IsHex(FText[FPos])) ++FPos;
      if (FPos == digits) throw EFormFileError(FLine, "Hexadecimal digits expected after '$'");
      if (FPos - digits > 16) throw EFormFileError(FLine, "Number too large");
      t.Kind = tkInteger;
      const uint64_t v = std::strtoull(FText.substr(digits, FPos - digits).c_str(), nullptr, 16);
      // Hexadecimal is a spelling of a value, not a bit pattern: beyond the 64-bit range it is
      // refused as a decimal number is, rather than wrapped to a negative one. 2^63 is kept for
      // a leading '-', which the parser checks.
      if (v > uint64_t{1} << 63)
        throw EFormFileError(FLine, "Number too large '" + FText.substr(start, FPos - start) + "'");
      t.Int = static_cast<int64_t>(v);
      t.Text = FText.substr(start, FPos - start);
      return t;
    }
    while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
    bool isFloat = false;
    if (FPos + 1 < FText.size() && FText[FPos] == '.' && IsDigit(FText[FPos + 1])) {
      isFloat = true;
      ++FPos;
      while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
    }
    if (FPos < FText.size() && (FText[FPos] == 'e' || FText[FPos] == 'E')) {
      size_t e = FPos + 1;
      if (e < FText.size() && (FText[e] == '+' || FText[e] == '-')) ++e;
      if (e >= FText.size() || !IsDigit(FText[e]))
        throw EFormFileError(
            FLine, "Exponent digits expected in '" + FText.substr(start, e - start) + "'");
      FPos = e;
      while (FPos < FText.size() && IsDigit(FText[FPos])) ++FPos;
      isFloat = true;
    }
    if (FPos < FText.size() && IsIdentChar(FText[FPos]))
      throw EFormFileError(FLine, "Invalid number '" + FText.substr(start, FPos + 1 - start) + "'");
    t.Text = FText.substr(start, FPos - start);
    if (!isFloat) {
      // Decimal integers beyond 64 bits are kept as floating-point values.
      errno = 0;
      unsigned long long v = std::strtoull(t.Text.c_str(), nullptr, 10);
      if (errno != ERANGE && v <= (uint64_t{1} << 63)) {
        t.Kind = tkInteger;
        t.Int = static_cast<int64_t>(v);  // 2^63 wraps; only a leading '-' makes it valid
        t.Float = static_cast<double>(v);
        return t;
      }
    }
    t.Kind = tkFloat;
    t.Float = std::strtod(t.Text.c_str(), nullptr);
    return t;
  }

  // A string token: quoted runs and #nnn character codes written next to each other.
  TToken& String(TToken& t) {
    t.Kind = tkString;
    while (FPos < FText.size()) {
      char c = FText[FPos];
      if (c == '\'') {
        ++FPos;
        for (;;) {
          if (FPos >= FText.size() || FText[FPos] == '\n' || FText[FPos] == '\r')
            throw EFormFileError(FLine, "Unterminated string");
          if (FText[FPos] == '\'') {
            if (FPos + 1 < FText.size() && FText[FPos + 1] == '\'') {
              t.Text += '\'';
              FPos += 2;
              continue;
            }
            ++FPos;
            break;
          }
          t.Text += FText[FPos++];
        }
      } else if (c == '#') {
        ++FPos;
        uint64_t code = 0;
        size_t digits = FPos;
        bool hex = FPos < FText.size() && FText[FPos] == '$';
        if (hex) digits = ++FPos;
        while (FPos < FText.size() && (hex ? IsHex(FText[FPos]) : IsDigit(FText[FPos]))) {
          int d = IsDigit(FText[FPos]) ? FText[FPos] - '0' : (FText[FPos] | 0x20) - 'a' + 10;
          code = code * (hex ? 16 : 10) + static_cast<uint64_t>(d);
          if (code > 0x10FFFF) throw EFormFileError(FLine, "Character code out of range");
          ++FPos;
        }
        if (FPos == digits) throw EFormFileError(FLine, "Character code expected after '#'");
        if (code >= 0xD800 && code <= 0xDFFF)
          throw EFormFileError(FLine,
                               "Character code #" + std::to_string(code) + " is not a character");
        AppendUtf8(t.Text, static_cast<uint32_t>(code));
      } else {
        break;
      }
    }
    return t;
  }

  const std::string& FText;
  size_t FPos = 0;
  int FLine = 1;
};

// ---------------------------------------------------------------- parser

std::string Describe(const TToken& t) {
  switch (t.Kind) {
    case tkEnd:
      return "end of file";
    case tkIdent:
      return "'" + t.Text + "'";
    case tkString:
      return "a string";
    case tkSymbol:
      return "'" + t.Text + "'";
    default:
      return "number " + t.Text;
  }
}

class TParser {
 public:
  explicit TParser(const std::string& Text) : FLex(Text) { Advance(); }

  TFormObject ParseRoot() {
    TFormObject root = ParseObject(0);
    if (FTok.Kind != tkEnd)
      throw EFormFileError(FTok.Line, "Expected end of file but found " + Describe(FTok));
    return root;
  }

 private:
  void Advance() { FTok = FLex.Next(); }
  bool IsSym(const char* s) const { return FTok.Kind == tkSymbol && FTok.Text == s; }
  bool IsWord(const char* w) const { return FTok.Kind == tkIdent && SameText(FTok.Text, w); }
  [[noreturn]] void Expected(const std::string& What) const {
    throw EFormFileError(FTok.Line, "Expected " + What + " but found " + Describe(FTok));
  }
  std::string Ident(const std::string& What) {
    if (FTok.Kind != tkIdent || FTok.Text.find('.') != std::string::npos) Expected(What);
    std::string s = FTok.Text;
    Advance();
    return s;
  }

  TFormObject ParseObject(int Depth) {
    if (Depth > kMaxDepth) throw EFormFileError(FTok.Line, "Objects nested too deeply");
    if (!IsWord("object")) Expected("'object'");
    TFormObject obj;
    obj.Line = FTok.Line;
    Advance();
    std::string first = Ident("a component name or class name");
    if (IsSym(":")) {
      Advance();
      obj.Name = first;
      obj.ClassName = Ident("a class name");
    } else {
      obj.ClassName = first;
    }
    for (;;) {
      if (IsWord("end")) {
        Advance();
        return obj;
      }
      if (IsWord("object")) {
        obj.Children.push_back(ParseObject(Depth + 1));
        continue;
      }
      if (FTok.Kind != tkIdent) Expected("a property name, 'object' or 'end'");
      TFormProperty p;
      p.Path = FTok.Text;
      p.Line = FTok.Line;
      Advance();
      if (!IsSym("=")) Expected("'='");
      Advance();
      p.Value = ParseValue(Depth);
      obj.Props.push_back(std::move(p));
    }
  }

  TFormValue ParseValue(int Depth) {
    if (Depth > kMaxDepth) throw EFormFileError(FTok.Line, "Values nested too deeply");
    TFormValue v;
    v.Line = FTok.Line;
    if (IsSym("-") || IsSym("+")) {
      bool neg = FTok.Text == "-";
      Advance();
      if (FTok.Kind == tkInteger) {
        uint64_t mag = static_cast<uint64_t>(FTok.Int);
        if (!neg && FTok.Text[0] == '$' &&
            mag > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
          throw EFormFileError(FTok.Line, "Number too large '" + FTok.Text + "'");
        if (!neg && mag > static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
          v.Type = TFormValue::fvFloat;
          v.Float = FTok.Float;
        } else {
          v.Type = TFormValue::fvInteger;
          v.Int = neg ? static_cast<int64_t>(0 - mag) : static_cast<int64_t>(mag);
        }
      } else if (FTok.Kind == tkFloat) {
        v.Type = TFormValue::fvFloat;
        v.Float = neg ? -FTok.Float : FTok.Float;
      } else if (FTok.Kind == tkIdent && SameText(FTok.Text, "INF")) {
        v.Type = TFormValue::fvFloat;
        v.Float = neg ? -std::numeric_limits<double>::infinity()
                      : std::numeric_limits<double>::infinity();
      } else {
        Expected("a number");
      }
      Advance();
      return v;
    }
    switch (FTok.Kind) {
      case tkInteger:
        if (static_cast<uint64_t>(FTok.Int) >
            static_cast<uint64_t>(std::numeric_limits<int64_t>::max())) {
          if (FTok.Text[0] == '$')
            throw EFormFileError(FTok.Line, "Number too large '" + FTok.Text + "'");
          v.Type = TFormValue::fvFloat;
          v.Float = FTok.Float;
        } else {
          v.Type = TFormValue::fvInteger;
          v.Int = FTok.Int;
        }
        Advance();
        return v;
      case tkFloat:
        v.Type = TFormValue::fvFloat;
        v.Float = FTok.Float;
        Advance();
        return v;
      case tkString:
        v.Type = TFormValue::fvString;
        v.Str = FTok.Text;
        Advance();
        while (IsSym("+")) {
          Advance();
          if (FTok.Kind != tkString) Expected("a string after '+'");
          v.Str += FTok.Text;
          Advance();
        }
        return v;
      case tkIdent:
        v.Type = TFormValue::fvIdent;
        v.Str = FTok.Text;
        Advance();
        return v;
      default:
        break;
    }
    if (IsSym("[")) {
      v.Type = TFormValue::fvSet;
      Advance();
      if (!IsSym("]")) {
        for (;;) {
          v.Set.push_back(Ident("a set element"));
          if (IsSym("]")) break;
          if (!IsSym(",")) Expected("',' or ']'");
          Advance();
        }
      }
      Advance();
      return v;
    }
    if (IsSym("(")) {
      v.Type = TFormValue::fvList;
      Advance();
      while (!IsSym(")")) {
        if (FTok.Kind == tkEnd) Expected("')'");
        v.List.push_back(ParseValue(Depth + 1));
      }
      Advance();
      return v;
    }
    if (IsSym("{")) throw EFormFileError(FTok.Line, "Binary property data is not supported");
    Expected("a value");
  }

  TLexer FLex;
  TToken FTok;
};

// ---------------------------------------------------------------- values

std::string ValueText(const TFormValue& v) {
  switch (v.Type) {
    case TFormValue::fvInteger:
      return std::to_string(v.Int);
    case TFormValue::fvFloat:
      return FloatToPropText(v.Float);
    case TFormValue::fvString:
      return QuotedStr(Utf8Truncate(v.Str, 40));
    case TFormValue::fvIdent:
      return v.Str;
    case TFormValue::fvSet:
      return "a set";
    case TFormValue::fvList:
      return "a list";
  }
  return {};
}

const char* KindText(TPropKind k) {
  switch (k) {
    case pkInteger:
      return "an integer";
    case pkFloat:
      return "a number";
    case pkBool:
      return "True or False";
    case pkString:
      return "a string";
    case pkColor:
      return "a colour";
    case pkEnum:
      return "an identifier";
    case pkSet:
      return "a set";
    case pkClass:
      return "its properties";
    case pkComponent:
      return "a component name";
    case pkStrings:
      return "a list of strings";
  }
  return "";
}

[[noreturn]] void BadValue(const TPropInfo& P, const TFormValue& V, const std::string& Path) {
  throw EFormFileError(V.Line, "Invalid property value for " + Path + ": " + ValueText(V) + " (" +
                                   KindText(P.Kind) + " expected)");
}

// Converts V for P and, when Obj is set, stores it. Component references only come back as
// their target name (Ref), for the fixups after all components exist.
void ApplyValue(TPersistent* Obj, const TPropInfo& P, const TFormValue& V, const std::string& Path,
                std::string* Ref) {
  switch (P.Kind) {
    case pkInteger: {
      int64_t x;
      if (V.Type == TFormValue::fvInteger)
        x = V.Int;
      else if (!(V.Type == TFormValue::fvIdent && P.Idents && P.Idents->ToValue(V.Str, x)))
        BadValue(P, V, Path);
      if (x < P.MinValue || x > P.MaxValue)
        throw EFormFileError(V.Line, "Value " + std::to_string(x) + " out of range for " + Path +
                                         " (" + std::to_string(P.MinValue) + ".." +
                                         std::to_string(P.MaxValue) + ")");
      if (Obj) P.SetOrd(Obj, x);
      return;
    }
    case pkFloat: {
      double x;
      if (V.Type == TFormValue::fvInteger)
        x = static_cast<double>(V.Int);
      else if (V.Type == TFormValue::fvFloat)
        x = V.Float;
      else if (!(V.Type == TFormValue::fvIdent &&
                 (SameText(V.Str, "INF") || SameText(V.Str, "NAN")) && PropTextToFloat(V.Str, x)))
        BadValue(P, V, Path);
      if (Obj) P.SetFloat(Obj, x);
      return;
    }
    case pkBool: {
      if (V.Type != TFormValue::fvIdent || (!SameText(V.Str, "True") && !SameText(V.Str, "False")))
        BadValue(P, V, Path);
      if (Obj) P.SetOrd(Obj, SameText(V.Str, "True") ? 1 : 0);
      return;
    }
    case pkString:
      if (V.Type != TFormValue::fvString) BadValue(P, V, Path);
      if (Obj) P.SetStr(Obj, V.Str);
      return;
    case pkColor: {
      TColor c = 0;
      if (V.Type == TFormValue::fvInteger) {
        if (V.Int < std::numeric_limits<int32_t>::min() || V.Int > 0xFFFFFFFFll)
          BadValue(P, V, Path);
        c = static_cast<TColor>(static_cast<uint32_t>(V.Int));
      } else if (!(V.Type == TFormValue::fvIdent && IdentToColor(V.Str, c))) {
        BadValue(P, V, Path);
      }
      if (Obj) P.SetOrd(Obj, c);
      return;
    }
    case pkEnum: {
      int k = V.Type == TFormValue::fvIdent ? P.Enum->IndexOf(V.Str) : -1;
      if (k < 0) BadValue(P, V, Path);
      if (Obj) P.SetOrd(Obj, k);
      return;
    }
    case pkSet: {
      if (V.Type != TFormValue::fvSet) BadValue(P, V, Path);
      uint64_t bits = 0;
      for (const auto& e : V.Set) {
        int k = P.Enum->IndexOf(e);
        if (k < 0 || k >= 64)
          throw EFormFileError(
              V.Line, "Invalid set element " + e + " for " + Path + " (" + P.Enum->TypeName + ")");
        bits |= uint64_t{1} << k;
      }
      if (Obj) P.SetOrd(Obj, static_cast<int64_t>(bits));
      return;
    }
    case pkComponent:
      if (V.Type != TFormValue::fvIdent || V.Str.find('.') != std::string::npos)
        BadValue(P, V, Path);
      if (Ref) *Ref = V.Str;
      return;
    case pkStrings: {
      if (V.Type != TFormValue::fvList) BadValue(P, V, Path);
      std::vector<std::string> lines;
      for (const auto& item : V.List) {
        if (item.Type != TFormValue::fvString)
          throw EFormFileError(item.Line, "Invalid item in " + Path + ": " + ValueText(item) +
                                              " (a string expected)");
        lines.push_back(item.Str);
      }
      if (Obj) P.SetLines(Obj, lines);
      return;
    }
    case pkClass:
      throw EFormFileError(V.Line, "Property " + Path + " is an object; set its properties (" +
                                       Path + ".Name = ...)");
  }
}

// The descriptor a dotted path names, walking nested objects: statically through the class
// infos (Obj == nullptr) or through the live objects. "Items.Strings" names the list Items.
const TPropInfo& ResolvePath(const TClassInfo* Cls, TPersistent*& Obj, const std::string& Path,
                             int Line) {
  size_t start = 0;
  for (;;) {
    size_t dot = Path.find('.', start);
    std::string seg =
        Path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    const TPropInfo* p = Cls ? Cls->FindProperty(seg) : nullptr;
    if (!p)
      throw EFormFileError(Line, "Property " + Path.substr(0, dot) + " does not exist in " +
                                     (Cls ? Cls->Name : std::string("an unregistered class")));
    if (dot == std::string::npos) return *p;
    std::string rest = Path.substr(dot + 1);
    if (p->Kind == pkStrings && SameText(rest, "Strings")) return *p;
    if (p->Kind != pkClass)
      throw EFormFileError(Line, "Property " + Path.substr(0, dot) + " has no property " + rest);
    if (Obj) {
      Obj = p->GetObject(Obj);
      if (!Obj) throw EFormFileError(Line, "Property " + Path.substr(0, dot) + " holds no object");
      Cls = ClassInfoOf(Obj);
    } else {
      Cls = p->ObjectClass();
    }
    start = dot + 1;
  }
}

// ---------------------------------------------------------------- reader

class TFormReader {
 public:
  TFormReader(TComponent* Root, TComponent* Owner) : FRoot(Root), FOwner(Owner) {}

  TComponent* Read(const std::string& Text) {
    TFormObject tree = ParseFormText(Text);
    const TClassInfo* rootCls = FindClassInfo(tree.ClassName);
    if (!rootCls) throw EFormFileError(tree.Line, "Class " + tree.ClassName + " not found");
    if (FRoot) {
      const TClassInfo* actual = ClassInfoOf(FRoot);
      if (!actual || !actual->InheritsFrom(rootCls))
        throw EFormFileError(
            tree.Line, "The file describes a " + tree.ClassName + ", not a " + FRoot->ClassName());
    } else if (!rootCls->Create) {
      throw EFormFileError(tree.Line, "Class " + tree.ClassName + " cannot be created");
    }
    // Everything that can be checked without creating anything is checked first.
    Check(tree, rootCls, true);
    for (const auto& [name, line] : FRefs)
      if (!FNames.count(name) && !SameText(name, tree.Name) && !SameText(name, "nil") &&
          !(FRoot && FRoot->FindComponent(name)))
        throw EFormFileError(line, "Component " + name + " not found");
    try {
      Build(tree, nullptr, nullptr, true);
      Fixups();
      for (FLoadedIndex = 0; FLoadedIndex < FLoading.size(); ++FLoadedIndex)
        FLoading[FLoadedIndex].first->Loaded();
    } catch (const EFormFileError&) {
      Rollback();
      throw;
    } catch (const std::exception& e) {
      int line = FLoadedIndex < FLoading.size() ? FLoading[FLoadedIndex].second : FLine;
      Rollback();
      throw EFormFileError(line, e.what());
    }
    return FRoot;
  }

 private:
  void Check(const TFormObject& o, const TClassInfo* cls, bool isRoot) {
    if (!cls) {
      cls = FindClassInfo(o.ClassName);
      if (!cls) throw EFormFileError(o.Line, "Class " + o.ClassName + " not found");
    }
    if (!isRoot) {
      bool reusable = FRoot && !o.Name.empty() && FRoot->FindComponent(o.Name);
      if (!cls->Create && !reusable)
        throw EFormFileError(o.Line, "Class " + o.ClassName + " cannot be created");
    }
    if (!o.Name.empty()) {
      if (!ValidName(o.Name))
        throw EFormFileError(o.Line, "'" + o.Name + "' is not a valid component name");
      if (!isRoot && !FNames.insert(o.Name).second)
        throw EFormFileError(o.Line, "A component named " + o.Name + " already exists");
    }
    for (const auto& p : o.Props) {
      TPersistent* none = nullptr;
      const TPropInfo& info = ResolvePath(cls, none, p.Path, p.Line);
      std::string ref;
      ApplyValue(nullptr, info, p.Value, p.Path, &ref);
      if (info.Kind == pkComponent) FRefs.emplace_back(ref, p.Line);
    }
    for (const auto& c : o.Children) Check(c, nullptr, false);
  }

  // parent: the nearest enclosing control a control goes on; enclosing: the object this one is
  // written inside (a menu for its items), nullptr for the root and its direct children.
  void Build(const TFormObject& o, TWinControl* parent, TComponent* enclosing, bool isRoot) {
    FLine = o.Line;
    TComponent* comp = nullptr;
    if (isRoot && FRoot) {
      comp = FRoot;
    } else if (!isRoot && FRoot && !o.Name.empty() && (comp = FRoot->FindComponent(o.Name))) {
      const TClassInfo* cls = FindClassInfo(o.ClassName);
      if (!cls->IsInstance(comp))
        throw EFormFileError(o.Line,
                             "Component " + o.Name + " already exists as a " + comp->ClassName());
    } else {
      comp = FindClassInfo(o.ClassName)->Create(isRoot ? FOwner : FRoot);
      FCreated.push_back(comp);
      if (isRoot) FRoot = comp;
    }
    comp->Loading();
    FLoading.emplace_back(comp, o.Line);
    try {
      if (!o.Name.empty() && o.Name != comp->GetName()) comp->SetName(o.Name);
      auto* ctl = dynamic_cast<TControl*>(comp);
      if (ctl && !isRoot && parent && ctl->GetParent() != parent) ctl->SetParent(parent);
      if (!ctl && !isRoot && enclosing && comp->GetParentComponent() != enclosing)
        comp->SetParentComponent(enclosing);
    } catch (const std::exception& e) {
      throw EFormFileError(o.Line, e.what());
    }
    for (const auto& p : o.Props) {
      FLine = p.Line;
      TPersistent* target = comp;
      const TPropInfo& info = ResolvePath(ClassInfoOf(comp), target, p.Path, p.Line);
      std::string ref;
      try {
        ApplyValue(target, info, p.Value, p.Path, &ref);
      } catch (const EFormFileError&) {
        throw;
      } catch (const std::exception& e) {
        throw EFormFileError(p.Line, "Error setting " + p.Path + ": " + e.what());
      }
      if (info.Kind == pkComponent) FFixups.push_back({target, &info, ref, p.Line, p.Path});
    }
    auto* win = dynamic_cast<TWinControl*>(comp);
    for (const auto& c : o.Children) Build(c, win ? win : parent, isRoot ? nullptr : comp, false);
  }

  void Fixups() {
    for (const auto& f : FFixups) {
      FLine = f.Line;
      TComponent* target = nullptr;
      if (!SameText(f.Name, "nil")) {
        target = SameText(f.Name, FRoot->GetName()) ? FRoot : FRoot->FindComponent(f.Name);
        if (!target) throw EFormFileError(f.Line, "Component " + f.Name + " not found");
      }
      try {
        f.Prop->SetComponent(f.Object, target);
      } catch (const std::exception& e) {
        throw EFormFileError(f.Line, "Error setting " + f.Path + ": " + e.what());
      }
    }
  }

  // Destroys what the read created (latest first, so children go before their parents) and
  // ends the loading state of what it only filled.
  void Rollback() noexcept {
    for (auto it = FCreated.rbegin(); it != FCreated.rend(); ++it) delete *it;
    for (auto& [comp, line] : FLoading) {
      bool created = false;
      for (auto* c : FCreated) created = created || c == comp;
      if (created || !comp->ComponentState().Contains(csLoading)) continue;
      try {
        comp->Loaded();
      } catch (...) {
      }
    }
  }

  struct TFixup {
    TPersistent* Object;
    const TPropInfo* Prop;
    std::string Name;
    int Line;
    std::string Path;
  };

  TComponent* FRoot;
  TComponent* FOwner;
  std::set<std::string, TNoCaseLess> FNames;
  std::vector<std::pair<std::string, int>> FRefs;
  std::vector<TComponent*> FCreated;
  std::vector<std::pair<TComponent*, int>> FLoading;
  size_t FLoadedIndex = static_cast<size_t>(-1);
  std::vector<TFixup> FFixups;
  int FLine = 1;
};

// ---------------------------------------------------------------- writer

class TFormWriter {
 public:
  explicit TFormWriter(const TComponent* Root) : FRoot(Root) {}

  std::string Write() {
    WriteObject(FRoot, "");
    return FOut;
  }

 private:
  static const TClassInfo& InfoOf(const TComponent* c) {
    const TClassInfo* info = ClassInfoOf(c);
    if (!info) throw EWriteError("Class " + c->ClassName() + " is not registered");
    return *info;
  }

  // Where a component is written: inside its parent control when that belongs to the root,
  // otherwise directly inside the root.
  const TComponent* WritingParent(const TComponent* c) const {
    if (auto* ctl = dynamic_cast<const TControl*>(c)) {
      const TWinControl* p = ctl->GetParent();
      if (p && (p == FRoot || p->GetOwner() == FRoot)) return p;
    } else if (c->HasParent()) {
      const TComponent* p = c->GetParentComponent();
      if (p && (p == FRoot || p->GetOwner() == FRoot)) return p;
    }
    return FRoot;
  }

  // Who is written inside whom, found once for all objects rather than by a search of every
  // component for every object. Reading a property may create or free components (a tree view
  // drops its editor), so the table is made again when the count has changed.
  const std::vector<const TComponent*>& ChildrenOf(const TComponent* c) {
    if (FChildrenOf != FRoot->ComponentCount()) {
      FChildren.clear();
      for (int i = 0; i < FRoot->ComponentCount(); ++i) {
        const TComponent* child = FRoot->Components(i);
        const TComponent* parent = WritingParent(child);
        if (parent != child) FChildren[parent].push_back(child);
      }
      FChildrenOf = FRoot->ComponentCount();
    }
    return FChildren[c];
  }

  void WriteObject(const TComponent* c, const std::string& indent) {
    const TClassInfo& info = InfoOf(c);
    FOut += indent + "object ";
    if (!c->GetName().empty()) FOut += c->GetName() + ": ";
    FOut += info.Name + "\n";
    WriteProps(c, info, "", indent + "  ", FreshInstance(info));
    std::vector<std::pair<int, const TComponent*>> children;
    for (const TComponent* child : ChildrenOf(c))
      children.emplace_back(child->ParentComponentIndex(), child);
    std::stable_sort(children.begin(), children.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [index, child] : children) WriteObject(child, indent + "  ");
    FOut += indent + "end\n";
  }

  // A new instance of the class, made once per write: what a reader starts from. Nullptr when
  // the class cannot be made without an owner.
  const TComponent* FreshInstance(const TClassInfo& Info) {
    auto it = FFresh.find(&Info);
    if (it != FFresh.end()) return it->second.get();
    std::unique_ptr<TComponent> fresh;
    try {
      if (Info.Create) fresh.reset(Info.Create(nullptr));
    } catch (const std::exception&) {
      fresh.reset();
    }
    return (FFresh[&Info] = std::move(fresh)).get();
  }

  // Whether obj's property p can be left out: top-level values equal to their declared default;
  // values of nested objects (Font.Name) equal to those of the same object in a new instance of
  // the component (Fresh), since a component may give its font other defaults than a font has.
  static bool Unchanged(const TPersistent* obj, const TPropInfo& p, const TPersistent* fresh,
                        bool nested) {
    if (!nested || !fresh || p.Kind == pkComponent || p.Kind == pkStrings) return p.IsDefault(obj);
    return GetPropText(obj, p) == GetPropText(fresh, p);
  }

  void WriteProps(const TPersistent* obj, const TClassInfo& info, const std::string& prefix,
                  const std::string& indent, const TPersistent* fresh) {
    for (const TPropInfo* p : info.Properties()) {
      if (!p->IsStored(obj)) continue;
      std::string path = prefix + p->Name;
      if (p->Kind == pkClass) {
        const TPersistent* nested = p->GetObject(obj);
        const TClassInfo* nestedInfo = nested ? ClassInfoOf(nested) : nullptr;
        const TPersistent* nestedFresh = fresh ? p->GetObject(fresh) : nullptr;
        if (nestedInfo) WriteProps(nested, *nestedInfo, path + ".", indent, nestedFresh);
        continue;
      }
      if (Unchanged(obj, *p, fresh, !prefix.empty())) continue;
      std::string value;
      switch (p->Kind) {
        case pkString:
          value = FormatFormString(p->GetStr(obj), indent + "  ");
          break;
        case pkComponent: {
          const TComponent* t = p->GetComponent(obj);
          if (!t || t->GetName().empty() || (t != FRoot && t->GetOwner() != FRoot)) continue;
          value = t->GetName();
          break;
        }
        case pkStrings: {
          path += ".Strings";
          value = "(";
          auto lines = p->GetLines(obj);
          for (size_t i = 0; i < lines.size(); ++i)
            value += "\n" + indent + "  " + FormatFormString(lines[i], indent + "    ");
          value += ")";
          break;
        }
        default:
          value = GetPropText(obj, *p);
      }
      FOut += indent + path + " = " + value + "\n";
    }
  }

  const TComponent* FRoot;
  std::map<const TClassInfo*, std::unique_ptr<TComponent>> FFresh;
  std::string FOut;
  std::unordered_map<const TComponent*, std::vector<const TComponent*>> FChildren;
  int FChildrenOf = -1;  // the component count FChildren was made for
};

std::string ReadFile(const std::string& FileName) {
  TFileStream f(FileName, fmOpenRead);
  std::string s(static_cast<size_t>(f.GetSize()), '\0');
  if (!s.empty()) f.ReadBuffer(s.data(), static_cast<int64_t>(s.size()));
  return s;
}

}  // namespace

TFormObject ParseFormText(const std::string& Text) { return TParser(Text).ParseRoot(); }

TComponent* CreateComponentFromText(const std::string& Text, TComponent* Owner) {
  return TFormReader(nullptr, Owner).Read(Text);
}

void ReadComponentText(TComponent* Root, const std::string& Text) {
  if (!Root) throw EReadError("No component to read into");
  TFormReader(Root, nullptr).Read(Text);
}

std::string WriteComponentText(const TComponent* Root) { return TFormWriter(Root).Write(); }

TComponent* CreateComponentFromFile(const std::string& FileName, TComponent* Owner) {
  return CreateComponentFromText(ReadFile(FileName), Owner);
}

void ReadComponentFile(TComponent* Root, const std::string& FileName) {
  ReadComponentText(Root, ReadFile(FileName));
}

void WriteComponentFile(const TComponent* Root, const std::string& FileName) {
  std::string text = WriteComponentText(Root);
  TFileStream f(FileName, fmCreate);
  f.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

std::string FormatFormString(const std::string& S, const std::string& Indent) {
  if (S.empty()) return "''";
  std::string out;
  bool quoted = false;
  size_t run = 0;
  auto close = [&] {
    if (quoted) out += '\'';
    quoted = false;
  };
  for (size_t i = 0; i < S.size(); ++i) {
    unsigned char c = static_cast<unsigned char>(S[i]);
    bool boundary = (c & 0xC0) != 0x80;  // not inside a UTF-8 sequence
    if (boundary && run >= kStringRun) {
      close();
      out += " +\n" + Indent;
      run = 0;
    }
    if (c < 0x20 || c == 0x7F) {
      close();
      out += "#" + std::to_string(c);
      ++run;
      // A line break ends the output line, so multi-line texts read as they look.
      if (c == '\n' && i + 1 < S.size()) {
        out += " +\n" + Indent;
        run = 0;
      }
      continue;
    }
    if (!quoted) out += '\'';
    quoted = true;
    if (c == '\'') out += '\'';
    out += static_cast<char>(c);
    ++run;
  }
  close();
  return out;
}

}  // namespace qel
