#include "GraphHistory.h"

#include "GraphEditor.h"
#include "GraphObject.h"

namespace {

struct TStepData {
  TGraphSnapshot Before, After;
  size_t Size() const { return sizeof(TStepData) + Before.Size() + After.Size(); }
};

}  // namespace

// One step: undo puts the Before objects back in place of the After ones,
// redo the other way round. The data is shared so that the history can be
// rebuilt without copying it.
class TGraphHistory::TStep : public QUndoCommand {
 public:
  TStep(TGraphHistory& History, const QString& Text, std::shared_ptr<const TStepData> Data)
      : QUndoCommand(Text), fHistory(History), fData(std::move(Data)) {
    fHistory.StepAdded(fData->Size());
  }
  ~TStep() override { fHistory.StepRemoved(fData->Size()); }

  void undo() override {
    if (!fHistory.fReplaying) fData->Before.Restore(fHistory.fGraph, fData->After.IDs());
  }
  void redo() override {
    // Pushed after the action itself has run.
    if (fDone) {
      fDone = false;
      return;
    }
    if (!fHistory.fReplaying) fData->After.Restore(fHistory.fGraph, fData->Before.IDs());
  }
  const std::shared_ptr<const TStepData>& Data() const { return fData; }

 private:
  TGraphHistory& fHistory;
  std::shared_ptr<const TStepData> fData;
  bool fDone = true;
};

TGraphHistory::TGraphHistory(TGraphEditor& Graph, QObject* Parent, size_t ByteLimit)
    : QObject(Parent), fGraph(Graph), fByteLimit(ByteLimit) {
  fStack.setUndoLimit(MaxSteps);
  connect(&fStack, &QUndoStack::cleanChanged, this, &TGraphHistory::FollowClean);
}

TGraphHistory::~TGraphHistory() {
  // The steps report their sizes back while the stack deletes them.
  disconnect(&fStack, nullptr, this, nullptr);
  fStack.clear();
}

void TGraphHistory::BeginStep(const QString& Text, const std::vector<TGraphObject*>& Candidates) {
  if (fDepth++ > 0) return;
  const std::vector<TGraphObject*> affected = WithDependents(fGraph, Candidates);
  fOpen = TOpenStep{Text, {}, TGraphSnapshot::Take(fGraph, affected), {}};
  fOpen->BeforeIDs = fOpen->Before.IDs();
}

void TGraphHistory::BeginStep(const QString& Text, TGraphObjectList& Candidates) {
  BeginStep(Text, std::vector<TGraphObject*>(Candidates.begin(), Candidates.end()));
}

void TGraphHistory::ObjectInserted(TGraphObject* GraphObject) {
  if (fOpen) fOpen->Inserted.push_back(GraphObject->ID());
}

void TGraphHistory::CancelStep() {
  fDepth = 0;
  fOpen.reset();
}

void TGraphHistory::EndStep() {
  if (fDepth == 0 || --fDepth > 0 || !fOpen) return;
  TOpenStep open = std::move(*fOpen);
  fOpen.reset();
  std::vector<TGraphObject*> present;
  for (const auto* ids : {&open.BeforeIDs, &open.Inserted})
    for (uint32_t id : *ids)
      if (TGraphObject* o = fGraph.FindObjectByID(id)) present.push_back(o);
  auto data = std::make_shared<TStepData>();
  data->After = TGraphSnapshot::Take(fGraph, WithDependents(fGraph, present));
  if (data->After == open.Before) return;
  data->Before = std::move(open.Before);
  fStack.push(new TStep(*this, open.Text, std::move(data)));
  Trim();
}

void TGraphHistory::Clear() {
  CancelStep();
  fStack.clear();
}

void TGraphHistory::SetClean() { fStack.setClean(); }

void TGraphHistory::FollowClean(bool Clean) {
  if (!fReplaying) fGraph.SetModified(!Clean);
}

// QUndoStack drops its oldest steps only by count: for the byte limit the
// stack is rebuilt from the newer steps' shared data, its position and
// clean state carried over, without any step acting.
void TGraphHistory::Trim() {
  const int count = fStack.count();
  int drop = 0;
  size_t bytes = fBytes;
  while (drop < count - 1 && bytes > fByteLimit) {
    bytes -= static_cast<const TStep*>(fStack.command(drop))->Data()->Size();
    ++drop;
  }
  if (drop == 0) return;
  std::vector<std::pair<QString, std::shared_ptr<const TStepData>>> kept;
  for (int i = drop; i < count; ++i) {
    const auto* step = static_cast<const TStep*>(fStack.command(i));
    kept.emplace_back(step->text(), step->Data());
  }
  const int index = fStack.index(), clean = fStack.cleanIndex();
  fReplaying = true;
  fStack.clear();
  for (auto& [text, data] : kept) fStack.push(new TStep(*this, text, data));
  if (clean >= drop) {
    fStack.setIndex(clean - drop);
    fStack.setClean();
  } else {
    fStack.resetClean();
  }
  fStack.setIndex(index - drop);
  fReplaying = false;
  FollowClean(fStack.isClean());
}
