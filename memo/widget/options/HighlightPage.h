// The Highlighting page of the options dialog: the look of each editable style (font style,
// colours, default colours), the font of the language, and a live preview of the language's
// example text drawn with the edited styles. Clicking a character of the preview selects its
// style.
#pragma once

#include <QPoint>
#include <QWidget>

#include "memo/engine/scheme/SchemeTables.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QLabel;
class QListWidget;

namespace vlr {
class THighlightDriver;
}

namespace velora::memo {

class TColorBox;
class TSyntaxMemo;

class THighlightPage : public QWidget {
  Q_OBJECT

 public:
  THighlightPage(vlr::TSchemeTables& tables, QWidget* parent = nullptr);
  ~THighlightPage() override;

  // The style of the selected row, or -1.
  [[nodiscard]] int selectedStyle() const;
  // Selects the row of style `style`; false when the style is not editable.
  bool selectStyle(int style);
  // A click at `at` (preview viewport coordinates): selects the style of the character there,
  // unless the click is within 5 pixels of the previous one.
  void previewClicked(QPoint at);

  // The font sizes offered.
  static const int kFontSizes[13];

  QLabel* LanguageName;
  QListWidget* StyleList;
  QCheckBox* Bold;
  QCheckBox* Italic;
  QCheckBox* Underline;
  TColorBox* Foreground;
  TColorBox* Background;
  QCheckBox* DefaultForeground;
  QCheckBox* DefaultBackground;
  // The band behind the caret's line (smaCurrentLine), with "Use default" for the control's own
  // shade of the background.
  TColorBox* CurrentLine;
  QCheckBox* DefaultCurrentLine;
  QFontComboBox* FontName;
  QComboBox* FontSize;
  // Light, Dark or Follow the desktop (TSchemeSettings::appearance); disabled without a dark
  // style set.
  QComboBox* Appearance;
  TSyntaxMemo* Preview;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void showStyle();
  void styleEdited();
  void refreshPreview();
  void currentLineEdited();

  vlr::TSchemeTables& tables_;
  vlr::TSyntaxMemoParser previewParser_;
  vlr::THighlightDriver* driver_ = nullptr;
  bool loading_ = false;
  QPoint lastClick_{-100, -100};
};

}  // namespace velora::memo
