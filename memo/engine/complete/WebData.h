// WebData: the web platform's vocabulary the completion list offers, read from the data file the
// program ships (resources/completion/web-data.txt, made by tools/completion-data.mjs).
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <utility>
#include <vector>

namespace velora::memo {

struct WebData {
  // The "# Sources:" line of the file: the packages and versions the data comes from.
  std::string sources;
  std::vector<std::string> elements;          // sorted
  std::unordered_set<std::string> voids;      // elements without an end tag
  std::vector<std::string> globalAttributes;  // sorted
  std::unordered_map<std::string, std::vector<std::string>> attributes;  // element -> its own
  // "element.attribute" (or "*.attribute" for every element) -> its enumerated values.
  std::unordered_map<std::string, std::vector<std::string>> values;
  std::vector<std::pair<std::string, std::string>> entities;  // "amp;" -> "&"
  std::vector<std::string> properties;                        // sorted
  std::unordered_map<std::string, std::vector<std::string>> keywords;  // property -> keywords

  // Reads the file's text; unknown sections and comment lines are skipped.
  static WebData Parse(std::string_view text);
  // Reads the file; an empty set when it cannot be read.
  static WebData Load(const std::string& path);

  [[nodiscard]] bool empty() const noexcept { return elements.empty() && properties.empty(); }
  // Names are compared in lower case (HTML names are case-insensitive).
  [[nodiscard]] bool isVoid(std::string_view element) const;
  // The element's own attributes and the global ones, sorted, each once.
  [[nodiscard]] std::vector<std::string> attributesOf(std::string_view element) const;
  // The values of an enumerated attribute of the element (the element's own set, else the global
  // one); nullptr when the attribute takes free text.
  [[nodiscard]] const std::vector<std::string>* valuesOf(std::string_view element, std::string_view attribute) const;
  [[nodiscard]] const std::vector<std::string>* keywordsOf(std::string_view property) const;
};

std::string AsciiLower(std::string_view s);

}  // namespace velora::memo
