// The window's command list: every command with its category, caption,
// hint, shortcut and image, built as QActions owned by the window. A
// command carries behaviour through its handlers: Execute runs it, Update
// sets its enabled and ticked state. Commands without an Execute handler
// stay disabled; the Update handlers run whenever the event loop goes idle
// and again just before the command runs.
#pragma once

#include <QAction>
#include <QKeySequence>
#include <functional>
#include <vector>

struct TCommandInfo {
  const char* Name;
  const char* Category;
  QString Caption;
  // Tool tip, optionally followed by "|" and a longer description.
  QString Hint;
  QKeySequence Shortcut;
  int ImageIndex;  // -1: none
};

// The commands of the window, those that carry behaviour first.
const std::vector<TCommandInfo>& CommandTable();

// The part of a hint before the vertical bar (the whole hint without one).
QString ShortHint(const QString& Hint);

struct TCommandHandlers {
  std::function<void(QAction* Sender)> Execute;
  std::function<void(QAction* Sender)> Update;
};

class TCommandList : public QObject {
 public:
  // Builds every command of CommandTable as an action of Owner, disabled.
  explicit TCommandList(QWidget* Owner);

  QAction* Find(const QString& Name) const;
  const std::vector<QAction*>& Actions() const { return fActions; }

  // Gives the command its handlers (one call per command).
  void Bind(QAction* Action, TCommandHandlers Handlers);
  // Runs every Update handler; commands without Execute stay disabled.
  void UpdateAll();
  // Runs the command as a click would: its Update handler first, then its
  // Execute handler if it is enabled. Unlike QAction::trigger, a command
  // shown disabled from an earlier update still gets asked again.
  void Execute(QAction* Action) { Run(Action); }

 private:
  void Run(QAction* Action);
  void UpdateOne(QAction* Action);

  std::vector<QAction*> fActions;  // owned by the window (Qt parent)
  std::vector<std::pair<QAction*, TCommandHandlers>> fHandlers;
  bool fUpdating = false;
};
