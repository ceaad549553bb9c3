#include "DocumentErrors.h"

#include <QCoreApplication>

#include "GraphErrors.h"

namespace {

QString Tr(const char* Text) { return QCoreApplication::translate("DocumentErrors", Text); }

QString TaskFailed(TDocumentTask Task) {
  switch (Task) {
    case TDocumentTask::Open: return Tr(QT_TRANSLATE_NOOP("DocumentErrors", "无法打开户型图"));
    case TDocumentTask::Save: return Tr(QT_TRANSLATE_NOOP("DocumentErrors", "无法保存户型图"));
    case TDocumentTask::Export: return Tr(QT_TRANSLATE_NOOP("DocumentErrors", "无法导出图片"));
  }
  return {};
}

// Why, in the user's words; empty when the class says nothing more than
// the task does.
QString Reason(const Exception& Error) {
  // Its message says it all.
  if (dynamic_cast<const EPictureTooLarge*>(&Error)) return {};
  if (dynamic_cast<const EFOpenError*>(&Error)) return Tr(QT_TRANSLATE_NOOP("DocumentErrors", "文件无法读取"));
  if (dynamic_cast<const EFCreateError*>(&Error)) return Tr(QT_TRANSLATE_NOOP("DocumentErrors", "文件无法写入"));
  if (dynamic_cast<const EWriteError*>(&Error)) return Tr(QT_TRANSLATE_NOOP("DocumentErrors", "写入失败"));
  if (dynamic_cast<const EGraphStreamError*>(&Error) || dynamic_cast<const EReadError*>(&Error) ||
      dynamic_cast<const EInvalidGraphic*>(&Error) || dynamic_cast<const EConvertError*>(&Error))
    return Tr(QT_TRANSLATE_NOOP("DocumentErrors", "文件已损坏"));
  return {};
}

}  // namespace

QString DocumentErrorMessage(TDocumentTask Task, const Exception& Error) {
  QString text = TaskFailed(Task);
  const QString reason = Reason(Error);
  if (!reason.isEmpty()) text += Tr(QT_TRANSLATE_NOOP("DocumentErrors", "：")) + reason;
  if (!Error.Message().isEmpty()) text += QStringLiteral(" (") + Error.Message() + QLatin1Char(')');
  return text;
}
