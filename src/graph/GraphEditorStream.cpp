// Saving, loading and merging whole graphs, and the saved object states a
// cancelled drag is restored from.
#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "AtomicFile.h"
#include "Exceptions.h"
#include "GraphEditor.h"
#include "GraphErrors.h"
#include "UpdateBracket.h"

namespace {
constexpr int32_t kSignature = 0x53472E30;  // "0.GS"
// The smallest object record: name size, a one-letter name, "TPF0", two
// empty short strings and two end markers.
constexpr int64_t kMinObjectRecord = 4 + 2 + 4 + 2 + 2;

[[noreturn]] void InvalidContent() { throw EGraphStreamError(QStringLiteral("Invalid stream content")); }

void CheckSignature(TStream& Stream) {
  uint8_t b[4];
  if (Stream.Read(b, 4) != 4) InvalidContent();
  int32_t sig = int32_t(uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24);
  if (sig != kSignature) InvalidContent();
}

// The class names a document's records carry, each decoded once: a
// document names a handful of classes thousands of times.
const QString& ClassNameOf(QByteArrayView Latin1) {
  thread_local std::vector<std::pair<QByteArray, QString>> decoded;
  for (const auto& [bytes, name] : decoded)
    if (bytes == Latin1) return name;
  if (decoded.size() >= 32) decoded.erase(decoded.begin());
  decoded.emplace_back(Latin1.toByteArray(), QString::fromLatin1(Latin1));
  return decoded.back().second;
}
}  // namespace

void TGraphEditor::StoreObjectRecord(TStream& Stream, TGraphObject* GraphObject) {
  const char* name = GraphObject->ClassName();
  const size_t size = std::strlen(name);
  Stream.WriteInt32(int32_t(size + 1));
  uint8_t len = uint8_t(size);
  Stream.WriteBuffer(&len, 1);
  Stream.WriteBuffer(name, int64_t(size));
  GraphObject->SaveToStream(Stream);
}

TGraphObject* TGraphEditor::LoadObjectRecord(TStream& Stream) {
  int32_t size = Stream.ReadInt32();
  if (size < 1 || size > 256 || size > Stream.Remaining()) InvalidContent();
  char record[256];
  Stream.ReadBuffer(record, size);
  if (uint8_t(record[0]) != size - 1) InvalidContent();
  const QString& name = ClassNameOf(QByteArrayView(record + 1, size - 1));
  TGraphObjectClass cls = FindClass(name);
  if (!cls || !cls->New) throw EClassNotFound(FormatMessage("Class %s not found", name));
  return TGraphObject::CreateLoaded(cls, this, Stream);
}

void TGraphEditor::StoreObjects(TStream& Stream, TGraphObjectList& ObjectList) {
  Stream.WriteInt32(ObjectList.Count());
  ForEachPrefetched(ObjectList, [&](TGraphObject* o) { StoreObjectRecord(Stream, o); });
}

void TGraphEditor::LoadObjects(TStream& Stream) {
  WithinLoadBracket([&] { LoadObjectRecords(Stream); });
}

void TGraphEditor::LoadObjectRecords(TStream& Stream) {
  int oldCount = fObjects.Count();
  int32_t count = Stream.ReadInt32();
  // No count below zero, and an empty list ends the stream: whatever
  // follows would be dropped without a word.
  if (count < 0 || (count == 0 && Stream.Remaining() > 0)) InvalidContent();
  if (count == 0) return;
  // Reserve only what the remaining bytes can hold, whatever the count says.
  int64_t possible = Stream.Remaining() / kMinObjectRecord;
  fObjects.SetCapacity(int(std::min<int64_t>(int64_t(oldCount) + std::min<int64_t>(count, possible), INT32_MAX)));
  try {
    for (int32_t i = 0; i < count; ++i) LoadObjectRecord(Stream);
  } catch (...) {
    // Objects read so far stay; they still get their IDs and references.
    RenumberAndFinish(oldCount);
    throw;
  }
  RenumberAndFinish(oldCount);
}

void TGraphEditor::RenumberAndFinish(int OldCount) {
  // The batch's objects were each last touched while read, so a pass over
  // them waits on memory unless it asks for the next ones ahead.
  constexpr int kAhead = 8;
  // Each object of the batch takes a free ID, in list order; where several
  // carried the same ID, references to it follow the first of them.
  std::unordered_map<uint32_t, uint32_t> renumbered;
  for (int i = OldCount; i < fObjects.Count(); ++i) {
    if (i + kAhead < fObjects.Count()) __builtin_prefetch(fObjects.begin()[i + kAhead]);
    TGraphObject* x = fObjects.begin()[i];
    uint32_t oldID = x->ID();
    uint32_t newID = AllocateObjectID(x);
    if (newID == oldID) continue;
    x->SetID(newID);
    if (oldID != 0) renumbered.try_emplace(oldID, newID);
  }
  // Every ID is final now, so each object's references can follow and the
  // object be finished in one pass over the batch.
  std::vector<uint32_t> references;
  for (int i = OldCount; i < fObjects.Count(); ++i) {
    if (i + 1 < fObjects.Count()) PrefetchObject(fObjects.begin()[i + 1]);
    TGraphObject* x = fObjects.begin()[i];
    if (!renumbered.empty()) FollowRenumbering(x, renumbered, references);
    x->FinishLoading();
  }
}

void TGraphEditor::FollowRenumbering(TGraphObject* GraphObject,
                                     const std::unordered_map<uint32_t, uint32_t>& Renumbered,
                                     std::vector<uint32_t>& References) {
  References.clear();
  GraphObject->ReferencedIDs(References);
  for (uint32_t oldID : References) {
    auto it = Renumbered.find(oldID);
    if (it == Renumbered.end()) continue;
    // Only the references move; the object keeps the ID it has just taken.
    uint32_t ownID = GraphObject->ID();
    GraphObject->SubstituteID(oldID, it->second);
    GraphObject->SetID(ownID);
  }
}

void TGraphEditor::SaveToStream(TStream& Stream) {
  StoreDocument(Stream);
  fModified = false;
}

void TGraphEditor::StoreDocument(TStream& Stream) {
  Stream.WriteInt32(kSignature);
  StoreObjects(Stream, fObjects);
}

void TGraphEditor::LoadFromStream(TStream& Stream) {
  CheckSignature(Stream);
  WithinUpdate(
      *this,
      [&] {
        Clear();
        LoadObjects(Stream);
      },
      [&] { SaveModified = 2; });
}

void TGraphEditor::MergeFromStream(TStream& Stream, int32_t OffsetX, int32_t OffsetY) {
  CheckSignature(Stream);
  int oldCount = fObjects.Count();
  TRect r;
  bool added = false;
  WithinUpdate(*this, [&] {
    fSelectedObjects.Clear();
    LoadObjects(Stream);
    added = fObjects.Count() > oldCount;
    if (!added) return;
    TGraphObjectList merged;
    merged.SetCapacity(fObjects.Count() - oldCount);
    for (int i = oldCount; i < fObjects.Count(); ++i) merged.Add(fObjects[i]);
    r = ObjectListBounds(merged);
    fGraphConstraints->SetSourceRect(r);
    if (!fGraphConstraints->ConfineOffset(OffsetX, OffsetY, osAllSides)) return;
    ++SuspendQueryEvents;
    try {
      for (TGraphObject* o : merged) o->ShiftBy(OffsetX, OffsetY);
    } catch (...) {
      --SuspendQueryEvents;
      throw;
    }
    --SuspendQueryEvents;
    r = r.Offset(OffsetX, OffsetY);
  });
  SetCommandMode(cmEdit);
  if (added) ScrollInView(r);
}

void TGraphEditor::SaveToFile(const QString& Filename) {
  TMemoryStream data;
  data.WriteInt32(kSignature);
  StoreObjects(data, fObjects);
  WriteFileAtomically(Filename, QByteArrayView(data.Memory(), qsizetype(data.Size())));
  fModified = false;
}

void TGraphEditor::LoadFromFile(const QString& Filename) {
  // Read the file whole first: parsing from memory is far faster than many
  // small reads from the file.
  TMemoryStream data;
  data.LoadFromFile(Filename);
  LoadFromStream(data);
}

void TGraphEditor::MergeFromFile(const QString& Filename, int32_t OffsetX, int32_t OffsetY) {
  TMemoryStream data;
  data.LoadFromFile(Filename);
  MergeFromStream(data, OffsetX, OffsetY);
}

void TGraphEditor::StoreObjectsState(TStream& Stream, TGraphObjectList& ObjectList) {
  Stream.WriteInt32(ObjectList.Count());
  for (TGraphObject* o : ObjectList) {
    Stream.WriteInt32(int32_t(o->ID()));
    o->SaveToStream(Stream);
  }
}

void TGraphEditor::LoadObjectsState(TStream& Stream) {
  WithinLoadBracket([&] {
    int32_t count = Stream.ReadInt32();
    for (int32_t i = 0; i < count; ++i) {
      uint32_t id = uint32_t(Stream.ReadInt32());
      TGraphObject* o = FindObjectByID(id);
      // An object removed since its state was saved takes nothing back.
      if (!o) return;
      o->LoadFromStream(Stream);
    }
  });
}
