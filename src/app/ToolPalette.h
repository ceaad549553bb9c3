// The designer's tool palette: categories stacked top to bottom, each a
// caption bar over a coloured area whose buttons flow downwards, one per
// row. A button shows an image and a caption, fills with a gradient, shows
// its hint as tool tip, and the last clicked one stays marked. A click on a
// caption bar folds or unfolds its category. The palette scrolls vertically
// when it is taller than its window.
#pragma once

#include <QAbstractScrollArea>
#include <QColor>
#include <QPixmap>
#include <functional>
#include <vector>

struct TPaletteButton {
  QString Caption;
  QString Hint;
  int ImageIndex = -1;
};

struct TPaletteCategory {
  QString Caption;
  QColor Color;
  std::vector<TPaletteButton> Buttons;
  bool Collapsed = false;
};

// A button's address: its category's index and its index in the category.
struct TPaletteItem {
  int Category = -1;
  int Index = -1;

  bool IsValid() const { return Category >= 0 && Index >= 0; }
  bool operator==(const TPaletteItem&) const = default;
};

class TToolPalette : public QAbstractScrollArea {
 public:
  using TButtonClickedEvent = std::function<void(TToolPalette* Sender, TPaletteItem Button)>;
  using TImageSource = std::function<QPixmap(int ImageIndex)>;

  static constexpr int CaptionHeight = 20;
  static constexpr int ButtonHeight = 22;
  static constexpr int ButtonSpacing = 1;
  static constexpr int ButtonInset = 3;  // left and right of each button, below each category

  explicit TToolPalette(QWidget* Parent = nullptr);

  // Answers the new category's index.
  int AddCategory(const QString& Caption, const QColor& Color);
  void AddButton(int Category, const TPaletteButton& Button);
  int CategoryCount() const { return int(fCategories.size()); }
  const TPaletteCategory& Category(int Index) const { return fCategories.at(size_t(Index)); }
  void SetCollapsed(int Category, bool Collapsed);

  // Where button pictures come from (an image list index to a pixmap).
  void SetImageSource(TImageSource Source);
  QColor ButtonColor() const { return fButtonColor; }
  void SetButtonColor(const QColor& Value);
  QColor SelectedButtonColor() const { return fSelectedButtonColor; }
  void SetSelectedButtonColor(const QColor& Value);

  // The last clicked button; invalid before the first click.
  TPaletteItem SelectedItem() const { return fSelected; }
  // Marks Item as the tool in force without clicking it.
  void SetSelectedItem(TPaletteItem Item);

  // Places in viewport coordinates, as currently scrolled. A button of a
  // folded category has an empty rectangle.
  QRect CaptionRect(int Category) const;
  QRect ButtonRect(TPaletteItem Item) const;
  TPaletteItem ButtonAt(const QPoint& Pos) const;
  int CaptionAt(const QPoint& Pos) const;
  // Scrolls as little as needed to show the button whole.
  void EnsureVisible(TPaletteItem Item);
  int ContentHeight() const { return fContentHeight; }

  QSize sizeHint() const override;

  TButtonClickedEvent OnButtonClicked;
  // A double click on a button: after the click its first press and
  // release made.
  TButtonClickedEvent OnButtonDoubleClicked;

 protected:
  void paintEvent(QPaintEvent* Event) override;
  void mousePressEvent(QMouseEvent* Event) override;
  void mouseReleaseEvent(QMouseEvent* Event) override;
  void mouseDoubleClickEvent(QMouseEvent* Event) override;
  void mouseMoveEvent(QMouseEvent* Event) override;
  void leaveEvent(QEvent* Event) override;
  void resizeEvent(QResizeEvent* Event) override;
  void scrollContentsBy(int dx, int dy) override;
  bool viewportEvent(QEvent* Event) override;

 private:
  // Rectangles in content coordinates (unscrolled).
  QRect ContentCaptionRect(int Category) const;
  QRect ContentButtonRect(TPaletteItem Item) const;
  void Relayout();
  void SetHot(TPaletteItem Item);
  void PaintCaption(QPainter& Painter, int Category) const;
  void PaintButton(QPainter& Painter, TPaletteItem Item) const;
  QPixmap ImageOf(int ImageIndex) const;

  std::vector<TPaletteCategory> fCategories;
  std::vector<int> fCategoryTops;  // content y of each caption bar
  int fContentHeight = 0;
  TImageSource fImages;
  QColor fButtonColor = Qt::white;
  QColor fSelectedButtonColor = QColor(0xE6, 0xE6, 0xE6);
  TPaletteItem fSelected;
  TPaletteItem fHot;
  TPaletteItem fPressed;
  int fPressedCaption = -1;
};
