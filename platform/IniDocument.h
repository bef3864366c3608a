// The parsed text of an INI file held in memory: lookups and changes with the
// profile-file rules (names compared without ASCII letter case, the first of
// repeated sections or keys wins, keys kept in file order, comments and blank
// lines kept where they are). No file access; see IniFile.h for that.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vlr {

class IniDocument {
public:
    IniDocument() = default;

    [[nodiscard]] static IniDocument Parse(std::string_view contents);
    // The text to store: every line followed by "\n".
    [[nodiscard]] std::string Serialize() const;

    // The value of the first such key in the first such section, or nullptr.
    [[nodiscard]] const std::string* Find(std::string_view section, std::string_view key) const;
    [[nodiscard]] bool SectionExists(std::string_view section) const;
    // Key names of the first such section, in file order (repeated keys too).
    [[nodiscard]] std::vector<std::string> SectionKeys(std::string_view section) const;
    // Key names and values of the first such section, in file order.
    [[nodiscard]] std::vector<std::pair<std::string, std::string>> SectionValues(std::string_view section) const;
    // Every section header's name in file order.
    [[nodiscard]] std::vector<std::string> SectionNames() const;

    // Replaces the key's value (keeping the key's spelling) or adds the key
    // after the section's last key; a missing section is added at the end,
    // after a blank line when the text does not already end with one.
    void Set(std::string_view section, std::string_view key, std::string_view value);
    // Removes the first such section with its lines; false when there is none.
    bool EraseSection(std::string_view section);
    // Removes the first such key; false when there is none.
    bool DeleteKey(std::string_view section, std::string_view key);
    void Clear();

private:
    struct Line {
        std::string text;
        bool isKey = false;
        std::string name;   // key name, spaces trimmed
        std::string value;  // key value, spaces trimmed and quotes removed
    };
    // A section header and the lines up to the next header. keyIndex maps the
    // lower-case key name to its first line; only lines after the last key can
    // be inserted before, so adding a key never moves an indexed line.
    struct Section {
        std::string headerText;
        std::string name;
        std::vector<Line> lines;
        std::unordered_map<std::string, std::size_t> keyIndex;
        std::size_t keyEnd = 0;  // index after the last key line, 0 without keys

        void reindex();
    };

    Section* findSection(std::string_view section);
    const Section* findSection(std::string_view section) const;
    void reindexSections();

    std::vector<Line> preamble_;  // lines before the first section header
    std::vector<Section> sections_;
    std::unordered_map<std::string, std::size_t> sectionIndex_;  // lower-case name -> first section
};

}  // namespace vlr
