// Pasting: the clipboard carries an object list without the signature, read
// into a graph that already holds objects.
#include <QApplication>
#include <QClipboard>
#include <QMimeData>

#include "Exceptions.h"
#include "FuzzSupport.h"
#include "GraphEditor.h"
#include "GraphLink.h"
#include "NodeShapes.h"

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
  graph.Clear();
  TGraphObject* node = graph.InsertNode({0, 0, 40, 40}, &TRectangularNode::ClassInfo);
  graph.InsertLink(node, TPoints{{100, 20}}, &TGraphLink::ClassInfo);
  auto* mime = new QMimeData;  // the clipboard takes it over
  mime->setData(QString::fromLatin1(GraphClipboardFormat),
                QByteArray(reinterpret_cast<const char*>(Data), qsizetype(Size)));
  QApplication::clipboard()->setMimeData(mime);
  try {
    graph.PasteFromClipboard();
  } catch (const Exception&) {
  }
  graph.Clear();
  return 0;
}
