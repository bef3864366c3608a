// TTemplatePickList: the borderless list of code templates the control offers when the
// template hot key finds no name before the caret. Each row shows a template's description and,
// in bold after a tab stop, its name. Typed letters select the first name starting with them;
// Return inserts the selected template, Escape closes the list.
#pragma once

#include <QListWidget>
#include <QString>

namespace velora::memo {

class TCodeTemplates;
class TSyntaxMemo;

class TTemplatePickList : public QListWidget {
  Q_OBJECT

 public:
  // Fills the list from the templates, sizes it and places it by the caret of the control; the
  // first template whose name contains `prefix` is selected (else the first row).
  TTemplatePickList(TSyntaxMemo& memo, const TCodeTemplates& templates, const QString& prefix);

  [[nodiscard]] const QString& typed() const noexcept { return typed_; }
  [[nodiscard]] int rowHeight() const noexcept { return rowHeight_; }
  [[nodiscard]] int nameColumn() const noexcept { return nameColumn_; }

 Q_SIGNALS:
  // Return on a row: the index of the template in the list.
  void chosen(int index);
  void closed();

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;

 private:
  void place(TSyntaxMemo& memo);
  void close();

  QString typed_;
  int rowHeight_ = 0;
  int nameColumn_ = 0;
  bool closing_ = false;
};

}  // namespace velora::memo
