#include "libs/vlrsys/Repository.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vlr::sys {

namespace {

constexpr const char* kDescriptionSuffix = ".description";

std::string ReadAll(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

// Writes through a temporary file and a rename.
void WriteWhole(const fs::path& target, const std::string& bytes) {
    const fs::path temp = target.string() + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << bytes;
        out.flush();
        if (!out) {
            std::error_code ec;
            fs::remove(temp, ec);
            throw ERepositoryError("The file " + target.string() + " cannot be written.");
        }
    }
    std::error_code ec;
    fs::rename(temp, target, ec);
    if (ec) {
        fs::remove(temp, ec);
        throw ERepositoryError("The file " + target.string() + " cannot be written.");
    }
}

}  // namespace

bool IsPlainName(const std::string& name) {
    if (name.empty() || name == "." || name == ".." || name.size() > 200)
        return false;
    return std::none_of(name.begin(), name.end(),
                        [](unsigned char c) { return c == '/' || c == '\\' || c < 0x20 || c == ':'; });
}

Repository::Repository(std::string appDir, std::string storeDir)
    : appDir_(std::move(appDir)), storeDir_(storeDir.empty() ? appDir_ : std::move(storeDir)) {}

std::string Repository::Folder() const { return storeDir_ + "repository/"; }

std::vector<std::string> Repository::Categories() const {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(Folder(), ec))
        if (e.is_directory())
            out.push_back(e.path().filename().string());
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<RepositoryItem> Repository::Items() const {
    std::vector<RepositoryItem> out;
    std::error_code ec;
    std::vector<fs::path> templates;
    for (const auto& e : fs::directory_iterator(appDir_ + "templates", ec))
        if (e.is_regular_file() && e.path().extension() == ".htf")
            templates.push_back(e.path());
    std::sort(templates.begin(), templates.end());
    for (const fs::path& t : templates)
        out.push_back({kTemplatesCategory, t.stem().string(), "", t.string()});
    for (const std::string& c : Categories()) {
        std::vector<fs::path> docs;
        for (const auto& e : fs::directory_iterator(fs::path(Folder()) / c, ec)) {
            const std::string n = e.path().filename().string();
            if (!e.is_regular_file() || n.ends_with(kDescriptionSuffix) || n.find(".tmp") != std::string::npos)
                continue;
            docs.push_back(e.path());
        }
        std::sort(docs.begin(), docs.end());
        for (const fs::path& d : docs)
            out.push_back({c, d.stem().string(), ReadAll(d.string() + kDescriptionSuffix), d.string()});
    }
    return out;
}

std::string Repository::TargetPath(const std::string& category, const std::string& name,
                                   const std::string& sourcePath) const {
    return (fs::path(Folder()) / category / (name + fs::path(sourcePath).extension().string())).string();
}

bool Repository::Exists(const std::string& category, const std::string& name, const std::string& sourcePath) const {
    return fs::exists(TargetPath(category, name, sourcePath));
}

RepositoryItem Repository::Add(const std::string& sourcePath, const std::string& name, const std::string& description,
                               const std::string& category) {
    if (!IsPlainName(name))
        throw ERepositoryError("\"" + name + "\" cannot be used as a name in the repository.");
    if (!IsPlainName(category))
        throw ERepositoryError("\"" + category + "\" cannot be used as a category.");
    if (!fs::is_regular_file(sourcePath))
        throw ERepositoryError("The file " + sourcePath + " does not exist.");
    std::ifstream in(sourcePath, std::ios::binary);
    if (!in)
        throw ERepositoryError("The file " + sourcePath + " cannot be read.");
    std::ostringstream bytes;
    bytes << in.rdbuf();
    std::error_code ec;
    fs::create_directories(fs::path(Folder()) / category, ec);
    if (ec)
        throw ERepositoryError("The repository folder " + Folder() + category + " cannot be made.");
    const std::string target = TargetPath(category, name, sourcePath);
    WriteWhole(target, bytes.str());
    WriteWhole(target + kDescriptionSuffix, description);
    return {category, name, description, target};
}

}  // namespace vlr::sys
