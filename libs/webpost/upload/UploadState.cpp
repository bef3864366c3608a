#include "libs/webpost/upload/UploadState.h"

#include "libs/webpost/upload/ContentHash.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <pwd.h>
#include <sstream>
#include <unistd.h>

namespace vlr::upload {
namespace {

constexpr std::size_t kMaxDestinations = 12;
const char* const kDestinationsFile = "destinations";

bool Fail(std::string* error, const std::string& why) {
    if (error)
        *error = why;
    return false;
}

std::string ReadAll(const std::string& path, bool* ok = nullptr) {
    std::ifstream in(path, std::ios::binary);
    if (ok)
        *ok = static_cast<bool>(in);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        lines.push_back(line);
    return lines;
}

std::vector<std::string> SplitTabs(const std::string& line) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    for (;;) {
        std::size_t tab = line.find('\t', start);
        parts.push_back(line.substr(start, tab - start));
        if (tab == std::string::npos)
            return parts;
        start = tab + 1;
    }
}

bool Storable(const std::string& s) { return s.find_first_of("\t\r\n") == std::string::npos; }

bool IsHexHash(const std::string& s) {
    if (s.size() != 64)
        return false;
    for (char c : s)
        if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f')))
            return false;
    return true;
}

}  // namespace

std::string StateFolderFor(const std::string& projectFile) {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && xdg[0] == '/')
        config = xdg;
    else if (const char* home = std::getenv("HOME"); home && home[0] == '/')
        config = std::string(home) + "/.config";
    else if (const passwd* pw = ::getpwuid(::getuid()); pw && pw->pw_dir)
        config = std::string(pw->pw_dir) + "/.config";
    if (config.empty())
        return {};
    if (config.back() != '/')
        config += '/';
    std::error_code ec;
    const std::filesystem::path project = std::filesystem::weakly_canonical(std::filesystem::absolute(projectFile, ec), ec);
    return config + "velora/upload/" + HashText(project.string()).substr(0, 24) + "/";
}

bool WriteWholeFile(const std::string& path, const std::string& contents, std::string* error) {
    std::error_code ec;
    std::filesystem::path target(path);
    if (target.has_parent_path() && !std::filesystem::is_directory(target.parent_path(), ec)) {
        // The record says which sites the user publishes to; only the user reads it.
        ec.clear();
        std::filesystem::create_directories(target.parent_path(), ec);
        if (!ec)
            std::filesystem::permissions(target.parent_path(), std::filesystem::perms::owner_all, ec);
    }
    if (ec)
        return Fail(error, "Cannot create the folder of " + path + ": " + ec.message());
    std::string temp = path + ".tmp-XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return Fail(error, "Cannot write " + path + ": " + std::strerror(errno));
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        ssize_t n = ::write(fd, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            int saved = errno;
            ::close(fd);
            ::unlink(temp.c_str());
            return Fail(error, "Cannot write " + path + ": " + std::strerror(saved));
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    if (::fsync(fd) != 0 || ::close(fd) != 0 || ::rename(temp.c_str(), path.c_str()) != 0) {
        int saved = errno;
        ::unlink(temp.c_str());
        return Fail(error, "Cannot write " + path + ": " + std::strerror(saved));
    }
    return true;
}

bool IsSafeRelativePath(const std::string& path) {
    if (path.empty() || path.front() == '/')
        return false;
    for (char c : path)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f || c == '\\')
            return false;
    std::size_t start = 0;
    for (;;) {
        std::size_t slash = path.find('/', start);
        std::string part = path.substr(start, slash - start);
        if (part.empty() || part == "." || part == "..")
            return false;
        if (slash == std::string::npos)
            return true;
        start = slash + 1;
    }
}

std::string PrintablePath(const std::string& text) {
    static const char* const kHex = "0123456789abcdef";
    std::string out;
    for (char c : text) {
        const auto u = static_cast<unsigned char>(c);
        if (u < 0x20 || u == 0x7f) {
            out += "\\x";
            out += kHex[u >> 4];
            out += kHex[u & 15];
        } else {
            out += c;
        }
    }
    return out;
}

std::vector<RememberedDestination> LoadDestinations(const std::string& stateFolder) {
    std::vector<RememberedDestination> out;
    if (stateFolder.empty())
        return out;
    for (const std::string& line : SplitLines(ReadAll(stateFolder + kDestinationsFile))) {
        std::vector<std::string> parts = SplitTabs(line);
        if (parts.size() != 4 || parts[0].empty())
            continue;
        out.push_back({parts[0], parts[1], parts[2], parts[3] == "1"});
    }
    return out;
}

bool RememberDestination(const std::string& stateFolder, const RememberedDestination& destination,
                         std::string* error) {
    if (stateFolder.empty())
        return true;
    if (!Storable(destination.location) || !Storable(destination.user) || !Storable(destination.localFolder))
        return Fail(error, "A destination, user or folder that holds a tab or line break cannot be remembered.");
    std::vector<RememberedDestination> list = LoadDestinations(stateFolder);
    std::string text;
    auto add = [&text](const RememberedDestination& d) {
        text += d.location + "\t" + d.user + "\t" + d.localFolder + "\t" + (d.deleteRemoved ? "1" : "0") + "\n";
    };
    add(destination);
    std::size_t kept = 1;
    for (const RememberedDestination& d : list) {
        if (kept >= kMaxDestinations)
            break;
        if (d.location == destination.location && d.user == destination.user)
            continue;
        add(d);
        ++kept;
    }
    return WriteWholeFile(stateFolder + kDestinationsFile, text, error);
}

HashStore::HashStore(const std::string& stateFolder, const Destination& destination) {
    if (stateFolder.empty())
        return;
    folder_ = stateFolder;
    const std::string key = DestinationKey(destination);
    file_ = stateFolder + "sent-" + HashText(key).substr(0, 16);
    header_ = "# " + destination.location + (destination.user.empty() ? "" : " as " + destination.user);
    for (const std::string& line : SplitLines(ReadAll(file_))) {
        // "<hash>  <path>", the form sha256sum writes.
        if (line.size() < 67 || line.compare(64, 2, "  ") != 0)
            continue;
        std::string hash = line.substr(0, 64);
        std::string path = line.substr(66);
        if (IsHexHash(hash) && IsSafeRelativePath(path))
            hashes_[path] = hash;
    }
}

const std::string* HashStore::find(const std::string& path) const {
    auto it = hashes_.find(path);
    return it == hashes_.end() ? nullptr : &it->second;
}

bool HashStore::save(std::string* error) const {
    if (file_.empty())
        return true;
    std::string text = header_ + "\n";
    for (const auto& [path, hash] : hashes_)
        text += hash + "  " + path + "\n";
    return WriteWholeFile(file_, text, error);
}

}  // namespace vlr::upload
