// A designer session in a process of its own, driven as a user would, for
// the recovery test that kills it: the real start-up and window.
//
//   recovery_driver change          places a room label, waits for the
//                                   recovery copy, says "autosaved", waits
//   recovery_driver edit            places a room label, says "edited", waits
//   recovery_driver recover OUT     answers the recovery question with Yes,
//                                   writes the plan shown to OUT, closes
//   recovery_driver check           says whether a recovery was offered
#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <cstdio>

#include "GraphEditor.h"
#include "MainForm.h"
#include "RecoveryStore.h"
#include "Startup.h"
#include "Stream.h"
#include "ToolPalette.h"

namespace {

void Say(const QString& Text) {
  std::printf("%s\n", Text.toUtf8().constData());
  std::fflush(stdout);
}

void PlaceLabel(THouseDesigner& Window) {
  TToolPalette* palette = Window.LeftButtons;
  palette->EnsureVisible({1, 0});
  QTest::mouseClick(palette->viewport(), Qt::LeftButton, {}, palette->ButtonRect({1, 0}).center());
  QTest::mouseClick(Window.GraphEditor->viewport(), Qt::LeftButton, {}, QPoint(60, 60));
}

// Answers the designer's questions: recover, and do not save on closing.
void AnswerQuestions() {
  auto* timer = new QTimer(qApp);
  QObject::connect(timer, &QTimer::timeout, [] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || box->property("answered").toBool()) return;
    box->setProperty("answered", true);
    const bool recovery = box->objectName() == QStringLiteral("RecoveryQuestion");
    QTimer::singleShot(0, box,
                       [box, recovery] { box->button(recovery ? QMessageBox::Yes : QMessageBox::No)->click(); });
  });
  timer->start(10);
}

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  const QStringList arguments = QCoreApplication::arguments();
  const QString mode = arguments.value(1);
  std::unique_ptr<THouseDesigner> window =
      StartDesigner(QCoreApplication::applicationDirPath() + QStringLiteral("/huxing"), {});
  window->show();
  if (!QTest::qWaitForWindowExposed(window.get())) return 3;
  window->WatchEndingSignals();

  if (mode == QStringLiteral("edit")) {
    PlaceLabel(*window);
    Say(QStringLiteral("edited"));
    return QApplication::exec();  // until a signal ends the session
  }

  if (mode == QStringLiteral("change")) {
    PlaceLabel(*window);
    TRecoveryStore store;
    while (!store.HasCopy()) QTest::qWait(20);
    Say(QStringLiteral("autosaved"));
    for (;;) QTest::qWait(1000);  // until killed
  }

  AnswerQuestions();
  const bool recovered = window->OfferRecovery();
  Say(QStringLiteral("recovered=%1 objects=%2 modified=%3 title=%4")
          .arg(recovered)
          .arg(window->GraphEditor->Objects().Count())
          .arg(window->GraphEditor->Modified())
          .arg(window->windowTitle()));
  if (mode == QStringLiteral("recover")) {
    TMemoryStream document;
    window->GraphEditor->StoreDocument(document);
    QFile out(arguments.value(2));
    if (!out.open(QIODevice::WriteOnly)) return 4;
    out.write(reinterpret_cast<const char*>(document.Memory()), qsizetype(document.Size()));
    out.close();
    const bool closed = window->close();  // a clean close: the copy goes
    Say(QStringLiteral("closed=%1 copy=%2").arg(closed).arg(TRecoveryStore().HasCopy()));
  }
  return 0;
}
