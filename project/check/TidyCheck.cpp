// libtidy as the checker of a page's markup.
#include "project/check/TidyCheck.h"

#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <cstring>
#include <string_view>

namespace vlr::check {
namespace {

struct Collected {
    std::vector<int> lines, columns;
    std::vector<const char*> rules;
    std::vector<std::string> messages;
};

bool startsWith(const char* s, const char* prefix) { return std::strncmp(s, prefix, std::strlen(prefix)) == 0; }

// The rule a message of tidy belongs to; nullptr for those the check leaves out
// (advice about the document's form, and what the rules of our own report).
const char* ruleOf(const char* key, TidyReportLevel level) {
    if (startsWith(key, "MISSING_ENDTAG_FOR") || startsWith(key, "MISSING_ENDTAG_BEFORE"))
        return "html-unclosed";
    if (startsWith(key, "NON_MATCHING_ENDTAG") || startsWith(key, "UNEXPECTED_ENDTAG") ||
        startsWith(key, "COERCE_TO_ENDTAG") || startsWith(key, "DISCARDING_UNEXPECTED"))
        return "html-misnested";
    if (std::strcmp(key, "UNKNOWN_ELEMENT") == 0)
        return "html-unknown-element";
    if (startsWith(key, "PROPRIETARY_ATTRIBUTE") || startsWith(key, "UNKNOWN_ATTRIBUTE") ||
        startsWith(key, "ATTRIBUTE_IS_NOT_ALLOWED") || startsWith(key, "MISMATCHED_ATTRIBUTE"))
        return "html-unknown-attribute";
    if (startsWith(key, "REPEATED_ATTRIBUTE") || startsWith(key, "JOINING_ATTRIBUTE"))
        return "html-duplicate-attribute";
    if (level == TidyError)
        return "html-syntax";
    return nullptr;
}

Bool TIDY_CALL onMessage(TidyMessage message) {
    auto* out = static_cast<Collected*>(tidyGetAppData(tidyGetMessageDoc(message)));
    const TidyReportLevel level = tidyGetMessageLevel(message);
    if (level != TidyWarning && level != TidyError)
        return no;
    const char* key = tidyGetMessageKey(message);
    const char* rule = key ? ruleOf(key, level) : nullptr;
    if (rule) {
        out->rules.push_back(rule);
        out->lines.push_back(tidyGetMessageLine(message));
        out->columns.push_back(tidyGetMessageColumn(message));
        const char* text = tidyGetMessage(message);
        out->messages.emplace_back(text ? text : key);
    }
    return no;  // nothing goes to tidy's own output
}

// The byte offset of tidy's line and column (1-based, counted in characters).
std::size_t offsetOf(const std::string& html, const std::vector<std::size_t>& lineStarts, int line, int column) {
    if (line < 1)
        return 0;
    std::size_t at = lineStarts[std::min(static_cast<std::size_t>(line), lineStarts.size()) - 1];
    for (int c = 1; c < column && at < html.size() && html[at] != '\n' && html[at] != '\r'; ++c) {
        ++at;
        while (at < html.size() && (static_cast<unsigned char>(html[at]) & 0xC0) == 0x80)
            ++at;
    }
    return at;
}

}  // namespace

std::string ProtectTokens(const std::string& html) {
    std::string out = html;
    for (std::size_t at = out.find('<'); at != std::string::npos && at + 1 < out.size(); at = out.find('<', at + 1)) {
        const char kind = out[at + 1];
        if (kind != '%' && kind != '&')
            continue;
        const char close[3] = {kind, '>', '\0'};
        const std::size_t end = out.find(close, at + 2);
        if (end == std::string::npos)
            continue;
        if (out.find_first_of("\r\n", at) < end)
            continue;
        std::memset(out.data() + at, ' ', end + 2 - at);
        at = end + 1;
    }
    return out;
}

std::vector<Finding> TidyFindings(const std::string& html) {
    const std::string text = ProtectTokens(html);
    Collected collected;
    TidyDoc doc = tidyCreate();
    tidySetAppData(doc, &collected);
    tidySetMessageCallback(doc, onMessage);
    tidyOptSetBool(doc, TidyQuiet, yes);
    tidyOptSetBool(doc, TidyShowWarnings, yes);
    tidyOptSetBool(doc, TidyShowInfo, no);
    tidyOptSetInt(doc, TidyShowErrors, 1000000);
    tidyOptSetInt(doc, TidyTabSize, 1);
    tidyOptSetInt(doc, TidyUseCustomTags, TidyCustomBlocklevel);
    tidySetCharEncoding(doc, "utf8");
    // Attributes an element does not have are found while the tree is cleaned.
    if (tidyParseString(doc, text.c_str()) >= 0)
        tidyCleanAndRepair(doc);
    tidyRelease(doc);

    std::vector<std::size_t> lineStarts{0};
    for (std::size_t i = 0; i < text.size(); ++i)
        if (text[i] == '\n' || (text[i] == '\r' && (i + 1 >= text.size() || text[i + 1] != '\n')))
            lineStarts.push_back(i + 1);
    std::vector<Finding> findings;
    for (std::size_t k = 0; k < collected.rules.size(); ++k)
        findings.push_back({collected.rules[k], offsetOf(text, lineStarts, collected.lines[k], collected.columns[k]),
                            std::move(collected.messages[k])});
    return findings;
}

}  // namespace vlr::check
