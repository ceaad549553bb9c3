// A small Markdown to HTML converter for the project's own help page: the
// subset the README uses — headings, paragraphs, bullet and numbered
// lists, fenced code blocks, pipe tables, and inline code, bold and links.
#pragma once

#include <QString>

// The body's HTML for Markdown text.
QString MarkdownToHtml(const QString& Markdown);

// A whole page: Title, the style sheet Css, and the converted Markdown.
QString HtmlPage(const QString& Title, const QString& Css, const QString& Markdown);
