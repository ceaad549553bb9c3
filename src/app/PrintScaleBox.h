// The print dialog's page of scales: fit to page or 1:20 … 1:200.
#pragma once

#include <QWidget>

class QComboBox;

class TPrintScaleBox : public QWidget {
 public:
  explicit TPrintScaleBox(int Scale, QWidget* Parent = nullptr);
  // The scale chosen: its denominator, 0 for fit to page.
  int Scale() const;

 private:
  QComboBox* fChoice = nullptr;
};
