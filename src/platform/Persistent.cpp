#include "Persistent.h"

#include <strings.h>
#include <cstring>

#include "Exceptions.h"

const char* TEnumType::NameOf(int64_t value) const {
  if (value < 0 || value >= static_cast<int64_t>(Names.size())) return "";
  return Names[static_cast<size_t>(value)];
}

int TEnumType::ValueOf(const char* name) const {
  for (size_t i = 0; i < Names.size(); ++i)
    if (std::strcmp(Names[i], name) == 0) return static_cast<int>(i);
  return -1;
}

void TPersistent::Assign(const TPersistent* Source) {
  if (Source) {
    Source->AssignTo(*this);
    return;
  }
  throw EConvertError(QStringLiteral("Cannot assign a nil to a %1").arg(QString::fromLatin1(ClassName())));
}

void TPersistent::AssignTo(TPersistent& Dest) const {
  throw EConvertError(QStringLiteral("Cannot assign a %1 to a %2")
                          .arg(QString::fromLatin1(ClassName()), QString::fromLatin1(Dest.ClassName())));
}

const TPropList& TPersistent::Properties() const {
  static const TPropList none;
  return none;
}

const TPropInfo* TPersistent::FindProperty(const char* name) const {
  for (const auto& p : Properties())
    if (strcasecmp(p.Name, name) == 0) return &p;
  return nullptr;
}
