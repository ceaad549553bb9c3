// The application's default error report: a command or event handler that
// fails shows the error's message in a message box and the window stays
// open. Handlers run through Guarded so no exception reaches Qt.
#pragma once

#include <QString>
#include <QWidget>
#include <exception>

#include "Exceptions.h"

// Shows Message in a modal error box over Parent, titled with the
// application title.
void ShowErrorReport(QWidget* Parent, const QString& Message);

// Runs Action; an exception it raises is reported and goes no further.
// Answers whether Action finished without one.
template <class F>
bool Guarded(QWidget* Parent, F&& Action) {
  try {
    Action();
    return true;
  } catch (const Exception& e) {
    ShowErrorReport(Parent, e.Message());
  } catch (const std::exception& e) {
    ShowErrorReport(Parent, QString::fromLocal8Bit(e.what()));
  }
  return false;
}
