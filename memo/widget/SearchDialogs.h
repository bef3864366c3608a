// TSearchDialog: the control's own find and replace dialog. It searches the control from its
// caret with the options chosen in it (plus those it was opened with), replaces one match or
// all of them as one undo group, and marks all matches with the search-highlight mark.
#pragma once

#include <QDialog>
#include <string>

#include "memo/engine/MemoEngine.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace velora::memo {

class TSyntaxMemo;

class TSearchDialog : public QDialog {
  Q_OBJECT

 public:
  TSearchDialog(TSyntaxMemo& memo, QWidget* parent);

  // Shows the find (or, with `replace`, the replace) layout filled with the text and options.
  void prepare(bool replace, unsigned options, const QString& text);
  [[nodiscard]] bool replaceMode() const noexcept { return replaceMode_; }
  // The options chosen in the dialog plus those it was opened with (never kSearchAtOnce).
  [[nodiscard]] unsigned options() const;
  [[nodiscard]] std::string findText() const;

  // The buttons' actions. findNext and replace return whether a match was found (and
  // selected); replaceAll and markAll return how many matches they replaced or marked.
  bool findNext();
  bool replace();
  int replaceAll();
  int markAll();

  QLineEdit* FindText;
  QLineEdit* ReplaceText;
  QCheckBox* MatchCase;
  QCheckBox* WholeWord;
  QCheckBox* RegularExpression;
  QCheckBox* Backwards;
  QPushButton* FindButton;
  QPushButton* ReplaceButton;
  QPushButton* ReplaceAllButton;
  QPushButton* MarkAllButton;

 protected:
  // Called with the options of every search the dialog runs (owners remember them).
  virtual void searched(const std::string& text, unsigned options) { (void)text; (void)options; }
  // Nothing found: by default the control's OnSearchFail (or its message).
  virtual void notFound(const std::string& text);
  // An expression that does not compile: by default the control's error message.
  virtual void expressionError(const ERegExprError& error);

  TSyntaxMemo& memo_;

 private:
  // The match at the selection, when the selection is one.
  [[nodiscard]] bool selectionIsMatch();
  // One search from `from` with the dialog's options; shows failures.
  SearchMatch find(Pos from, unsigned options, bool report);

  QLabel* replaceLabel_ = nullptr;
  unsigned extraOptions_ = 0;
  bool replaceMode_ = false;
};

}  // namespace velora::memo
