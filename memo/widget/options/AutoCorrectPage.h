// The Auto correct page of the options dialog: the replacement pairs of the language (add, change,
// delete) and the act keys that trigger a replacement.
#pragma once

#include <QWidget>

#include "memo/engine/scheme/SchemeTables.h"

class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace velora::memo {

class TAutoCorrectPage : public QWidget {
  Q_OBJECT

 public:
  TAutoCorrectPage(vlr::TSchemeTables& tables, QWidget* parent = nullptr);

  // Adds the pair in Replace and With; false (error shown) for an empty or listed item.
  bool addPair();
  // Puts the pair in Replace and With in place of the selected one.
  bool replacePair();
  bool deletePair();
  // Checks the act keys and writes them; the error text (shown on the page) or "".
  [[nodiscard]] QString apply();

  QLineEdit* ReplaceText;
  QLineEdit* WithText;
  QTreeWidget* PairList;
  QPushButton* AddButton;
  QPushButton* ReplaceButton;
  QPushButton* DeleteButton;
  QLineEdit* ActKeys;
  QLabel* ErrorLabel;

 private:
  void fillList();
  void selectItem(const std::string& item);
  // Index of the entry whose item is `item`, or -1.
  int find(const std::string& item) const;
  bool refuse(const QString& error);

  vlr::TSchemeTables& tables_;
};

}  // namespace velora::memo
