#include "AtomicFile.h"

#include <unistd.h>
#include <cerrno>
#include <cstring>

#include "Exceptions.h"

TAtomicFile::TAtomicFile(const QString& FileName) : fFile(FileName) {
  if (!fFile.open(QIODevice::WriteOnly))
    throw EFCreateError(QStringLiteral("Cannot create file \"%1\". %2").arg(FileName, fFile.errorString()));
}

void TAtomicFile::Fail(const QString& Why) {
  fFile.cancelWriting();
  throw EWriteError(QStringLiteral("Cannot write file \"%1\". %2").arg(fFile.fileName(), Why));
}

void TAtomicFile::Write(QByteArrayView Bytes) {
  if (fFile.write(Bytes.data(), Bytes.size()) != Bytes.size()) Fail(fFile.errorString());
}

void TAtomicFile::Commit() {
  // The device buffers small files whole; the buffer reaches the disk only
  // here, and a failure of that last write is not remembered by commit():
  // it must be caught before the rename.
  if (!fFile.flush() || fFile.error() != QFileDevice::NoError) Fail(fFile.errorString());
  // Some file systems report a full disk only when the data is synced.
  // (A file system that cannot sync at all answers EINVAL.)
  if (::fsync(fFile.handle()) != 0 && errno != EINVAL) Fail(QString::fromLocal8Bit(std::strerror(errno)));
  if (!fFile.commit()) Fail(fFile.errorString());
}

void WriteFileAtomically(const QString& FileName, QByteArrayView Bytes) {
  TAtomicFile file(FileName);
  file.Write(Bytes);
  file.Commit();
}
