// A colour drop-down: a custom-colour entry, the standard, extended and
// system colours, and entries for no colour and the default colour, each
// with a swatch and its readable name. The closed box shows just the
// swatch of the selected colour.
#pragma once

#include <QComboBox>
#include <functional>

#include "Color.h"

class TColorBox : public QComboBox {
 public:
  using TNotifyEvent = std::function<void(TColorBox* Sender)>;
  // Asks the user for a colour, starting from Color; false when cancelled.
  using TColorChooser = std::function<bool(QColor& Color)>;

  explicit TColorBox(QWidget* Parent = nullptr);

  TColor Selected() const;
  // Selects the entry of Value, or makes Value the custom colour.
  void SetSelected(TColor Value);
  int IndexOfColor(TColor Value) const;
  int CustomIndex() const { return 0; }

  // Replaces the platform colour dialog (tests, embedding).
  void SetColorChooser(TColorChooser Chooser) { fChooser = std::move(Chooser); }

  // The user chose another colour (SetSelected raises nothing).
  TNotifyEvent OnChange;

 protected:
  void paintEvent(QPaintEvent* Event) override;

 private:
  void AddColor(TColor Value, const QString& Name);
  void SetCustomColor(TColor Value);
  void Activated(int Index);
  void Changed(int Index);

  TColorChooser fChooser;
  int fLastIndex = -1;
  bool fChoosing = false;
};

// The name of a named colour in the interface's language ("黑色",
// "按钮表面"), and of no colour and the default colour; empty for other
// values.
QString ReadableColorName(TColor Value);

// The caption of the custom-colour entry.
QString CustomColorCaption();
