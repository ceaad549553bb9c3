// Shared pieces of the designer's tests: a debugger that records what the
// designer traces, a program folder of our own (with the palette pictures
// linked in), a catcher for modal message boxes, and a fixture that starts
// the real window.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cstring>
#include <memory>

#include "DesignerTrace.h"
#include "GraphEditor.h"
#include "IntMath.h"
#include "MainForm.h"
#include "PlanObjects.h"
#include "Startup.h"
#include "ToolPalette.h"

// The folder the build puts the program and its companions in.
inline QString BinDir() {
  const QByteArray dir = qgetenv("HUXING_BIN_DIR");
  return dir.isEmpty() ? QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../bin")).absolutePath()
                       : QString::fromLocal8Bit(dir);
}

class TRecordingChannel : public TTraceChannel {
 public:
  TRecordingChannel() : TTraceChannel(true) {}
  bool IsReady() override { return true; }
  void SendContent(const void* MsgDesc, uint32_t Size) override {
    TTraceRecord record{};
    std::memcpy(&record, MsgDesc, std::min<size_t>(Size, sizeof record));
    Texts << QString::fromUtf8(record.MsgText, qsizetype(record.Length - TraceRecordHeaderSize));
  }
  QStringList Texts;
};

// Replaces the designer's debugger for its lifetime.
class TRecordingTrace {
 public:
  TRecordingTrace()
      : fDebugger([](bool) -> std::unique_ptr<TTraceChannel> { return std::make_unique<TRecordingChannel>(); }) {
    fDebugger.SetAutoStart(false);
    fDebugger.SetActive(true);
    SetDesignerDebugger(&fDebugger);
  }
  ~TRecordingTrace() { SetDesignerDebugger(nullptr); }
  const QStringList& Messages() const { return static_cast<TRecordingChannel*>(fDebugger.Channel())->Texts; }
  void Clear() { static_cast<TRecordingChannel*>(fDebugger.Channel())->Texts.clear(); }

 private:
  TTraceDebugger fDebugger;
};

// Where a program folder keeps its data: beside the executable, as the
// build leaves it, or installed, the executable in "bin/" and the data in
// "share/huxing/" beside it.
enum class TProgramLayout { Build, Installed };

// A program folder: the executable's path points into it, and "meta" links
// to the built palette pictures unless asked not to; installed, the help
// page is linked in too.
class TProgramDir {
 public:
  explicit TProgramDir(bool WithPictures = true, const QString& Name = QStringLiteral("prog dir"),
                       TProgramLayout Layout = TProgramLayout::Build) {
    const QString top = fRoot.filePath(Name) + QLatin1Char('/');
    const bool installed = Layout == TProgramLayout::Installed;
    fPath = installed ? top + QStringLiteral("bin/") : top;
    fDataPath = installed ? top + QStringLiteral("share/huxing/") : fPath;
    QDir().mkpath(fPath);
    QDir().mkpath(fDataPath);
    if (WithPictures) {
      QFile::link(BinDir() + QStringLiteral("/meta"), fDataPath + QStringLiteral("meta"));
      QFile::link(BinDir() + QStringLiteral("/translations"), fDataPath + QStringLiteral("translations"));
    }
    if (WithPictures && installed) {
      QFile::link(BinDir() + QStringLiteral("/help.html"), fDataPath + QStringLiteral("help.html"));
      QFile::link(BinDir() + QStringLiteral("/help.en.html"), fDataPath + QStringLiteral("help.en.html"));
    }
  }
  // Both end in "/".
  const QString& Path() const { return fPath; }
  const QString& DataPath() const { return fDataPath; }
  QString Executable() const { return fPath + QStringLiteral("huxing"); }

 private:
  QTemporaryDir fRoot;
  QString fPath;
  QString fDataPath;
};

// Closes every modal message box that comes up while it lives, keeping
// each box's text.
class TMessageBoxCatcher : public QObject {
 public:
  TMessageBoxCatcher() {
    connect(&fTimer, &QTimer::timeout, this, [this] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        Texts << box->text();
        box->done(QMessageBox::Ok);
      }
    });
    fTimer.start(10);
  }
  QStringList Texts;

 private:
  QTimer fTimer;
};

// Types Text into Widget one character at a time (QTest's own typing
// knows only ASCII).
inline void TypeText(QWidget* Widget, const QString& Text) {
  for (QChar c : Text) QTest::sendKeyEvent(QTest::Click, Widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

inline void ProcessEvents() {
  for (int i = 0; i < 3; ++i) QApplication::processEvents();
}

// The real window started as the program starts it, in a program folder
// of its own, with the trace recorded.
struct DesignerTest : ::testing::Test {
  void Start(const QStringList& Arguments = {}) { StartProgram(program.Executable(), Arguments); }
  void StartProgram(const QString& Executable, const QStringList& Arguments = {}) {
    window = StartDesigner(Executable, Arguments);
    window->show();
    window->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(window.get()));
    ProcessEvents();
  }
  void TearDown() override {
    window.reset();
    CurrentLineWidth = 4;
    CurrentLineColor = clBlack;
  }

  TGraphEditor* Graph() const { return window->GraphEditor; }
  QWidget* Plan() const { return window->GraphEditor->viewport(); }
  TToolPalette* Palette() const { return window->LeftButtons; }

  // Clicks a palette button, scrolling it into view first.
  void ClickPalette(int Category, int Item) {
    Palette()->EnsureVisible({Category, Item});
    QTest::mouseClick(Palette()->viewport(), Qt::LeftButton, {}, Palette()->ButtonRect({Category, Item}).center());
  }
  void PressPlan(QPoint At, Qt::MouseButton Button = Qt::LeftButton) { QTest::mousePress(Plan(), Button, {}, At); }
  void ReleasePlan(QPoint At, Qt::MouseButton Button = Qt::LeftButton) { QTest::mouseRelease(Plan(), Button, {}, At); }
  void MovePlan(QPoint At, Qt::MouseButtons Held) {
    QMouseEvent move(QEvent::MouseMove, At, Plan()->mapToGlobal(At), Qt::NoButton, Held, Qt::NoModifier);
    QApplication::sendEvent(Plan(), &move);
  }
  // Press, move in steps and release.
  void DragPlan(QPoint From, QPoint To) {
    PressPlan(From);
    for (int i = 1; i <= 4; ++i) MovePlan(From + (To - From) * i / 4, Qt::LeftButton);
    ReleasePlan(To);
  }
  QPoint ClientOf(int X, int Y) const {
    TPoint p = Graph()->GraphToClient(X, Y);
    return {p.X, p.Y};
  }

  template <class T>
  std::vector<T*> ObjectsOf() const {
    std::vector<T*> found;
    TGraphObjectList& list = Graph()->Objects();
    for (int i = 0; i < list.Count(); ++i)
      if (list[i]->InheritsFrom(&T::ClassInfo)) found.push_back(static_cast<T*>(list[i]));
    return found;
  }

  TRecordingTrace trace;
  TProgramDir program;
  std::unique_ptr<THouseDesigner> window;
};
