// The one way to batch changes to a control or an object between
// BeginUpdate and EndUpdate.
#pragma once

#include <utility>

// Runs Step between Target.BeginUpdate() and Target.EndUpdate(), and Closing
// (when given) just before EndUpdate, on success and on failure alike.
//
// EndUpdate raises the change events held back during the bracket, and their
// handlers may throw, so it is called in the open rather than from a
// destructor: after a successful Step its exception reaches the caller;
// after a failed Step the bracket is still closed and Step's exception is
// rethrown (unless closing throws too, which then wins).
template <class T, class F, class C>
void WithinUpdate(T& Target, F&& Step, C&& Closing) {
  Target.BeginUpdate();
  try {
    std::forward<F>(Step)();
  } catch (...) {
    Closing();
    Target.EndUpdate();
    throw;
  }
  Closing();
  Target.EndUpdate();
}

template <class T, class F>
void WithinUpdate(T& Target, F&& Step) {
  WithinUpdate(Target, std::forward<F>(Step), [] {});
}
