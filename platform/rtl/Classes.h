#pragma once
// The root of the object model: TObject, TPersistent with Assign/AssignTo, the notify event,
// and the small set type used for the framework's set properties (font styles, shift states,
// grid options).
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <type_traits>

#include "platform/rtl/Exceptions.h"

namespace qel {

class TObject {
 public:
  TObject() = default;
  TObject(const TObject&) = delete;
  TObject& operator=(const TObject&) = delete;
  virtual ~TObject() = default;
  // The class name as the framework writes it ("TFont"); classes override it.
  virtual std::string ClassName() const { return "TObject"; }
};

using TNotifyEvent = std::function<void(TObject* Sender)>;

// Horizontal alignment of text in a box (classic ordinals: left 0, right 1, centre 2).
enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };

class TPersistent : public TObject {
 public:
  std::string ClassName() const override { return "TPersistent"; }
  // Copies Source into this object. The default asks Source to assign itself to this object
  // (AssignTo); when neither side knows the other it raises EConvertError "Cannot assign ...".
  virtual void Assign(const TPersistent* Source);

 protected:
  virtual void AssignTo(TPersistent* Dest) const;
  [[noreturn]] void AssignError(const TPersistent* Source) const;
};

// A set of enumeration values with ordinals below 64, as the framework's set types.
template <class E>
class TSet {
  static_assert(std::is_enum_v<E>);

 public:
  constexpr TSet() = default;
  constexpr TSet(std::initializer_list<E> items) {
    for (E e : items) FBits |= Bit(e);
  }
  static constexpr TSet FromBits(uint64_t bits) {
    TSet s;
    s.FBits = bits;
    return s;
  }
  constexpr uint64_t Bits() const { return FBits; }
  constexpr bool Contains(E e) const { return (FBits & Bit(e)) != 0; }
  constexpr bool Empty() const { return FBits == 0; }
  constexpr TSet& operator<<(E e) {
    FBits |= Bit(e);
    return *this;
  }
  constexpr TSet& operator>>(E e) {
    FBits &= ~Bit(e);
    return *this;
  }
  constexpr TSet operator+(TSet o) const { return FromBits(FBits | o.FBits); }
  constexpr TSet operator-(TSet o) const { return FromBits(FBits & ~o.FBits); }
  constexpr TSet operator*(TSet o) const { return FromBits(FBits & o.FBits); }
  constexpr bool operator==(const TSet&) const = default;

 private:
  static constexpr uint64_t Bit(E e) { return uint64_t{1} << static_cast<unsigned>(e); }
  uint64_t FBits = 0;
};

}  // namespace qel
