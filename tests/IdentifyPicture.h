// ImageMagick's identify as an independent judge of the picture files we
// write, for the tests of the designer's export and of kvftool.
#pragma once

#include <gtest/gtest.h>

#include <QProcess>
#include <QStandardPaths>
#include <QString>

// identify's view of a picture file: "format width height quality
// interlace colour-space channels".
inline QString Identify(const QString& Path) {
  const QString identify = QStandardPaths::findExecutable(QStringLiteral("identify"));
  if (identify.isEmpty()) {
    ADD_FAILURE() << "ImageMagick's identify is missing (scripts/setup.sh installs it)";
    return {};
  }
  QProcess process;
  process.start(identify, {QStringLiteral("-format"),
                           QStringLiteral("%m %w %h %Q %[interlace] %[colorspace] %[channels]"), Path});
  process.waitForFinished(60000);
  return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}
