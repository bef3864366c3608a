// The markup the insertion dialogs produce: hyperlinks, tables, Active-X
// objects and Java applets. Element and attribute names take the tag case;
// values are written as given, with '"', '&', '<' and '>' escaped so that a
// value can never end its attribute. Line breaks are LF CR, as in all
// inserted markup.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace vlr::extdlgs {

// A value escaped for a double-quoted attribute.
[[nodiscard]] std::string AttributeValue(const std::string& value);

// A start markup and an end markup: the caret goes between them, and a
// selection is wrapped by them.
struct MarkupPair {
    std::string start;
    std::string end;
    bool operator==(const MarkupPair&) const = default;
};

struct LinkSpec {
    std::string address;
    std::string text;    // the link's content; empty wraps the selection
    std::string target;  // empty: no target attribute
    std::string title;   // empty: no title attribute
};
// <a href="..." target="..." title="..."> and </a>; the text goes into the
// start markup after the start tag.
[[nodiscard]] MarkupPair LinkMarkup(const LinkSpec& link, bool lowerTags);

struct TableSpec {
    int rows = 2;
    int columns = 2;
    int border = 1;
    int width = 0;            // 0: no width attribute
    bool widthPercent = false;
    int cellPadding = -1;     // -1: no attribute
    int cellSpacing = -1;
    bool headerRow = false;   // the first row's cells are header cells
    std::string caption;      // empty: no caption element
};
// The table up to the content of its first cell, and the rest of it.
[[nodiscard]] MarkupPair TableMarkup(const TableSpec& table, bool lowerTags);

using Parameters = std::vector<std::pair<std::string, std::string>>;

struct ObjectSpec {
    std::string classId;  // "clsid:..." as typed
    std::string id;
    std::string codeBase;
    int width = 0;   // 0: no attribute
    int height = 0;
    Parameters parameters;
};
[[nodiscard]] std::string ObjectMarkup(const ObjectSpec& object, bool lowerTags);

struct AppletSpec {
    std::string code;  // the class file
    std::string codeBase;
    std::string archive;
    std::string name;
    std::string alt;
    int width = 0;
    int height = 0;
    Parameters parameters;
};
[[nodiscard]] std::string AppletMarkup(const AppletSpec& applet, bool lowerTags);

}  // namespace vlr::extdlgs
