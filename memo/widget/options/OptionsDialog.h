// TOptionsDialog "Editor options": edits a copy of a parser's language settings on the pages chosen
// by VisiblePropEdPages (Options, Highlighting, Key Assignments, Auto correct, Code templates).
// OK checks every page and hands the edited copy back; Cancel drops it. EditProperties runs it
// for a parser (or the parser's OnModifyProperties in its place).
#pragma once

#include <QDialog>
#include <functional>

#include "memo/engine/Options.h"
#include "memo/engine/scheme/SchemeTables.h"

class QDialogButtonBox;
class QPushButton;
class QTabWidget;

namespace vlr {
class TSyntaxMemoParser;
}

namespace velora::memo {

class TAutoCorrectPage;
class THighlightPage;
class TKeysPage;
class TOptionsPage;
class TTemplatesPage;

class TOptionsDialog : public QDialog {
  Q_OBJECT

 public:
  TOptionsDialog(const vlr::TSchemeTables& tables, unsigned pages, QWidget* parent = nullptr);
  ~TOptionsDialog() override;

  // The edited copy of the tables.
  [[nodiscard]] const vlr::TSchemeTables& edited() const noexcept { return tables_; }
  // Checks and writes every page; with an error the dialog stays open on that page.
  void accept() override;

  QTabWidget* Pages;
  // The pages shown; nullptr for pages not chosen.
  TOptionsPage* OptionsPage = nullptr;
  THighlightPage* HighlightPage = nullptr;
  TKeysPage* KeysPage = nullptr;
  TAutoCorrectPage* AutoCorrectPage = nullptr;
  TTemplatesPage* TemplatesPage = nullptr;
  QPushButton* OkButton;
  QPushButton* CancelButton;

 private:
  vlr::TSchemeTables tables_;
};

// Runs the dialog for the parser on `pages`. On OK the edited tables become the parser's and the
// answer is true; on Cancel the parser is untouched.
bool ExecuteOptionsDialog(vlr::TSyntaxMemoParser& parser, unsigned pages, QWidget* parent);

// The parser's EditProperties: its OnModifyProperties when assigned, otherwise the options
// dialog. True when the settings were changed.
bool EditProperties(vlr::TSyntaxMemoParser& parser, QWidget* parent = nullptr, unsigned pages = kAllPropEdPages);

// Test seam: with a driver installed, ExecuteOptionsDialog shows the dialog without a modal loop
// and hands it to the driver, which works it like a user and closes it (accept or reject; a
// dialog left open counts as cancelled). nullptr removes the driver.
using TOptionsDialogDriver = std::function<void(TOptionsDialog&)>;
void SetOptionsDialogDriver(TOptionsDialogDriver driver);
[[nodiscard]] bool HasOptionsDialogDriver();

}  // namespace velora::memo
