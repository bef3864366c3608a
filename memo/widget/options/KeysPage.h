// The Key Assignments page of the options dialog: the editing commands, the key sequences bound
// to the selected one, and adding and deleting sequences in the edited key table. A sequence that
// collides with a bound one is refused with the duplicate-sequence error and changes nothing.
#pragma once

#include <QWidget>
#include <cstdint>

#include "memo/engine/scheme/SchemeTables.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTreeWidget;

namespace velora::memo {

class TKeyCapture;

class TKeysPage : public QWidget {
  Q_OBJECT

 public:
  TKeysPage(vlr::TSchemeTables& tables, QWidget* parent = nullptr);

  // The command of the selected row, or -1.
  [[nodiscard]] int selectedCommand() const;
  // Binds the sequence in Key1 and Key2 to the selected command; false (with the error shown)
  // when it cannot be bound.
  bool addSequence();
  // Removes the selected sequence of the selected command; false when none is selected.
  bool deleteSequence();
  // Gives the edited key table the keys of a scheme ("Classic" or "Desktop", the Scheme box's
  // items); the Desktop scheme also turns typing runs on, the Classic one off.
  void chooseScheme(int index);

  QComboBox* Scheme;  // the scheme the table follows
  QListWidget* CommandList;
  QTreeWidget* SequenceList;
  TKeyCapture* Key1;
  TKeyCapture* Key2;
  QPushButton* AddButton;
  QPushButton* DeleteButton;
  QLabel* ErrorLabel;

 Q_SIGNALS:
  // A scheme was chosen: the table and the typing runs aid changed.
  void schemeChosen();

 private:
  void showSequences();

  vlr::TSchemeTables& tables_;
};

}  // namespace velora::memo
