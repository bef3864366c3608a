// TFrmEditor: the keys of the key scheme, and toggling comments.
#include "editor/window/CommentToggle.h"
#include "editor/window/FrmEditor.h"

#include "memo/engine/keys/KeyScheme.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

#include <QAction>

#include <algorithm>

namespace vlr {

using namespace velora::memo;

void TFrmEditor::applyKeyScheme() {
    const bool desktop =
        SyntaxMemoParser1 && SyntaxMemoParser1->HasTables() &&
        KeySchemeOf(SyntaxMemoParser1->Tables().keys) == TKeyScheme::Desktop;
    const auto keys = [](const char* text) { return QKeySequence(QString::fromUtf8(text)); };
    ToggleComment1->setShortcut(desktop ? keys("Ctrl+/") : QKeySequence());
    // The context menu's actions only show their keys: the control and the main window's
    // menus run them.
    Redo1->setShortcuts(desktop ? QList<QKeySequence>{keys("Ctrl+Y"), keys("Ctrl+Shift+Z")} : QList<QKeySequence>{});
    Delete1->setShortcut(desktop ? keys("Del") : keys("Ctrl+Del"));
    SelectAll1->setShortcut(desktop ? keys("Ctrl+A") : QKeySequence());
}

void TFrmEditor::ToggleComment() {
    MemoEngine& e = SyntaxMemo1->engine();
    if (e.readOnly)
        return;
    const TextStore& s = e.store();
    const Selection sel = e.selection();
    LineNo first = s.lineFromPos(sel.start());
    LineNo last = s.lineFromPos(sel.end());
    // A selection that ends at the start of a line leaves that line out.
    if (last > first && sel.end() == s.lineStart(last))
        --last;
    const Pos from = s.lineStart(first), to = s.lineEnd(last);
    // The language where the line's text starts (an empty line: where it is).
    Pos probe = from;
    while (probe < to && (s.charAt(probe) == ' ' || s.charAt(probe) == '\t'))
        ++probe;
    const std::vector<std::uint8_t> toks = e.tokens(probe, std::min(probe + 1, s.length()));
    const CommentForm form = toks.empty() ? CommentForm::Html : CommentFormOf(toks.front());
    const std::string before = s.text(from, to);
    const ToggledComment toggled = vlr::ToggleComment(before, form);
    if (toggled.text == before)
        return;
    const Pos caret = sel.caret;
    e.setSelection(from, to, false);
    e.replaceSelection(toggled.text);  // one undo step
    // A caret stays on its text, so that typing goes on where it was; a selection covers the
    // toggled lines.
    if (sel.empty()) {
        const Pos at = from + Pos(MapThroughComment(std::size_t(caret - from), toggled.edits));
        e.setSelection(at, at);
    } else {
        e.setSelection(from, from + Pos(toggled.text.size()));
    }
}

}  // namespace vlr
