// Errors of opening, saving and exporting a plan, told to the user in the
// interface's language: what failed and why, with the technical message
// kept as the detail ("无法打开户型图：文件已损坏 (Invalid stream content)").
#pragma once

#include <QString>

#include "Exceptions.h"

enum class TDocumentTask { Open, Save, Export };

QString DocumentErrorMessage(TDocumentTask Task, const Exception& Error);

// Runs Action; an error it raises goes on as the user's message for Task.
template <class F>
void WithDocumentErrors(TDocumentTask Task, F&& Action) {
  try {
    Action();
  } catch (const Exception& e) {
    throw Exception(DocumentErrorMessage(Task, e));
  }
}
