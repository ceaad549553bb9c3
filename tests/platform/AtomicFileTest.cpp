// Whole-file writes that either complete or leave the previous file.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "AtomicFile.h"
#include "Exceptions.h"
#include "FullDisk.h"
#include "Stream.h"
#include "TestFiles.h"

namespace {

TEST(AtomicFile, AnUncommittedOrFailedWriteLeavesThePreviousFileAlone) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("out.bin"));
  WriteFileAtomically(path, "old");
  {
    TAtomicFile file(path);
    file.Write("new, never committed");
  }  // as when the writer raised half-way
  EXPECT_EQ(FileBytes(path), QByteArray("old"));
  EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{QStringLiteral("out.bin")});
  EXPECT_THROW(WriteFileAtomically(dir.filePath(QStringLiteral("no/folder/out.bin")), "x"), EFCreateError);
}

TEST(AtomicFile, WritesOntoAFullDiskFailAtCommitWhateverTheirSize) {
  TFullDisk disk;
  if (!disk.Mounted()) GTEST_SKIP() << "no tmpfs could be mounted (needs root)";
  const QString path = disk.Path(QStringLiteral("out.bin"));
  WriteFileAtomically(path, "old");
  ASSERT_GT(disk.FillUp(), 0);
  // Bytes held in the device's buffer until the commit, bytes past it, and
  // a writer that ignores what its device answers.
  for (qsizetype size : {qsizetype(10), qsizetype(100 * 1024)}) {
    SCOPED_TRACE(size);
    EXPECT_THROW(WriteFileAtomically(path, QByteArray(size, 'n')), EWriteError);
    TMemoryStream memory;
    memory.WriteBuffer(QByteArray(size, 'm').constData(), size);
    EXPECT_THROW(memory.SaveToFile(path), EWriteError);
    TAtomicFile file(path);
    file.Device().write(QByteArray(size, 'd'));
    EXPECT_THROW(file.Commit(), EWriteError);
  }
  EXPECT_EQ(FileBytes(path), QByteArray("old"));
  EXPECT_EQ(disk.Files(), QStringList{QStringLiteral("out.bin")});
}

}  // namespace
