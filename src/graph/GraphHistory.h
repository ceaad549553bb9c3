// The undo history of a graph control: each user action is one step on a
// QUndoStack, holding snapshots of the objects it changed before and after.
// A step is opened before the action with the objects it may change (what
// hangs on them is added), told of the objects the action inserts, and
// closed after it; a step that changed nothing is dropped.
//
// The history keeps at most MaxSteps steps and about MaxBytes bytes,
// dropping the oldest first. Modified follows it: undoing or redoing back
// to the state last marked clean (a save) makes the graph unmodified.
#pragma once

#include <QObject>
#include <QString>
#include <QUndoStack>
#include <memory>
#include <optional>
#include <vector>

#include "GraphSnapshot.h"

class TGraphEditor;
class TGraphObject;
class TGraphObjectList;

class TGraphHistory : public QObject {
  Q_OBJECT

 public:
  static constexpr int MaxSteps = 200;
  static constexpr size_t MaxBytes = size_t(256) << 20;

  // ByteLimit replaces MaxBytes (for tests of the limit).
  explicit TGraphHistory(TGraphEditor& Graph, QObject* Parent = nullptr, size_t ByteLimit = MaxBytes);
  ~TGraphHistory() override;

  QUndoStack& Stack() { return fStack; }
  TGraphEditor& Graph() { return fGraph; }

  // Opens a step named Text that may change Candidates. Steps do not nest:
  // one opened while another is open is ignored, and the outer one takes
  // the inner action along.
  void BeginStep(const QString& Text, const std::vector<TGraphObject*>& Candidates = {});
  void BeginStep(const QString& Text, TGraphObjectList& Candidates);
  // Records what the open step changed as one step of the history.
  void EndStep();
  // Forgets the open step (a cancelled drag: nothing changed).
  void CancelStep();
  // The graph tells of every object it inserts (OnObjectInsert).
  void ObjectInserted(TGraphObject* GraphObject);

  // A new or freshly loaded document: no history, unmodified.
  void Clear();
  // The document was saved: this is the state to return to.
  void SetClean();
  // Bytes the history's steps hold.
  size_t Size() const { return fBytes; }

 private:
  class TStep;
  struct TOpenStep {
    QString Text;
    std::vector<uint32_t> BeforeIDs;
    TGraphSnapshot Before;
    std::vector<uint32_t> Inserted;
  };

  void StepAdded(size_t Bytes) { fBytes += Bytes; }
  void StepRemoved(size_t Bytes) { fBytes -= Bytes; }
  void Trim();
  void FollowClean(bool Clean);

  TGraphEditor& fGraph;
  QUndoStack fStack;
  std::optional<TOpenStep> fOpen;
  int fDepth = 0;
  size_t fBytes = 0;
  size_t fByteLimit;
  // Set while the stack is rebuilt: steps neither act nor count.
  bool fReplaying = false;
};
