// The program-wide registries of node and link classes. The graph module's
// start-up (built-in classes) runs on first use, so it never depends on the
// order in which static objects are initialised.
#include <vector>

#include "Exceptions.h"
#include "GraphEditor.h"
#include "GraphLink.h"
#include "NodeShapes.h"

namespace {

struct TClassRegistry {
  std::vector<TGraphObjectClass> Nodes;
  std::vector<TGraphObjectClass> Links;
  // Names as documents spell them, with the class each found: a document
  // names a handful of classes thousands of times, and the case-blind
  // comparison against every class costs more than reading the record.
  // Any change to the registry forgets them.
  std::vector<std::pair<QString, TGraphObjectClass>> Found;

  TClassRegistry() {
    Add(Links, &TGraphLink::ClassInfo);
    for (TGraphObjectClass c : BuiltInNodes()) Add(Nodes, c);
  }
  ~TClassRegistry() {
    // Module shut-down: node classes in reverse order, then the link class.
    auto nodes = BuiltInNodes();
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) Remove(Nodes, *it);
    Remove(Links, &TGraphLink::ClassInfo);
  }

  static std::vector<TGraphObjectClass> BuiltInNodes() {
    return {&TRectangularNode::ClassInfo, &TRoundRectangularNode::ClassInfo, &TEllipticNode::ClassInfo,
            &TTriangularNode::ClassInfo,  &TRhomboidalNode::ClassInfo,       &TPentagonalNode::ClassInfo,
            &THexagonalNode::ClassInfo};
  }
  void Add(std::vector<TGraphObjectClass>& list, TGraphObjectClass c) {
    if (std::find(list.begin(), list.end(), c) == list.end()) list.push_back(c);
    Found.clear();
  }
  void Remove(std::vector<TGraphObjectClass>& list, TGraphObjectClass c) {
    auto it = std::find(list.begin(), list.end(), c);
    if (it != list.end()) list.erase(it);
    Found.clear();
  }
  TGraphObjectClass Find(const QString& Name) const {
    for (const auto* list : {&Nodes, &Links})
      for (TGraphObjectClass c : *list)
        if (Name.compare(QLatin1String(c->Name), Qt::CaseInsensitive) == 0) return c;
    return nullptr;
  }
};

constexpr size_t kMaxFoundNames = 32;

TClassRegistry& Registry() {
  static TClassRegistry registry;
  return registry;
}

TGraphObjectClass CheckedAt(const std::vector<TGraphObjectClass>& list, int Index) {
  if (Index < 0 || Index >= int(list.size())) throw EListError(FormatMessage("Index out of range (%d)", Index));
  return list[size_t(Index)];
}

}  // namespace

void TGraphEditor::Register(TGraphObjectClass AClass) {
  if (!AClass) return;
  TClassRegistry& r = Registry();
  r.Add(AClass->IsLink() ? r.Links : r.Nodes, AClass);
}

void TGraphEditor::Unregister(TGraphObjectClass AClass) {
  if (!AClass) return;
  TClassRegistry& r = Registry();
  r.Remove(AClass->IsLink() ? r.Links : r.Nodes, AClass);
}

int TGraphEditor::NodeClassCount() { return int(Registry().Nodes.size()); }

TGraphNodeClass TGraphEditor::NodeClasses(int Index) { return CheckedAt(Registry().Nodes, Index); }

int TGraphEditor::LinkClassCount() { return int(Registry().Links.size()); }

TGraphLinkClass TGraphEditor::LinkClasses(int Index) { return CheckedAt(Registry().Links, Index); }

TGraphObjectClass TGraphEditor::FindClass(const QString& Name) {
  TClassRegistry& r = Registry();
  for (const auto& [name, c] : r.Found)
    if (name == Name) return c;
  TGraphObjectClass c = r.Find(Name);
  // Only names found are kept, so no stream of made-up names can grow it.
  if (c && r.Found.size() < kMaxFoundNames) r.Found.emplace_back(Name, c);
  return c;
}
