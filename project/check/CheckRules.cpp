// The rule table and the project's settings for it.
#include "project/check/CheckRules.h"

#include "platform/AsciiCase.h"

namespace vlr::check {
namespace {

std::string lowered(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = static_cast<char>(AsciiLower(static_cast<unsigned char>(c)));
    return out;
}

int indexOf(std::string_view id) {
    const std::string name = lowered(id);
    const auto& rules = AllRules();
    for (std::size_t i = 0; i < rules.size(); ++i)
        if (name == rules[i].id)
            return static_cast<int>(i);
    return -1;
}

}  // namespace

const std::vector<Rule>& AllRules() {
    static const std::vector<Rule> rules = {
        {"html-unclosed", Severity::Error, "an element is not closed"},
        {"html-misnested", Severity::Error, "elements are crossed, or an end tag has no start"},
        {"html-unknown-element", Severity::Error, "an element HTML does not have"},
        {"html-unknown-attribute", Severity::Warning, "an attribute the element does not have"},
        {"html-duplicate-attribute", Severity::Error, "an attribute given twice"},
        {"html-syntax", Severity::Error, "other errors of the markup"},
        {"img-alt", Severity::Error, "an image without alt text"},
        {"link-text", Severity::Error, "a link without text"},
        {"button-text", Severity::Error, "a button without text"},
        {"html-lang", Severity::Warning, "the page does not name its language"},
        {"control-label", Severity::Warning, "a form control without a label"},
        {"duplicate-id", Severity::Error, "an id used twice"},
        {"heading-order", Severity::Warning, "a heading level skipped"},
        {"page-title", Severity::Warning, "the page has no title"},
        {"link-missing", Severity::Error, "a link or image to a file the site does not have"},
    };
    return rules;
}

const Rule* FindRule(std::string_view id) {
    const int i = indexOf(id);
    return i < 0 ? nullptr : &AllRules()[static_cast<std::size_t>(i)];
}

RuleSettings::RuleSettings() {
    for (const Rule& r : AllRules()) {
        enabled_.push_back(true);
        severity_.push_back(r.severity);
    }
}

RuleSettings RuleSettings::FromSection(const std::vector<std::pair<std::string, std::string>>& entries) {
    RuleSettings s;
    for (const auto& [key, value] : entries) {
        const int i = indexOf(key);
        if (i < 0)
            continue;
        const std::string v = lowered(value);
        const auto at = static_cast<std::size_t>(i);
        if (v == "0" || v == "off" || v == "no" || v == "false") {
            s.enabled_[at] = false;
        } else {
            s.enabled_[at] = true;
            if (v == "error")
                s.severity_[at] = Severity::Error;
            else if (v == "warning")
                s.severity_[at] = Severity::Warning;
        }
    }
    return s;
}

bool RuleSettings::Enabled(std::string_view id) const {
    const int i = indexOf(id);
    return i >= 0 && enabled_[static_cast<std::size_t>(i)];
}

Severity RuleSettings::SeverityOf(std::string_view id) const {
    const int i = indexOf(id);
    return i < 0 ? Severity::Error : severity_[static_cast<std::size_t>(i)];
}

std::string RuleSettings::Key() const {
    std::string key;
    for (std::size_t i = 0; i < enabled_.size(); ++i)
        key += !enabled_[i] ? '0' : severity_[i] == Severity::Error ? 'e' : 'w';
    return key;
}

}  // namespace vlr::check
