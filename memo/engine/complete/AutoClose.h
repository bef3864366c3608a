// Auto-closing while typing in an HTML page: the end tag after a start tag's ">", the nearest
// open element's end tag on "</", quotes and brackets in pairs with the closer stepped over when
// typed. Each decision is taken from the highlighter's token values before the caret
// (MarkupTokens.h), and each insertion is one undo step together with the typed character.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "memo/engine/Types.h"

namespace velora::memo {

class MemoEngine;
struct WebData;

// The undo group of a typed character with what the aids insert with it.
inline constexpr int kGroupTypingAid = 23;

class AutoCloser {
 public:
  // Types `c` at the caret with the aids the engine's EditingAids switch on (smaAutoCloseTags,
  // smaAutoClosePairs). False when the character is none of theirs here: the caller types it.
  bool typeChar(MemoEngine& e, const WebData& data, char c);
  // True while the caret is inside an end tag that "</" moved into, its rest not yet typed.
  [[nodiscard]] bool overtyping() const noexcept { return !overtype_.empty(); }
  // Forgets the closers it inserted (the document was replaced).
  void reset() noexcept {
    count_ = 0;
    overtype_.clear();
  }

 private:
  bool closeStartTag(MemoEngine& e, const WebData& data);
  bool completeEndTag(MemoEngine& e, const WebData& data);
  bool pair(MemoEngine& e, char open, char close);
  bool stepOver(MemoEngine& e, char c);
  void remember(const MemoEngine& e, Pos closer);
  // Typing the rest of an end tag the caret was moved into steps over its characters.
  bool typeOver(MemoEngine& e, char c);

  // The closers inserted, as distances from the end of the document: typing between an opener
  // and its closer leaves that distance as it is.
  std::array<Pos, 16> closers_{};
  std::size_t count_ = 0;
  // The rest of the end tag "</" moved into ("p>"), and where it starts as a distance from the
  // end of the document; empty when there is none.
  std::string overtype_;
  Pos overtypeFromEnd_ = 0;
};

}  // namespace velora::memo
