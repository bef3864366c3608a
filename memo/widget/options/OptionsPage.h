// The Options page of the options dialog: print and general options, indenting, tab columns,
// the right margin and the gutter of the language settings.
#pragma once

#include <QWidget>
#include <utility>
#include <vector>

#include "memo/engine/scheme/SchemeTables.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QSpinBox;

namespace velora::memo {

class TOptionsPage : public QWidget {
  Q_OBJECT

 public:
  TOptionsPage(vlr::TSchemeTables& tables, QWidget* parent = nullptr);

  // Checks the fields and writes the page into the settings. On a bad field nothing is written,
  // the error is shown on the page, the field gets the focus and the error text is returned.
  [[nodiscard]] QString apply();

  // The check box of an option bit (smoWordWrap, ...), nullptr for bits the page does not show.
  [[nodiscard]] QCheckBox* optionBox(std::uint32_t bit) const;
  // The check box of an editing aid (SyntaxMemoEditingAid bit).
  [[nodiscard]] QCheckBox* aidBox(std::uint32_t bit) const;

  QSpinBox* IndentStep;
  QSpinBox* WrapColumn;
  QLineEdit* TabColumns;
  QLineEdit* DefaultTab;
  QCheckBox* ShowRightMargin;
  QSpinBox* RightMargin;
  QCheckBox* ShowGutter;
  QLineEdit* GutterWidth;
  QLabel* ErrorLabel;

 private:
  QCheckBox* addOption(const char* caption, std::uint32_t bit);
  QCheckBox* addAid(const char* caption, std::uint32_t bit);
  QString fail(QWidget* field, const QString& error);

  vlr::TSchemeTables& tables_;
  std::vector<std::pair<QCheckBox*, std::uint32_t>> options_;
  std::vector<std::pair<QCheckBox*, std::uint32_t>> aids_;
};

}  // namespace velora::memo
