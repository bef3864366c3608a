// Completion: what the list offers at the caret, from the HTML scheme's token values around it
// (MarkupTokens.h) and the web platform's data (WebData.h), with the program's own variables
// ("<%name%>") and the project's include files ("<&file&>").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "memo/engine/Types.h"
#include "memo/engine/complete/MarkupTokens.h"

namespace velora::memo {

struct WebData;

enum class CompletionKind {
  None,
  Element,         // after "<" (and after "</": the name and ">")
  Attribute,       // after an element name or an attribute and white space
  AttributeValue,  // inside the value of an enumerated attribute
  Entity,          // after "&"
  CssProperty,     // in a rule's braces or a style attribute, where a property name goes
  CssValue,        // after a property's ":"
  Variable,        // after "<%"
  IncludeFile,     // after "<&"
};

// The word being completed: the list replaces [start, caret) with the chosen item.
struct CompletionRequest {
  CompletionKind kind = CompletionKind::None;
  Pos start = 0;
  std::string prefix;     // the text of [start, caret)
  std::string element;    // Attribute, AttributeValue: the tag's element
  std::string attribute;  // AttributeValue
  std::string property;   // CssValue
  bool endTag = false;    // Element after "</"
};

struct CompletionItem {
  std::string label;   // what the list shows
  std::string insert;  // what replaces the word
  std::string detail;  // shown beside the label (the character of a reference)
};

// What besides the web data the list may offer.
struct CompletionSources {
  const WebData* data = nullptr;
  std::vector<std::string> variables;  // names of the project's and the program's variables
  std::vector<std::string> includes;   // include files, as written between "<&" and "&>"
};

// The request at offset `at` of the slice (the caret); kind None where nothing is offered.
[[nodiscard]] CompletionRequest DetectCompletion(const MarkupSlice& s, std::size_t at);
// The request at the engine's caret (a slice of a few kilobytes around it).
[[nodiscard]] CompletionRequest DetectCompletion(const MemoEngine& e);

// Every item of the request's kind whose label starts with the prefix (as written first, then in
// another letter case), in the data's order; then those that contain it elsewhere.
[[nodiscard]] std::vector<CompletionItem> CompletionItems(const CompletionRequest& r, const CompletionSources& src);

// Replaces the request's word with the item as one undo step; the caret ends after it (inside
// the quotes of an attribute's value).
void AcceptCompletion(MemoEngine& e, const CompletionRequest& r, const CompletionItem& item);

}  // namespace velora::memo
