// helppage: renders a user's help page, written in Markdown, as the HTML
// page installed beside the program. The page's title is its first heading.
//
//   helppage PAGE.md STYLE.css OUTPUT.html
#include <QFile>
#include <QString>
#include <cstdio>

#include "MarkdownHtml.h"

namespace {

bool ReadText(const char* Path, QString& Text) {
  QFile file(QString::fromLocal8Bit(Path));
  if (!file.open(QIODevice::ReadOnly)) return false;
  Text = QString::fromUtf8(file.readAll());
  return true;
}

QString PageTitle(const QString& Markdown) {
  for (const QString& line : Markdown.split(QLatin1Char('\n')))
    if (line.startsWith(QStringLiteral("# "))) return line.mid(2).trimmed();
  return QStringLiteral("户型图设计器");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: helppage PAGE.md STYLE.css OUTPUT.html\n");
    return 2;
  }
  QString markdown, css;
  if (!ReadText(argv[1], markdown) || !ReadText(argv[2], css)) {
    std::fprintf(stderr, "helppage: cannot read %s or %s\n", argv[1], argv[2]);
    return 1;
  }
  QFile out(QString::fromLocal8Bit(argv[3]));
  if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
    std::fprintf(stderr, "helppage: cannot write %s\n", argv[3]);
    return 1;
  }
  out.write(HtmlPage(PageTitle(markdown), css, markdown).toUtf8());
  return out.error() == QFileDevice::NoError ? 0 : 1;
}
