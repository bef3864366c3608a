#include "spelling/engine/SpellDictionary.h"

#include <hunspell/hunspell.hxx>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iconv.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace vlr::spelling {

namespace {

bool IsUtf8Name(std::string enc) {
    std::transform(enc.begin(), enc.end(), enc.begin(), [](unsigned char c) { return char(std::toupper(c)); });
    return enc.empty() || enc == "UTF-8" || enc == "UTF8";
}

// Converts between encodings; characters the target lacks make the result empty.
std::string Convert(const std::string& from, const std::string& to, std::string_view text) {
    iconv_t cd = iconv_open(to.c_str(), from.c_str());
    if (cd == iconv_t(-1))
        return {};
    std::string in(text);
    std::string out(in.size() * 4 + 4, '\0');
    char* ip = in.data();
    char* op = out.data();
    size_t il = in.size();
    size_t ol = out.size();
    const size_t r = iconv(cd, &ip, &il, &op, &ol);
    iconv_close(cd);
    if (r == size_t(-1))
        return {};
    out.resize(out.size() - ol);
    return out;
}

}  // namespace

std::string SystemDictionaryFolder() { return "/usr/share/hunspell"; }

std::vector<std::string> InstalledLanguages(const std::string& folder) {
    std::vector<std::string> out;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) {
        if (e.path().extension() != ".aff")
            continue;
        fs::path dic = e.path();
        dic.replace_extension(".dic");
        if (fs::exists(dic, ec))
            out.push_back(e.path().stem().string());
    }
    std::sort(out.begin(), out.end());
    return out;
}

SpellDictionary::SpellDictionary(const std::string& folder, const std::string& language, std::string userFile)
    : language_(language), userFile_(std::move(userFile)) {
    const fs::path aff = fs::path(folder) / (language + ".aff");
    const fs::path dic = fs::path(folder) / (language + ".dic");
    if (language.empty() || !fs::is_regular_file(aff) || !fs::is_regular_file(dic))
        throw ESpellError("The dictionary \"" + language + "\" is not installed in " + folder + ".");
    main_ = std::make_unique<Hunspell>(aff.c_str(), dic.c_str());
    encoding_ = main_->get_dict_encoding();
    ReadUser();
}

SpellDictionary::~SpellDictionary() = default;

std::string SpellDictionary::ToDict(std::string_view utf8) const {
    if (IsUtf8Name(encoding_))
        return std::string(utf8);
    return Convert("UTF-8", encoding_, utf8);
}

std::string SpellDictionary::FromDict(const std::string& s) const {
    if (IsUtf8Name(encoding_))
        return s;
    return Convert(encoding_, "UTF-8", s);
}

bool SpellDictionary::CheckMain(const std::string& word) {
    const std::string w = ToDict(word);
    // A word the dictionary's encoding cannot hold is not in it.
    return !w.empty() && main_->spell(w);
}

bool SpellDictionary::Check(std::string_view word) {
    std::string w(word);
    if (user_.count(w) || ignored_.count(w))
        return true;
    const auto it = cache_.find(w);
    if (it != cache_.end())
        return it->second;
    const bool ok = CheckMain(w);
    cache_.emplace(std::move(w), ok);
    return ok;
}

std::vector<std::string> SpellDictionary::Suggest(std::string_view word, std::size_t limit) {
    std::vector<std::string> out;
    const std::string w = ToDict(word);
    if (w.empty())
        return out;
    for (const std::string& s : main_->suggest(w)) {
        if (out.size() >= limit)
            break;
        std::string u = FromDict(s);
        if (!u.empty() && std::find(out.begin(), out.end(), u) == out.end())
            out.push_back(std::move(u));
    }
    return out;
}

void SpellDictionary::ReadUser() {
    userWords_.clear();
    user_.clear();
    if (userFile_.empty() || !fs::exists(userFile_))
        return;
    std::ifstream in(userFile_, std::ios::binary);
    if (!in)
        throw ESpellError("The user dictionary " + userFile_ + " cannot be read.");
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && user_.insert(line).second)
            userWords_.push_back(line);
    }
}

void SpellDictionary::SaveUser() const {
    if (userFile_.empty())
        return;
    const fs::path target(userFile_);
    std::error_code ec;
    if (target.has_parent_path())
        fs::create_directories(target.parent_path(), ec);
    const std::string temp = userFile_ + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        for (const std::string& w : userWords_)
            out << w << '\n';
        out.flush();
        if (!out) {
            out.close();
            fs::remove(temp, ec);
            throw ESpellError("The user dictionary " + userFile_ + " cannot be written.");
        }
    }
    if (std::rename(temp.c_str(), userFile_.c_str()) != 0) {
        fs::remove(temp, ec);
        throw ESpellError("The user dictionary " + userFile_ + " cannot be written.");
    }
}

void SpellDictionary::AddToUser(std::string_view word) {
    std::string w(word);
    if (w.empty() || w.find('\n') != std::string::npos || user_.count(w))
        return;
    userWords_.push_back(w);
    user_.insert(w);
    try {
        SaveUser();
    } catch (...) {
        userWords_.pop_back();
        user_.erase(w);
        throw;
    }
}

void SpellDictionary::RemoveFromUser(std::string_view word) {
    std::vector<std::string> words = userWords_;
    words.erase(std::remove(words.begin(), words.end(), std::string(word)), words.end());
    SetUserWords(words);
}

void SpellDictionary::SetUserWords(const std::vector<std::string>& words) {
    std::vector<std::string> oldWords = userWords_;
    userWords_.clear();
    user_.clear();
    for (const std::string& w : words)
        if (!w.empty() && w.find('\n') == std::string::npos && user_.insert(w).second)
            userWords_.push_back(w);
    try {
        SaveUser();
    } catch (...) {
        userWords_ = oldWords;
        user_ = {oldWords.begin(), oldWords.end()};
        throw;
    }
}

std::vector<std::string> SpellDictionary::UserWords() const { return userWords_; }

void SpellDictionary::IgnoreAll(std::string_view word) { ignored_.insert(std::string(word)); }

}  // namespace vlr::spelling
