// Opening a document: any bytes must load or fail with an error, never crash,
// hang or allocate out of proportion. What loads must save and reload to the
// same bytes, and paint.
#include <cstdlib>

#include "Exceptions.h"
#include "FuzzSupport.h"
#include "GraphEditor.h"

namespace {

QByteArray Saved(TGraphEditor& Graph) {
  TMemoryStream out;
  Graph.SaveToStream(out);
  return QByteArray(reinterpret_cast<const char*>(out.Memory()), qsizetype(out.Size()));
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  StartFuzzApplication();
  return 0;
}

extern "C" size_t LLVMFuzzerMutate(uint8_t* Data, size_t Size, size_t MaxSize);

// libFuzzer's own mutations, then embedded recordings sealed again.
extern "C" size_t LLVMFuzzerCustomMutator(uint8_t* Data, size_t Size, size_t MaxSize, unsigned int) {
  size_t size = LLVMFuzzerMutate(Data, Size, MaxSize);
  SealEmbeddedRecordings(Data, size);
  return size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* Data, size_t Size) {
  TGraphEditor& graph = FuzzGraph();
  TMemoryStream in;
  FillStream(in, Data, Size);
  try {
    graph.LoadFromStream(in);
  } catch (const Exception&) {
    graph.Clear();
    return 0;
  }
  // What loads must also paint: drawing is where geometry meets the canvas.
  graph.RenderToImage();
  QByteArray first = Saved(graph);
  TMemoryStream again;
  FillStream(again, reinterpret_cast<const uint8_t*>(first.constData()), size_t(first.size()));
  graph.LoadFromStream(again);
  if (Saved(graph) != first) std::abort();  // writer and reader disagree
  graph.Clear();
  return 0;
}
