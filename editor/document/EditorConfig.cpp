// EditorConfig settings through libeditorconfig, and the save and load rules
// they give.
#include "editor/document/EditorConfig.h"

#include "memo/engine/Utf8.h"

#include <editorconfig/editorconfig.h>

#include <charconv>
#include <filesystem>

namespace vlr {

namespace {

// A positive column count, or nothing for anything else ("unset", junk).
std::optional<int> Columns(std::string_view v) {
    int n = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    if (ec != std::errc() || end != v.data() + v.size() || n <= 0 || n > 64)
        return std::nullopt;
    return n;
}

std::optional<bool> Flag(std::string_view v) {
    if (v == "true")
        return true;
    if (v == "false")
        return false;
    return std::nullopt;
}

class Handle {
public:
    Handle() : h_(editorconfig_handle_init()) {}
    ~Handle() {
        if (h_)
            editorconfig_handle_destroy(h_);
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    editorconfig_handle get() const { return h_; }

private:
    editorconfig_handle h_;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

}  // namespace

bool EditorConfig::any() const noexcept {
    return indentWithTabs || indentSize || tabWidth || endOfLine || !charset.empty() || trimTrailingWhitespace ||
           insertFinalNewline;
}

EditorConfig ReadEditorConfig(const std::string& path) {
    EditorConfig out;
    std::error_code ec;
    const std::filesystem::path full = std::filesystem::absolute(path, ec);
    Handle h;
    if (ec || !h.get())
        return out;
    const int rc = editorconfig_parse(full.c_str(), h.get());
    if (rc != 0) {
        const char* file = editorconfig_handle_get_err_file(h.get());
        out.error = rc > 0 ? std::string(file ? file : ".editorconfig") + ", line " + std::to_string(rc)
                           : std::string(editorconfig_get_error_msg(rc));
        return out;
    }
    std::optional<int> indentSize;
    bool indentIsTab = false;
    const int n = editorconfig_handle_get_name_value_count(h.get());
    for (int i = 0; i < n; ++i) {
        const char* name = nullptr;
        const char* value = nullptr;
        editorconfig_handle_get_name_value(h.get(), i, &name, &value);
        if (!name || !value)
            continue;
        const std::string_view k(name), v(value);
        if (k == "indent_style") {
            if (v == "tab")
                out.indentWithTabs = true;
            else if (v == "space")
                out.indentWithTabs = false;
        } else if (k == "indent_size") {
            indentIsTab = v == "tab";
            indentSize = Columns(v);
        } else if (k == "tab_width") {
            out.tabWidth = Columns(v);
        } else if (k == "end_of_line") {
            if (v == "lf")
                out.endOfLine = BreakStyle::LF;
            else if (v == "crlf")
                out.endOfLine = BreakStyle::CRLF;
            else if (v == "cr")
                out.endOfLine = BreakStyle::CR;
        } else if (k == "charset") {
            if (v != "unset")
                out.charset = std::string(v);
        } else if (k == "trim_trailing_whitespace") {
            out.trimTrailingWhitespace = Flag(v);
        } else if (k == "insert_final_newline") {
            out.insertFinalNewline = Flag(v);
        }
    }
    out.indentSize = indentIsTab ? out.tabWidth : indentSize;
    return out;
}

std::string ApplySaveRules(std::string_view text, const EditorConfig& config) {
    std::string out;
    out.reserve(text.size() + 1);
    if (config.trimTrailingWhitespace.value_or(false)) {
        std::size_t start = 0;
        for (;;) {
            const std::size_t cr = text.find('\r', start);
            std::string_view line = text.substr(start, cr == std::string_view::npos ? text.npos : cr - start);
            while (!line.empty() && IsBlank(line.back()))
                line.remove_suffix(1);
            out += line;
            if (cr == std::string_view::npos)
                break;
            out += '\r';
            start = cr + 1;
        }
    } else {
        out.assign(text);
    }
    // "false" only means none is added: breaks the author typed at the end stay.
    if (config.insertFinalNewline.value_or(false) && !out.empty() && out.back() != '\r')
        out += '\r';
    return out;
}

std::string CheckCharset(std::string_view text, const EditorConfig& config, const std::string& fileName) {
    const std::string& cs = config.charset;
    const bool bom = text.substr(0, 3) == "\xEF\xBB\xBF";
    if (cs == "utf-16be" || cs == "utf-16le")
        return fileName + " is set to " + cs + " by its .editorconfig; the editor shows and saves its bytes as they are.";
    if (cs == "utf-8-bom" && !bom)
        return fileName + " has no UTF-8 byte-order mark, which its .editorconfig asks for (charset = utf-8-bom).";
    if (cs == "utf-8" || cs == "utf-8-bom") {
        for (std::size_t i = 0; i < text.size();) {
            const auto c = static_cast<unsigned char>(text[i]);
            const int n = velora::memo::utf8CharLength(text, i);
            if (n == 1 && c >= 0x80)
                return fileName + " is not valid UTF-8, which its .editorconfig says it is (charset = " + cs +
                       "); bytes that are not UTF-8 are shown as Windows-1252 characters.";
            i += std::size_t(n);
        }
    }
    return {};
}

}  // namespace vlr
