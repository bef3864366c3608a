// Find next, show all and the find dialog of an editor window. Plain searches ignore letter
// case unless the match-case option is given; with the regular-expression option the search
// text is an expression and the whole match is selected or marked.
#include "editor/window/EditorSearch.h"

#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"
#include "platform/Prompter.h"
#include "platform/Record.h"

#include <QSignalBlocker>

namespace vlr {

using namespace velora::memo;

namespace {
void ShowExpressionError(const ERegExprError& err) {
    ShowMessage(MessageKind::Error, "", err.what(), BtnOk);
}
}  // namespace

// ---- editor window operations

void TFrmEditor::MarkRange(Pos start, Pos end) { marks_->add(start, end); }

void TFrmEditor::FindNext(bool regularExpressions) {
    // The control's own search goes on as it was made: its text with its options.
    if (LastFind.empty()) {
        LastFind = ControlSearchText;
        LastFindOptions = ControlSearchOptions;
    }
    if (LastFind.empty()) {
        RecordPtr r = MakeRecord("false");
        Report(MW_FIND_NEXT_STATE, std::move(r));
        return;
    }
    RecordPtr r = MakeRecord("true");
    Report(MW_FIND_NEXT_STATE, std::move(r));
    // The menu's regular-expression mark does not turn a plain search into an
    // expression: it only says where the selection ends.
    const unsigned options = (LastFindOptions | kSearchAtOnce) & ~unsigned(kSearchBackwards);
    MemoEngine& e = SyntaxMemo1->engine();
    Pos end = -1, p = -1;
    try {
        e.searchMemory().remember(LastFind, options);
        p = e.find(LastFind, options, e.selection().caret, &end);
    } catch (const ERegExprError& err) {
        ShowExpressionError(err);
        return;
    }
    e.searchMemory().setLastMatch({p, end});
    if (p < 0) {
        const Pos stop = e.searchMemory().stoppedAt();
        ShowMessage(MessageKind::Information, "",
                    stop >= 0 ? OutOfStepsMessage(e.store().lineFromPos(stop) + 1) : "\"" + LastFind + "\" not found.",
                    BtnOk);
        return;
    }
    // The search text's length; with regular expressions the match's real end.
    const bool expression = regularExpressions || (options & kSearchRegExp);
    e.setSelection(p, expression ? end : p + Pos(LastFind.size()));
}

void TFrmEditor::ShowAll() {
    MemoEngine& e = SyntaxMemo1->engine();
    const Selection remembered = e.selection();
    std::string text = e.store().text(remembered.start(), remembered.end());
    unsigned options = 0;
    if (text.empty()) {
        text = LastFind;
        options = LastFindOptions;
    }
    if (text.empty()) {
        text = ControlSearchText;
        options = ControlSearchOptions;
    }
    if (text.empty())
        return;
    options = (options | kSearchAtOnce) & ~unsigned(kSearchBackwards);
    Pos first = -1;
    {
        // No reports until the caret is placed.
        QSignalBlocker quiet(SyntaxMemo1);
        MemoEngine::UpdateBracket bracket(e);
        try {
            first = e.find(text, options, 0);
        } catch (const ERegExprError& err) {
            ShowExpressionError(err);
            return;
        }
        if (first < 0) {
            e.setSelection(remembered);
            return;
        }
        LastFind = text;
        LastFindOptions = options & ~unsigned(kSearchAtOnce);
        // Every match, each search one character after the last match's start; each mark as
        // long as its match. The control's marks are the ones this window shows.
        SyntaxMemo1->MarkAll(text, options);
    }
    e.setSelection(first, first);
}

void TFrmEditor::OpenFindDialog(unsigned options, bool replace) {
    if (!findDialog_) {
        findDialog_ = new TFindDialog(*this, this);
        SyntaxMemo1->setSearchDialog(findDialog_);
    }
    SyntaxMemo1->FindDialog(QString::fromUtf8(ControlSearchText.c_str()), options, replace);
}

// ---- the find dialog

TFindDialog::TFindDialog(TFrmEditor& editor, QWidget* parent) : TSearchDialog(editor.memo(), parent), editor_(editor) {}

void TFindDialog::searched(const std::string& text, unsigned options) {
    editor_.ControlSearchText = text;
    editor_.ControlSearchOptions = options & ~unsigned(kSearchAtOnce);
}

void TFindDialog::notFound(const std::string& text) {
    ShowMessage(MessageKind::Information, "", "Search string \"" + text + "\" not found.", BtnOk);
}

void TFindDialog::expressionError(const ERegExprError& error) { ShowExpressionError(error); }

}  // namespace vlr
