#include "ErrorReport.h"

#include <QMessageBox>

#include "Startup.h"

void ShowErrorReport(QWidget* Parent, const QString& Message) {
  QMessageBox box(QMessageBox::Critical, ApplicationTitle, Message, QMessageBox::Ok, Parent);
  box.setObjectName(QStringLiteral("ErrorReport"));
  box.exec();
}
