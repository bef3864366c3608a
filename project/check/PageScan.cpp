// A tag scanner for the rules of our own.
#include "project/check/PageScan.h"

#include "platform/AsciiCase.h"

#include <cstring>
#include <set>
#include <unordered_map>

namespace vlr::check {
namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f'; }
bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(AsciiLower(static_cast<unsigned char>(c)));
    return out;
}

bool blank(std::string_view s) {
    for (char c : s)
        if (!isSpace(c))
            return false;
    return true;
}

std::string decodeAmp(std::string v) {
    for (std::size_t at = v.find("&amp;"); at != std::string::npos; at = v.find("&amp;", at + 1))
        v.erase(at + 1, 4);
    return v;
}

struct Attribute {
    std::string name;  // in lower case
    std::string value;
    std::size_t valueOffset = 0;
};

struct Tag {
    std::string name;  // in lower case
    std::size_t offset = 0;
    bool end = false;
    std::vector<Attribute> attributes;

    const Attribute* find(const char* attribute) const {
        for (const Attribute& a : attributes)
            if (a.name == attribute)
                return &a;
        return nullptr;
    }
    bool hasText(const char* attribute) const {
        const Attribute* a = find(attribute);
        return a && !blank(a->value);
    }
};

// An open <a> or <button>: whether it has text yet.
struct Container {
    std::string name;
    std::size_t offset;
    bool text;
};

// A form control: whether something labels it.
struct Control {
    std::string name;
    std::size_t offset;
    std::string id;
    bool labelled;
};

class Scanner {
public:
    explicit Scanner(const std::string& html) : s_(html) {}

    PageScan run() {
        const std::size_t n = s_.size();
        std::size_t i = 0;
        while (i < n) {
            const void* hit = std::memchr(s_.data() + i, '<', n - i);
            const std::size_t lt = hit ? static_cast<std::size_t>(static_cast<const char*>(hit) - s_.data()) : n;
            if (lt > i)
                text(std::string_view(s_).substr(i, lt - i));
            if (lt >= n)
                break;
            i = markup(lt);
        }
        finish();
        return std::move(out_);
    }

private:
    void text(std::string_view t) {
        if (open_.empty() || blank(t))
            return;
        for (Container& c : open_)
            c.text = true;
    }

    std::size_t skipPast(std::size_t from, const char* what) const {
        const std::size_t at = s_.find(what, from);
        return at == std::string::npos ? s_.size() : at + std::strlen(what);
    }

    // The end of a raw-text element's content: the offset of "</name" (any case).
    std::size_t rawEnd(std::size_t from, const std::string& name) const {
        for (std::size_t at = s_.find("</", from); at != std::string::npos; at = s_.find("</", at + 2))
            if (AsciiEqualsNoCase(std::string_view(s_).substr(at + 2, name.size()), name))
                return at;
        return s_.size();
    }

    std::size_t markup(std::size_t lt) {
        const std::size_t n = s_.size();
        if (s_.compare(lt, 4, "<!--") == 0)
            return skipPast(lt + 4, "-->");
        if (lt + 1 < n && (s_[lt + 1] == '!' || s_[lt + 1] == '?'))
            return skipPast(lt + 1, ">");
        const bool end = lt + 1 < n && s_[lt + 1] == '/';
        std::size_t i = lt + (end ? 2 : 1);
        if (i >= n || !isLetter(s_[i])) {
            text("<");
            return lt + 1;
        }
        Tag tag;
        tag.offset = lt;
        tag.end = end;
        const std::size_t nameStart = i;
        while (i < n && !isSpace(s_[i]) && s_[i] != '>' && s_[i] != '/')
            ++i;
        tag.name = lowered(std::string_view(s_).substr(nameStart, i - nameStart));
        i = attributes(i, tag);
        if (end)
            endTag(tag);
        else
            startTag(tag);
        if (!end && (tag.name == "script" || tag.name == "style" || tag.name == "textarea" || tag.name == "title")) {
            const std::size_t close = rawEnd(i, tag.name);
            if (tag.name == "title")
                titleText_ = titleText_ || !blank(std::string_view(s_).substr(i, close - i));
            return close;
        }
        return i;
    }

    // Reads the attributes up to the tag's ">" and returns the offset after it.
    std::size_t attributes(std::size_t i, Tag& tag) {
        const std::size_t n = s_.size();
        while (i < n && s_[i] != '>') {
            if (isSpace(s_[i]) || s_[i] == '/') {
                ++i;
                continue;
            }
            const std::size_t nameStart = i;
            while (i < n && !isSpace(s_[i]) && s_[i] != '=' && s_[i] != '>' && s_[i] != '/')
                ++i;
            Attribute a;
            a.name = lowered(std::string_view(s_).substr(nameStart, i - nameStart));
            std::size_t j = i;
            while (j < n && isSpace(s_[j]))
                ++j;
            if (j < n && s_[j] == '=') {
                i = j + 1;
                while (i < n && isSpace(s_[i]))
                    ++i;
                if (i < n && (s_[i] == '"' || s_[i] == '\'')) {
                    const char quote = s_[i];
                    const std::size_t close = s_.find(quote, i + 1);
                    const std::size_t stop = close == std::string::npos ? n : close;
                    a.valueOffset = i + 1;
                    a.value = s_.substr(i + 1, stop - i - 1);
                    i = close == std::string::npos ? n : close + 1;
                } else {
                    a.valueOffset = i;
                    while (i < n && !isSpace(s_[i]) && s_[i] != '>')
                        ++i;
                    a.value = s_.substr(a.valueOffset, i - a.valueOffset);
                }
            }
            if (!a.name.empty())
                tag.attributes.push_back(std::move(a));
        }
        return i < n ? i + 1 : n;
    }

    void report(const char* rule, std::size_t offset, std::string message) {
        out_.findings.push_back({rule, offset, std::move(message)});
    }

    void startTag(const Tag& tag) {
        const std::string& name = tag.name;
        if (const Attribute* id = tag.find("id"); id && !id->value.empty()) {
            if (!ids_.insert(id->value).second)
                report("duplicate-id", tag.offset, "duplicate id \"" + id->value + "\"");
        }
        for (const Attribute& a : tag.attributes) {
            if ((a.name == "href" || a.name == "src") && !a.value.empty())
                out_.links.push_back({a.valueOffset, decodeAmp(a.value)});
        }
        // Text of a link or button may be an image's alt text or a label given by attribute.
        if (!open_.empty() && (tag.hasText("aria-label") || (name == "img" && tag.hasText("alt"))))
            text("x");

        if (name == "html") {
            sawHtml_ = true;
            if (!tag.hasText("lang"))
                report("html-lang", tag.offset, "<html> without a lang attribute");
        } else if (name == "head") {
            if (!sawHead_)
                headOffset_ = tag.offset;
            sawHead_ = true;
        } else if (name == "title") {
            sawTitle_ = true;
        } else if (name == "img") {
            if (!tag.find("alt"))
                report("img-alt", tag.offset, "<img> without an alt attribute");
        } else if (name == "a" || name == "button") {
            if (name == "button" || tag.find("href")) {
                const bool named = tag.hasText("aria-label") || tag.hasText("aria-labelledby") || tag.hasText("title");
                open_.push_back({name, tag.offset, named});
            }
        } else if (name == "label") {
            ++labelDepth_;
            if (const Attribute* f = tag.find("for"))
                labelFor_.insert(f->value);
        } else if (name.size() == 2 && name[0] == 'h' && name[1] >= '1' && name[1] <= '6') {
            const int level = name[1] - '0';
            if (lastHeading_ > 0 && level > lastHeading_ + 1)
                report("heading-order", tag.offset,
                       "heading level skipped: <" + name + "> after <h" + std::to_string(lastHeading_) + ">");
            lastHeading_ = level;
        } else if (name == "input" || name == "select" || name == "textarea") {
            control(tag);
        }
    }

    void control(const Tag& tag) {
        if (tag.name == "input") {
            const Attribute* type = tag.find("type");
            const std::string t = type ? lowered(type->value) : std::string();
            if (t == "image") {
                if (!tag.find("alt"))
                    report("img-alt", tag.offset, "<input type=\"image\"> without an alt attribute");
                return;
            }
            if (t == "hidden" || t == "submit" || t == "button" || t == "reset")
                return;
        }
        const bool labelled = labelDepth_ > 0 || tag.hasText("aria-label") || tag.hasText("aria-labelledby") ||
                              tag.hasText("title");
        const Attribute* id = tag.find("id");
        controls_.push_back({tag.name, tag.offset, id ? id->value : std::string(), labelled});
    }

    void endTag(const Tag& tag) {
        if (tag.name == "label") {
            if (labelDepth_ > 0)
                --labelDepth_;
            return;
        }
        if (tag.name != "a" && tag.name != "button")
            return;
        for (std::size_t k = open_.size(); k-- > 0;) {
            if (open_[k].name != tag.name)
                continue;
            const Container c = open_[k];
            open_.erase(open_.begin() + static_cast<std::ptrdiff_t>(k));
            if (!c.text) {
                if (c.name == "a")
                    report("link-text", c.offset, "link without text");
                else
                    report("button-text", c.offset, "button without text");
            }
            return;
        }
    }

    void finish() {
        for (const Control& c : controls_)
            if (!c.labelled && (c.id.empty() || !labelFor_.count(c.id)))
                report("control-label", c.offset, "<" + c.name + "> without a label");
        if (!sawHtml_)
            report("html-lang", 0, "the page has no <html> element with a lang attribute");
        if (!sawTitle_)
            report("page-title", sawHead_ ? headOffset_ : 0, "the page has no <title>");
        else if (!titleText_)
            report("page-title", sawHead_ ? headOffset_ : 0, "the page's <title> is empty");
    }

    const std::string& s_;
    PageScan out_;
    std::vector<Container> open_;
    std::vector<Control> controls_;
    std::set<std::string> ids_;
    std::set<std::string> labelFor_;
    int labelDepth_ = 0;
    int lastHeading_ = 0;
    bool sawHtml_ = false;
    bool sawHead_ = false;
    bool sawTitle_ = false;
    bool titleText_ = false;
    std::size_t headOffset_ = 0;
};

}  // namespace

PageScan ScanPage(const std::string& html) { return Scanner(html).run(); }

}  // namespace vlr::check
