// Objects that can be assigned from one another and that describe their
// published properties, so that the property stream and the trace can read
// and write them by name.
#pragma once

#include <QString>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <vector>

#include "Color.h"

class TPersistent;
class TFiler;
class TReader;
class TWriter;
class TStream;

enum class TTypeKind { Integer, Int64, Enumeration, Boolean, Set, String, Class };

// Names of an enumeration's values in ordinal order; a set property uses the
// names of its element type, bit n standing for value n.
struct TEnumType {
  const char* TypeName;
  std::span<const char* const> Names;

  const char* NameOf(int64_t value) const;
  // Exact-case lookup; -1 when the name is not a value of the type.
  int ValueOf(const char* name) const;
};

// One published property: how to read, write and default it.
struct TPropInfo {
  const char* Name = nullptr;
  TTypeKind Kind = TTypeKind::Integer;
  const TEnumType* Enum = nullptr;                    // Enumeration, Set
  const TIdentMap* Idents = nullptr;                  // Integer written by name (colours, charsets)
  std::function<int64_t(const TPersistent&)> GetOrd;  // every kind but String and Class
  std::function<void(TPersistent&, int64_t)> SetOrd;
  std::function<QString(const TPersistent&)> GetStr;  // String
  std::function<void(TPersistent&, const QString&)> SetStr;
  std::function<TPersistent*(TPersistent&)> GetObject;  // Class: the owned inner object
  std::function<bool(const TPersistent&)> Stored;       // empty: always stored
  std::optional<int64_t> Default;                       // empty: no default, written whenever stored
  // String: an empty value is written too, because reading nothing leaves
  // the object's own non-empty default (a font's name).
  bool WriteEmpty = false;

  bool IsStored(const TPersistent& p) const { return !Stored || Stored(p); }
};

using TPropList = std::vector<TPropInfo>;

class TPersistent {
 public:
  virtual ~TPersistent() = default;

  // The class name as documents and messages know it ("TGraphLink").
  virtual const char* ClassName() const = 0;

  // Copy from Source; the base asks Source to AssignTo this and otherwise
  // raises "Cannot assign a %s to a %s".
  virtual void Assign(const TPersistent* Source);

  // Published properties in declaration order, ancestors' first.
  virtual const TPropList& Properties() const;

  // Extra streamed properties (binary blocks, references by ID...).
  virtual void DefineProperties(TFiler& Filer) {}

  // Case-insensitive lookup among Properties().
  const TPropInfo* FindProperty(const char* name) const;

 protected:
  virtual void AssignTo(TPersistent& Dest) const;
};

// Builds a class's property table on top of its ancestor's. Getters and
// setters are member functions of T.
template <class T>
class TPropTable {
 public:
  explicit TPropTable(const TPropList& inherited) : fList(inherited) {}

  template <class R, class A>
  TPropTable& Integer(const char* name, R (T::*get)() const, void (T::*set)(A), std::optional<int64_t> def,
                      const TIdentMap* idents = nullptr) {
    return Ordinal(name, TTypeKind::Integer, get, set, def).WithIdents(idents);
  }
  template <class R, class A>
  TPropTable& Int64(const char* name, R (T::*get)() const, void (T::*set)(A), std::optional<int64_t> def) {
    return Ordinal(name, TTypeKind::Int64, get, set, def);
  }
  template <class R, class A>
  TPropTable& Boolean(const char* name, R (T::*get)() const, void (T::*set)(A), std::optional<bool> def) {
    std::optional<int64_t> d;
    if (def) d = *def ? 1 : 0;
    return Ordinal(name, TTypeKind::Boolean, get, set, d);
  }
  template <class R, class A>
  TPropTable& Enumeration(const char* name, R (T::*get)() const, void (T::*set)(A), const TEnumType& type,
                          std::optional<int64_t> def) {
    Ordinal(name, TTypeKind::Enumeration, get, set, def);
    fList.back().Enum = &type;
    return *this;
  }
  template <class R, class A>
  TPropTable& Set(const char* name, R (T::*get)() const, void (T::*set)(A), const TEnumType& element,
                  std::optional<int64_t> def) {
    Ordinal(name, TTypeKind::Set, get, set, def);
    fList.back().Enum = &element;
    return *this;
  }
  template <class R, class A>
  TPropTable& String(const char* name, R (T::*get)() const, void (T::*set)(A), bool writeEmpty = false) {
    TPropInfo info;
    info.WriteEmpty = writeEmpty;
    info.Name = name;
    info.Kind = TTypeKind::String;
    info.GetStr = [get](const TPersistent& p) { return QString((static_cast<const T&>(p).*get)()); };
    info.SetStr = [set](TPersistent& p, const QString& v) { (static_cast<T&>(p).*set)(v); };
    fList.push_back(std::move(info));
    return *this;
  }
  // An owned inner object whose own properties are streamed with this
  // property's name as a prefix ("Pen.Color").
  template <class R>
  TPropTable& Object(const char* name, R* (T::*get)() const) {
    TPropInfo info;
    info.Name = name;
    info.Kind = TTypeKind::Class;
    info.GetObject = [get](TPersistent& p) -> TPersistent* { return (static_cast<T&>(p).*get)(); };
    fList.push_back(std::move(info));
    return *this;
  }
  // Makes the last property stored only while pred holds.
  TPropTable& StoredWhen(bool (T::*pred)() const) {
    fList.back().Stored = [pred](const TPersistent& p) { return (static_cast<const T&>(p).*pred)(); };
    return *this;
  }
  TPropTable& NeverStored() {
    fList.back().Stored = [](const TPersistent&) { return false; };
    return *this;
  }

  operator TPropList() const { return fList; }

 private:
  template <class R, class A>
  TPropTable& Ordinal(const char* name, TTypeKind kind, R (T::*get)() const, void (T::*set)(A),
                      std::optional<int64_t> def) {
    TPropInfo info;
    info.Name = name;
    info.Kind = kind;
    info.Default = def;
    info.GetOrd = [get](const TPersistent& p) { return static_cast<int64_t>((static_cast<const T&>(p).*get)()); };
    if (set) {
      info.SetOrd = [set](TPersistent& p, int64_t v) { (static_cast<T&>(p).*set)(static_cast<std::decay_t<A>>(v)); };
    }
    fList.push_back(std::move(info));
    return *this;
  }
  TPropTable& WithIdents(const TIdentMap* idents) {
    fList.back().Idents = idents;
    return *this;
  }

  TPropList fList;
};

// Reader and writer side of a defined property.
class TFiler {
 public:
  virtual ~TFiler() = default;

  // A property written and read through the filer's typed value calls.
  virtual void DefineProperty(const char* Name, const std::function<void(TReader&)>& ReadData,
                              const std::function<void(TWriter&)>& WriteData, bool HasData) = 0;
  // A property carried as one binary block (vaBinary).
  virtual void DefineBinaryProperty(const char* Name, const std::function<void(TStream&)>& ReadData,
                                    const std::function<void(TStream&)>& WriteData, bool HasData) = 0;
};
