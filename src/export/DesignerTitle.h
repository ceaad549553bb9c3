// The designer's name, shown in window captions and printed in page footers
// when a document has no name of its own.
#pragma once

#include <QString>

inline const QString DesignerTitle = QStringLiteral("户型图设计器");
