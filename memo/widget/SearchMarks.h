// TSearchMarks: the control's search-highlight marks, ranges of the document drawn with a
// highlight over the text. Text changes drop them.
#pragma once

#include <QWidget>
#include <utility>
#include <vector>

#include "memo/engine/Types.h"

namespace velora::memo {

class TSyntaxMemo;

class TSearchMarks : public QWidget {
  Q_OBJECT

 public:
  explicit TSearchMarks(TSyntaxMemo& memo);

  void add(Pos start, Pos end);
  // Replaces every mark (ranges in document order).
  void setRanges(std::vector<std::pair<Pos, Pos>> ranges);
  void clear();
  [[nodiscard]] const std::vector<std::pair<Pos, Pos>>& ranges() const noexcept { return ranges_; }
  // The marks of a control: the overlay on its viewport, made when it has none.
  static TSearchMarks& of(TSyntaxMemo& memo);

 protected:
  void paintEvent(QPaintEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  TSyntaxMemo& memo_;
  std::vector<std::pair<Pos, Pos>> ranges_;
};

}  // namespace velora::memo
