// Reading a document's indentation from its text.
#include "editor/document/DocumentIndent.h"

#include <array>

namespace vlr {

using velora::memo::IndentKind;
using velora::memo::IndentStyle;

std::optional<IndentStyle> DetectIndentation(std::string_view text) {
    int tabLines = 0;
    int spaceLines = 0;
    std::array<int, 9> grows{};  // how often the space indentation grows by 1..8 columns
    int smallest = 0;
    int previous = 0;  // space indentation of the last line with text (-1: it started with a tab)
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\r', start);
        if (end == std::string_view::npos)
            end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const std::size_t body = line.find_first_not_of(" \t");
        if (body == std::string_view::npos)
            continue;  // blank lines say nothing
        const std::string_view lead = line.substr(0, body);
        if (lead.starts_with('\t')) {
            ++tabLines;
            previous = -1;
            continue;
        }
        if (lead.find('\t') != std::string_view::npos) {
            previous = -1;  // blanks and then tabs: neither style
            continue;
        }
        const int spaces = int(body);
        if (spaces > 0) {
            ++spaceLines;
            if (smallest == 0 || spaces < smallest)
                smallest = spaces;
        }
        if (previous >= 0 && spaces > previous && spaces - previous <= 8)
            ++grows[std::size_t(spaces - previous)];
        previous = spaces;
    }
    if (tabLines == 0 && spaceLines == 0)
        return std::nullopt;
    if (tabLines > spaceLines)
        return IndentStyle{IndentKind::Tabs, 0};
    int width = 0;
    for (int w = 1; w <= 8; ++w)
        if (grows[std::size_t(w)] > (width ? grows[std::size_t(width)] : 0))
            width = w;
    if (width == 0)
        width = smallest > 8 ? 8 : smallest;
    return IndentStyle{IndentKind::Spaces, width};
}

IndentStyle ChooseIndentation(const EditorConfig& config, std::string_view text, int tabWidth) {
    if (config.indentWithTabs) {
        if (*config.indentWithTabs)
            return {IndentKind::Tabs, 0};
        return {IndentKind::Spaces, config.indentSize.value_or(config.tabWidth.value_or(tabWidth))};
    }
    if (auto found = DetectIndentation(text)) {
        if (found->kind == IndentKind::Spaces && config.indentSize)
            found->width = *config.indentSize;
        return *found;
    }
    return {};
}

}  // namespace vlr
