// The program's spell checker: its settings and dictionaries beside the
// program's settings, shared by every editor window and the main window.
// Runs the modal check of a document and the configuration dialog.
#pragma once

#include "memo/widget/SyntaxMemo.h"
#include "spelling/engine/SpellCheck.h"
#include "spelling/engine/SpellDictionary.h"
#include "spelling/engine/SpellWords.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class QWidget;

namespace vlr::spelling {

class Speller {
public:
    // `folder` holds the settings and user word files (with a trailing slash);
    // `dictionaries` the main dictionaries.
    Speller(std::string folder, std::string dictionaries);

    // The instance for the program's settings folder (or the one installed by Use).
    static Speller& Instance();
    // Where the program's speller keeps its settings and the user's words:
    // the program folder of a build's run folder, the user's own folder
    // ($XDG_CONFIG_HOME/velora/) for an installed program, whose folder is read-only.
    static std::string DefaultFolder();
    // Installs a speller (not owned) in place of the program's; nullptr returns to it.
    static void Use(Speller* speller);

    const SpellOptions& Options() const { return options_; }
    // Stores the settings; a new language reopens the dictionary.
    void SetOptions(const SpellOptions& options);
    const std::string& DictionaryFolder() const { return dictionaries_; }

    // The dictionaries, opened on first use; throws ESpellError when the
    // language's dictionary is not installed.
    SpellDictionary& Dictionary();

    // The modal check of the whole document: the suggestions dialog for every
    // misspelt word, then a closing message.
    SpellRunResult CheckDocument(velora::memo::TSyntaxMemo& memo, QWidget* parent);
    // Test seam: answers the questions instead of the suggestions dialog.
    SpellAsk askOverride;

    // Adds a word to the user dictionary (context menu of a marked word).
    void AddWord(const std::string& word);
    // Changes whenever the answers may change (settings, user words, a check).
    std::uint64_t Generation() const { return generation_; }

    // The configuration dialog.
    void Configure(QWidget* parent);

private:
    std::string folder_;
    std::string dictionaries_;
    SpellOptions options_;
    std::unique_ptr<SpellDictionary> dict_;
    std::vector<std::unique_ptr<SpellDictionary>> retired_;
    std::uint64_t generation_ = 1;
};

}  // namespace vlr::spelling
