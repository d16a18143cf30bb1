#include "platform/controls/Properties.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <map>

#include "platform/controls/Forms.h"
#include "platform/rtl/StrUtils.h"

namespace qel {

namespace {

struct TNoCaseLess {
  bool operator()(const std::string& A, const std::string& B) const {
    return CompareText(A, B) < 0;
  }
};

// The registry itself: one per process, filled by the Register... functions of each layer.
struct TRegistry {
  std::map<std::string, std::unique_ptr<TClassInfo>, TNoCaseLess> Classes;
  std::map<std::type_index, TClassInfo*> ByType;
  std::map<std::type_index, std::unique_ptr<TEnumInfo>> Enums;
  std::map<std::string, TEnumInfo*, TNoCaseLess> EnumsByName;
};

TRegistry& Registry() {
  static TRegistry registry;
  return registry;
}

int Depth(const TClassInfo* C) {
  int d = 0;
  for (; C; C = C->Parent) ++d;
  return d;
}

std::string Blank(const std::string& S) { return Trim(S); }

[[noreturn]] void BadValue(const TPropInfo& Prop, const std::string& Text) {
  throw EPropertyError("Invalid property value for " + Prop.Name + ": " + Text);
}

bool ParseInt64(const std::string& S, int64_t& V) {
  std::string t = Blank(S);
  if (t.empty()) return false;
  bool neg = false;
  size_t i = 0;
  if (t[0] == '-' || t[0] == '+') {
    neg = t[0] == '-';
    ++i;
  }
  int base = 10;
  if (i < t.size() && t[i] == '$') {
    base = 16;
    ++i;
  } else if (t.size() - i > 2 && t[i] == '0' && (t[i + 1] == 'x' || t[i + 1] == 'X')) {
    base = 16;
    i += 2;
  }
  if (i >= t.size()) return false;
  uint64_t mag = 0;
  auto [p, ec] = std::from_chars(t.data() + i, t.data() + t.size(), mag, base);
  if (ec != std::errc() || p != t.data() + t.size()) return false;
  if (neg) {
    if (mag > uint64_t{1} << 63) return false;
    V = mag == uint64_t{1} << 63 ? std::numeric_limits<int64_t>::min() : -static_cast<int64_t>(mag);
  } else {
    // Hexadecimal may spell a full 64-bit pattern; decimal must fit.
    if (base == 10 && mag > static_cast<uint64_t>(std::numeric_limits<int64_t>::max()))
      return false;
    V = static_cast<int64_t>(mag);
  }
  return true;
}

std::string SetToText(const TEnumInfo& E, uint64_t Bits) {
  std::string s = "[";
  bool first = true;
  for (size_t i = 0; i < E.Names.size() && i < 64; ++i) {
    if (!(Bits & (uint64_t{1} << i))) continue;
    if (!first) s += ", ";
    s += E.Names[i];
    first = false;
  }
  return s + "]";
}

bool TextToSet(const TEnumInfo& E, const std::string& Text, uint64_t& Bits) {
  std::string t = Blank(Text);
  if (!t.empty() && t.front() == '[') {
    if (t.back() != ']') return false;
    t = t.substr(1, t.size() - 2);
  }
  Bits = 0;
  size_t start = 0;
  while (start <= t.size()) {
    size_t comma = t.find(',', start);
    std::string item =
        Blank(t.substr(start, comma == std::string::npos ? std::string::npos : comma - start));
    if (item.empty()) {
      // Only "[]" (or nothing) may be empty; "[a,,b]" is not.
      if (comma != std::string::npos || Bits != 0 || start != 0) return false;
      break;
    }
    int k = E.IndexOf(item);
    if (k < 0 || k >= 64) return false;
    Bits |= uint64_t{1} << k;
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  return true;
}

}  // namespace

// ---------------------------------------------------------------- enum and ident tables

int TEnumInfo::IndexOf(const std::string& Name) const {
  for (size_t i = 0; i < Names.size(); ++i)
    if (SameText(Names[i], Name)) return static_cast<int>(i);
  return -1;
}

bool TIdentMap::ToIdent(int64_t Value, std::string& Ident) const {
  for (const auto& [name, v] : Entries)
    if (v == Value) {
      Ident = name;
      return true;
    }
  return false;
}

bool TIdentMap::ToValue(const std::string& Ident, int64_t& Value) const {
  for (const auto& [name, v] : Entries)
    if (SameText(name, Ident)) {
      Value = v;
      return true;
    }
  return false;
}

// ---------------------------------------------------------------- descriptors

bool TPropInfo::IsDefault(const TPersistent* Instance) const {
  switch (Kind) {
    case pkInteger:
    case pkBool:
    case pkColor:
    case pkEnum:
    case pkSet:
      return HasDefault && GetOrd(Instance) == OrdDefault;
    case pkFloat: {
      if (!HasDefault) return false;
      double v = GetFloat(Instance);
      // Bitwise equality, so that -0.0 and NaN are written when they are what the object holds.
      return std::memcmp(&v, &FloatDefault, sizeof v) == 0;
    }
    case pkString:
      return HasDefault && GetStr(Instance) == StrDefault;
    case pkComponent:
      return GetComponent(Instance) == nullptr;
    case pkStrings:
      return GetLines(Instance).empty();
    case pkClass:
      return false;  // nested objects are compared property by property
  }
  return false;
}

const TClassInfo* TPropInfo::ObjectClass() const { return ClassInfoOfType(ObjectType); }

std::vector<const TPropInfo*> TClassInfo::Properties() const {
  std::vector<const TPropInfo*> list =
      Parent ? Parent->Properties() : std::vector<const TPropInfo*>{};
  for (const auto& own : OwnProps) {
    auto it = std::find_if(list.begin(), list.end(),
                           [&](const TPropInfo* p) { return SameText(p->Name, own->Name); });
    if (it != list.end())
      *it = own.get();
    else
      list.push_back(own.get());
  }
  return list;
}

const TPropInfo* TClassInfo::FindProperty(const std::string& PropName) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    for (const auto& p : c->OwnProps)
      if (SameText(p->Name, PropName)) return p.get();
  return nullptr;
}

bool TClassInfo::InheritsFrom(const TClassInfo* Base) const {
  for (const TClassInfo* c = this; c; c = c->Parent)
    if (c == Base) return true;
  return false;
}

// ---------------------------------------------------------------- registry

const TClassInfo* FindClassInfo(const std::string& Name) {
  auto& r = Registry();
  auto it = r.Classes.find(Name);
  return it == r.Classes.end() ? nullptr : it->second.get();
}

const TClassInfo& GetClassInfo(const std::string& Name) {
  const TClassInfo* c = FindClassInfo(Name);
  if (!c) throw EClassNotFound("Class " + Name + " not found");
  return *c;
}

const TClassInfo* ClassInfoOfType(std::type_index Type) {
  auto& r = Registry();
  auto it = r.ByType.find(Type);
  return it == r.ByType.end() ? nullptr : it->second;
}

const TClassInfo* ClassInfoOf(const TPersistent* Instance) {
  if (!Instance) return nullptr;
  if (const TClassInfo* c = ClassInfoOfType(typeid(*Instance))) return c;
  const TClassInfo* byName = FindClassInfo(Instance->ClassName());
  if (byName && byName->IsInstance && byName->IsInstance(Instance)) return byName;
  // A class of its own that is not registered (an application's form) is treated as the
  // nearest registered class it derives from.
  const TClassInfo* best = nullptr;
  for (const auto& [name, info] : Registry().Classes)
    if (info->IsInstance && info->IsInstance(Instance) && Depth(info.get()) > Depth(best))
      best = info.get();
  return best;
}

std::vector<const TClassInfo*> RegisteredClasses() {
  std::vector<const TClassInfo*> list;
  for (const auto& [name, info] : Registry().Classes) list.push_back(info.get());
  return list;
}

const TEnumInfo* FindEnumInfo(const std::string& TypeName) {
  auto& r = Registry();
  auto it = r.EnumsByName.find(TypeName);
  return it == r.EnumsByName.end() ? nullptr : it->second;
}

namespace detail {

TClassInfo& RegisterClassEntry(const std::string& Name, const std::string& ParentName,
                               std::type_index Type) {
  auto& r = Registry();
  const TClassInfo* parent = nullptr;
  if (!ParentName.empty()) {
    parent = FindClassInfo(ParentName);
    if (!parent) throw EClassNotFound("Class " + ParentName + " not found");
  }
  auto& slot = r.Classes[Name];
  if (!slot) {
    slot = std::make_unique<TClassInfo>();
    slot->Name = Name;
  }
  slot->Parent = parent;
  slot->Type = Type;
  r.ByType[Type] = slot.get();
  return *slot;
}

const TEnumInfo& RegisterEnumEntry(std::type_index Type, const std::string& TypeName,
                                   std::vector<std::string> Names) {
  auto& r = Registry();
  auto& slot = r.Enums[Type];
  if (!slot) slot = std::make_unique<TEnumInfo>();
  slot->TypeName = TypeName;
  slot->Names = std::move(Names);
  r.EnumsByName[TypeName] = slot.get();
  return *slot;
}

const TEnumInfo* EnumInfoOfType(std::type_index Type) {
  auto& r = Registry();
  auto it = r.Enums.find(Type);
  return it == r.Enums.end() ? nullptr : it->second.get();
}

TPropInfo& AddProperty(TClassInfo& Info, std::unique_ptr<TPropInfo> Prop) {
  for (auto& own : Info.OwnProps)
    if (SameText(own->Name, Prop->Name)) {
      *own = std::move(*Prop);  // same address: descriptors handed out stay valid
      return *own;
    }
  Info.OwnProps.push_back(std::move(Prop));
  return *Info.OwnProps.back();
}

void WrongInstance(const TPersistent* Instance) {
  throw EPropertyError("Property accessed on an object of the wrong class (" +
                       (Instance ? Instance->ClassName() : std::string("nil")) + ")");
}

void UnregisteredEnum(const std::string& PropName) {
  throw EPropertyError("The enumeration of property " + PropName + " is not registered");
}

}  // namespace detail

// ---------------------------------------------------------------- values as text

std::string FloatToPropText(double Value) {
  if (std::isnan(Value)) return "NAN";
  if (std::isinf(Value)) return Value < 0 ? "-INF" : "INF";
  char buf[64];
  auto [p, ec] = std::to_chars(buf, buf + sizeof buf, Value);
  std::string s(buf, p);
  for (char& c : s)
    if (c == 'e') c = 'E';
  // "-0" would read back as the integer 0; the fraction keeps the sign.
  if (s == "-0") s = "-0.0";
  return s;
}

bool PropTextToFloat(const std::string& Text, double& Value) {
  std::string t = Blank(Text);
  if (t.empty()) return false;
  std::string u = UpperCase(t);
  if (u == "NAN") return Value = std::numeric_limits<double>::quiet_NaN(), true;
  if (u == "INF" || u == "+INF") return Value = std::numeric_limits<double>::infinity(), true;
  if (u == "-INF") return Value = -std::numeric_limits<double>::infinity(), true;
  if (t.find('$') != std::string::npos) {
    int64_t i;
    if (!ParseInt64(t, i)) return false;
    Value = static_cast<double>(i);
    return true;
  }
  const char* b = t.data();
  if (*b == '+') ++b;
  auto [p, ec] = std::from_chars(b, t.data() + t.size(), Value);
  // Out of range: the reader keeps what from_chars made of it only when it is a real value.
  return p == t.data() + t.size() && (ec == std::errc() || ec == std::errc::result_out_of_range) &&
         b != p;
}

std::string GetPropText(const TPersistent* Instance, const TPropInfo& Prop) {
  switch (Prop.Kind) {
    case pkInteger: {
      int64_t v = Prop.GetOrd(Instance);
      std::string ident;
      if (Prop.Idents && Prop.Idents->ToIdent(v, ident)) return ident;
      return std::to_string(v);
    }
    case pkFloat:
      return FloatToPropText(Prop.GetFloat(Instance));
    case pkBool:
      return Prop.GetOrd(Instance) ? "True" : "False";
    case pkString:
      return Prop.GetStr(Instance);
    case pkColor:
      return ColorToString(static_cast<TColor>(Prop.GetOrd(Instance)));
    case pkEnum: {
      int64_t v = Prop.GetOrd(Instance);
      if (v >= 0 && v < static_cast<int64_t>(Prop.Enum->Names.size()))
        return Prop.Enum->Names[static_cast<size_t>(v)];
      return std::to_string(v);
    }
    case pkSet:
      return SetToText(*Prop.Enum, static_cast<uint64_t>(Prop.GetOrd(Instance)));
    case pkComponent: {
      TComponent* c = Prop.GetComponent(Instance);
      return c ? c->GetName() : std::string();
    }
    case pkStrings: {
      std::string s;
      auto lines = Prop.GetLines(Instance);
      for (size_t i = 0; i < lines.size(); ++i) s += (i ? "\n" : "") + lines[i];
      return s;
    }
    case pkClass: {
      const TPersistent* o = Prop.GetObject(Instance);
      return o ? "(" + o->ClassName() + ")" : "(nil)";
    }
  }
  return {};
}

void SetPropText(TPersistent* Instance, const TPropInfo& Prop, const std::string& Text) {
  switch (Prop.Kind) {
    case pkInteger: {
      int64_t v;
      if (!(Prop.Idents && Prop.Idents->ToValue(Blank(Text), v)) && !ParseInt64(Text, v))
        BadValue(Prop, Text);
      if (v < Prop.MinValue || v > Prop.MaxValue)
        throw EPropertyError("Value " + std::to_string(v) + " out of range for " + Prop.Name +
                             " (" + std::to_string(Prop.MinValue) + ".." +
                             std::to_string(Prop.MaxValue) + ")");
      Prop.SetOrd(Instance, v);
      return;
    }
    case pkFloat: {
      double v;
      if (!PropTextToFloat(Text, v)) BadValue(Prop, Text);
      Prop.SetFloat(Instance, v);
      return;
    }
    case pkBool: {
      std::string t = Blank(Text);
      if (SameText(t, "True"))
        Prop.SetOrd(Instance, 1);
      else if (SameText(t, "False"))
        Prop.SetOrd(Instance, 0);
      else
        BadValue(Prop, Text);
      return;
    }
    case pkString:
      Prop.SetStr(Instance, Text);
      return;
    case pkColor: {
      TColor c;
      try {
        c = StringToColor(Blank(Text));
      } catch (const EConvertError&) {
        BadValue(Prop, Text);
      }
      Prop.SetOrd(Instance, c);
      return;
    }
    case pkEnum: {
      int k = Prop.Enum->IndexOf(Blank(Text));
      if (k < 0) BadValue(Prop, Text);
      Prop.SetOrd(Instance, k);
      return;
    }
    case pkSet: {
      uint64_t bits;
      if (!TextToSet(*Prop.Enum, Text, bits)) BadValue(Prop, Text);
      Prop.SetOrd(Instance, static_cast<int64_t>(bits));
      return;
    }
    case pkComponent: {
      std::string name = Blank(Text);
      if (name.empty() || SameText(name, "nil")) {
        Prop.SetComponent(Instance, nullptr);
        return;
      }
      auto* self = dynamic_cast<TComponent*>(Instance);
      TComponent* owner = self ? self->GetOwner() : nullptr;
      TComponent* target = owner ? owner->FindComponent(name) : nullptr;
      if (!target && owner && SameText(owner->GetName(), name)) target = owner;
      if (!target) BadValue(Prop, Text);
      Prop.SetComponent(Instance, target);
      return;
    }
    case pkStrings: {
      std::vector<std::string> lines;
      size_t start = 0;
      while (start < Text.size()) {
        size_t nl = Text.find('\n', start);
        std::string line =
            Text.substr(start, nl == std::string::npos ? std::string::npos : nl - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        if (nl == std::string::npos) break;
        start = nl + 1;
      }
      Prop.SetLines(Instance, lines);
      return;
    }
    case pkClass:
      throw EPropertyError("Property " + Prop.Name + " is an object; set its properties instead");
  }
}

TPropTarget ResolvePropPath(TPersistent* Instance, const std::string& Path) {
  TPersistent* obj = Instance;
  size_t start = 0;
  for (;;) {
    size_t dot = Path.find('.', start);
    std::string seg =
        Path.substr(start, dot == std::string::npos ? std::string::npos : dot - start);
    const TClassInfo* info = ClassInfoOf(obj);
    const TPropInfo* prop = info ? info->FindProperty(seg) : nullptr;
    if (!prop)
      throw EPropertyError("Property " + Path + " does not exist in " +
                           (info ? info->Name : (obj ? obj->ClassName() : std::string("nil"))));
    if (dot == std::string::npos) return {obj, prop};
    if (prop->Kind != pkClass || !(obj = prop->GetObject(obj)))
      throw EPropertyError("Property " + Path + " does not exist in " + info->Name);
    start = dot + 1;
  }
}

}  // namespace qel
