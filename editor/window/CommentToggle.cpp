// Putting comments on and taking them off.
#include "editor/window/CommentToggle.h"

#include <vector>

namespace vlr {

namespace {

bool Blank(char c) { return c == ' ' || c == '\t'; }

std::vector<std::string_view> SplitLines(std::string_view text) {
    std::vector<std::string_view> out;
    std::size_t from = 0;
    for (;;) {
        const std::size_t at = text.find('\r', from);
        out.push_back(text.substr(from, at == std::string_view::npos ? std::string_view::npos : at - from));
        if (at == std::string_view::npos)
            return out;
        from = at + 1;
    }
}

std::size_t Indent(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && Blank(line[i]))
        ++i;
    return i;
}

ToggledComment ToggleLineComments(std::string_view text) {
    const std::vector<std::string_view> lines = SplitLines(text);
    bool allCommented = true, anyText = false;
    for (std::string_view l : lines) {
        const std::size_t i = Indent(l);
        if (i == l.size())
            continue;
        anyText = true;
        allCommented = allCommented && l.substr(i).starts_with("//");
    }
    const bool remove = anyText && allCommented;
    ToggledComment out;
    std::size_t lineStart = 0;
    for (std::size_t n = 0; n < lines.size(); ++n) {
        const std::string_view l = lines[n];
        const std::size_t i = Indent(l);
        if (n > 0) {
            out.text += '\r';
            lineStart += lines[n - 1].size() + 1;
        }
        if (i == l.size()) {
            out.text += l;
            continue;
        }
        out.text += l.substr(0, i);
        if (remove) {
            std::string_view rest = l.substr(i + 2);
            if (!rest.empty() && rest.front() == ' ')
                rest.remove_prefix(1);
            out.edits.push_back({lineStart + i, l.size() - i - rest.size(), 0, true});
            out.text += rest;
        } else {
            out.edits.push_back({lineStart + i, 0, 3, true});
            out.text += "// ";
            out.text += l.substr(i);
        }
    }
    return out;
}

ToggledComment ToggleWrapped(std::string_view text, std::string_view open, std::string_view close) {
    std::size_t a = 0, b = text.size();
    while (a < b && (Blank(text[a]) || text[a] == '\r'))
        ++a;
    while (b > a && (Blank(text[b - 1]) || text[b - 1] == '\r'))
        --b;
    if (a == b)
        return {std::string(text), {}};
    const std::string_view body = text.substr(a, b - a);
    ToggledComment out{std::string(text.substr(0, a)), {}};
    if (body.size() >= open.size() + close.size() && body.starts_with(open) && body.ends_with(close)) {
        std::string_view inner = body.substr(open.size(), body.size() - open.size() - close.size());
        std::size_t opening = open.size(), closing = close.size();
        if (!inner.empty() && inner.front() == ' ') {
            inner.remove_prefix(1);
            ++opening;
        }
        if (!inner.empty() && inner.back() == ' ') {
            inner.remove_suffix(1);
            ++closing;
        }
        out.edits = {{a, opening, 0, true}, {b - closing, closing, 0, false}};
        out.text += inner;
    } else {
        out.edits = {{a, 0, open.size() + 1, true}, {b, 0, close.size() + 1, false}};
        out.text += open;
        out.text += ' ';
        out.text += body;
        out.text += ' ';
        out.text += close;
    }
    out.text += text.substr(b);
    return out;
}

}  // namespace

CommentForm CommentFormOf(std::uint8_t t) noexcept {
    // CSS between "<style>" and "</style>": its rules, strings and comments.
    if ((t >= 112 && t <= 139) || t == 142 || t == 143 || (t >= 187 && t <= 189) || (t >= 195 && t <= 197) ||
        (t >= 202 && t <= 204) || (t >= 206 && t <= 208))
        return CommentForm::Css;
    // JavaScript between "<script>" and "</script>".
    if ((t >= 30 && t <= 41) || t == 44 || t == 63 || (t >= 65 && t <= 67) || (t >= 173 && t <= 186) ||
        t == 198 || t == 199 || t == 201 || t == 205)
        return CommentForm::Script;
    return CommentForm::Html;
}

ToggledComment ToggleComment(std::string_view lines, CommentForm form) {
    switch (form) {
    case CommentForm::Css:
        return ToggleWrapped(lines, "/*", "*/");
    case CommentForm::Script:
        return ToggleLineComments(lines);
    case CommentForm::Html:
        break;
    }
    return ToggleWrapped(lines, "<!--", "-->");
}

std::string ToggleCommentText(std::string_view lines, CommentForm form) { return ToggleComment(lines, form).text; }

std::size_t MapThroughComment(std::size_t offset, const std::vector<CommentEdit>& edits) noexcept {
    std::size_t grown = 0, shrunk = 0;
    for (const CommentEdit& e : edits) {
        if (offset < e.at || (offset == e.at && e.removed == 0 && !e.opening))
            break;
        if (offset < e.at + e.removed)
            return e.at + grown - shrunk + e.inserted;
        grown += e.inserted;
        shrunk += e.removed;
    }
    return offset + grown - shrunk;
}

}  // namespace vlr
