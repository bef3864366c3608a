// Code templates and auto-replace of the editor control: named texts matched backwards from the
// caret. TCodeTemplates expands a template name before the caret when the template hot key is
// pressed (or asks for the pick list); TAutoReplace replaces an item before the caret when an
// act key is typed. Both replace as one undo group (16).
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "memo/engine/ByteStream.h"
#include "memo/engine/KeyCodes.h"
#include "memo/engine/Types.h"

namespace velora::memo {

class MemoEngine;
class TextStore;

inline constexpr int kGroupMacro = 16;

struct TMacroEntry {
  std::string name;         // template name / auto-replace item
  std::string description;  // templates only
  std::string text;         // template text / replacement
  friend bool operator==(const TMacroEntry&, const TMacroEntry&) = default;
};

// The owner's say in an expansion. These are the control's events to the
// widget that owns it (filled per call by that owner, like the engine's other
// on... events), not wiring between parts of the program.
struct MacroEvents {
  // OnTemplateEvent: may change the text.
  std::function<void(const std::string& name, std::string& replacement)> onTemplate;
  // The handlers are the widget's (it raises them as the control's signals); the engine has no Qt.
  // OnAutoReplace (IStream, ReplaceItem, ReplaceWith, CanReplace): may change the replacement
  // or refuse it. The stream is empty when raised; a handler that writes to it supplies the
  // replacement as a stream instead: its bytes are inserted as they are (breaks made CR, no
  // smart fill and no caret marker, as a paste), in the same single undo step.
  std::function<void(ByteStream& stream, const std::string& item, std::string& with, bool& canReplace)> onAutoReplace;
  // Whether the text just before `caret` is code (a tag, script, style, comment or attribute
  // value); auto-replace holds off there when TAutoReplace::skipInCode is set.
  std::function<bool(Pos caret)> inCode;
};

class TMacroKeywords {
 public:
  virtual ~TMacroKeywords() = default;

  std::uint16_t hotKey = 0;
  bool consume = false;      // the triggering key is swallowed after an expansion
  bool smartFill = false;    // later lines of a text are indented to the insertion column
  bool caretMarker = false;  // the first "|" of a text marks the caret and is removed
  bool pickList = false;     // the hot key with no name before the caret offers a list

  void clear();
  void add(TMacroEntry e);
  // Copies the entries, the hot key and the switches of a list of the same class (an options
  // page editing a copy, and taking it back). A list of another class raises ESyntaxMemo
  // "Cannot assign a <source class> to <target class>", with this list unchanged.
  virtual void Assign(const TMacroKeywords& src);
  [[nodiscard]] virtual const char* ClassName() const noexcept { return "TMacroKeywords"; }
  [[nodiscard]] const std::vector<TMacroEntry>& entries() const noexcept { return entries_; }
  // The entry whose name ends at `caret`, read backwards (the longest such name), or nullptr.
  [[nodiscard]] const TMacroEntry* matchBefore(const TextStore& s, Pos caret) const;

 protected:
  // Raises "Cannot assign a %s to %s" unless src is of this list's own class.
  void checkAssignable(const TMacroKeywords& src) const;
  // Replaces [start, end) by the text: smart fill, breaks made CR, other control characters
  // except tab made ".", the caret marker; one undo group.
  void insertText(MemoEngine& e, Pos start, Pos end, std::string text) const;

 private:
  struct Node {
    std::vector<std::pair<unsigned char, int>> kids;
    int entry = -1;
  };
  std::vector<TMacroEntry> entries_;
  std::vector<Node> trie_{Node{}};  // names reversed
};

class TCodeTemplates : public TMacroKeywords {
 public:
  TCodeTemplates();
  [[nodiscard]] const char* ClassName() const noexcept override { return "TCodeTemplates"; }

  enum class Offer { NotMine, Expanded, PickList };
  // The key (with its shift bits) at the control's caret. Expanded: a template was expanded
  // (the key is swallowed when `consume` is set); PickList: the caller shows the pick list
  // for `prefix`, the word before the caret in lower case.
  Offer offerKey(MemoEngine& e, std::uint16_t key, const MacroEvents& ev, std::string* prefix = nullptr);
  // Expands an entry over [start, caret) (the name or the typed prefix).
  void expand(MemoEngine& e, const TMacroEntry& entry, Pos start, const MacroEvents& ev) const;
};

class TAutoReplace : public TCodeTemplates {
 public:
  TAutoReplace();
  [[nodiscard]] const char* ClassName() const noexcept override { return "TAutoReplace"; }
  // Also copies the act keys and skipInCode.
  void Assign(const TMacroKeywords& src) override;

  // The act keys as text (plain characters, "\n" "\r" "\s" "\t", "\{name}", "\" + character);
  // raises ESyntaxMemo "Bad key specifier" for an unknown name or a missing "}", keeping the
  // previous keys.
  void setActKeys(std::string_view text);
  [[nodiscard]] const std::string& actKeysText() const noexcept { return actKeysText_; }
  [[nodiscard]] const std::vector<std::uint16_t>& actKeys() const noexcept { return actKeys_; }
  [[nodiscard]] bool isActKey(std::uint16_t key) const noexcept;
  [[nodiscard]] static std::vector<std::uint16_t> ParseActKeys(std::string_view text);

  // No replacement inside code (decided through MacroEvents::inCode).
  bool skipInCode = true;

  // Replaces the item before the caret when `key` is an act key; true when it did. The key is
  // never swallowed: the caller types it afterwards.
  bool offerKey(MemoEngine& e, std::uint16_t key, const MacroEvents& ev);

 private:
  std::string actKeysText_;
  std::vector<std::uint16_t> actKeys_;
};

}  // namespace velora::memo
