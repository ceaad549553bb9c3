// Recovery copies of plans with unsaved changes, one per running designer,
// in the user's data folder: the document and, beside it, who wrote it and
// which file it was. A copy whose writer is no longer running is an orphan
// that the next designer offers to bring back.
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <vector>

class TRecoveryStore {
 public:
  struct TOrphan {
    QString Key;           // the writer's process, as in the file names
    QString DocumentName;  // the plan's file, or empty for a plan never saved
    QDateTime Written;
  };

  // Folder: where the copies live (created when first written).
  explicit TRecoveryStore(QString Folder = DefaultFolder());
  static QString DefaultFolder();

  // Replaces this process's copy, atomically.
  void Write(const QByteArray& Document, const QString& DocumentName);
  // Removes this process's copy, if any.
  void Remove();
  bool HasCopy() const;

  // Copies of writers no longer running, newest first; never this one's.
  std::vector<TOrphan> FindOrphans() const;
  // Takes Orphan's document and removes the copy; false when another
  // designer took it first or it cannot be read.
  bool Claim(const TOrphan& Orphan, QByteArray& Document);
  void Discard(const TOrphan& Orphan);

 private:
  QString DocumentPath(const QString& Key) const;
  QString InfoPath(const QString& Key) const;

  QString fFolder;
  QString fOwnKey;
};

// A process's identity that survives the reuse of its number: its ID and
// the time it started ("pid-start").
QString ProcessKey(qint64 Pid);
