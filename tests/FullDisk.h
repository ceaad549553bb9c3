// A small file system that can be filled to the last block: a tmpfs
// mounted over a temporary folder. Mounting needs root; tests skip when
// Mounted() is false.
#pragma once

#include <sys/mount.h>
#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class TFullDisk {
 public:
  explicit TFullDisk(const char* Size = "64k") : fTarget(QFile::encodeName(fDir.path())) {
    const QByteArray options = QByteArray("size=") + Size;
    fMounted =
        fDir.isValid() && geteuid() == 0 && mount("tmpfs", fTarget.constData(), "tmpfs", 0, options.constData()) == 0;
  }
  ~TFullDisk() {
    if (fMounted) umount(fTarget.constData());
  }
  TFullDisk(const TFullDisk&) = delete;
  TFullDisk& operator=(const TFullDisk&) = delete;

  bool Mounted() const { return fMounted; }
  QString Path(const QString& Name) const { return fDir.filePath(Name); }

  // A filler file takes every free block; returns its size.
  qint64 FillUp() {
    QFile filler(Path(QStringLiteral(".filler")));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return -1;
    const QByteArray block(1024, 'x');
    while (filler.write(block) == block.size()) {
    }
    return filler.size();
  }

  // The files but the filler: what a failed save must leave behind.
  QStringList Files() const { return QDir(fDir.path()).entryList(QDir::Files); }

 private:
  QTemporaryDir fDir;
  QByteArray fTarget;
  bool fMounted = false;
};
