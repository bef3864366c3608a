#include "spelling/ui/Speller.h"

#include "platform/Prompter.h"
#include "platform/System.h"
#include "spelling/engine/SpellSettings.h"
#include "spelling/ui/SpellCheckDialog.h"
#include "spelling/ui/SpellConfigDialog.h"


namespace vlr::spelling {

Speller::Speller(std::string folder, std::string dictionaries)
    : folder_(std::move(folder)), dictionaries_(std::move(dictionaries)) {
    options_ = ReadSpellOptions(folder_ + kSettingsFile);
}

namespace {
Speller* installed = nullptr;
}

Speller& Speller::Instance() {
    if (installed)
        return *installed;
    static Speller speller(DefaultFolder(), SystemDictionaryFolder());
    return speller;
}

std::string Speller::DefaultFolder() { return vlr::UserDataDir(); }

void Speller::Use(Speller* speller) { installed = speller; }

void Speller::SetOptions(const SpellOptions& options) {
    if (options.language != options_.language)
        // A check that is running may still hold the old dictionary.
        retired_.push_back(std::move(dict_));
    options_ = options;
    ++generation_;
    if (!WriteSpellOptions(folder_ + kSettingsFile, options_))
        throw ESpellError("The spelling settings cannot be written to " + folder_ + kSettingsFile + ".");
}

SpellDictionary& Speller::Dictionary() {
    if (!dict_)
        dict_ = std::make_unique<SpellDictionary>(dictionaries_, options_.language, folder_ + kUserWordsFile);
    return *dict_;
}

SpellRunResult Speller::CheckDocument(velora::memo::TSyntaxMemo& memo, QWidget* parent) {
    retired_.clear();
    SpellDictionary& dict = Dictionary();
    const velora::memo::Selection before = memo.engine().selection();
    SpellRunResult r;
    if (askOverride) {
        r = RunSpellCheck(memo.engine(), dict, options_, askOverride);
    } else {
        TSpellCheckDialog dialog(parent);
        // New settings act from the next check on; this one keeps its dictionary.
        dialog.onOptions = [this, &dialog] { Configure(&dialog); };
        r = RunSpellCheck(memo.engine(), dict, options_, [&](const SpellQuestion& q) { return dialog.Ask(q); });
    }
    if (!r.cancelled)
        ShowMessage(MessageKind::Information, "Spelling", "The spelling check is complete.");
    ++generation_;  // Ignore All and added words change the answers
    if (r.changes == 0)
        memo.engine().setSelection(before);
    return r;
}

void Speller::AddWord(const std::string& word) {
    Dictionary().AddToUser(word);
    ++generation_;
}

void Speller::Configure(QWidget* parent) {
    TSpellConfigDialog dialog(*this, parent);
    dialog.exec();
}

}  // namespace vlr::spelling
