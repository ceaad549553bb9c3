// sampleplan: writes the bundled sample plan.
//
//   sampleplan META_DIR OUTPUT.kvf
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "Exceptions.h"
#include "GraphEditor.h"
#include "PlanObjects.h"
#include "SamplePlan.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: sampleplan META_DIR OUTPUT.kvf\n");
    return 2;
  }
  QApplication application(argc, argv);
  const QString metaDir = QString::fromLocal8Bit(argv[1]);
  const QString output = QString::fromLocal8Bit(argv[2]);
  RegisterPlanClasses();
  try {
    TGraphEditor graph;
    BuildSamplePlan(graph, metaDir);
    QDir().mkpath(QFileInfo(output).absolutePath());
    graph.SaveToFile(output);
  } catch (const Exception& e) {
    std::fprintf(stderr, "sampleplan: %s\n", e.what());
    return 1;
  }
  return 0;
}
