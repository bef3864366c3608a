// Character entities, lists, the advert banner and variable references.
#include "authoring/markup/SpecialMarkup.h"

#include "authoring/markup/Insertions.h"
#include "authoring/markup/TagCase.h"

#include <array>
#include <utility>

namespace vlr::authoring {

std::optional<int> EntityCodeOfCaption(std::string_view caption) {
    if (caption == "tm")
        return 8482;
    if (caption.empty())
        return std::nullopt;
    const auto b0 = static_cast<unsigned char>(caption[0]);
    if (b0 < 0x80)
        return b0;
    // Two-byte UTF-8 sequences up to U+00FF: the Latin-1 half of the code page.
    if ((b0 == 0xC2 || b0 == 0xC3) && caption.size() >= 2) {
        const auto b1 = static_cast<unsigned char>(caption[1]);
        if ((b1 & 0xC0) == 0x80) {
            const int code = ((b0 & 0x1F) << 6) | (b1 & 0x3F);
            if (code >= 0xA0)
                return code;
        }
    }
    return std::nullopt;
}

std::string EntityMarkup(int code) { return "&#" + std::to_string(code) + ";"; }

std::optional<std::string> ListTypeForCaption(std::string_view caption) {
    static constexpr std::array<std::pair<std::string_view, std::string_view>, 8> kTypes = {{
        {"&regular", "regular"},
        {"circl&e", "circle"},
        {"s&quare", "square"},
        {"&numbers", "1"},
        {"small &letters", "a"},
        {"capital le&tters", "A"},
        {"roman numerals (&small)", "i"},
        {"roman numerals (&capital)", "I"},
    }};
    const std::string lower = TagCase(caption, true);
    for (const auto& [c, type] : kTypes)
        if (lower == c)
            return std::string(type);
    return std::nullopt;
}

std::string ListMarkup(std::string_view listType, bool lowerTags) {
    const std::string br(kMarkupBreak);
    // Numbers, letters and roman numerals number the items: an ordered list.
    // Discs, circles and squares are bullets.
    const bool numbered = listType == "1" || listType == "a" || listType == "A" || listType == "i" || listType == "I";
    const std::string element = numbered ? "ol" : "ul";
    std::string open;
    if (listType == "regular")
        open = TagCase("<" + element + ">", lowerTags);
    else
        open = TagCase("<" + element + " type=\"", lowerTags) + std::string(listType) + "\">";
    return open + br + "    " + TagCase("<li>Bullet 1", lowerTags) + br + "    " +
           TagCase("<li>Bullet 2", lowerTags) + br + TagCase("</" + element + ">", lowerTags);
}

std::string AdvertMarkup(std::string_view site, bool lowerTags) {
    auto name = [lowerTags](std::string_view n) { return TagCase(n, lowerTags); };
    const std::string address(site);
    return "<" + name("a href") + "=\"" + address + "\">" + "<" + name("img src") + "=\"" + address +
           "/banners/button4.gif\"" + name(" border=") + "0" + name(" width=") + "88" + name(" height=") + "31" +
           name(" alt") + "=\"Created With VLR\">" + "</" + name("a") + ">";
}

std::string VariableMarkup(std::string_view name) { return "<%" + std::string(name) + "%>"; }

}  // namespace vlr::authoring
