#include "GraphEditor.h"
#include "KvfTool.h"
#include "PlanObjects.h"

std::unique_ptr<TGraphEditor> NewDocumentGraph() {
  // Designer documents hold the plan classes besides the built-in ones.
  static const bool registered = [] {
    RegisterPlanClasses();
    return true;
  }();
  (void)registered;
  return std::make_unique<TGraphEditor>();
}
