// The document's life beyond one command: the recent plans offered under
// the Open button, and the window's size, place and palette remembered
// between runs.
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMessageBox>
#include <QScreen>
#include <QToolBar>
#include <QToolButton>

#include "DesignerSettings.h"
#include "ErrorReport.h"
#include "MainForm.h"
#include "ToolPalette.h"

namespace {

const QString GeometryKey = QStringLiteral("Window/Geometry");
const QString CollapsedKey = QStringLiteral("Window/CollapsedCategories");
constexpr int OpenButtonWidth = 35;  // Open and Save: room for the drop-down arrow

}  // namespace

void THouseDesigner::CreateRecentMenu() {
  RecentMenu = new QMenu(this);
  RecentMenu->setObjectName(QStringLiteral("RecentMenu"));
  connect(RecentMenu, &QMenu::aboutToShow, this, &THouseDesigner::FillRecentMenu);
  if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(actFileOpen))) {
    button->setMenu(RecentMenu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setFixedWidth(OpenButtonWidth);
  }
}

void THouseDesigner::CreateSaveMenu() {
  auto* menu = new QMenu(this);
  menu->setObjectName(QStringLiteral("SaveMenu"));
  menu->addAction(actFileSavePlanAs);
  if (auto* button = qobject_cast<QToolButton*>(ToolBar1->widgetForAction(actFileSave))) {
    button->setMenu(menu);
    button->setPopupMode(QToolButton::MenuButtonPopup);
    button->setFixedWidth(OpenButtonWidth);
  }
}

void THouseDesigner::FillRecentMenu() {
  RecentMenu->clear();
  const QStringList files = TRecentFiles::Load();
  if (files.isEmpty()) {
    RecentMenu->addAction(tr("(无最近打开的文件)"))->setEnabled(false);
    return;
  }
  int number = 1;
  for (const QString& file : files) {
    QAction* entry = RecentMenu->addAction(QStringLiteral("&%1 %2").arg(number++).arg(QFileInfo(file).fileName()));
    entry->setToolTip(file);
    connect(entry, &QAction::triggered, this, [this, file] { Guarded(this, [&] { OpenRecentFile(file); }); });
  }
}

void THouseDesigner::OpenRecentFile(const QString& FileName) {
  if (!QFileInfo::exists(FileName)) {
    TRecentFiles::Remove(FileName);
    throw Exception(tr("文件不存在, 已从最近打开的列表中删除:\n%1").arg(FileName));
  }
  if (!IsGraphSaved()) return;
  OpenDocument(FileName, false);
}

void THouseDesigner::RestoreWindowState() {
  const std::unique_ptr<QSettings> settings = DesignerSettings();
  const QByteArray geometry = settings->value(GeometryKey).toByteArray();
  if (geometry.isEmpty() || !restoreGeometry(geometry)) {
    // The very first start: two thirds of the screen, centred.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect area = screen->availableGeometry();
      const QSize size(std::max(DesignWidth, area.width() * 2 / 3), std::max(DesignHeight, area.height() * 2 / 3));
      setGeometry(QRect(area.center() - QPoint(size.width() / 2, size.height() / 2), size));
    }
  }
  const QList<QVariant> collapsed = settings->value(CollapsedKey).toList();
  for (int c = 0; c < LeftButtons->CategoryCount(); ++c) LeftButtons->SetCollapsed(c, collapsed.contains(QVariant(c)));
}

void THouseDesigner::SaveWindowState() {
  const std::unique_ptr<QSettings> settings = DesignerSettings();
  settings->setValue(GeometryKey, saveGeometry());
  QList<QVariant> collapsed;
  for (int c = 0; c < LeftButtons->CategoryCount(); ++c)
    if (LeftButtons->Category(c).Collapsed) collapsed << c;
  settings->setValue(CollapsedKey, collapsed);
}
