// CompletionPopup: the completion list by the caret. It never takes the focus: the control keeps
// the keys, filters the list as the user types, and asks it to move, accept or close. The rows
// are a light model over the items, so that a list of thousands (the character references)
// costs only the rows on screen.
#pragma once

#include <QListView>
#include <vector>

#include "memo/engine/complete/Completion.h"

namespace velora::memo {

class TSyntaxMemo;
class CompletionModel;

class CompletionPopup : public QListView {
  Q_OBJECT

 public:
  explicit CompletionPopup(TSyntaxMemo& memo);
  ~CompletionPopup() override;

  // Shows the items (the first one selected), sized to them and placed under the word's start
  // (above it when there is no room below).
  void showItems(std::vector<CompletionItem> items, Pos wordStart);
  [[nodiscard]] const std::vector<CompletionItem>& items() const noexcept;
  [[nodiscard]] const CompletionItem* currentItem() const;
  // Moves the selection by rows (a page with +-rowsShown()), stopping at either end.
  void moveSelection(int rows);
  [[nodiscard]] int rowsShown() const noexcept { return kRows; }

 Q_SIGNALS:
  // A row was clicked: the control accepts it.
  void activated();

 private:
  static constexpr int kRows = 10;
  TSyntaxMemo& memo_;
  CompletionModel* model_;
};

}  // namespace velora::memo
