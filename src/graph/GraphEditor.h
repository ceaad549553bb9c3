// The graph editing control: owns an ordered list of graph objects, paints
// them double-buffered over a grid at any zoom, maps client and graph
// coordinates, batches changes between BeginUpdate and EndUpdate, keeps
// Modified and raises its change events. Editing with mouse and keys,
// streaming, the clipboard, scrolling and alignment live in files of their
// own beside this one.
#pragma once

#include <QAbstractScrollArea>
#include <QImage>
#include <QPointer>
#include <functional>
#include <memory>
#include <unordered_map>

#include "Canvas.h"
#include "GraphConstraints.h"
#include "GraphObject.h"
#include "GraphObjectList.h"
#include "GraphScrollBar.h"
#include "GraphTypes.h"
#include "MeasureLabel.h"
#include "ObjectIDIndex.h"
#include "SpatialIndex.h"
#include "Stream.h"
#include "UpdateBracket.h"

#include <QMenu>
class TCanvasRecall;
class TGraphNode;
class TGraphLink;
class TGraphic;
class QPainter;
class TMetafile;
class TBitmap;

// The MIME type of the native clipboard form.
extern const char* const GraphClipboardFormat;
// The largest picture of the plan made as pixels (export, thumbnail,
// clipboard): 512 MiB of 24-bit pixels, some 178 megapixels. Beyond it
// GetAsBitmap raises EOutOfResources ("图片太大") before allocating.
inline constexpr int64_t MaxExportBitmapBytes = int64_t(512) << 20;

// The screen cursor for a cursor id (standard ones and 51..57).
QCursor CursorFromId(TCursor Cursor, double PixelRatio = 1.0);

class TGraphEditor : public QAbstractScrollArea {
  Q_OBJECT

 public:
  using TGraphNotifyEvent = std::function<void(TGraphEditor* Graph, TGraphObject* GraphObject)>;
  using TNotifyEvent = std::function<void(TGraphEditor* Graph)>;
  using TGraphDrawEvent = std::function<void(TGraphEditor* Graph, TCanvas& Canvas)>;
  using TGraphObjectDrawEvent = std::function<void(TGraphEditor* Graph, TGraphObject* GraphObject, TCanvas& Canvas)>;
  using TGraphContextPopupEvent =
      std::function<void(TGraphEditor* Graph, TGraphObject* GraphObject, const TPoint& MousePos, bool& Handled)>;
  using TGraphBeginDragEvent = std::function<void(TGraphEditor* Graph, TGraphObject* GraphObject, THitCode HT)>;
  using TGraphEndDragEvent =
      std::function<void(TGraphEditor* Graph, TGraphObject* GraphObject, THitCode HT, bool Cancelled)>;
  using TGraphStreamEvent = std::function<void(TGraphEditor* Graph, TGraphObject* GraphObject, TStream& Stream)>;
  using TGraphHookEvent =
      std::function<void(TGraphEditor* Graph, TGraphObject* GraphObject, TGraphLink* Link, int Index)>;
  using TGraphCanHookEvent =
      std::function<void(TGraphEditor* Graph, TGraphObject* GraphObject, TGraphLink* Link, int Index, bool& CanHook)>;
  using TGraphCanLinkEvent = std::function<void(TGraphEditor* Graph, TGraphLink* Link, TGraphObject* Source,
                                                TGraphObject* Target, bool& CanLink)>;
  using TCanMoveResizeNodeEvent =
      std::function<void(TGraphEditor* Graph, TGraphNode* Node, int32_t& NewLeft, int32_t& NewTop, int32_t& NewWidth,
                         int32_t& NewHeight, bool& CanMove, bool& CanResize)>;
  using TGraphCanRemoveEvent = std::function<void(TGraphEditor* Graph, TGraphObject* GraphObject, bool& CanRemove)>;
  using TGraphNodeResizeEvent = std::function<void(TGraphEditor* Graph, TGraphNode* Node)>;
  using TGraphInfoTipEvent = std::function<void(TGraphEditor* Graph, TGraphObject* GraphObject, QString& InfoTip)>;
  using TGraphForEachMethod = std::function<bool(TGraphObject* GraphObject, void* UserData)>;
  using TMouseEvent = std::function<void(TGraphEditor* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
  using TMouseMoveEvent = std::function<void(TGraphEditor* Sender, TShiftState Shift, int X, int Y)>;
  using TKeyEvent = std::function<void(TGraphEditor* Sender, int& Key, TShiftState Shift)>;
  using TContextPopupEvent = std::function<void(TGraphEditor* Sender, const TPoint& MousePos, bool& Handled)>;
  using TGraphMeasureEvent = std::function<QString(TGraphEditor* Graph, TGraphObject* GraphObject, THitCode HT)>;

  explicit TGraphEditor(QWidget* AOwner = nullptr);
  ~TGraphEditor() override;

  // --- class registry (shared by every control) ---
  static void Register(TGraphObjectClass AClass);
  static void Unregister(TGraphObjectClass AClass);
  static int NodeClassCount();
  static TGraphNodeClass NodeClasses(int Index);
  static int LinkClassCount();
  static TGraphLinkClass LinkClasses(int Index);
  // A registered class by its stream name, or nullptr.
  static TGraphObjectClass FindClass(const QString& Name);

  // --- published properties ---
  int GridSize() const { return fGridSize; }
  // The distance between the grid dots painted at Zoom: GridSize times the
  // least power of two that keeps them a few screen pixels apart.
  static int32_t GridStep(int32_t GridSize, int Zoom);
  void SetGridSize(int Value);
  TColor GridColor() const { return fGridColor; }
  void SetGridColor(TColor Value);
  bool ShowGrid() const { return fShowGrid; }
  void SetShowGrid(bool Value);
  bool SnapToGrid() const { return fSnapToGrid; }
  void SetSnapToGrid(bool Value) { fSnapToGrid = Value; }
  bool ShowHiddenObjects() const { return fShowHiddenObjects; }
  void SetShowHiddenObjects(bool Value);
  bool HideSelection() const { return fHideSelection; }
  void SetHideSelection(bool Value);
  bool LockNodes() const { return fLockNodes; }
  void SetLockNodes(bool Value);
  bool LockLinks() const { return fLockLinks; }
  void SetLockLinks(bool Value);
  TColor MarkerColor() const { return fMarkerColor; }
  void SetMarkerColor(TColor Value);
  int MarkerSize() const { return fMarkerSize; }
  void SetMarkerSize(int Value);
  int Zoom() const { return fZoom; }
  void SetZoom(int Value);
  TGraphDrawOrder DrawOrder() const { return fDrawOrder; }
  void SetDrawOrder(TGraphDrawOrder Value);
  bool FixedScrollBars() const { return fFixedScrollBars; }
  void SetFixedScrollBars(bool Value);
  int MinNodeSize() const { return fMinNodeSize; }
  void SetMinNodeSize(int Value) { fMinNodeSize = uint16_t(Value); }
  bool DefaultKeyMap() const { return fDefaultKeyMap; }
  void SetDefaultKeyMap(bool Value) { fDefaultKeyMap = Value; }
  TGraphClipboardFormats ClipboardFormats() const { return fClipboardFormats; }
  void SetClipboardFormats(TGraphClipboardFormats Value) { fClipboardFormats = Value; }
  bool Transparent() const { return fTransparent; }
  void SetTransparent(bool Value);
  QMenu* ObjectPopupMenu() const { return fObjectPopupMenu; }
  void SetObjectPopupMenu(QMenu* Value) { fObjectPopupMenu = Value; }
  QMenu* PopupMenu() const { return fPopupMenu; }
  void SetPopupMenu(QMenu* Value) { fPopupMenu = Value; }
  TGraphConstraints* GraphConstraints() const { return fGraphConstraints.get(); }
  void SetGraphConstraints(const TGraphConstraints& Value) { fGraphConstraints->Assign(&Value); }
  TGraphScrollBar* HorzScrollBar() const { return fHorzScrollBar.get(); }
  TGraphScrollBar* VertScrollBar() const { return fVertScrollBar.get(); }
  void SetHorzScrollBar(const TGraphScrollBar& Value) { fHorzScrollBar->Assign(&Value); }
  void SetVertScrollBar(const TGraphScrollBar& Value) { fVertScrollBar->Assign(&Value); }
  // The control's background colour and font.
  TColor Color() const { return fColor; }
  void SetColor(TColor Value);
  TFont* Font() const { return fFont.get(); }
  TCursor Cursor() const { return fCursor; }
  void SetCursor(TCursor Value);

  // --- run-time properties ---
  TGraphObjectList& Objects() { return fObjects; }
  TGraphObjectList& SelectedObjects() { return fSelectedObjects; }
  TGraphObjectList& DraggingObjects() { return fDraggingObjects; }
  TGraphObject* DragSource() const { return fDragSource; }
  THitCode DragHitTest() const { return fDragHitTest; }
  TPoint DragTargetPt() const { return fDragTargetPt; }
  TGraphObject* ObjectAtCursor() const { return fObjectAtCursor; }
  // The cursor the control last showed over its client area.
  TCursor ScreenCursor() const { return fScreenCursor; }
  TPoint CursorPos() const;
  void SetCursorPos(const TPoint& Pt);
  TRect VisibleBounds() const;
  TRect GraphBounds();
  TRect SelectionBounds();
  TRect DraggingBounds();
  bool Modified() const { return fModified; }
  void SetModified(bool Value);
  TGraphCommandMode CommandMode() const { return fCommandMode; }
  void SetCommandMode(TGraphCommandMode Value);
  TGraphNodeClass DefaultNodeClass() const { return fDefaultNodeClass; }
  void SetDefaultNodeClass(TGraphNodeClass Value) { fDefaultNodeClass = Value; }
  TGraphLinkClass DefaultLinkClass() const { return fDefaultLinkClass; }
  void SetDefaultLinkClass(TGraphLinkClass Value) { fDefaultLinkClass = Value; }
  bool IsDestroying() const { return fDestroying; }
  bool IsUpdating() const { return UpdateCount > 0; }
  bool QueryEventsSuspended() const { return SuspendQueryEvents > 0; }
  bool UseRightToLeftReading() const { return layoutDirection() == Qt::RightToLeft; }

  // --- updating and repainting ---
  void BeginUpdate();
  void EndUpdate();
  void Invalidate();
  void InvalidateRect(const TRect& Rect);
  void InvalidateClientRect(const QRect* Rect = nullptr);
  void Draw(TCanvas& Canvas);

  // --- objects and selection ---
  TGraphObject* FindObjectByID(uint32_t ID) const;
  int ObjectsCount(TGraphObjectClass GraphObjectClass = nullptr) const;
  int SelectedObjectsCount(TGraphObjectClass GraphObjectClass = nullptr) const;
  void ForEachObject(const TGraphForEachMethod& Callback, void* UserData, bool Selection);
  void ClearSelection();
  void Clear();

  // --- coordinates ---
  TPoint ClientToGraph(int32_t X, int32_t Y) const;
  TPoint GraphToClient(int32_t X, int32_t Y) const;
  TPoint ScreenToGraph(int32_t X, int32_t Y) const;
  TPoint GraphToScreen(int32_t X, int32_t Y) const;
  void MapGraphToClient(TPoint* Points, int Count) const;
  void MapClientToGraph(TPoint* Points, int Count) const;
  TPoint SnapPoint(const TPoint& Pt) const;
  void SnapOffset(const TPoint& Pt, int32_t& dX, int32_t& dY) const;

  // --- zoom ---
  bool ChangeZoom(int NewZoom, TGraphZoomOrigin Origin);
  bool ChangeZoomBy(int Delta, TGraphZoomOrigin Origin);
  bool ZoomRect(const TRect& Rect);
  bool ZoomObject(TGraphObject* GraphObject);
  bool ZoomSelection();
  bool ZoomGraph();

  // --- live measure and point snapping ---
  // The label shown beside the cursor while an object is dragged (what
  // OnDragMeasure answered for it; empty when none shows), and its place
  // in client pixels.
  const QString& DragMeasure() const { return fDragMeasure; }
  const QRect& DragMeasureRect() const { return fDragMeasureRect; }
  // Asks OnDragMeasure again and repaints the label where it was and is.
  void UpdateDragMeasure();
  // How near, in screen pixels, a link point must come to another link's
  // point to snap onto it.
  static constexpr int LinkPointSnapPixels = 6;
  // The nearest point (an end or a bend) of a shown link other than Except
  // within LinkPointSnapPixels of Pt at the current zoom.
  bool FindLinkPointNear(const TPoint& Pt, const TGraphObject* Except, TPoint& Found);

  // --- editing (mouse and keys) ---
  TGraphObject* FindObjectAt(int32_t X, int32_t Y, TGraphObject* LookAfter = nullptr);
  void ToggleSelection(const TRect& Rect, bool KeepOld, TGraphObjectClass GraphObjectClass = nullptr);
  TGraphObject* FindNextObject(int StartIndex, bool Inclusive, bool Backward, bool Wrap,
                               TGraphObjectClass GraphObjectClass = nullptr);
  bool SelectNextObject(bool Backward, TGraphObjectClass GraphObjectClass = nullptr);
  TGraphNode* InsertNode(const TRect& Bounds, TGraphNodeClass ANodeClass = nullptr);
  TGraphLink* InsertLink(TGraphObject* Source, TGraphObject* Target, TGraphLinkClass ALinkClass = nullptr);
  TGraphLink* InsertLink(TGraphObject* Source, const TPoints& PointArray, TGraphLinkClass ALinkClass = nullptr);
  TGraphLink* InsertLink(const TPoints& PointArray, TGraphObject* Target, TGraphLinkClass ALinkClass = nullptr);
  TGraphLink* InsertLink(const TPoints& PointArray, TGraphLinkClass ALinkClass = nullptr);
  const TRect& MarkedArea() const { return fMarkedArea; }
  bool ValidMarkedArea() const { return fValidMarkedArea; }
  void ChangeMarkedArea(const TRect& Rect);

  // --- alignment ---
  bool AlignSelection(THAlignOption Horz, TVAlignOption Vert);
  bool ResizeSelection(TResizeOption Horz, TResizeOption Vert);

  // --- scrolling ---
  void ScrollBy(int32_t DeltaX, int32_t DeltaY);
  void ScrollInView(TGraphObject* GraphObject);
  void ScrollInView(const TRect& Rect);
  void ScrollInView(const TPoint& Pt);
  void ScrollCenter(TGraphObject* GraphObject);
  void ScrollCenter(const TRect& Rect);
  void ScrollCenter(const TPoint& Pt);
  // The client area (viewport) size in pixels.
  int ClientWidth() const;
  int ClientHeight() const;
  bool UpdatingScrollBars() const { return fUpdatingScrollBars; }

  // --- streams and files ---
  void SaveToStream(TStream& Stream);
  // Writes what SaveToStream writes, leaving Modified alone (a copy kept
  // for recovery is not a save).
  void StoreDocument(TStream& Stream);
  void LoadFromStream(TStream& Stream);
  void SaveToFile(const QString& Filename);
  void LoadFromFile(const QString& Filename);
  void MergeFromStream(TStream& Stream, int32_t OffsetX, int32_t OffsetY);
  void MergeFromFile(const QString& Filename, int32_t OffsetX, int32_t OffsetY);
  void StoreObjectRecord(TStream& Stream, TGraphObject* GraphObject);
  TGraphObject* LoadObjectRecord(TStream& Stream);

  // --- clipboard, pictures, printing ---
  void CopyToClipboard(bool Selection);
  bool PasteFromClipboard();
  // Both write beside Filename and replace it only when complete.
  void SaveAsMetafile(const QString& Filename);
  void SaveAsBitmap(const QString& Filename);
  void CopyToGraphic(TGraphic& Graphic);
  void Print(TCanvas& Canvas, const TRect& Rect);

  // --- offered to objects ---
  void ReportObjectChange(TGraphObject* GraphObject, TGraphChangeFlags Flags);
  void SetScreenCursor(TCursor Cursor);
  // Keeps the ID index in step when a listed object's ID changes.
  void ObjectIDChanged(TGraphObject* GraphObject, uint32_t OldID);
  // Keeps the spatial index in step: the object's painted area or its
  // showing may have changed.
  void ObjectAreaChanged(TGraphObject* GraphObject) { fSpatialIndex.Touch(GraphObject); }
  // New, converted from Old, takes Old's place everywhere the control keeps
  // it: the lists, both indexes, the other objects' references and the
  // object under the mouse. No list events are raised.
  void ObjectConverted(TGraphObject* Old, TGraphObject* New);
  // The object's index in Objects, or -1.
  int ZOrderOf(const TGraphObject* GraphObject);
  // With the spatial index off, hit finding, painting, the rubber band and
  // the graph's bounds walk the whole Objects list (the definitions the
  // index answers by); the answers are the same either way.
  bool SpatialIndexEnabled() const { return fSpatialIndexEnabled; }
  void SetSpatialIndexEnabled(bool Value) { fSpatialIndexEnabled = Value; }
  // Level of detail on screen (on by default): zoomed out, below 100 %,
  // illegible text, pictures a few pixels large and sub-pixel polyline
  // pieces are drawn cheaply (TCanvas::Reduced). At 100 % and above, and in
  // prints, recordings and Draw, the output is the same either way.
  bool LevelOfDetail() const { return fLevelOfDetail; }
  void SetLevelOfDetail(bool Value);
  // Adds (or, with a negative step, removes) a hold on the query events.
  void ChangeQueryEventSuspension(int Step) { SuspendQueryEvents += Step; }
  // Runs Step in an update bracket with the query events held: what is
  // loaded was allowed when it was stored, so nobody is asked again.
  template <class F>
  void WithinLoadBracket(F&& Step) {
    WithinUpdate(
        *this,
        [&] {
          ChangeQueryEventSuspension(+1);
          std::forward<F>(Step)();
        },
        [&] { ChangeQueryEventSuspension(-1); });
  }

  // --- virtual operations, in the order the control introduces them ---
  virtual void NotifyZoomChange();
  virtual void NotifyGraphChange();
  virtual void NotifyCommandModeChange();
  virtual void NotifyBeforeDraw(TCanvas& Canvas);
  virtual void NotifyAfterDraw(TCanvas& Canvas);
  virtual void NotifyObjectClick(TGraphObject* GraphObject);
  virtual void NotifyObjectDblClick(TGraphObject* GraphObject);
  virtual void NotifyObjectInitInstance(TGraphObject* GraphObject);
  virtual void NotifyObjectInsert(TGraphObject* GraphObject);
  virtual void NotifyObjectRemove(TGraphObject* GraphObject);
  virtual void NotifyObjectSelect(TGraphObject* GraphObject);
  virtual void NotifyObjectChange(TGraphObject* GraphObject);
  virtual void NotifyObjectMouseEnter(TGraphObject* GraphObject);
  virtual void NotifyObjectMouseLeave(TGraphObject* GraphObject);
  virtual void NotifyObjectBeforeDraw(TCanvas& Canvas, TGraphObject* GraphObject);
  virtual void NotifyObjectAfterDraw(TCanvas& Canvas, TGraphObject* GraphObject);
  virtual void NotifyObjectContextPopup(TGraphObject* GraphObject, const TPoint& MousePos, bool& Handled);
  virtual void NotifyObjectBeginDrag(TGraphObject* GraphObject, THitCode HT);
  virtual void NotifyObjectEndDrag(TGraphObject* GraphObject, THitCode HT, bool Cancelled);
  virtual void NotifyObjectRead(TGraphObject* GraphObject, TStream& Stream);
  virtual void NotifyObjectWrite(TGraphObject* GraphObject, TStream& Stream);
  virtual void NotifyObjectUnhook(TGraphObject* GraphObject, TGraphLink* Link, int Index);
  virtual void NotifyObjectHook(TGraphObject* GraphObject, TGraphLink* Link, int Index);
  virtual void QueryCanHookLink(TGraphObject* GraphObject, TGraphLink* Link, int Index, bool& CanHook);
  virtual void QueryCanLinkObjects(TGraphLink* Link, TGraphObject* Source, TGraphObject* Target, bool& CanLink);
  virtual void QueryCanMoveResizeNode(TGraphNode* Node, int32_t& NewLeft, int32_t& NewTop, int32_t& NewWidth,
                                      int32_t& NewHeight, bool& CanMove, bool& CanResize);
  virtual void QueryCanRemoveObject(TGraphObject* GraphObject, bool& CanRemove);
  virtual void NotifyNodeMoveResize(TGraphNode* Node);
  virtual void LoadObjects(TStream& Stream);
  virtual void StoreObjects(TStream& Stream, TGraphObjectList& ObjectList);
  virtual void LoadObjectsState(TStream& Stream);
  virtual void StoreObjectsState(TStream& Stream, TGraphObjectList& ObjectList);
  virtual void PaintGrid(TCanvas& Canvas);
  virtual void PaintObjects(TCanvas& Canvas, TGraphObjectList& ObjectList);
  virtual void PaintSelectionMarks(TCanvas& Canvas);
  virtual uint32_t AllocateObjectID(TGraphObject* GraphObject);
  virtual TRect ObjectListBounds(TGraphObjectList& ObjectList);
  virtual void SetupZoomedDC(TCanvas& Canvas, const TPoint* Origin);
  // The zoomed mapping onto device pixels at PixelRatio per client pixel,
  // Origin (client pixels) at the canvas' top-left.
  void SetupDeviceDC(TCanvas& Canvas, const TPoint& Origin, double PixelRatio);
  void PaintBuffer(TCanvas& Canvas, const QRect& Client, double PixelRatio);
  // Paints the client rectangle u through the back buffer; Clip keeps what
  // floats above the plan inside it.
  void PaintUpdateRect(const QRect& u, bool Clip);
  virtual void RefreshScrollBars();
  virtual void RecalcScrollRanges();
  virtual bool StartObjectsDrag(TGraphObject* GraphObject, const TPoint& Pt, THitCode HT);
  virtual void DragObjectsBy(int32_t dX, int32_t dY);
  virtual void FinishObjectsDrag(bool Accept);
  virtual void TrackObjectAtCursor(const TPoint& Pt);
  virtual void ChangeObjectAtCursor(TGraphObject* GraphObject);
  virtual bool ProcessGraphKey(int& Key, TShiftState Shift);
  virtual std::unique_ptr<TMetafile> GetAsMetafile(QPaintDevice* RefDC, TGraphObjectList& ObjectList);
  virtual std::unique_ptr<TBitmap> GetAsBitmap(TGraphObjectList& ObjectList);

  // --- events ---
  TNotifyEvent OnZoomChange, OnGraphChange, OnCommandModeChange;
  TGraphDrawEvent OnBeforeDraw, OnAfterDraw;
  TGraphNotifyEvent OnObjectClick, OnObjectDblClick, OnObjectInitInstance, OnObjectInsert, OnObjectRemove,
      OnObjectSelect, OnObjectChange, OnObjectMouseEnter, OnObjectMouseLeave;
  TGraphObjectDrawEvent OnObjectBeforeDraw, OnObjectAfterDraw;
  TGraphContextPopupEvent OnObjectContextPopup;
  TGraphBeginDragEvent OnObjectBeginDrag;
  TGraphEndDragEvent OnObjectEndDrag;
  TGraphStreamEvent OnObjectRead, OnObjectWrite;
  TGraphHookEvent OnObjectUnhook, OnObjectHook;
  TGraphCanHookEvent OnCanHookLink;
  TGraphCanLinkEvent OnCanLinkObjects;
  TCanMoveResizeNodeEvent OnCanMoveResizeNode;
  TGraphCanRemoveEvent OnCanRemoveObject;
  TGraphNodeResizeEvent OnNodeMoveResize;
  TGraphInfoTipEvent OnInfoTip;
  // The platform control's own events.
  TMouseEvent OnMouseDown, OnMouseUp;
  TMouseMoveEvent OnMouseMove;
  TNotifyEvent OnClick, OnDblClick, OnEnter, OnExit;
  TKeyEvent OnKeyDown, OnKeyUp;
  TContextPopupEvent OnContextPopup;
  TGraphMeasureEvent OnDragMeasure;

  // An off-screen canvas for measuring captions without touching a window.
  TCanvas& MeasureCanvas();

  // Renders the control (grid, objects, selection) into an image of the
  // client size, as a paint of the whole window would; at a pixel ratio
  // other than 1 the image has that many device pixels per client pixel
  // (and says so in its devicePixelRatio), as a denser screen shows it.
  QImage RenderToImage(double PixelRatio = 1.0);

 protected:
  bool event(QEvent* Event) override;
  void paintEvent(QPaintEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool viewportEvent(QEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void wheelEvent(QWheelEvent* Event) override;
  void keyPressEvent(QKeyEvent* Event) override;
  void keyReleaseEvent(QKeyEvent* Event) override;
  void focusInEvent(QFocusEvent* Event) override;
  void focusOutEvent(QFocusEvent* Event) override;
  void contextMenuEvent(QContextMenuEvent* Event) override;
  void leaveEvent(QEvent* Event) override;
  void changeEvent(QEvent* Event) override;
  bool focusNextPrevChild(bool Next) override;

  // Paints grid, objects and selection marks on a canvas already mapped.
  void PaintControl(TCanvas& Canvas);

 private:
  friend class TGraphScrollBar;

  void ObjectListChanged(TGraphObjectList* Sender, TGraphObject* GraphObject, TGraphObjectListAction Action);
  void SelectedListChanged(TGraphObjectList* Sender, TGraphObject* GraphObject, TGraphObjectListAction Action);
  void DraggingListChanged(TGraphObjectList* Sender, TGraphObject* GraphObject, TGraphObjectListAction Action);
  void FontChanged();
  void MarkBoundsStale(uint8_t Which) { SaveBoundsChange |= Which; }
  void CancelHint();
  TPoint ClientPointOf(const QPointF& P) const;
  void RefreshCursorAfterKey(Qt::KeyboardModifiers Modifiers);
  void Click();
  void DblClick();
  bool SpaceSelection(bool Horizontal);
  void SelectRange(int FirstIndex);
  // The object records of a stream, read with change events held back.
  void LoadObjectRecords(TStream& Stream);
  void RenumberAndFinish(int OldCount);
  void FollowRenumbering(TGraphObject* GraphObject, const std::unordered_map<uint32_t, uint32_t>& Renumbered,
                         std::vector<uint32_t>& References);
  TGraphObject* FindObjectAtByScan(int32_t X, int32_t Y, TGraphObject* LookAfter);
  // The objects of Objects that may show on Canvas, in list order; false
  // when the whole list is to be walked instead.
  bool PaintCandidates(TCanvas& Canvas, std::vector<TGraphObject*>& Objects);
  // Adds the selected objects to Objects, which stays in list order.
  void MergeSelected(std::vector<TGraphObject*>& Objects);
  void HandleMouseDown(TMouseButton Button, TShiftState Shift, const TPoint& P);
  void HandleMouseMove(TShiftState Shift, const TPoint& P);
  void HandleMouseUp(TMouseButton Button, TShiftState Shift, const TPoint& P);
  TGraphObject* PlaceObjectAt(TPoint& Pt, TGraphObjectClass ObjectClass, bool Snap);
  void ShowHint(QEvent* Event);
  // Draws the live measure label on Painter, whose origin is client Origin.
  void PaintDragMeasure(QPainter& Painter, const QPoint& Origin);

  // Published property values.
  int fGridSize = 8;
  TColor fGridColor = 0x808080;
  bool fShowGrid = true;
  bool fSnapToGrid = true;
  bool fShowHiddenObjects = false;
  bool fHideSelection = false;
  bool fLockNodes = false;
  bool fLockLinks = false;
  TColor fMarkerColor = 0;
  int fMarkerSize = 3;
  int fZoom = 100;
  TGraphDrawOrder fDrawOrder = doDefault;
  bool fFixedScrollBars = false;
  uint16_t fMinNodeSize = 16;
  bool fDefaultKeyMap = true;
  TGraphClipboardFormats fClipboardFormats = cfNative;
  bool fTransparent = false;
  QPointer<QMenu> fObjectPopupMenu;
  QPointer<QMenu> fPopupMenu;
  TColor fColor;
  std::unique_ptr<TFont> fFont;
  TCursor fCursor = crDefault;

  // Keeps on each own object its place in fObjects, so that the list finds
  // any of them without a search.
  struct TObjectPlaces final : TGraphObjectPlaces {
    explicit TObjectPlaces(const TGraphEditor* AGraph) : Graph(AGraph) {}
    int PlaceOf(const TGraphObject* Item) const override;
    void SetPlace(TGraphObject* Item, int Place) override;
    const TGraphEditor* Graph;
  };

  // Owned helpers; the lists come before the objects that use them.
  TObjectPlaces fObjectPlaces{this};
  TGraphObjectList fObjects;
  TGraphObjectList fSelectedObjects;
  TGraphObjectList fDraggingObjects;
  TSpatialIndex fSpatialIndex{fObjects};
  bool fSpatialIndexEnabled = true;
  bool fLevelOfDetail = true;
  std::vector<TGraphObject*> fObjectsAtPoint;  // FindObjectAt's candidates
  bool fFindingObject = false;
  std::unique_ptr<TMemoryStream> UndoStorage;
  std::unique_ptr<TGraphScrollBar> fHorzScrollBar;
  std::unique_ptr<TGraphScrollBar> fVertScrollBar;
  std::unique_ptr<TGraphConstraints> fGraphConstraints;
  std::unique_ptr<TCanvasRecall> fCanvasRecall;
  std::unique_ptr<TCanvas> fMeasureCanvas;

  // State.
  bool fModified = false;
  TGraphCommandMode fCommandMode = cmEdit;
  TGraphNodeClass fDefaultNodeClass = nullptr;
  TGraphLinkClass fDefaultLinkClass = nullptr;
  int UpdateCount = 0;
  int SaveModified = 0;
  bool SaveRangeChange = false;
  QRect SaveInvalidateRect;
  bool SaveInvalidateAll = false;
  uint8_t SaveBoundsChange = 0;  // bit 0 graph, bit 1 selection, bit 2 dragging
  TRect SaveBounds[3];
  int SuspendQueryEvents = 0;
  bool fUpdatingScrollBars = false;
  bool fRefreshPending = false;
  TRect fMarkedArea = InvertedRect;
  bool fValidMarkedArea = false;
  TGraphObject* fDragSource = nullptr;
  THitCode fDragHitTest = htNone;
  TPoint fDragSourcePt;
  TPoint fDragTargetPt;
  bool fDragModified = false;
  bool fModifiedBeforeDrag = false;
  TGraphObject* fObjectAtCursor = nullptr;
  bool fDestroying = false;
  QImage fBackBuffer;
  // The last mouse position the control saw, in client pixels.
  QPoint fMouseClientPos;
  bool fMouseKnown = false;
  bool fClicked = false;
  TCursor fScreenCursor = crDefault;
  QString fDragMeasure;
  QRect fDragMeasureRect;
  TMeasureLabels fMeasureLabels;
  // The listed objects by ID, so that ID allocation and lookup stay fast on
  // large graphs and on many objects sharing one ID.
  TObjectIDIndex fIDIndex;
};

constexpr uint8_t bcGraph = 1, bcSelection = 2, bcDragging = 4;
