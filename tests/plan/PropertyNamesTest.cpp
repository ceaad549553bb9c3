#include <gtest/gtest.h>

#include <QSet>
#include <QString>

#include "GraphEditor.h"
#include "GraphObject.h"
#include "PlanObjects.h"

namespace {

// Names are looked up case-insensitively from where the previous one was
// found, which finds the declared property only while no list names one
// twice.
void ExpectEachNameOnce(TPersistent& Object, const QString& Where) {
  QSet<QString> seen;
  for (const TPropInfo& prop : Object.Properties()) {
    const QString name = QString::fromLatin1(prop.Name).toLower();
    EXPECT_FALSE(seen.contains(name)) << qPrintable(Where) << " names " << prop.Name << " twice";
    seen.insert(name);
    if (prop.Kind != TTypeKind::Class || !prop.GetObject) continue;
    if (TPersistent* inner = prop.GetObject(Object)) ExpectEachNameOnce(*inner, Where + '.' + prop.Name);
  }
}

}  // namespace

TEST(PropertyNames, EveryRegisteredClassNamesEachPropertyOnce) {
  RegisterPlanClasses();
  TGraphEditor graph;
  std::vector<TGraphObjectClass> classes;
  for (int i = 0; i < TGraphEditor::NodeClassCount(); ++i) classes.push_back(TGraphEditor::NodeClasses(i));
  for (int i = 0; i < TGraphEditor::LinkClassCount(); ++i) classes.push_back(TGraphEditor::LinkClasses(i));
  ASSERT_GT(classes.size(), 10u);
  for (TGraphObjectClass c : classes) {
    ASSERT_NE(c->New, nullptr) << c->Name;
    TGraphObjectPtr object(c->New(&graph));
    ExpectEachNameOnce(*object, QString::fromLatin1(c->Name));
  }
}
