// The rules of the site check: their identifiers, what each finds and how
// serious it is, and the project's own choices from the "[Check]" section of
// its project file:
//
//   [Check]
//   img-alt=0            the rule is off ("0", "off", "no" or "false")
//   heading-order=error  the rule reports errors ("error") or warnings ("warning")
//
// Names are compared without letter case; unknown names are ignored (the
// project file keeps them as they are).
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vlr::check {

enum class Severity { Warning, Error };

struct Rule {
    const char* id;
    Severity severity;
    const char* summary;
};

// Every rule, in a fixed order.
const std::vector<Rule>& AllRules();
// The rule of an identifier, or nullptr.
const Rule* FindRule(std::string_view id);

// Which rules run, and how serious each is, for one project.
class RuleSettings {
public:
    RuleSettings();
    // From the key lines of the "[Check]" section, in file order.
    static RuleSettings FromSection(const std::vector<std::pair<std::string, std::string>>& entries);

    [[nodiscard]] bool Enabled(std::string_view id) const;
    [[nodiscard]] Severity SeverityOf(std::string_view id) const;
    // A short text that differs whenever the settings differ (part of cache keys).
    [[nodiscard]] std::string Key() const;

private:
    std::vector<bool> enabled_;
    std::vector<Severity> severity_;
};

}  // namespace vlr::check
