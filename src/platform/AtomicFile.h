// Whole files written beside their target and renamed over it only once
// every byte is on disk: a failure of any kind (a full disk, a closed
// folder) raises and leaves the previous file as it was.
#pragma once

#include <QByteArrayView>
#include <QSaveFile>
#include <QString>

class TAtomicFile {
 public:
  // Opens the temporary beside FileName; raises EFCreateError.
  explicit TAtomicFile(const QString& FileName);
  // Not committed: the temporary goes, the target stays.
  ~TAtomicFile() = default;
  TAtomicFile(const TAtomicFile&) = delete;
  TAtomicFile& operator=(const TAtomicFile&) = delete;

  // For writers that take a device (PDF, images); their errors are found
  // by Commit.
  QIODevice& Device() { return fFile; }
  // Raises EWriteError.
  void Write(QByteArrayView Bytes);
  // Flushes, syncs and renames over the target; raises EWriteError and
  // keeps the target when any write, the flush or the sync failed.
  void Commit();

 private:
  [[noreturn]] void Fail(const QString& Why);

  QSaveFile fFile;
};

// FileName holds exactly Bytes, or raises and keeps what it held.
void WriteFileAtomically(const QString& FileName, QByteArrayView Bytes);
