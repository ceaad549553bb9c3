// Whole files read and written by the tests.
#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QString>

// The bytes of the file at Path; none when it cannot be read.
inline QByteArray FileBytes(const QString& Path) {
  QFile file(Path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Makes Bytes the whole file at Path; Executable lets its owner run it.
inline void WriteFile(const QString& Path, const QByteArray& Bytes, bool Executable = false) {
  QFile file(Path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << Path.toStdString();
  ASSERT_EQ(file.write(Bytes), Bytes.size()) << Path.toStdString();
  file.close();
  if (Executable) {
    ASSERT_TRUE(file.setPermissions(file.permissions() | QFileDevice::ExeOwner));
  }
}
