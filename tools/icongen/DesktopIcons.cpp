#include "DesktopIcons.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QSvgGenerator>

#include "Exceptions.h"
#include "IconList.h"

namespace {

// The SVG's own coordinates: a whole multiple of the plan's 16-unit grid.
constexpr int kSvgSize = 256;

void MakeFolderFor(const QString& Path) {
  const QString folder = QFileInfo(Path).absolutePath();
  if (!QDir().mkpath(folder)) throw EFCreateError(QStringLiteral("Cannot create folder \"%1\"").arg(folder));
}

void WritePng(int Size, const QString& Path) {
  MakeFolderFor(Path);
  if (!WindowIconImage(Size).save(Path, "PNG"))
    throw EFCreateError(QStringLiteral("Cannot create file \"%1\"").arg(Path));
}

void WriteSvg(const QString& Path) {
  MakeFolderFor(Path);
  QSvgGenerator svg;
  svg.setFileName(Path);
  svg.setSize(QSize(kSvgSize, kSvgSize));
  svg.setViewBox(QRect(0, 0, kSvgSize, kSvgSize));
  svg.setTitle(QStringLiteral("户型图设计器"));
  QPainter painter;
  // The generator opens its file only when painting begins.
  if (!painter.begin(&svg)) throw EFCreateError(QStringLiteral("Cannot create file \"%1\"").arg(Path));
  PaintWindowIcon(painter, kSvgSize);
  painter.end();
}

}  // namespace

QString DesktopIconPath(int Size) {
  if (Size == 0) return QStringLiteral("scalable/apps/%1.svg").arg(QLatin1String(DesktopIconName));
  return QStringLiteral("%1x%1/apps/%2.png").arg(Size).arg(QLatin1String(DesktopIconName));
}

void WriteDesktopIcons(const QString& ThemeDir) {
  const QString root = ThemeDir + QLatin1Char('/');
  for (int size : DesktopIconSizes) WritePng(size, root + DesktopIconPath(size));
  WriteSvg(root + DesktopIconPath(0));
}
