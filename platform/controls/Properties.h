#pragma once
// The class registry: for every streamable class its name, base class, factory and published
// properties (name, kind, getter, setter, default). Form files, qel-render --set, the gallery's
// property panel and the tests that walk every property all go through it.
//
// Registration is explicit: each layer has a Register...Classes() function that its users call
// once (calling it again changes nothing). Static initialisers are avoided on purpose: the
// linker drops unreferenced objects of static libraries, and with them their registrations.
//
// Adding a class is a few lines:
//
//   RegisterClass<TMeter>("TMeter", "TGraphicControl")
//       .Default("Width", 297)
//       .Enum("MeterLayout", &TMeter::GetMeterLayout, &TMeter::SetMeterLayout, mlCirc90)
//       .Prop("Value", &TMeter::GetValue, &TMeter::SetValue, 0.0)
//       .Color("ColorBakG", &TMeter::GetColorBakG, &TMeter::SetColorBakG, clWhite)
//       .Object("NeedleLayout", &TMeter::GetNeedleLayout);
//
// (meter/meter_register.cpp). The default given is the value the constructor sets: a property
// equal to it is not written, so a wrong default silently loses that value in form files.
//
// The kind of a property follows from its getter's type: bool, integers, floating point,
// std::string, registered enumerations (RegisterEnum) and TSet of them. Colours are 32-bit
// integers too, so they are declared with Color(). Nested persistent objects (Font, Pen) are
// reached through their getter and written as dotted paths (Font.Size).
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <string>
#include <type_traits>
#include <typeindex>
#include <vector>

#include "platform/controls/Controls.h"
#include "platform/rtl/Classes.h"

namespace qel {

class TStrings;

enum TPropKind : uint8_t {
  pkInteger,    // any integer type; may carry identifiers (crHandPoint)
  pkFloat,      // double
  pkBool,       // True / False
  pkString,     // UTF-8 text
  pkColor,      // TColor: clRed or $00BBGGRR
  pkEnum,       // a registered enumeration, written by value name
  pkSet,        // TSet of a registered enumeration: [fsBold, fsItalic]
  pkClass,      // a nested persistent object owned by the instance (Font)
  pkComponent,  // a reference to another component of the same root, by name
  pkStrings     // a TStrings: a list of lines
};

// The value names of an enumeration, in ordinal order.
struct TEnumInfo {
  std::string TypeName;
  std::vector<std::string> Names;
  // Ordinal of Name (case-insensitive), -1 when it is not one of the names.
  int IndexOf(const std::string& Name) const;
};

// Names for particular values of an integer property (Cursor = crHandPoint).
struct TIdentMap {
  std::vector<std::pair<std::string, int64_t>> Entries;
  bool ToIdent(int64_t Value, std::string& Ident) const;
  bool ToValue(const std::string& Ident, int64_t& Value) const;  // case-insensitive
};

class TClassInfo;

// One published property. The accessors are type-erased: they take the instance as a
// TPersistent and check its class, raising EPropertyError on a mismatch.
class TPropInfo {
 public:
  std::string Name;
  TPropKind Kind = pkInteger;
  const TEnumInfo* Enum = nullptr;            // pkEnum and pkSet (the element type)
  const TIdentMap* Idents = nullptr;          // pkInteger with names for some values
  std::type_index ObjectType = typeid(void);  // pkClass: static type of the nested object
  int64_t MinValue = std::numeric_limits<int64_t>::min();  // pkInteger: the range of the type
  int64_t MaxValue = std::numeric_limits<int64_t>::max();

  // The default: a property equal to it is not written. Without one it is always written.
  bool HasDefault = false;
  int64_t OrdDefault = 0;  // integers, bools, colours, enum ordinals, set bits
  double FloatDefault = 0;
  std::string StrDefault;

  std::function<int64_t(const TPersistent*)> GetOrd;
  std::function<void(TPersistent*, int64_t)> SetOrd;
  std::function<double(const TPersistent*)> GetFloat;
  std::function<void(TPersistent*, double)> SetFloat;
  std::function<std::string(const TPersistent*)> GetStr;
  std::function<void(TPersistent*, const std::string&)> SetStr;
  std::function<TPersistent*(const TPersistent*)> GetObject;  // pkClass
  std::function<TComponent*(const TPersistent*)> GetComponent;
  std::function<void(TPersistent*, TComponent*)> SetComponent;  // EPropertyError on a wrong class
  std::function<std::vector<std::string>(const TPersistent*)> GetLines;  // pkStrings
  std::function<void(TPersistent*, const std::vector<std::string>&)> SetLines;
  // Whether the value is written at all (Color is not while ParentColor is set). Unset: always.
  std::function<bool(const TPersistent*)> Stored;

  bool IsStored(const TPersistent* Instance) const { return !Stored || Stored(Instance); }
  // True when the value equals the default (never for a property without one).
  bool IsDefault(const TPersistent* Instance) const;
  // The registered class of a pkClass property's object (nullptr when not registered).
  const TClassInfo* ObjectClass() const;
};

class TClassInfo {
 public:
  std::string Name;
  const TClassInfo* Parent = nullptr;
  std::type_index Type = typeid(void);
  // Creates an instance with an owner; unset for classes that are not components (TFont).
  std::function<TComponent*(TComponent* Owner)> Create;
  // Whether Instance is of this class (or derived from it).
  std::function<bool(const TPersistent*)> IsInstance;
  // Properties declared by this class, in registration order.
  std::vector<std::unique_ptr<TPropInfo>> OwnProps;

  // Every property, base classes first; a property declared again by a derived class (to give
  // it another default) replaces the inherited one in its place.
  std::vector<const TPropInfo*> Properties() const;
  // The property of that name (case-insensitive), or nullptr.
  const TPropInfo* FindProperty(const std::string& PropName) const;
  bool InheritsFrom(const TClassInfo* Base) const;
};

// ---------------------------------------------------------------- registry lookups

// The class registered under Name (case-insensitive), or nullptr.
const TClassInfo* FindClassInfo(const std::string& Name);
// As FindClassInfo, raising EClassNotFound "Class <Name> not found".
const TClassInfo& GetClassInfo(const std::string& Name);
// The class info of Instance: by its ClassName(), or else the nearest registered class it is an
// instance of; nullptr when none fits.
const TClassInfo* ClassInfoOf(const TPersistent* Instance);
const TClassInfo* ClassInfoOfType(std::type_index Type);
// Every registered class, ordered by name.
std::vector<const TClassInfo*> RegisteredClasses();
const TEnumInfo* FindEnumInfo(const std::string& TypeName);

// Registers the framework's own classes (TComponent, TControl, TWinControl, TGraphicControl,
// TCustomControl, TForm, TFont, TPen, TBrush) and enumerations. Idempotent.
void RegisterPlatformClasses();

// The identifiers of cursors (crDefault ... crHandPoint) for Cursor properties.
const TIdentMap& CursorIdents();

// ---------------------------------------------------------------- property values as text

// A property's value as one editable text: integers and floats as numbers, booleans True/False,
// strings as they are, colours clRed or $00BBGGRR, enumerations by name, sets [a,b], component
// references by name (empty for none), string lists as their lines joined with line breaks.
std::string GetPropText(const TPersistent* Instance, const TPropInfo& Prop);
// Parses Text as GetPropText writes it and stores it. Raises EPropertyError "Invalid property
// value for <Name>: <text>" (or the setter's own error) and leaves the property unchanged when
// the text does not fit. Component references are looked up among the owner's components.
void SetPropText(TPersistent* Instance, const TPropInfo& Prop, const std::string& Text);
// Follows a dotted path ("Font.Size") from Instance: the object that holds the last segment and
// its property. Raises EPropertyError "Property <path> does not exist in <class>" when a segment
// is not a published property.
struct TPropTarget {
  TPersistent* Object = nullptr;
  const TPropInfo* Prop = nullptr;
};
TPropTarget ResolvePropPath(TPersistent* Instance, const std::string& Path);

// The shortest text that reads back as the same double ("12.5", "1E-7", "INF", "-INF",
// "NAN"), and its reader (C locale; also accepts integers and "$" hexadecimal).
std::string FloatToPropText(double Value);
bool PropTextToFloat(const std::string& Text, double& Value);

// ---------------------------------------------------------------- registration

namespace detail {
// Creates or returns the class entry (an existing entry keeps its properties, so registering
// again replaces descriptors of the same name instead of adding duplicates).
TClassInfo& RegisterClassEntry(const std::string& Name, const std::string& ParentName,
                               std::type_index Type);
const TEnumInfo& RegisterEnumEntry(std::type_index Type, const std::string& TypeName,
                                   std::vector<std::string> Names);
const TEnumInfo* EnumInfoOfType(std::type_index Type);
// Adds Prop to Info, replacing an own property of the same name; returns the stored one.
TPropInfo& AddProperty(TClassInfo& Info, std::unique_ptr<TPropInfo> Prop);
[[noreturn]] void WrongInstance(const TPersistent* Instance);
[[noreturn]] void UnregisteredEnum(const std::string& PropName);

template <class T>
struct IsTSet : std::false_type {};
template <class E>
struct IsTSet<TSet<E>> : std::true_type {
  using Element = E;
};
}  // namespace detail

// Registers the value names of an enumeration (in ordinal order). Idempotent.
template <class E>
const TEnumInfo& RegisterEnum(const std::string& TypeName, std::vector<std::string> Names) {
  static_assert(std::is_enum_v<E>);
  return detail::RegisterEnumEntry(typeid(E), TypeName, std::move(Names));
}
template <class E>
const TEnumInfo* EnumInfoOf() {
  return detail::EnumInfoOfType(typeid(E));
}

// The fluent registration of one class's properties. Getters are member functions (or callables
// taking const T*), setters member functions (or callables taking T* and the value).
template <class T>
class TClassBuilder {
 public:
  explicit TClassBuilder(TClassInfo& Info) : FInfo(Info) {}
  TClassInfo& Info() const { return FInfo; }

  // A property whose kind follows from the getter's type, with a default.
  template <class G, class S, class D>
  TClassBuilder& Prop(const std::string& Name, G Getter, S Setter, D Default) {
    TPropInfo& p = MakeValueProp(Name, Getter, Setter);
    using V = Value<G>;
    SetDefault<V>(p, static_cast<V>(Default));
    return *this;
  }
  // A property without a default: always written (Left, Top, Width, Height).
  template <class G, class S>
  TClassBuilder& PropNoDefault(const std::string& Name, G Getter, S Setter) {
    MakeValueProp(Name, Getter, Setter);
    return *this;
  }
  // Enumerations and sets read the same through Prop; these names only make the intent visible.
  template <class G, class S, class D>
  TClassBuilder& Enum(const std::string& Name, G Getter, S Setter, D Default) {
    static_assert(std::is_enum_v<Value<G>>);
    return Prop(Name, Getter, Setter, Default);
  }
  template <class G, class S, class D>
  TClassBuilder& Set(const std::string& Name, G Getter, S Setter, D Default) {
    static_assert(detail::IsTSet<Value<G>>::value);
    return Prop(Name, Getter, Setter, Default);
  }
  template <class G, class S>
  TClassBuilder& Color(const std::string& Name, G Getter, S Setter, TColor Default) {
    static_assert(std::is_same_v<Value<G>, TColor>);
    TPropInfo& p = MakeValueProp(Name, Getter, Setter);
    p.Kind = pkColor;
    p.HasDefault = true;
    p.OrdDefault = Default;
    return *this;
  }
  template <class G, class S>
  TClassBuilder& ColorNoDefault(const std::string& Name, G Getter, S Setter) {
    MakeValueProp(Name, Getter, Setter).Kind = pkColor;
    return *this;
  }
  // A nested persistent object the instance owns, reached through Getter (returning a pointer).
  template <class G>
  TClassBuilder& Object(const std::string& Name, G Getter) {
    using P = std::remove_cvref_t<std::invoke_result_t<G, const T*>>;
    static_assert(std::is_pointer_v<P>);
    using O = std::remove_cv_t<std::remove_pointer_t<P>>;
    auto p = NewProp(Name, pkClass);
    p->ObjectType = typeid(O);
    p->GetObject = [Getter](const TPersistent* i) -> TPersistent* {
      return const_cast<O*>(static_cast<const O*>(std::invoke(Getter, Self(i))));
    };
    Add(std::move(p));
    return *this;
  }
  // A reference to another component; the setter receives nullptr or a component of its
  // parameter's class.
  template <class C, class G, class S>
  TClassBuilder& Component(const std::string& Name, G Getter, S Setter) {
    auto p = NewProp(Name, pkComponent);
    std::string n = Name;
    p->GetComponent = [Getter](const TPersistent* i) -> TComponent* {
      return const_cast<TComponent*>(static_cast<const TComponent*>(std::invoke(Getter, Self(i))));
    };
    p->SetComponent = [Setter, n](TPersistent* i, TComponent* c) {
      C* typed = nullptr;
      if (c && !(typed = dynamic_cast<C*>(c)))
        throw EPropertyError("Invalid property value for " + n + ": " + c->GetName());
      std::invoke(Setter, MutSelf(i), typed);
    };
    p->HasDefault = true;  // nil
    Add(std::move(p));
    return *this;
  }
  // A list of lines held in a TStrings the instance owns (Getter returns TStrings*).
  template <class G>
  TClassBuilder& Strings(const std::string& Name, G Getter) {
    auto p = NewProp(Name, pkStrings);
    p->GetLines = [Getter](const TPersistent* i) {
      std::vector<std::string> lines;
      auto* s = std::invoke(Getter, Self(i));
      for (int k = 0; k < s->Count(); ++k) lines.push_back(s->Get(k));
      return lines;
    };
    p->SetLines = [Getter](TPersistent* i, const std::vector<std::string>& lines) {
      auto* s = std::invoke(Getter, MutSelf(i));
      // One change for the whole list: a list that keeps its lines elsewhere (a memo's text)
      // then takes them at once.
      s->BeginUpdate();
      try {
        s->Clear();
        for (const auto& l : lines) s->Add(l);
      } catch (...) {
        s->EndUpdate();
        throw;
      }
      s->EndUpdate();
    };
    p->HasDefault = true;  // empty
    Add(std::move(p));
    return *this;
  }

  // Modifiers of the property registered last.
  TClassBuilder& Stored(std::function<bool(const T*)> Pred) {
    FLast->Stored = [Pred](const TPersistent* i) { return Pred(dynamic_cast<const T*>(i)); };
    return *this;
  }
  TClassBuilder& Idents(const TIdentMap& Map) {
    FLast->Idents = &Map;
    return *this;
  }
  // Narrows the values a form file may give an integer property; others are refused with the
  // line.
  TClassBuilder& Range(int64_t Min, int64_t Max) {
    FLast->MinValue = Min;
    FLast->MaxValue = Max;
    return *this;
  }
  // Declares an inherited property again in this class, so that the modifiers above (and
  // Default, NoDefault) change it here without touching the base class.
  TClassBuilder& Inherit(const std::string& Name) {
    const TPropInfo* base = FInfo.Parent ? FInfo.Parent->FindProperty(Name) : nullptr;
    if (!base) throw EPropertyError("Property " + Name + " does not exist in " + FInfo.Name);
    Add(std::make_unique<TPropInfo>(*base));
    return *this;
  }
  // Gives an inherited property another default in this class (a form's Color is clBtnFace).
  template <class D>
  TClassBuilder& Default(const std::string& Name, D NewDefault) {
    Inherit(Name);
    TPropInfo* p = FLast;
    p->HasDefault = true;
    if constexpr (std::is_floating_point_v<D>)
      p->FloatDefault = NewDefault;
    else if constexpr (std::is_convertible_v<D, std::string>)
      p->StrDefault = NewDefault;
    else if constexpr (detail::IsTSet<D>::value)
      p->OrdDefault = static_cast<int64_t>(NewDefault.Bits());
    else
      p->OrdDefault = static_cast<int64_t>(NewDefault);
    return *this;
  }
  // Makes the inherited property always written (no default) in this class.
  TClassBuilder& NoDefault(const std::string& Name) {
    Inherit(Name);
    FLast->HasDefault = false;
    return *this;
  }

 private:
  template <class G>
  using Value = std::remove_cvref_t<std::invoke_result_t<G, const T*>>;

  static const T* Self(const TPersistent* i) {
    auto* t = dynamic_cast<const T*>(i);
    if (!t) detail::WrongInstance(i);
    return t;
  }
  static T* MutSelf(TPersistent* i) {
    auto* t = dynamic_cast<T*>(i);
    if (!t) detail::WrongInstance(i);
    return t;
  }

  std::unique_ptr<TPropInfo> NewProp(const std::string& Name, TPropKind Kind) {
    auto p = std::make_unique<TPropInfo>();
    p->Name = Name;
    p->Kind = Kind;
    return p;
  }
  TPropInfo& Add(std::unique_ptr<TPropInfo> p) {
    FLast = &detail::AddProperty(FInfo, std::move(p));
    return *FLast;
  }

  template <class V>
  static void SetDefault(TPropInfo& p, const V& d) {
    p.HasDefault = true;
    if constexpr (std::is_same_v<V, std::string>)
      p.StrDefault = d;
    else if constexpr (std::is_floating_point_v<V>)
      p.FloatDefault = static_cast<double>(d);
    else if constexpr (detail::IsTSet<V>::value)
      p.OrdDefault = static_cast<int64_t>(d.Bits());
    else
      p.OrdDefault = static_cast<int64_t>(d);
  }

  template <class G, class S>
  TPropInfo& MakeValueProp(const std::string& Name, G Getter, S Setter) {
    using V = Value<G>;
    auto get = [Getter](const TPersistent* i) -> V { return std::invoke(Getter, Self(i)); };
    auto set = [Setter](TPersistent* i, const V& v) { std::invoke(Setter, MutSelf(i), v); };
    std::unique_ptr<TPropInfo> p;
    if constexpr (std::is_same_v<V, bool>) {
      p = NewProp(Name, pkBool);
      p->GetOrd = [get](const TPersistent* i) -> int64_t { return get(i) ? 1 : 0; };
      p->SetOrd = [set](TPersistent* i, int64_t v) { set(i, v != 0); };
    } else if constexpr (std::is_same_v<V, std::string>) {
      p = NewProp(Name, pkString);
      p->GetStr = get;
      p->SetStr = set;
    } else if constexpr (std::is_floating_point_v<V>) {
      p = NewProp(Name, pkFloat);
      p->GetFloat = [get](const TPersistent* i) { return static_cast<double>(get(i)); };
      p->SetFloat = [set](TPersistent* i, double v) { set(i, static_cast<V>(v)); };
    } else if constexpr (std::is_enum_v<V>) {
      p = NewProp(Name, pkEnum);
      p->Enum = EnumInfoOf<V>();
      if (!p->Enum) detail::UnregisteredEnum(Name);
      p->GetOrd = [get](const TPersistent* i) { return static_cast<int64_t>(get(i)); };
      p->SetOrd = [set](TPersistent* i, int64_t v) { set(i, static_cast<V>(v)); };
    } else if constexpr (detail::IsTSet<V>::value) {
      p = NewProp(Name, pkSet);
      p->Enum = EnumInfoOf<typename detail::IsTSet<V>::Element>();
      if (!p->Enum) detail::UnregisteredEnum(Name);
      p->GetOrd = [get](const TPersistent* i) { return static_cast<int64_t>(get(i).Bits()); };
      p->SetOrd = [set](TPersistent* i, int64_t v) {
        set(i, V::FromBits(static_cast<uint64_t>(v)));
      };
    } else {
      static_assert(std::is_integral_v<V> && sizeof(V) <= 8, "unsupported property type");
      p = NewProp(Name, pkInteger);
      p->MinValue = static_cast<int64_t>(std::numeric_limits<V>::min());
      p->MaxValue = sizeof(V) == 8 && std::is_unsigned_v<V>
                        ? std::numeric_limits<int64_t>::max()
                        : static_cast<int64_t>(std::numeric_limits<V>::max());
      p->GetOrd = [get](const TPersistent* i) { return static_cast<int64_t>(get(i)); };
      p->SetOrd = [set](TPersistent* i, int64_t v) { set(i, static_cast<V>(v)); };
    }
    return Add(std::move(p));
  }

  TClassInfo& FInfo;
  TPropInfo* FLast = nullptr;
};

// Registers class T under Name, derived from the registered class ParentName ("" for a root).
// T gets a factory when it can be created with an owner. Returns the builder for its
// properties.
template <class T>
TClassBuilder<T> RegisterClass(const std::string& Name, const std::string& ParentName) {
  TClassInfo& info = detail::RegisterClassEntry(Name, ParentName, typeid(T));
  if constexpr (std::is_constructible_v<T, TComponent*> && std::is_base_of_v<TComponent, T>)
    info.Create = [](TComponent* Owner) -> TComponent* { return new T(Owner); };
  info.IsInstance = [](const TPersistent* i) { return dynamic_cast<const T*>(i) != nullptr; };
  return TClassBuilder<T>(info);
}

}  // namespace qel
