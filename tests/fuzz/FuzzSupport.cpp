#include "FuzzSupport.h"

#include <QApplication>
#include <memory>

#include "GraphEditor.h"
#include "PlanObjects.h"

namespace {
// Both live until the process ends; libFuzzer never returns from its loop.
QApplication* App = nullptr;
std::unique_ptr<TGraphEditor> Graph;
}  // namespace

void StartFuzzApplication() {
  if (App) return;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  App = new QApplication(argc, argv);
  RegisterPlanClasses();
}

TGraphEditor& FuzzGraph() {
  StartFuzzApplication();
  if (!Graph) {
    Graph = std::make_unique<TGraphEditor>();
    Graph->resize(400, 300);
  }
  return *Graph;
}

void FillStream(TMemoryStream& Stream, const uint8_t* Data, size_t Size) {
  Stream.WriteBuffer(Data, int64_t(Size));
  Stream.SetPosition(0);
}
