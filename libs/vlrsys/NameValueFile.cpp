#include "libs/vlrsys/NameValueFile.h"

#include "platform/IniFile.h"

#include <QString>

#include <cstdint>

namespace vlr::sys {
namespace {

void putInt(std::string& out, std::int32_t v) {
    auto u = static_cast<std::uint32_t>(v);
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<char>((u >> (8 * i)) & 0xFF));
}

bool getInt(const std::string& in, std::size_t& pos, std::int32_t& v) {
    if (in.size() - pos < 4)
        return false;
    std::uint32_t u = 0;
    for (int i = 0; i < 4; ++i)
        u |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[pos + static_cast<std::size_t>(i)])) << (8 * i);
    pos += 4;
    v = static_cast<std::int32_t>(u);
    return true;
}

bool getText(const std::string& in, std::size_t& pos, std::string& text) {
    std::int32_t len = 0;
    if (!getInt(in, pos, len) || len < 0 || static_cast<std::size_t>(len) > in.size() - pos)
        return false;
    text = in.substr(pos, static_cast<std::size_t>(len));
    pos += static_cast<std::size_t>(len);
    if (auto zero = text.find('\0'); zero != std::string::npos)
        text.resize(zero);
    return true;
}

bool sameName(const std::string& a, const std::string& b) {
    return QString::fromStdString(a).compare(QString::fromStdString(b), Qt::CaseInsensitive) == 0;
}

}  // namespace

std::optional<NameValues> ReadNameValues(const std::string& path, std::string* error) {
    std::string bytes;
    if (!ReadFileBytes(path, bytes)) {
        if (error)
            *error = "Cannot open " + path;
        return std::nullopt;
    }
    std::size_t pos = 0;
    std::int32_t count = 0;
    NameValues out;
    bool ok = getInt(bytes, pos, count) && count >= 0 && static_cast<std::size_t>(count) <= (bytes.size() - pos) / 8;
    for (std::int32_t i = 0; ok && i < count; ++i) {
        std::string name, value;
        ok = getText(bytes, pos, name) && getText(bytes, pos, value);
        out.emplace_back(std::move(name), std::move(value));
    }
    if (!ok) {
        if (error)
            *error = "The variables file " + path + " is damaged";
        return std::nullopt;
    }
    return out;
}

bool WriteNameValues(const std::string& path, const NameValues& entries, std::string* error) {
    std::string bytes;
    putInt(bytes, static_cast<std::int32_t>(entries.size()));
    for (const auto& [name, value] : entries) {
        putInt(bytes, static_cast<std::int32_t>(name.size()));
        bytes += name;
        putInt(bytes, static_cast<std::int32_t>(value.size()));
        bytes += value;
    }
    return WriteFileAtomically(path, bytes, error);
}

std::string VariableProblem(const NameValues& entries, std::size_t index) {
    const auto& [name, value] = entries[index];
    if (name.empty())
        return "A variable needs a name.";
    if (name.find_first_of("=\r\n") != std::string::npos)
        return "The name \"" + name + "\" may not contain \"=\" or a line break.";
    if (name.front() == '[' || name.front() == ';')
        return "The name \"" + name + "\" may not begin with \"[\" or \";\".";
    if (value.find_first_of("\r\n") != std::string::npos)
        return "The value of \"" + name + "\" may not contain a line break.";
    for (std::size_t i = 0; i < index; ++i)
        if (sameName(entries[i].first, name))
            return "The name \"" + name + "\" is used twice.";
    return {};
}

}  // namespace vlr::sys
