// The dictionaries a spell check asks: a main dictionary (a Hunspell .aff/.dic
// pair), the user's own words (a UTF-8 file, one word a line) and the words
// ignored for the rest of the session. Words are UTF-8 throughout; a main
// dictionary in another encoding is converted at its boundary.
#pragma once

#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

class Hunspell;

namespace vlr::spelling {

// A dictionary or user word file that cannot be read or written.
class ESpellError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The dictionaries installed in a folder: "en_US" for en_US.aff + en_US.dic.
std::vector<std::string> InstalledLanguages(const std::string& folder);
// The system's dictionary folder.
std::string SystemDictionaryFolder();

class SpellDictionary {
public:
    // Opens `folder`/`language`.aff and .dic; throws ESpellError when either is
    // missing. `userFile` is read when it exists and written when words are added.
    SpellDictionary(const std::string& folder, const std::string& language, std::string userFile);
    ~SpellDictionary();
    SpellDictionary(const SpellDictionary&) = delete;
    SpellDictionary& operator=(const SpellDictionary&) = delete;

    const std::string& Language() const { return language_; }

    // True when the word is right: in the main dictionary, the user's words or
    // the ignored words. Answers are cached, so checking a long page repeats no work.
    bool Check(std::string_view word);
    // Up to `limit` suggestions, best first.
    std::vector<std::string> Suggest(std::string_view word, std::size_t limit = 50);

    // Adds the word to the user dictionary and saves the file (whole or not at
    // all); throws ESpellError when it cannot be written.
    void AddToUser(std::string_view word);
    // Removes a user word; saves the file.
    void RemoveFromUser(std::string_view word);
    // Replaces the user words by `words`; saves the file.
    void SetUserWords(const std::vector<std::string>& words);
    std::vector<std::string> UserWords() const;
    const std::string& UserFile() const { return userFile_; }

    // Ignored until the dictionary is closed.
    void IgnoreAll(std::string_view word);

private:
    void SaveUser() const;
    void ReadUser();
    bool CheckMain(const std::string& word);
    std::string ToDict(std::string_view utf8) const;
    std::string FromDict(const std::string& s) const;

    std::unique_ptr<Hunspell> main_;
    std::string language_;
    std::string encoding_;
    std::string userFile_;
    std::vector<std::string> userWords_;
    std::unordered_set<std::string> user_;
    std::unordered_set<std::string> ignored_;
    std::unordered_map<std::string, bool> cache_;
};

}  // namespace vlr::spelling
