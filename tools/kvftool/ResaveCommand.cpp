// kvftool resave IN OUT: loads a document and saves it again.
#include "GraphEditor.h"
#include "KvfTool.h"

int RunResave(const QStringList& Arguments) {
  auto graph = NewDocumentGraph();
  graph->LoadFromFile(Arguments[0]);
  graph->SaveToFile(Arguments[1]);
  return 0;
}
