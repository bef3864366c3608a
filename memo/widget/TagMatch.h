// Matching tags and brackets in TSyntaxMemo (smaMatching): the pair at the caret drawn with a
// band behind both parts, the jump to the partner; and linked editing (smaLinkedEditing): a
// change to a start tag's name renames its end tag in the same undo step.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "memo/engine/MarkupPairs.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/Types.h"

class QPainter;
class QKeyEvent;

namespace velora::memo {

class TSyntaxMemo;

class TagMatch {
 public:
  explicit TagMatch(TSyntaxMemo& memo) : memo_(memo) {}

  // The pair at the caret, or none (also while the option is off). Found again only when the
  // caret or the text changed since the last call.
  [[nodiscard]] std::optional<MatchPair> current();
  // The text changed: the pair is found again at the next call.
  void textChanged() noexcept { ++generation_; }
  // Draws a band behind both parts of the pair (before the text is drawn).
  void paint(QPainter& g);
  // Moves the caret to the partner of the pair at the caret; false when there is none.
  bool jumpToPartner();

 private:
  TSyntaxMemo& memo_;
  std::uint64_t generation_ = 0;
  std::uint64_t seenGeneration_ = ~std::uint64_t(0);
  Pos seenCaret_ = -1;
  std::optional<MatchPair> pair_;
};

// Linked editing for one key: made before the key is handled, it notes the start tag whose name
// the caret is in and that tag's end tag, and opens an undo group; when it goes (after the key)
// the end tag takes the start tag's new name and the group closes, so that one undo reverses
// both. Nothing is noted for keys that cannot change the name.
class LinkedRename {
 public:
  LinkedRename(TSyntaxMemo& memo, const QKeyEvent& key);
  ~LinkedRename();
  LinkedRename(const LinkedRename&) = delete;
  LinkedRename& operator=(const LinkedRename&) = delete;

  // The undo group of a linked rename.
  static constexpr int kUndoGroup = 31;

 private:
  void apply();
  MemoEngine* engine_ = nullptr;  // set while a rename is under way
  Pos nameAt_ = 0;                // the start tag's name
  std::string oldName_;
  Pos endNameAt_ = 0;             // the end tag's name
  Pos lengthBefore_ = 0;
  std::optional<MemoEngine::UndoGroup> group_;
};

}  // namespace velora::memo
