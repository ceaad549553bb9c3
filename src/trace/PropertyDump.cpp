#include "PropertyDump.h"

#include <QStringList>

#include "TraceTexts.h"

namespace {

constexpr int kMaxProperties = 16379;
constexpr int kMaxDepth = 16;

// Nested objects are only read; the property table hands them out through
// a non-const accessor.
TPersistent* InnerObject(const TPropInfo& Prop, const TPersistent& Object) {
  if (!Prop.GetObject) return nullptr;
  return Prop.GetObject(const_cast<TPersistent&>(Object));
}

QString SetTypeName(const TPropInfo& Prop) {
  return Prop.Enum ? QString::fromLatin1(Prop.Enum->TypeName) + QLatin1Char('s') : QStringLiteral("TSet");
}

QString EnumName(const TPropInfo& Prop, int64_t Value) {
  const char* name = Prop.Enum ? Prop.Enum->NameOf(Value) : "";
  return *name ? QString::fromLatin1(name) : QString::number(Value);
}

class TPropertyDumper {
 public:
  explicit TPropertyDumper(QStringList& Lines) : fLines(Lines) {}

  void Dump(const TPersistent& Object, int Level, const QString& Prefix) {
    int count = 0;
    for (const TPropInfo& prop : Object.Properties()) {
      if (++count > kMaxProperties) return;
      Line(Object, prop, Level, Prefix + QString::fromLatin1(prop.Name));
    }
  }

 private:
  void Line(const TPersistent& Object, const TPropInfo& Prop, int Level, const QString& Name) {
    const QString indent(2 * Level, QLatin1Char(' '));
    switch (Prop.Kind) {
      case TTypeKind::Integer:
      case TTypeKind::Int64:
        fLines << indent + QStringLiteral("  ") + Name + QStringLiteral(" = ") + QString::number(Prop.GetOrd(Object));
        return;
      case TTypeKind::Boolean:
        fLines << indent + QStringLiteral("  ") + Name +
                      (Prop.GetOrd(Object) ? QStringLiteral(" = True") : QStringLiteral(" = False"));
        return;
      case TTypeKind::Enumeration:
        fLines << indent + QStringLiteral("  ") + Name + QStringLiteral(" = ") + EnumName(Prop, Prop.GetOrd(Object));
        return;
      case TTypeKind::String:
        fLines << indent + QStringLiteral("  ") + Name + QStringLiteral(" = '") + Prop.GetStr(Object) +
                      QLatin1Char('\'');
        return;
      case TTypeKind::Set: SetLines(Object, Prop, indent, Name); return;
      case TTypeKind::Class: ObjectLines(Object, Prop, Level, Name); return;
    }
  }

  void SetLines(const TPersistent& Object, const TPropInfo& Prop, const QString& Indent, const QString& Name) {
    const int64_t value = Prop.GetOrd(Object);
    fLines << Indent + QStringLiteral("+ ") + Name + QStringLiteral(" = [") + SetTypeName(Prop) + QLatin1Char(']');
    if (!Prop.Enum) return;
    for (size_t i = 0; i < Prop.Enum->Names.size() && i < 64; ++i) {
      const bool member = (static_cast<uint64_t>(value) >> i) & 1u;
      fLines << Indent + QStringLiteral("    ") + QString::fromLatin1(Prop.Enum->Names[i]) +
                    (member ? QStringLiteral(" = True") : QStringLiteral(" = False"));
    }
  }

  void ObjectLines(const TPersistent& Object, const TPropInfo& Prop, int Level, const QString& Name) {
    const QString indent(2 * Level, QLatin1Char(' '));
    const TPersistent* inner = InnerObject(Prop, Object);
    if (!inner) {
      fLines << indent + QStringLiteral("  ") + Name + QStringLiteral(" = <TPersistent> (not assigned)");
      return;
    }
    fLines << indent + QStringLiteral("* ") + Name + QStringLiteral(" = <") + QString::fromLatin1(inner->ClassName()) +
                  QLatin1Char('>');
    if (Level + 1 >= kMaxDepth) return;
    try {
      Dump(*inner, Level + 1, Name + QLatin1Char('.'));
    } catch (...) {
      fLines << QString(2 * (Level + 1), QLatin1Char(' ')) + QStringLiteral("*** Exception triggered ***");
    }
  }

  QStringList& fLines;
};

QString Joined(const QStringList& Lines) { return Lines.join(QStringLiteral("\r\n")); }

void DumpInto(const TPersistent& Object, int Level, QStringList& Lines) {
  try {
    TPropertyDumper(Lines).Dump(Object, Level, QString());
  } catch (...) {
    Lines << QStringLiteral("*** Exception ***");
  }
}

}  // namespace

QString PropertyDump(const TPersistent& Object) {
  QStringList lines;
  DumpInto(Object, 0, lines);
  return Joined(lines);
}

QString ObjectText(const TPersistent* Object, bool WithDollar) {
  QString address = PointerHex(Object);
  if (!WithDollar) address.remove(0, 1);
  QString text = QStringLiteral("Object: ") + address + QStringLiteral("\r\n");
  if (Object) text += PropertyDump(*Object);
  return text;
}

QString CollectionText(const void* Address, const char* ClassName, std::span<const TPersistent* const> Items) {
  QStringList lines;
  lines << QStringLiteral("Collection: ") + PointerHex(Address) + QLatin1Char(' ') + QString::fromLatin1(ClassName);
  lines << QStringLiteral("  Count = ") + QString::number(Items.size());
  for (size_t i = 0; i < Items.size(); ++i) {
    lines << QString();
    const TPersistent* item = Items[i];
    lines << QStringLiteral("  object: ") + QString::fromLatin1(item ? item->ClassName() : "nil");
    lines << QStringLiteral("    Index = ") + QString::number(i);
    if (item) DumpInto(*item, 1, lines);
    lines << QStringLiteral("  end");
  }
  lines << QStringLiteral("end");
  return Joined(lines);
}

namespace {

QString Quoted(const QString& Text) {
  QString doubled = Text;
  doubled.replace(QLatin1Char('\''), QStringLiteral("''"));
  return QLatin1Char('\'') + doubled + QLatin1Char('\'');
}

QString SetText(const TPropInfo& Prop, int64_t Value) {
  QStringList members;
  for (size_t i = 0; Prop.Enum && i < Prop.Enum->Names.size() && i < 64; ++i)
    if ((static_cast<uint64_t>(Value) >> i) & 1u) members << QString::fromLatin1(Prop.Enum->Names[i]);
  return QLatin1Char('[') + members.join(QStringLiteral(", ")) + QLatin1Char(']');
}

QString OrdinalText(const TPropInfo& Prop, int64_t Value) {
  switch (Prop.Kind) {
    case TTypeKind::Boolean: return Value ? QStringLiteral("True") : QStringLiteral("False");
    case TTypeKind::Enumeration: return EnumName(Prop, Value);
    case TTypeKind::Set: return SetText(Prop, Value);
    default: break;
  }
  if (Prop.Idents)
    if (const char* name = Prop.Idents->ToIdent(static_cast<int32_t>(Value))) return QString::fromLatin1(name);
  return QString::number(Value);
}

void StreamLines(const TPersistent& Object, const QString& Prefix, int Depth, QStringList& Lines) {
  for (const TPropInfo& prop : Object.Properties()) {
    if (!prop.IsStored(Object)) continue;
    const QString name = Prefix + QString::fromLatin1(prop.Name);
    if (prop.Kind == TTypeKind::Class) {
      const TPersistent* inner = InnerObject(prop, Object);
      if (inner && Depth + 1 < kMaxDepth) StreamLines(*inner, name + QLatin1Char('.'), Depth + 1, Lines);
      continue;
    }
    if (prop.Kind == TTypeKind::String) {
      Lines << QStringLiteral("  ") + name + QStringLiteral(" = ") + Quoted(prop.GetStr(Object));
      continue;
    }
    const int64_t value = prop.GetOrd(Object);
    if (prop.Default && *prop.Default == value) continue;
    Lines << QStringLiteral("  ") + name + QStringLiteral(" = ") + OrdinalText(prop, value);
  }
}

}  // namespace

QString ComponentText(const TPersistent* Component) {
  if (!Component) return QStringLiteral("Component is nil.");
  QStringList lines;
  lines << QStringLiteral("object ") + QString::fromLatin1(Component->ClassName());
  try {
    StreamLines(*Component, QString(), 0, lines);
  } catch (...) {
    lines << QStringLiteral("*** Exception ***");
  }
  lines << QStringLiteral("end");
  return Joined(lines);
}
