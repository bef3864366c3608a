// Sample plug-in: tidies the HTML of the selection, or of the whole document
// when nothing is selected, with libtidy. The project's tokens stay as they
// are, a fragment (an include file, the selection) stays a fragment, and a
// piece of a page whose frame is opened or closed elsewhere is left alone.
#include "velora_plugin.h"

#include <dlfcn.h>
#include <tidy/tidy.h>
#include <tidy/tidybuffio.h>

#include <cctype>
#include <cstring>
#include <string>
#include <vector>

namespace {

void* host = nullptr;

template <class F>
F Host(const char* name) {
    return host ? reinterpret_cast<F>(dlsym(host, name)) : nullptr;
}

void Status(const char* text) {
    if (auto status = Host<VlrStatusText>("StatusText"))
        status(text);
}

void SetField(char (&field)[VLR_ABOUT_FIELD], const char* text) {
    std::strncpy(field, text, VLR_ABOUT_FIELD - 1);
}

// The project's own tokens, which libtidy must never see: variables
// <%name%>, includes <&file&> and server code <?...?> and <%...%>. Before
// tidying each is replaced by a stand-in that libtidy keeps in place: a
// comment between elements, a plain word inside a tag (an attribute value, or
// the place of an attribute). After tidying every stand-in must be found
// exactly once, or the result is refused.
class ProtectedTokens {
public:
    explicit ProtectedTokens(const std::string& text) {
        while (text.find(prefix_) != std::string::npos)
            prefix_ += "q";
        protect(text);
    }
    [[nodiscard]] const std::string& Text() const { return protected_; }
    [[nodiscard]] bool Any() const { return !tokens_.empty(); }
    // Puts the tokens back into `tidied`; false when a stand-in was lost or doubled.
    bool Restore(std::string& tidied) const {
        for (std::size_t i = tokens_.size(); i-- > 0;) {
            const Token& t = tokens_[i];
            std::string mark = Mark(i, t.inTag);
            std::size_t at = tidied.find(mark);
            // A stand-in in the place of an attribute comes back with an empty value.
            if (t.inTag && at != std::string::npos && tidied.compare(at + mark.size(), 3, "=\"\"") == 0)
                mark += "=\"\"";
            if (at == std::string::npos || tidied.find(mark, at + mark.size()) != std::string::npos)
                return false;
            tidied.replace(at, mark.size(), t.text);
        }
        return true;
    }

private:
    struct Token {
        std::string text;
        bool inTag;
    };

    std::string Mark(std::size_t i, bool inTag) const {
        const std::string word = prefix_ + std::to_string(i) + "x";
        return inTag ? word : "<!--" + word + "-->";
    }

    void protect(const std::string& s) {
        bool inTag = false;
        char quote = 0;
        std::size_t i = 0;
        while (i < s.size()) {
            const char c = s[i];
            const char next = i + 1 < s.size() ? s[i + 1] : '\0';
            if (c == '<' && (next == '%' || next == '&' || next == '?')) {
                const char close[] = {next, '>', '\0'};
                const std::size_t end = s.find(close, i + 2);
                if (end != std::string::npos) {
                    protected_ += Mark(tokens_.size(), inTag);
                    tokens_.push_back({s.substr(i, end + 2 - i), inTag});
                    i = end + 2;
                    continue;
                }
            }
            if (!inTag && s.compare(i, 4, "<!--") == 0) {
                // A comment is copied as it is, tokens in it included.
                const std::size_t end = s.find("-->", i + 4);
                const std::size_t stop = end == std::string::npos ? s.size() : end + 3;
                protected_.append(s, i, stop - i);
                i = stop;
                continue;
            }
            if (!inTag) {
                inTag = c == '<' && (std::isalpha(static_cast<unsigned char>(next)) || next == '/' || next == '!');
            } else if (quote != 0) {
                if (c == quote)
                    quote = 0;
            } else if (c == '"' || c == '\'') {
                quote = c;
            } else if (c == '>') {
                inTag = false;
            }
            protected_ += c;
            ++i;
        }
    }

    std::string prefix_ = "vlrtoken";
    std::string protected_;
    std::vector<Token> tokens_;
};

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool Has(const std::string& lower, const char* what) { return lower.find(what) != std::string::npos; }

enum class Shape { Document, Fragment, PartOfAPage };

// A whole page holds both ends of its html element; a fragment holds no part
// of the page's frame. Anything else (a head opened here and closed in an
// include, as project pages are built) is part of a page and is not tidied:
// libtidy would close or drop the frame's pieces.
Shape ShapeOf(const std::string& text) {
    const std::string lower = Lower(text);
    if (Has(lower, "<html") && Has(lower, "</html"))
        return Shape::Document;
    for (const char* frame : {"<html", "</html", "<head", "</head", "<body", "</body", "<!doctype"})
        if (Has(lower, frame))
            return Shape::PartOfAPage;
    return Shape::Fragment;
}

std::string Buffer(TidyBuffer& b) { return b.bp ? std::string(reinterpret_cast<const char*>(b.bp), b.size) : std::string(); }

std::string NodeText(TidyDoc doc, TidyNode node) {
    TidyBuffer b;
    tidyBufInit(&b);
    tidyNodeGetText(doc, node, &b);
    std::string out = Buffer(b);
    tidyBufFree(&b);
    return out;
}

// The tidied markup; false when libtidy could not make sense of it. A
// fragment stays a fragment: what libtidy put into the head (a title, a
// stylesheet link) and the body's content, without a frame around them.
bool Tidy(const std::string& in, bool fragment, std::string& out) {
    TidyDoc doc = tidyCreate();
    // Buffers must be initialised before libtidy fills or frees them.
    TidyBuffer output;
    TidyBuffer errors;
    tidyBufInit(&output);
    tidyBufInit(&errors);
    tidySetCharEncoding(doc, "utf8");
    tidyOptSetBool(doc, TidyForceOutput, yes);
    tidyOptSetBool(doc, TidyQuiet, yes);
    tidyOptSetBool(doc, TidyShowWarnings, no);
    tidyOptSetBool(doc, TidyMark, no);
    tidyOptSetBool(doc, TidyPreserveEntities, yes);
    tidyOptSetInt(doc, TidyWrapLen, 0);
    tidyOptSetInt(doc, TidyIndentContent, TidyAutoState);
    // The document keeps its own line breaks.
    if (in.find("\r\n") != std::string::npos)
        tidyOptSetInt(doc, TidyNewline, TidyCRLF);
    else if (in.find('\r') != std::string::npos)
        tidyOptSetInt(doc, TidyNewline, TidyCR);
    tidySetErrorBuffer(doc, &errors);
    int rc = tidyParseString(doc, in.c_str());
    if (rc >= 0)
        rc = tidyCleanAndRepair(doc);
    std::string head;
    if (rc >= 0 && fragment) {
        // Comments before the frame, then the head's elements; a title libtidy
        // made up for a fragment without one is left out.
        const bool ownTitle = Has(Lower(in), "<title");
        for (TidyNode node = tidyGetChild(tidyGetRoot(doc)); node; node = tidyGetNext(node))
            if (tidyNodeGetType(node) == TidyNode_Comment)
                head += NodeText(doc, node);
        for (TidyNode node = tidyGetChild(tidyGetHead(doc)); node; node = tidyGetNext(node))
            if (ownTitle || tidyNodeGetId(node) != TidyTag_TITLE)
                head += NodeText(doc, node);
        tidyOptSetInt(doc, TidyBodyOnly, TidyYesState);
    }
    if (rc >= 0)
        rc = tidySaveBuffer(doc, &output);
    const bool ok = rc >= 0 && (output.bp != nullptr || !head.empty());
    if (ok)
        out = head + Buffer(output);
    tidyBufFree(&output);
    tidyBufFree(&errors);
    tidyRelease(doc);
    return ok;
}

}  // namespace

extern "C" {

VLR_PLUGIN_EXPORT int32_t Init(void* hostModule) {
    host = hostModule;
    return 0;
}
VLR_PLUGIN_EXPORT const char* GetName(void) { return "Tidy up HTML"; }
VLR_PLUGIN_EXPORT int32_t iNeedsMenuItem(void) { return 1; }
VLR_PLUGIN_EXPORT int32_t iNeedsEditor(void) { return 1; }

VLR_PLUGIN_EXPORT int32_t Exec(void) {
    auto selSize = Host<VlrGetSelTextBufSize>("GetSelTextBufSize");
    auto size = Host<VlrGetTextBufSize>("GetTextBufSize");
    auto getSel = Host<VlrGetSelText>("GetSelText");
    auto get = Host<VlrGetText>("GetText");
    auto setSel = Host<VlrSetSelText>("SetSelText");
    auto set = Host<VlrSetText>("SetText");
    if (!selSize || !size || !getSel || !get || !setSel || !set)
        return 0;
    const int32_t selected = selSize();
    const bool fragment = selected > 0;
    const int32_t length = fragment ? selected : size();
    if (length <= 0) {
        Status("Tidy up HTML: there is no HTML to tidy");
        return 0;
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    if (!(fragment ? getSel : get)(text.data(), length))
        return 0;
    text.resize(std::strlen(text.c_str()));
    const Shape shape = ShapeOf(text);
    if (shape == Shape::PartOfAPage) {
        Status("Tidy up HTML: this is part of a page (its frame is opened or closed elsewhere); it is unchanged");
        return 0;
    }
    const ProtectedTokens tokens(text);
    std::string tidied;
    if (!Tidy(tokens.Text(), shape == Shape::Fragment, tidied)) {
        Status("Tidy up HTML: the markup could not be tidied; the document is unchanged");
        return 0;
    }
    if (!tokens.Restore(tidied)) {
        Status("Tidy up HTML: the project's tags could not be kept in place; the document is unchanged");
        return 0;
    }
    const int32_t done = fragment ? setSel(tidied.c_str()) : set(tidied.c_str());
    Status(done ? "Tidy up HTML: done" : "Tidy up HTML: the document could not be changed");
    return done;
}

VLR_PLUGIN_EXPORT int32_t iShowAboutEx(void) {
    TPlugInAbout about{};
    SetField(about.AboutTitle, "Tidy up HTML");
    SetField(about.AboutDate, "2026");
    SetField(about.AboutHolder, "the Velora developers");
    SetField(about.AboutComment, "Tidies the selection, or the whole document, with HTML Tidy.");
    SetField(about.AboutUrl, "https://www.html-tidy.org/");
    if (auto show = Host<VlrDispAbout>("DispAbout"))
        show(&about);
    return 0;
}

}  // extern "C"
