// The Code templates page of the options dialog: the templates of the language (name, description
// and text; add, edit in place, delete) and the hot key that expands them.
#pragma once

#include <QWidget>

#include "memo/engine/scheme/SchemeTables.h"

class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTreeWidget;

namespace velora::memo {

class TKeyCapture;

class TTemplatesPage : public QWidget {
  Q_OBJECT

 public:
  TTemplatesPage(vlr::TSchemeTables& tables, QWidget* parent = nullptr);

  // Adds a template with a new name and selects it for editing.
  void addTemplate();
  bool deleteTemplate();
  // Checks the names (none blank, none twice) and writes the hot key; the error text or "".
  [[nodiscard]] QString apply();

  QTreeWidget* TemplateList;
  QLineEdit* NameText;
  QLineEdit* DescriptionText;
  QPlainTextEdit* TemplateText;
  TKeyCapture* HotKey;
  QPushButton* AddButton;
  QPushButton* DeleteButton;
  QLabel* ErrorLabel;

 private:
  void fillList(int select);
  void showTemplate();
  void edited();

  vlr::TSchemeTables& tables_;
  bool loading_ = false;
};

}  // namespace velora::memo
