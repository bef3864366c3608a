// Reading the completion data file.
#include "memo/engine/complete/WebData.h"

#include <algorithm>
#include <fstream>
#include <iterator>

namespace velora::memo {

namespace {

std::vector<std::string> Words(std::string_view line) {
  std::vector<std::string> out;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    const std::size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > start) out.emplace_back(line.substr(start, i - start));
  }
  return out;
}

}  // namespace

std::string AsciiLower(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  return out;
}

WebData WebData::Parse(std::string_view text) {
  WebData d;
  std::string_view section;
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::size_t end = text.find('\n', pos);
    if (end == std::string_view::npos) end = text.size();
    std::string_view line = text.substr(pos, end - pos);
    pos = end + 1;
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty()) continue;
    if (line[0] == '#') {
      constexpr std::string_view kSources = "# Sources: ";
      if (line.starts_with(kSources)) d.sources = std::string(line.substr(kSources.size()));
      continue;
    }
    if (line[0] == '@') {
      section = line.substr(1);
      continue;
    }
    if (section == "elements") {
      d.elements.emplace_back(line);
    } else if (section == "void") {
      d.voids.emplace(line);
    } else if (section == "global") {
      for (std::string& w : Words(line)) d.globalAttributes.push_back(std::move(w));
    } else if (section == "entities") {
      const std::size_t tab = line.find('\t');
      if (tab != std::string_view::npos && tab > 0)
        d.entities.emplace_back(std::string(line.substr(0, tab)), std::string(line.substr(tab + 1)));
    } else if (section == "attributes" || section == "values" || section == "properties") {
      std::vector<std::string> w = Words(line);
      if (w.empty()) continue;
      std::string key = std::move(w.front());
      w.erase(w.begin());
      if (section == "attributes") {
        d.attributes[std::move(key)] = std::move(w);
      } else if (section == "values") {
        d.values[std::move(key)] = std::move(w);
      } else {
        d.properties.push_back(key);
        d.keywords[std::move(key)] = std::move(w);
      }
    }
  }
  std::sort(d.elements.begin(), d.elements.end());
  std::sort(d.globalAttributes.begin(), d.globalAttributes.end());
  std::sort(d.properties.begin(), d.properties.end());
  return d;
}

WebData WebData::Load(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return {};
  const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  return Parse(text);
}

bool WebData::isVoid(std::string_view element) const { return voids.contains(AsciiLower(element)); }

std::vector<std::string> WebData::attributesOf(std::string_view element) const {
  std::vector<std::string> out = globalAttributes;
  if (auto it = attributes.find(AsciiLower(element)); it != attributes.end())
    out.insert(out.end(), it->second.begin(), it->second.end());
  std::sort(out.begin(), out.end());
  out.erase(std::unique(out.begin(), out.end()), out.end());
  return out;
}

const std::vector<std::string>* WebData::valuesOf(std::string_view element, std::string_view attribute) const {
  const std::string a = AsciiLower(attribute);
  if (auto it = values.find(AsciiLower(element) + "." + a); it != values.end()) return &it->second;
  if (auto it = values.find("*." + a); it != values.end()) return &it->second;
  return nullptr;
}

const std::vector<std::string>* WebData::keywordsOf(std::string_view property) const {
  auto it = keywords.find(AsciiLower(property));
  return it == keywords.end() ? nullptr : &it->second;
}

}  // namespace velora::memo
