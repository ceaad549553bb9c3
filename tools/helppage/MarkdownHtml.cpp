#include "MarkdownHtml.h"

#include <QRegularExpression>
#include <QStringList>

namespace {

// Escapes HTML, then turns `code`, **bold** and [text](url) into markup.
// Code spans are cut out first so nothing inside them is interpreted.
QString Inline(const QString& Text) {
  static const QRegularExpression code(QStringLiteral("`([^`]+)`"));
  static const QRegularExpression bold(QStringLiteral("\\*\\*(.+?)\\*\\*"));
  static const QRegularExpression link(QStringLiteral("\\[([^\\]]+)\\]\\(([^)\\s]+)\\)"));
  QString out;
  qsizetype at = 0;
  auto plain = [&](const QString& Part) {
    QString html = Part.toHtmlEscaped();
    html.replace(bold, QStringLiteral("<strong>\\1</strong>"));
    html.replace(link, QStringLiteral("<a href=\"\\2\">\\1</a>"));
    out += html;
  };
  for (auto it = code.globalMatch(Text); it.hasNext();) {
    auto match = it.next();
    plain(Text.mid(at, match.capturedStart() - at));
    out += QStringLiteral("<code>") + match.captured(1).toHtmlEscaped() + QStringLiteral("</code>");
    at = match.capturedEnd();
  }
  plain(Text.mid(at));
  return out;
}

QStringList Cells(QString Row) {
  Row = Row.trimmed();
  if (Row.startsWith(QLatin1Char('|'))) Row.remove(0, 1);
  if (Row.endsWith(QLatin1Char('|'))) Row.chop(1);
  QStringList cells = Row.split(QLatin1Char('|'));
  for (QString& c : cells) c = c.trimmed();
  return cells;
}

bool IsTableRule(const QString& Line) {
  static const QRegularExpression rule(QStringLiteral("^\\s*\\|?\\s*:?-{3,}:?\\s*(\\|\\s*:?-{3,}:?\\s*)*\\|?\\s*$"));
  return rule.match(Line).hasMatch();
}

class TConverter {
 public:
  explicit TConverter(const QString& Markdown) : fLines(Markdown.split(QLatin1Char('\n'))) {
    for (QString& line : fLines)
      if (line.endsWith(QLatin1Char('\r'))) line.chop(1);
  }

  QString Run() {
    while (fAt < fLines.size()) Block();
    return fOut;
  }

 private:
  const QString& Line() const { return fLines[fAt]; }
  bool More() const { return fAt < fLines.size(); }

  void Block() {
    static const QRegularExpression heading(QStringLiteral("^(#{1,6})\\s+(.*)$"));
    const QString& line = Line();
    if (line.trimmed().isEmpty()) {
      ++fAt;
    } else if (line.startsWith(QStringLiteral("```"))) {
      CodeBlock();
    } else if (auto m = heading.match(line); m.hasMatch()) {
      const QString level = QString::number(m.captured(1).size());
      fOut += QStringLiteral("<h%1>%2</h%1>\n").arg(level, Inline(m.captured(2).trimmed()));
      ++fAt;
    } else if (ListMarker(line) != 0) {
      List(ListMarker(line));
    } else if (line.trimmed().startsWith(QLatin1Char('|')) && fAt + 1 < fLines.size() && IsTableRule(fLines[fAt + 1])) {
      Table();
    } else {
      Paragraph();
    }
  }

  // 'u' for a bullet item, 'o' for a numbered one, 0 for neither.
  static char ListMarker(const QString& Line) {
    static const QRegularExpression bullet(QStringLiteral("^\\s*[-*]\\s+"));
    static const QRegularExpression number(QStringLiteral("^\\s*\\d+\\.\\s+"));
    if (bullet.match(Line).hasMatch()) return 'u';
    if (number.match(Line).hasMatch()) return 'o';
    return 0;
  }

  void CodeBlock() {
    ++fAt;
    QStringList code;
    while (More() && !Line().startsWith(QStringLiteral("```"))) code << fLines[fAt++];
    if (More()) ++fAt;
    fOut += QStringLiteral("<pre><code>") + code.join(QLatin1Char('\n')).toHtmlEscaped() +
            QStringLiteral("</code></pre>\n");
  }

  void List(char Kind) {
    static const QRegularExpression marker(QStringLiteral("^\\s*([-*]|\\d+\\.)\\s+"));
    const QString tag = Kind == 'u' ? QStringLiteral("ul") : QStringLiteral("ol");
    fOut += QLatin1Char('<') + tag + QStringLiteral(">\n");
    while (More() && ListMarker(Line()) == Kind) {
      QString item = Line();
      item.remove(marker);
      ++fAt;
      // Indented lines continue the item.
      while (More() && !Line().trimmed().isEmpty() && ListMarker(Line()) == 0 && Line().startsWith(QLatin1Char(' ')))
        item += QLatin1Char(' ') + fLines[fAt++].trimmed();
      fOut += QStringLiteral("<li>") + Inline(item) + QStringLiteral("</li>\n");
    }
    fOut += QStringLiteral("</") + tag + QStringLiteral(">\n");
  }

  void Table() {
    fOut += QStringLiteral("<table>\n<tr>");
    for (const QString& cell : Cells(Line())) fOut += QStringLiteral("<th>") + Inline(cell) + QStringLiteral("</th>");
    fOut += QStringLiteral("</tr>\n");
    fAt += 2;
    while (More() && Line().trimmed().startsWith(QLatin1Char('|'))) {
      fOut += QStringLiteral("<tr>");
      for (const QString& cell : Cells(Line())) fOut += QStringLiteral("<td>") + Inline(cell) + QStringLiteral("</td>");
      fOut += QStringLiteral("</tr>\n");
      ++fAt;
    }
    fOut += QStringLiteral("</table>\n");
  }

  void Paragraph() {
    QStringList text{fLines[fAt++].trimmed()};  // whatever it starts with
    while (More() && !Line().trimmed().isEmpty() && !Line().startsWith(QLatin1Char('#')) &&
           !Line().startsWith(QStringLiteral("```")) && ListMarker(Line()) == 0)
      text << fLines[fAt++].trimmed();
    fOut += QStringLiteral("<p>") + Inline(text.join(QLatin1Char(' '))) + QStringLiteral("</p>\n");
  }

  QStringList fLines;
  qsizetype fAt = 0;
  QString fOut;
};

}  // namespace

QString MarkdownToHtml(const QString& Markdown) { return TConverter(Markdown).Run(); }

QString HtmlPage(const QString& Title, const QString& Css, const QString& Markdown) {
  return QStringLiteral(
             "<!DOCTYPE html>\n<html lang=\"zh-CN\">\n<head>\n<meta charset=\"utf-8\">\n<title>%1</title>\n"
             "<style>\n%2</style>\n</head>\n<body>\n%3</body>\n</html>\n")
      .arg(Title.toHtmlEscaped(), Css, MarkdownToHtml(Markdown));
}
