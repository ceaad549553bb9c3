// kvftool dump FILE: the document as one JSON object on standard output.
#include <QJsonDocument>
#include <cstdio>

#include "DocumentJson.h"
#include "GraphEditor.h"
#include "KvfTool.h"

int RunDump(const QStringList& Arguments) {
  auto graph = NewDocumentGraph();
  graph->LoadFromFile(Arguments[0]);
  QByteArray json = QJsonDocument(DocumentToJson(*graph)).toJson(QJsonDocument::Indented);
  std::fwrite(json.constData(), 1, size_t(json.size()), stdout);
  return std::fflush(stdout) == 0 ? 0 : 1;
}
