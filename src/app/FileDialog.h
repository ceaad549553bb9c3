// A modal file dialog kept as settings between showings: title, filter
// ("description|pattern|description|pattern..."), default extension,
// file name, chosen filter position (from 1) and options. Execute shows
// the platform dialog and, when confirmed, keeps the chosen name.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;

enum TFileDialogKind { fdOpen, fdSave };

struct TFileDialogOptions {
  bool ReadOnlyBox = false;      // offer "open read-only"
  bool ReadOnlyChecked = false;  // its state, kept from the last confirmation
  bool OverwritePrompt = false;  // ask before replacing a file
};

class TFileDialog {
 public:
  TFileDialog(TFileDialogKind Kind, const QString& Title, const QString& Filter, const QString& DefaultExt,
              const QString& FileName);

  TFileDialogKind Kind() const { return fKind; }
  const QString& Title() const { return fTitle; }
  const QString& Filter() const { return fFilter; }
  const QString& DefaultExt() const { return fDefaultExt; }
  const QString& FileName() const { return fFileName; }
  void SetFileName(const QString& Value) { fFileName = Value; }
  int FilterIndex() const { return fFilterIndex; }
  void SetFilterIndex(int Value) { fFilterIndex = Value; }
  TFileDialogOptions& Options() { return fOptions; }
  const TFileDialogOptions& Options() const { return fOptions; }

  // Shows the dialog over Parent; false when cancelled.
  bool Execute(QWidget* Parent);

 private:
  TFileDialogKind fKind;
  QString fTitle;
  QString fFilter;
  QString fDefaultExt;
  QString fFileName;
  int fFilterIndex = 1;
  TFileDialogOptions fOptions;
};

// The filter as the platform dialog's name filters: "户型图 (*.kvf)|*.kvf"
// gives "户型图 (*.kvf)"; a description without patterns gets them
// appended ("JPEG 文件 (*.jpg)"); "*.*" becomes "*", which also matches
// names without a dot.
QStringList NameFiltersOf(const QString& Filter);
