// Nothing made is lost: while the plan has unsaved changes a recovery copy
// is written every minute and when the session ends by a signal; a save, a
// new or opened plan and a clean close remove it. At start, a copy left by
// a designer that is no longer running is offered back.
#include <sys/socket.h>
#include <unistd.h>
#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>
#include <QSocketNotifier>
#include <QStatusBar>
#include <QTimer>
#include <csignal>

#include "Exceptions.h"
#include "GraphHistory.h"
#include "MainForm.h"
#include "RecoveryStore.h"
#include "Startup.h"
#include "Stream.h"

namespace {

const char* const RecoveryQuestion = QT_TRANSLATE_NOOP("THouseDesigner", "发现未保存的设计，是否恢复？");
constexpr int DefaultAutosaveMs = 60 * 1000;

int AutosaveInterval() {
  bool ok = false;
  const int ms = qEnvironmentVariableIntValue("HUXING_AUTOSAVE_MS", &ok);
  return ok && ms > 0 ? ms : DefaultAutosaveMs;
}

// SIGTERM and SIGHUP reach the event loop through a socket pair: a signal
// handler may do no more than write to it.
int SignalSockets[2] = {-1, -1};

void NoteSignal(int) {
  const char note = 1;
  [[maybe_unused]] const ssize_t written = ::write(SignalSockets[0], &note, 1);
}

}  // namespace

void THouseDesigner::CreateAutosave() {
  fRecovery = std::make_unique<TRecoveryStore>();
  fAutosaveTimer = new QTimer(this);
  fAutosaveTimer->setInterval(AutosaveInterval());
  connect(fAutosaveTimer, &QTimer::timeout, this, [this] { Autosave(); });
  fAutosaveTimer->start();
}

void THouseDesigner::WatchEndingSignals() {
  if (SignalSockets[0] >= 0 || ::socketpair(AF_UNIX, SOCK_STREAM, 0, SignalSockets) != 0) return;
  auto* notifier = new QSocketNotifier(SignalSockets[1], QSocketNotifier::Read, this);
  connect(notifier, &QSocketNotifier::activated, this, [this] {
    char note;
    [[maybe_unused]] const ssize_t read = ::read(SignalSockets[1], &note, 1);
    // The session ends without the close: the copy stays for the next start.
    Autosave();
    SaveWindowState();
    QApplication::exit(0);
  });
  struct sigaction action = {};
  action.sa_handler = NoteSignal;
  sigemptyset(&action.sa_mask);
  action.sa_flags = SA_RESTART;
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGHUP, &action, nullptr);
}

void THouseDesigner::Autosave() {
  if (!fRecovery) return;
  if (!GraphEditor->Modified()) return fRecovery->Remove();
  TMemoryStream document;
  GraphEditor->StoreDocument(document);
  const QString name = SaveDialog.FileName() == UntitledDocumentName() ? QString() : SaveDialog.FileName();
  // A full disk must not interrupt the user with a box every minute: the
  // status bar tells, and the next round tries again.
  try {
    fRecovery->Write(QByteArray(reinterpret_cast<const char*>(document.Memory()), qsizetype(document.Size())), name);
  } catch (const Exception& e) {
    StatusBar1->showMessage(tr("自动保存失败: %1").arg(e.Message()), AutosaveInterval());
  }
}

void THouseDesigner::ForgetRecoveryCopy() {
  if (fRecovery) fRecovery->Remove();
}

bool THouseDesigner::OfferRecovery() {
  if (!fRecovery) return false;
  for (const TRecoveryStore::TOrphan& orphan : fRecovery->FindOrphans()) {
    QMessageBox box(QMessageBox::Question, Title(), tr(RecoveryQuestion), QMessageBox::Yes | QMessageBox::No, this);
    box.setObjectName(QStringLiteral("RecoveryQuestion"));
    const QString name = orphan.DocumentName.isEmpty() ? UntitledDocumentName() : orphan.DocumentName;
    box.setInformativeText(
        QStringLiteral("%1\n%2").arg(name, orphan.Written.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"))));
    box.setDefaultButton(QMessageBox::Yes);
    if (box.exec() != QMessageBox::Yes) {
      fRecovery->Discard(orphan);
      continue;
    }
    QByteArray document;
    if (!fRecovery->Claim(orphan, document)) continue;  // another designer took it
    TMemoryStream stream;
    stream.WriteBuffer(document.constData(), document.size());
    stream.SetPosition(0);
    fPendingObject.reset();
    GraphEditor->LoadFromStream(stream);
    GraphEditor->SetCommandMode(cmEdit);
    GraphEditor->SetZoom(100);
    IsReadonly = false;
    fReadonlyFileName.clear();
    SaveDialog.SetFileName(name);
    History->Clear();
    // Recovered, not saved: the changes are still to be saved.
    GraphEditor->SetModified(true);
    ShowDocumentCaption();
    Autosave();
    return true;
  }
  return false;
}
