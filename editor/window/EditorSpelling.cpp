// The editor window's spelling: the whole-document check, the background
// marks on the control, and a marked word's suggestions and "Add to
// dictionary" at the top of the context menu.
#include "editor/window/FrmEditor.h"

#include "spelling/ui/SpellMarks.h"
#include "spelling/ui/Speller.h"

#include <QAction>
#include <QMenu>

namespace vlr {

namespace {
constexpr int kMenuSuggestions = 8;
}

void TFrmEditor::CheckSpelling1Click() {
    spelling::Speller::Instance().CheckDocument(*SyntaxMemo1, this);
    if (spellMarks_)
        spellMarks_->update();
}

void TFrmEditor::AttachSpelling() {
    spellMarks_ = new spelling::TSpellMarks(*SyntaxMemo1, spelling::Speller::Instance());
}

void TFrmEditor::OfferSpelling(const QPoint& at) {
    for (QAction* a : spellActions_) {
        PopupMenu1->removeAction(a);
        a->setObjectName(QString());
        a->deleteLater();
    }
    spellActions_.clear();
    if (!spellMarks_)
        return;
    // The control reports the click in its viewport's coordinates.
    const spelling::FoundWord w = spellMarks_->MarkedWordAt(SyntaxMemo1->positionAt(at));
    if (!w.found())
        return;
    spelling::Speller& speller = spelling::Speller::Instance();
    QAction* first = PopupMenu1->actions().isEmpty() ? nullptr : PopupMenu1->actions().first();
    const auto add = [&](QAction* a) {
        PopupMenu1->insertAction(first, a);
        spellActions_.push_back(a);
    };
    const std::vector<std::string> suggestions = speller.Dictionary().Suggest(w.text, kMenuSuggestions);
    for (const std::string& s : suggestions) {
        auto* a = new QAction(QString::fromUtf8(s), PopupMenu1);
        a->setObjectName("SpellSuggestion");
        connect(a, &QAction::triggered, this, [this, w, s] {
            guarded("SpellSuggestionClick", [&] {
                // The word must still be there: the text may have changed since.
                if (SyntaxMemo1->engine().store().text(w.start, w.end) != w.text)
                    return;
                SyntaxMemo1->engine().setSelection(w.start, w.end);
                SyntaxMemo1->engine().replaceSelection(s);
            });
        });
        add(a);
    }
    if (suggestions.empty()) {
        auto* none = new QAction("(no suggestions)", PopupMenu1);
        none->setEnabled(false);
        add(none);
    }
    auto* addWord = new QAction("Add to dictionary", PopupMenu1);
    addWord->setObjectName("AddToDictionary");
    connect(addWord, &QAction::triggered, this, [this, w] {
        guarded("AddToDictionaryClick", [&] {
            spelling::Speller::Instance().AddWord(w.text);
            spellMarks_->update();
        });
    });
    add(addWord);
    auto* sep = new QAction(PopupMenu1);
    sep->setSeparator(true);
    add(sep);
}

}  // namespace vlr
