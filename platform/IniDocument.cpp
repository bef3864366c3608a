#include "platform/IniDocument.h"

#include "platform/AsciiCase.h"

namespace vlr {
namespace {

std::string_view trim(std::string_view s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r'))
        --e;
    return s.substr(b, e - b);
}

std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(AsciiLower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

void IniDocument::Section::reindex() {
    keyIndex.clear();
    keyEnd = 0;
    for (std::size_t i = 0; i < lines.size(); ++i)
        if (lines[i].isKey) {
            keyIndex.try_emplace(lower(lines[i].name), i);
            keyEnd = i + 1;
        }
}

IniDocument IniDocument::Parse(std::string_view contents) {
    IniDocument doc;
    std::size_t pos = 0;
    while (pos < contents.size()) {
        std::size_t end = contents.find('\n', pos);
        if (end == std::string_view::npos)
            end = contents.size();
        std::string_view raw = contents.substr(pos, end - pos);
        pos = end + 1;
        if (!raw.empty() && raw.back() == '\r')
            raw.remove_suffix(1);
        std::string_view t = trim(raw);

        if (!t.empty() && t[0] == '[') {
            std::size_t close = t.find(']');
            if (close != std::string_view::npos) {
                Section s;
                s.headerText = std::string(raw);
                s.name = std::string(trim(t.substr(1, close - 1)));
                doc.sections_.push_back(std::move(s));
                continue;
            }
        }
        Line line;
        line.text = std::string(raw);
        if (!t.empty() && t[0] != ';' && t[0] != '[') {
            std::size_t eq = t.find('=');
            if (eq != std::string_view::npos) {
                line.isKey = true;
                line.name = std::string(trim(t.substr(0, eq)));
                std::string_view value = trim(t.substr(eq + 1));
                if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                    value.back() == value.front())
                    value = value.substr(1, value.size() - 2);
                line.value = std::string(value);
            }
        }
        (doc.sections_.empty() ? doc.preamble_ : doc.sections_.back().lines).push_back(std::move(line));
    }
    for (Section& s : doc.sections_)
        s.reindex();
    doc.reindexSections();
    return doc;
}

std::string IniDocument::Serialize() const {
    std::size_t size = 0;
    for (const Line& l : preamble_)
        size += l.text.size() + 1;
    for (const Section& s : sections_) {
        size += s.headerText.size() + 1;
        for (const Line& l : s.lines)
            size += l.text.size() + 1;
    }
    std::string out;
    out.reserve(size);
    auto put = [&out](const std::string& text) {
        out += text;
        out += '\n';
    };
    for (const Line& l : preamble_)
        put(l.text);
    for (const Section& s : sections_) {
        put(s.headerText);
        for (const Line& l : s.lines)
            put(l.text);
    }
    return out;
}

void IniDocument::reindexSections() {
    sectionIndex_.clear();
    for (std::size_t i = 0; i < sections_.size(); ++i)
        sectionIndex_.try_emplace(lower(sections_[i].name), i);
}

IniDocument::Section* IniDocument::findSection(std::string_view section) {
    auto it = sectionIndex_.find(lower(section));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const IniDocument::Section* IniDocument::findSection(std::string_view section) const {
    auto it = sectionIndex_.find(lower(section));
    return it == sectionIndex_.end() ? nullptr : &sections_[it->second];
}

const std::string* IniDocument::Find(std::string_view section, std::string_view key) const {
    const Section* s = findSection(section);
    if (!s)
        return nullptr;
    auto it = s->keyIndex.find(lower(key));
    return it == s->keyIndex.end() ? nullptr : &s->lines[it->second].value;
}

bool IniDocument::SectionExists(std::string_view section) const { return findSection(section) != nullptr; }

std::vector<std::string> IniDocument::SectionKeys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const Section* s = findSection(section))
        for (const Line& l : s->lines)
            if (l.isKey)
                keys.push_back(l.name);
    return keys;
}

std::vector<std::pair<std::string, std::string>> IniDocument::SectionValues(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> values;
    if (const Section* s = findSection(section))
        for (const Line& l : s->lines)
            if (l.isKey)
                values.emplace_back(l.name, l.value);
    return values;
}

std::vector<std::string> IniDocument::SectionNames() const {
    std::vector<std::string> names;
    names.reserve(sections_.size());
    for (const Section& s : sections_)
        names.push_back(s.name);
    return names;
}

void IniDocument::Set(std::string_view section, std::string_view key, std::string_view value) {
    Section* s = findSection(section);
    if (!s) {
        // The last line of the whole text decides whether a blank line separates
        // the new section from what comes before it.
        std::vector<Line>* tail = sections_.empty() ? &preamble_ : &sections_.back().lines;
        const std::string* last = nullptr;
        if (!tail->empty())
            last = &tail->back().text;
        else if (!sections_.empty())
            last = &sections_.back().headerText;
        if (last && !trim(*last).empty())
            tail->push_back(Line{});
        Section added;
        added.name = std::string(section);
        added.headerText = "[" + added.name + "]";
        sections_.push_back(std::move(added));
        sectionIndex_.try_emplace(lower(section), sections_.size() - 1);
        s = &sections_.back();
    }
    std::string lowerKey = lower(key);
    auto it = s->keyIndex.find(lowerKey);
    if (it != s->keyIndex.end()) {
        Line& l = s->lines[it->second];
        l.text = l.name + "=" + std::string(value);
        l.value = std::string(value);
        return;
    }
    Line line;
    line.isKey = true;
    line.name = std::string(key);
    line.value = std::string(value);
    line.text = line.name + "=" + line.value;
    s->lines.insert(s->lines.begin() + static_cast<std::ptrdiff_t>(s->keyEnd), std::move(line));
    s->keyIndex.emplace(std::move(lowerKey), s->keyEnd);
    ++s->keyEnd;
}

bool IniDocument::EraseSection(std::string_view section) {
    auto it = sectionIndex_.find(lower(section));
    if (it == sectionIndex_.end())
        return false;
    sections_.erase(sections_.begin() + static_cast<std::ptrdiff_t>(it->second));
    reindexSections();
    return true;
}

bool IniDocument::DeleteKey(std::string_view section, std::string_view key) {
    Section* s = findSection(section);
    if (!s)
        return false;
    auto it = s->keyIndex.find(lower(key));
    if (it == s->keyIndex.end())
        return false;
    s->lines.erase(s->lines.begin() + static_cast<std::ptrdiff_t>(it->second));
    s->reindex();
    return true;
}

void IniDocument::Clear() {
    preamble_.clear();
    sections_.clear();
    sectionIndex_.clear();
}

}  // namespace vlr
