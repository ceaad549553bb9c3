// SeedCorpus DIR: writes the fuzzers' seed inputs, made by the program
// itself, into DIR/document (whole documents), DIR/paste (object lists as
// the clipboard carries them) and DIR/metafile (each document drawn as a
// metafile recording). Small on purpose: the fuzzer mutates them.
#include <QDir>
#include <QFile>
#include <QPainter>
#include <cstdio>
#include <functional>
#include <memory>
#include <utility>

#include "Canvas.h"
#include "FuzzSupport.h"
#include "GraphEditor.h"
#include "GraphLink.h"
#include "NodeShapes.h"
#include "Picture.h"
#include "PlanObjects.h"

namespace {

QByteArray Saved(TGraphEditor& Graph) {
  TMemoryStream out;
  Graph.SaveToStream(out);
  return QByteArray(reinterpret_cast<const char*>(out.Memory()), qsizetype(out.Size()));
}

bool Write(const QString& Path, const QByteArray& Bytes) {
  QFile f(Path);
  return f.open(QIODevice::WriteOnly) && f.write(Bytes) == Bytes.size();
}

TGraphNode* Node(TGraphEditor& Graph, TGraphNodeClass Class, const TRect& Bounds) {
  return Graph.InsertNode(Bounds, Class);
}

QImage Pattern(int Width, int Height) {
  QImage image(Width, Height, QImage::Format_RGB888);
  for (int y = 0; y < Height; ++y)
    for (int x = 0; x < Width; ++x) image.setPixelColor(x, y, QColor(x * 40 % 256, y * 70 % 256, 90));
  return image;
}

// A node and a link hooked to it: the smallest document with a reference.
void NodeAndLink(TGraphEditor& Graph) {
  TGraphNode* node = Node(Graph, &TRectangularNode::ClassInfo, {16, 24, 32, 40});
  Graph.InsertLink(node, TPoints{{100, 32}}, &TGraphLink::ClassInfo);
}

void Shapes(TGraphEditor& Graph) {
  int x = 0;
  for (TGraphNodeClass c : {&TRectangularNode::ClassInfo, &TRoundRectangularNode::ClassInfo, &TEllipticNode::ClassInfo,
                            &TTriangularNode::ClassInfo, &TRhomboidalNode::ClassInfo, &TPentagonalNode::ClassInfo,
                            &THexagonalNode::ClassInfo}) {
    TGraphNode* n = Node(Graph, c, {x, 0, x + 30, 30});
    n->SetText(QStringLiteral("A"));
    x += 40;
  }
}

void Styled(TGraphEditor& Graph) {
  TGraphNode* a = Node(Graph, &TRectangularNode::ClassInfo, {0, 0, 60, 40});
  a->SetText(QStringLiteral("厅"));
  a->SetHint(QStringLiteral("Caf\u00e9"));
  a->Brush()->SetColor(RGBColor(200, 200, 200));
  a->Brush()->SetStyle(bsDiagCross);
  a->Pen()->SetColor(clSilver);
  a->Pen()->SetMode(pmXor);
  a->Pen()->SetStyle(psDot);
  a->Pen()->SetWidth(300);
  a->SetAlignment(taRightJustify);
  a->SetLayout(tlBottom);
  a->SetMargin(-2);
  a->SetNodeOptions(gnoMovable);
  a->SetTag(-70000);
  a->SetVisible(false);
  a->SetOptions(goLinkable);
  TFont font;
  font.Assign(a->Font());
  font.SetCharset(134);
  font.SetOrientation(900);
  font.SetPitch(fpFixed);
  font.SetQuality(fqClearType);
  font.SetStyle(1 << fsItalic);
  a->SetFont(font);
  TGraphNode* b = Node(Graph, &TEllipticNode::ClassInfo, {200, 0, 260, 40});
  b->SetHasCustomData(true);
  b->SetBackgroundMargins({1, -2, 300, 40000});
  TGraphLink* link = Graph.InsertLink(a, b, &TGraphLink::ClassInfo);
  link->SetBeginStyle(lsDiamond);
  link->SetEndStyle(lsCircle);
  link->SetBeginSize(20);
  link->SetLinkOptions(gloFixedStartPoint | gloFixedBreakPoints);
  link->SetTextPosition(1);
  link->SetTextSpacing(4);
  link->SetText(QStringLiteral("door"));
  Graph.InsertLink(link, TPoints{{130, 100}}, &TGraphLink::ClassInfo);
}

void Pictures(TGraphEditor& Graph) {
  TBitmap bitmap;
  bitmap.SetImage(Pattern(3, 2));
  Node(Graph, &TRectangularNode::ClassInfo, {0, 0, 20, 20})->Background()->SetGraphic(&bitmap);
  TJPEGImage jpeg;
  jpeg.Compress(Pattern(8, 8));
  Node(Graph, &TRectangularNode::ClassInfo, {30, 0, 50, 20})->Background()->SetGraphic(&jpeg);
  TMetafile metafile;
  metafile.SetSize(10, 10);
  {
    // Pens, brushes, paths and text, so mutations of documents reach them.
    QPainter painter(&metafile.Recording());
    painter.drawLine(0, 0, 9, 9);
    painter.setPen(QPen(Qt::red, 2, Qt::DashLine));
    painter.setBrush(QBrush(Qt::blue, Qt::Dense4Pattern));
    painter.drawRect(1, 1, 6, 6);
    painter.drawText(2, 8, QStringLiteral("厅"));
  }
  metafile.FinishRecording();
  Node(Graph, &TRectangularNode::ClassInfo, {60, 0, 80, 20})->Background()->SetGraphic(&metafile);
}

// The graph drawn as a recording: pens, brushes, text, images, clipping.
QByteArray Recording(TGraphEditor& Graph) {
  std::unique_ptr<TMetafile> metafile = Graph.GetAsMetafile(nullptr, Graph.Objects());
  return QByteArray(metafile->Recording().data(), qsizetype(metafile->Recording().size()));
}

void Plan(TGraphEditor& Graph, const QString& Dir) {
  TBitmap bed;
  bed.SetImage(Pattern(4, 3));
  QString path = Dir + QStringLiteral("/bed.bmp");
  bed.SaveToFile(path);
  TZyImageNode::Create2(&Graph, path);
  QFile::remove(path);
  Graph.InsertLink(TPoints{{0, 0}, {200, 0}, {200, 100}}, &TWallLine::ClassInfo);
  RotateNodeClockwise(TZyTextBoxNode::Create2(&Graph, QStringLiteral("卧")));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: SeedCorpus DIR\n", stderr);
    return 2;
  }
  StartFuzzApplication();
  QString root = QString::fromLocal8Bit(argv[1]);
  QDir().mkpath(root + QStringLiteral("/document"));
  QDir().mkpath(root + QStringLiteral("/paste"));
  QDir().mkpath(root + QStringLiteral("/metafile"));
  TGraphEditor& graph = FuzzGraph();
  graph.OnObjectWrite = [](TGraphEditor*, TGraphObject*, TStream& s) { s.WriteBuffer("data", 4); };
  const std::pair<const char*, std::function<void(TGraphEditor&)>> seeds[] = {
      {"empty", [](TGraphEditor&) {}},
      {"node-and-link", NodeAndLink},
      {"shapes", Shapes},
      {"styled", Styled},
      {"pictures", Pictures},
      {"plan", [&](TGraphEditor& g) { Plan(g, root); }},
  };
  for (const auto& [name, build] : seeds) {
    graph.Clear();
    build(graph);
    QByteArray bytes = Saved(graph);
    QString file = QString::fromLatin1(name);
    if (!Write(root + QStringLiteral("/document/") + file + QStringLiteral(".kvf"), bytes) ||
        !Write(root + QStringLiteral("/paste/") + file + QStringLiteral(".bin"), bytes.mid(4))) {
      std::fputs("SeedCorpus: cannot write the seeds\n", stderr);
      return 1;
    }
    if (graph.Objects().Count() > 0 &&
        !Write(root + QStringLiteral("/metafile/") + file + QStringLiteral(".pic"), Recording(graph))) {
      std::fputs("SeedCorpus: cannot write the seeds\n", stderr);
      return 1;
    }
  }
  return 0;
}
