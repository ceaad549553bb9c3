// The clipboard, picture export and printing. All renderings paint the
// objects at graph scale; zoom, scrolling, grid and markers play no part.
#include <QApplication>
#include <QClipboard>
#include <QCoreApplication>
#include <QMimeData>

#include "AtomicFile.h"
#include "Exceptions.h"
#include "GraphEditor.h"
#include "IntMath.h"
#include "MemoryHandleStream.h"
#include "Picture.h"
#include "UpdateBracket.h"

const char* const GraphClipboardFormat = "application/x-graph-editor-format";

namespace {

// Refuses a 24-bit bitmap of Width x Height pixels above the export limit,
// before anything is allocated; the sizes come from the document and may
// be anything.
void CheckExportBitmapSize(int64_t Width, int64_t Height) {
  if (Width <= 0 || Height <= 0) return;           // no pixels at all
  const int64_t stride = (Width * 3 + 3) / 4 * 4;  // rows are padded to four bytes
  if (Width <= INT32_MAX && Height <= MaxExportBitmapBytes / stride) return;
  throw EOutOfResources(QCoreApplication::translate("TGraphEditor", "图片太大：%1 × %2 像素，超过导出图片的上限 %3 MB")
                            .arg(Width)
                            .arg(Height)
                            .arg(MaxExportBitmapBytes >> 20));
}

}  // namespace

void TGraphEditor::CopyToClipboard(bool Selection) {
  TGraphObjectList& list = Selection ? fSelectedObjects : fObjects;
  if (list.Count() == 0) return;
  auto mime = std::make_unique<QMimeData>();
  if (fClipboardFormats & cfNative) {
    TMemoryHandleStream stream(0);
    stream.SetReleaseHandle(true);
    StoreObjects(stream, list);
    mime->setData(QString::fromLatin1(GraphClipboardFormat),
                  QByteArray(reinterpret_cast<const char*>(stream.Memory()), qsizetype(stream.Size())));
  }
  if (fClipboardFormats & cfMetafile) {
    std::unique_ptr<TMetafile> m = GetAsMetafile(nullptr, list);
    mime->setData(QStringLiteral("image/svg+xml"), m->ToSvg());
  }
  if (fClipboardFormats & cfBitmap) {
    std::unique_ptr<TBitmap> b = GetAsBitmap(list);
    mime->setImageData(b->ToImage());
  }
  QApplication::clipboard()->setMimeData(mime.release());
}

bool TGraphEditor::PasteFromClipboard() {
  const QMimeData* mime = QApplication::clipboard()->mimeData();
  QString format = QString::fromLatin1(GraphClipboardFormat);
  if (!mime || !mime->hasFormat(format)) return false;
  QByteArray bytes = mime->data(format);
  TMemoryStream stream;
  stream.WriteBuffer(bytes.constData(), bytes.size());
  stream.SetPosition(0);
  WithinUpdate(*this, [&] {
    fSelectedObjects.Clear();
    int oldCount = fObjects.Count();
    try {
      LoadObjects(stream);
    } catch (...) {
      SelectRange(oldCount);
      throw;
    }
    SelectRange(oldCount);
  });
  return true;
}

void TGraphEditor::SelectRange(int FirstIndex) {
  fSelectedObjects.SetCapacity(fObjects.Count() - FirstIndex);
  for (int i = fObjects.Count() - 1; i >= FirstIndex; --i) fObjects[i]->SetSelected(true);
}

std::unique_ptr<TMetafile> TGraphEditor::GetAsMetafile(QPaintDevice*, TGraphObjectList& ObjectList) {
  TRect r = ObjectListBounds(ObjectList);
  auto metafile = std::make_unique<TMetafile>();
  metafile->SetSize(r.Width() + 1, r.Height() + 1);
  {
    TCanvas canvas(&metafile->Recording(), TCanvasKind::Metafile);
    canvas.SetViewportOrg({-r.Left, -r.Top});
    PaintObjects(canvas, ObjectList);
  }
  metafile->FinishRecording();
  return metafile;
}

std::unique_ptr<TBitmap> TGraphEditor::GetAsBitmap(TGraphObjectList& ObjectList) {
  TRect r = ObjectListBounds(ObjectList);
  const int64_t width = int64_t(r.Right) - r.Left + 1, height = int64_t(r.Bottom) - r.Top + 1;
  CheckExportBitmapSize(width, height);
  auto bitmap = std::make_unique<TBitmap>();
  bitmap->SetPixelFormat(pf24bit);
  bitmap->SetSize(int32_t(width), int32_t(height));
  bitmap->MutableImage().fill(Qt::white);
  {
    TCanvas canvas(&bitmap->MutableImage());
    canvas.SetViewportOrg({-r.Left, -r.Top});
    PaintObjects(canvas, ObjectList);
    canvas.SetViewportOrg({0, 0});
  }
  return bitmap;
}

void TGraphEditor::SaveAsMetafile(const QString& Filename) {
  WriteFileAtomically(Filename, GetAsMetafile(nullptr, fObjects)->ToSvg());
}

void TGraphEditor::SaveAsBitmap(const QString& Filename) {
  TMemoryStream file;
  GetAsBitmap(fObjects)->SaveToStream(file);
  WriteFileAtomically(Filename, QByteArrayView(file.Memory(), qsizetype(file.Size())));
}

void TGraphEditor::CopyToGraphic(TGraphic& Graphic) {
  if (dynamic_cast<TMetafile*>(&Graphic)) {
    std::unique_ptr<TMetafile> m = GetAsMetafile(nullptr, fObjects);
    Graphic.Assign(m.get());
  } else {
    std::unique_ptr<TBitmap> b = GetAsBitmap(fObjects);
    Graphic.Assign(b.get());
  }
}

void TGraphEditor::Print(TCanvas& Canvas, const TRect& Rect) {
  TRect g = GraphBounds();
  if (g.IsEmpty() || Rect.IsEmpty()) return;
  int32_t gw = g.Width(), gh = g.Height();
  int32_t rw = Rect.Width(), rh = Rect.Height();
  int32_t w, h;
  if (double(rh) / gh > double(rw) / gw) {
    w = rw;
    h = MulDiv(gh, rw, gw);
  } else {
    h = rh;
    w = MulDiv(gw, rh, gh);
  }
  TRect target = TRect(0, 0, w, h).Offset(Rect.Left + Div(rw - w, 2), Rect.Top + Div(rh - h, 2));
  std::unique_ptr<TMetafile> m = GetAsMetafile(Canvas.Device(), fObjects);
  Canvas.StretchDraw(target, *m);
}
