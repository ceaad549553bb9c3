#include "Actions.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QWidget>

#include "ErrorReport.h"
#include "IconList.h"

namespace {

QString Text(const char* Utf8) { return QString::fromUtf8(Utf8); }

// The table keeps the source texts; each window's commands speak the
// language loaded when they are made.
QString Translated(const QString& Source) {
  return Source.isEmpty() ? Source : QCoreApplication::translate("TCommandList", Source.toUtf8().constData());
}

std::vector<TCommandInfo> BuildCommandTable() {
  using K = QKeySequence;
  const K none;
  std::vector<TCommandInfo> commands = {
      // The commands behind the toolbar and the shortcut keys.
      {"actFileNew", "File", Text("New"), Text(QT_TRANSLATE_NOOP("TCommandList", "新建设计文件")),
       K(Qt::CTRL | Qt::Key_N), 0},
      {"actFileOpen", "File", Text("Open..."), Text(QT_TRANSLATE_NOOP("TCommandList", "打开设计文件")),
       K(Qt::CTRL | Qt::Key_O), 1},
      {"actFileSave", "File", Text("Save"),
       Text(QT_TRANSLATE_NOOP("TCommandList", "保存设计文件，以后可以重新打开修改")), K(Qt::CTRL | Qt::Key_S), 2},
      {"actFileSaveAs", "File", Text("Save  As..."),
       Text(QT_TRANSLATE_NOOP("TCommandList", "导出为JPG格式图片，可以上传至网站")), none, 15},
      {"actFileSavePlanAs", "File", Text(QT_TRANSLATE_NOOP("TCommandList", "另存为…")),
       Text(QT_TRANSLATE_NOOP("TCommandList", "另存为")), K(Qt::CTRL | Qt::SHIFT | Qt::Key_S), 2},
      {"actFilePrint", "File", Text("Print..."), Text(QT_TRANSLATE_NOOP("TCommandList", "打印")),
       K(Qt::CTRL | Qt::Key_P), 3},
      {"actFileExit", "File", Text("Exit"), Text(QT_TRANSLATE_NOOP("TCommandList", "退出程序")),
       K(Qt::ALT | Qt::Key_F4), 4},
      {"actEditUndo", "Edit", Text(QT_TRANSLATE_NOOP("TCommandList", "撤销")),
       Text(QT_TRANSLATE_NOOP("TCommandList", "撤销")), K(Qt::CTRL | Qt::Key_Z), 85},
      {"actEditRedo", "Edit", Text(QT_TRANSLATE_NOOP("TCommandList", "重做")),
       Text(QT_TRANSLATE_NOOP("TCommandList", "重做")), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), 86},
      {"actEditCut", "Edit", Text("Cut"), Text(QT_TRANSLATE_NOOP("TCommandList", "剪切")), K(Qt::CTRL | Qt::Key_X), 5},
      {"actEditCopy", "Edit", Text("Copy"), Text(QT_TRANSLATE_NOOP("TCommandList", "拷贝")), K(Qt::CTRL | Qt::Key_C),
       6},
      {"actEditPaste", "Edit", Text("Paste"), Text(QT_TRANSLATE_NOOP("TCommandList", "粘贴")), K(Qt::CTRL | Qt::Key_V),
       7},
      {"actEditDelete", "Edit", Text("Delete"), Text(QT_TRANSLATE_NOOP("TCommandList", "删除")), K(Qt::Key_Delete), 8},
      {"actEditSelectAll", "Edit", Text("Select All"), Text("Select All|Marks all graph's objects as selected."),
       K(Qt::CTRL | Qt::Key_A), 14},
      {"actEditBringToFront", "Edit", Text("Bring To Front"), Text(QT_TRANSLATE_NOOP("TCommandList", "放到上层")), none,
       12},
      {"actEditSendToBack", "Edit", Text("Send To Back"), Text(QT_TRANSLATE_NOOP("TCommandList", "放到下层")), none,
       11},
      {"actEditLockNodes", "Edit", Text("Lock Nodes"), Text(QT_TRANSLATE_NOOP("TCommandList", "锁定项目")), none, 36},
      {"actEditLockLinks", "Edit", Text("Lock Links/Lines"),
       Text("Lock Links/Lines|Toggle links locked/unlocked to prevent/allow changing endpoints and breakpoints of "
            "links/lines"),
       none, 37},
      {"actEditRotate", "Edit", Text("actEditRotate"), Text(QT_TRANSLATE_NOOP("TCommandList", "旋转")), none, 43},
      {"actViewZoomIn", "View", Text(QT_TRANSLATE_NOOP("TCommandList", "放大")),
       Text(QT_TRANSLATE_NOOP("TCommandList", "放大")), K(Qt::CTRL | Qt::Key_Equal), 9},
      {"actViewZoomOut", "View", Text(QT_TRANSLATE_NOOP("TCommandList", "缩小")),
       Text(QT_TRANSLATE_NOOP("TCommandList", "缩小")), K(Qt::CTRL | Qt::Key_Minus), 10},
      {"actViewActualSize", "View", Text(QT_TRANSLATE_NOOP("TCommandList", "实际大小")),
       Text(QT_TRANSLATE_NOOP("TCommandList", "实际大小")), K(Qt::CTRL | Qt::Key_0), 28},
      {"actViewWholeGraph", "View", Text(QT_TRANSLATE_NOOP("TCommandList", "适合窗口")),
       Text(QT_TRANSLATE_NOOP("TCommandList", "适合窗口：显示整个户型图")), K(Qt::CTRL | Qt::Key_1), 32},
  };
  // Commands the list holds without behaviour: always disabled, on no
  // toolbar and without shortcut.
  const struct {
    const char* Name;
    const char* Category;
    const char* Caption;
    int Image;
  } idle[] = {
      {"actFileMerge", "File", "Merge...", 41},
      {"actExportMetafile", "File", "Export Metafile...", -1},
      {"actExportBitmap", "File", "Export Bitmap...", 15},
      {"actEditInvertSelection", "Edit", "Invert Selection", 13},
      {"actEditMakeAllSelectable", "Edit", "Make All Selectable", -1},
      {"actEditAlign", "Edit", "Align...", 16},
      {"actEditSize", "Edit", "Size...", -1},
      {"actEditProperties", "Edit", "Properties...", -1},
      {"actFormatBold", "Format", "Bold", -1},
      {"actFormatItalic", "Format", "Italic", -1},
      {"actFormatUnderline", "Format", "Underline", -1},
      {"actFormatAlignLeft", "Format", "Align Left", 16},
      {"actFormatCenter", "Format", "Center", 17},
      {"actFormatAlignRight", "Format", "Align Right", 18},
      {"actFormatAlignTop", "Format", "Align Top", 19},
      {"actFormatVCenter", "Format", "Vertical Center", 20},
      {"actFormatAlignBottom", "Format", "Align Bottom", 21},
      {"actViewGrid", "View", "Grid", 27},
      {"actViewFixScrolls", "View", "Fix Scroll Bars", -1},
      {"actViewTransparent", "View", "Transparent", -1},
      {"actViewPan", "View", "Pan", 39},
      {"actHelpAbout", "Help", "About...", 38},
      {"actHelpUsage", "Help", "Usage", 38},
      {"actObjectsNone", "Objects", "Select", 29},
      {"actObjectsLink", "Objects", "Link", 80},
      {"actObjectsRectangle", "Objects", "Rectangle", 30},
      {"actObjectsRoundRect", "Objects", "Rounded Rectangle", 31},
      {"actObjectsEllipse", "Objects", "Ellipse", 22},
      {"actObjectsTriangle", "Objects", "Triangle", 23},
      {"actObjectsRhomboid", "Objects", "Rhomboid", 24},
      {"actObjectsPentagon", "Objects", "Pentagon", 25},
      {"actObjectsHexagon", "Objects", "Hexagon", 26},
      {"actLinkRemovePoint", "Link", "Remove Point", 34},
      {"actLinkAddPoint", "Link", "Add Point", 33},
      {"actLinkGrow", "Link", "Grow", -1},
      {"actLinkShrink", "Link", "Shrink", -1},
      {"actLinkRotateCW", "Link", "Rotate Clockwise", 43},
      {"actLinkRotateCCW", "Link", "Rotate Counterclockwise", 40},
      {"actLinkReverse", "Link", "Reverse", 35},
      {"actOptionsConfirmHookLink", "Options", "Confirm Hooking", -1},
      {"actOptionsConfirmDeletion", "Options", "Confirm Deletion", -1},
      {"actClipboardNative", "Clipboard", "Native Format", -1},
      {"actClipboardBitmap", "Clipboard", "Bitmap Format", -1},
      {"actClipboardMetafile", "Clipboard", "Metafile Format", -1},
      {"actObjectBedSingle", "Object", "Single Bed", 42},
      {"actObjectTextBoxNode", "Object", "Text Box", -1},
      {"actObjectTest", "Object", "Test", -1},
  };
  for (const auto& c : idle) commands.push_back({c.Name, c.Category, Text(c.Caption), QString(), none, c.Image});
  return commands;
}

}  // namespace

const std::vector<TCommandInfo>& CommandTable() {
  static const std::vector<TCommandInfo> commands = BuildCommandTable();
  return commands;
}

QString ShortHint(const QString& Hint) { return Hint.section(QLatin1Char('|'), 0, 0); }

TCommandList::TCommandList(QWidget* Owner) : QObject(Owner) {
  for (const TCommandInfo& command : CommandTable()) {
    auto* action = new QAction(Translated(command.Caption), Owner);
    action->setObjectName(QString::fromLatin1(command.Name));
    action->setProperty("Category", QString::fromLatin1(command.Category));
    const QString hint = Translated(command.Hint);
    action->setProperty("Hint", hint);
    action->setToolTip(hint.isEmpty() ? action->text() : ShortHint(hint));
    action->setShortcut(command.Shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    action->setProperty("ImageIndex", command.ImageIndex);
    if (command.ImageIndex >= 0) action->setIcon(IconListIcon(command.ImageIndex));
    action->setEnabled(false);
    Owner->addAction(action);  // shortcuts work anywhere in the window
    connect(action, &QAction::triggered, this, [this, action] { Run(action); });
    fActions.push_back(action);
  }
  if (auto* dispatcher = QAbstractEventDispatcher::instance())
    connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &TCommandList::UpdateAll);
}

QAction* TCommandList::Find(const QString& Name) const {
  for (QAction* action : fActions)
    if (action->objectName() == Name) return action;
  return nullptr;
}

void TCommandList::Bind(QAction* Action, TCommandHandlers Handlers) {
  for (auto& [bound, handlers] : fHandlers)
    if (bound == Action) {
      handlers = std::move(Handlers);
      UpdateOne(Action);
      return;
    }
  fHandlers.emplace_back(Action, std::move(Handlers));
  UpdateOne(Action);
}

void TCommandList::UpdateOne(QAction* Action) {
  for (auto& [bound, handlers] : fHandlers) {
    if (bound != Action) continue;
    if (!handlers.Execute) {
      Action->setEnabled(false);
    } else if (handlers.Update) {
      Guarded(qobject_cast<QWidget*>(parent()), [&] { handlers.Update(Action); });
    } else {
      Action->setEnabled(true);
    }
    return;
  }
  Action->setEnabled(false);
}

void TCommandList::UpdateAll() {
  if (fUpdating) return;  // an Update handler that spins the event loop
  fUpdating = true;
  for (auto& entry : fHandlers) UpdateOne(entry.first);
  fUpdating = false;
}

void TCommandList::Run(QAction* Action) {
  UpdateOne(Action);
  if (!Action->isEnabled()) return;
  for (auto& [bound, handlers] : fHandlers)
    if (bound == Action && handlers.Execute) {
      auto execute = handlers.Execute;  // the handler may rebind its own command
      Guarded(qobject_cast<QWidget*>(parent()), [&] { execute(Action); });
      return;
    }
}
