#include "spelling/engine/SpellSettings.h"

#include <cstdio>
#include <fstream>
#include <unistd.h>

namespace vlr::spelling {

SpellOptions ReadSpellOptions(const std::string& path) {
    SpellOptions o;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::size_t eq = line.find('=');
        if (eq == std::string::npos)
            continue;
        const std::string name = line.substr(0, eq);
        const std::string value = line.substr(eq + 1);
        if (name == "Language" && !value.empty())
            o.language = value;
        else if (name == "Background")
            o.background = value == "1";
        else if (name == "SkipCapitals")
            o.skipCapitals = value == "1";
        else if (name == "SkipDigits")
            o.skipDigits = value == "1";
    }
    return o;
}

bool WriteSpellOptions(const std::string& path, const SpellOptions& o) {
    const std::string temp = path + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << "Language=" << o.language << '\n'
            << "Background=" << (o.background ? 1 : 0) << '\n'
            << "SkipCapitals=" << (o.skipCapitals ? 1 : 0) << '\n'
            << "SkipDigits=" << (o.skipDigits ? 1 : 0) << '\n';
        out.flush();
        if (!out) {
            std::remove(temp.c_str());
            return false;
        }
    }
    if (std::rename(temp.c_str(), path.c_str()) != 0) {
        std::remove(temp.c_str());
        return false;
    }
    return true;
}

}  // namespace vlr::spelling
