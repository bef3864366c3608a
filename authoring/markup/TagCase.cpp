// The tag-case rule of inserted markup.
#include "authoring/markup/TagCase.h"

namespace vlr::authoring {

std::string TagCase(std::string_view text, bool lower) {
    std::string out(text);
    for (char& c : out) {
        if (lower && c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
        else if (!lower && c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

}  // namespace vlr::authoring
