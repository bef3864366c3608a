// The editor window's link, token and key handlers.
#include "editor/window/EditorLinks.h"

#include "editor/window/FrmEditor.h"
#include "editor/window/HelpKeyword.h"
#include "libs/EntryPoints.h"
#include "platform/Library.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QToolTip>

#include <algorithm>
#include <cctype>

namespace vlr {

using velora::memo::MemoEngine;
using velora::memo::TSyntaxMemo;

namespace {

constexpr unsigned kTellVVal = 3031;  // to the main window: a variable's value, please
constexpr unsigned kOpenRFile = 3035;  // to the main window: open a file of the project
constexpr unsigned kValidate = 3036;   // to the window itself: check an address

bool ContainsNoCase(const std::string& text, const char* what) {
    std::string lower = text;
    for (char& c : lower)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return lower.find(what) != std::string::npos;
}

const char kClickToVerify[] = "Click to verify link...|";

Qt::KeyboardModifiers Relevant(Qt::KeyboardModifiers m) {
    return m & (Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
}

}  // namespace

bool IsAddressToken(const std::string& t) { return ContainsNoCase(t, "http://") || ContainsNoCase(t, "ftp://"); }
bool IsVariableToken(const std::string& t) { return t.find("<%") != std::string::npos; }
bool IsFileReference(const std::string& t) { return t.find("<&") != std::string::npos; }

std::string ReferenceName(const std::string& t) { return t.size() < 4 ? std::string() : t.substr(2, t.size() - 4); }

EditorLinks::EditorLinks(TFrmEditor& editor) : QObject(&editor), editor_(editor) {
    TSyntaxMemo* m = editor.SyntaxMemo1;
    // The handlers run under the window's own names for the exception report.
    auto run = [this](const char* method, auto body) { editor_.guarded(method, body); };
    connect(m, &TSyntaxMemo::OnHyperlinkHover, this,
            [this, run] { run("SyntaxMemo1HyperlinkHover", [this] { SyntaxMemo1HyperlinkHover(); }); });
    connect(m, &TSyntaxMemo::OnMouseMove, this,
            [this, run] { run("SyntaxMemo1MouseMove", [this] { SyntaxMemo1MouseMove(); }); });
    connect(m, &TSyntaxMemo::OnHyperlinkLeave, this,
            [this, run] { run("SyntaxMemo1MouseMove", [this] { HyperlinkLeft(); }); });
    connect(m, &TSyntaxMemo::OnClick, this, [this, run] { run("SyntaxMemo1Click", [this] { SyntaxMemo1Click(); }); });
    connect(m, &TSyntaxMemo::OnDblClick, this,
            [this, run] { run("SyntaxMemo1DblClick", [this] { SyntaxMemo1DblClick(); }); });
    connect(m, &TSyntaxMemo::OnKeyDown, this, [this, run](int key, Qt::KeyboardModifiers mods, bool& handled) {
        run("SyntaxMemo1KeyDown", [&] { handled = SyntaxMemo1KeyDown(key, mods) || handled; });
    });
    connect(m, &TSyntaxMemo::OnFilesDropped, this,
            [this, run] { run("SyntaxMemo1FilesDropped", [this] { SyntaxMemo1FilesDropped(); }); });
    m->installEventFilter(this);
}

std::string EditorLinks::token() const {
    const QByteArray t = editor_.SyntaxMemo1->hotSpotText();
    return std::string(t.constData(), std::size_t(t.size()));
}

std::string EditorLinks::shownHint() const {
    if (!showHint_)
        return {};
    return hint_.substr(0, hint_.find('|'));
}

void EditorLinks::setHint(const std::string& hint, bool show) {
    hint_ = hint;
    showHint_ = show;
    const std::string text = shownHint();
    QWidget* view = editor_.SyntaxMemo1->viewport();
    view->setToolTip(QString::fromUtf8(text.c_str()));
    if (text.empty()) {
        QToolTip::hideText();
    } else if (view->underMouse()) {
        QToolTip::showText(QCursor::pos(), QString::fromUtf8(text.c_str()), view);
    }
}

void EditorLinks::resetHintColour() {
    QPalette p = QToolTip::palette();
    p.setColor(QPalette::ToolTipBase, QApplication::palette().color(QPalette::ToolTipBase));
    QToolTip::setPalette(p);
}

void EditorLinks::setCursor(Qt::CursorShape shape) {
    cursor_ = shape;
    editor_.SyntaxMemo1->viewport()->setCursor(shape);
}

bool EditorLinks::loadValidator() {
    if (!editor_.ValidateLib)
        editor_.ValidateLib = LoadLibrary("validate.dll");
    return editor_.ValidateLib != nullptr;  // tried again at the next use when missing
}

void EditorLinks::SyntaxMemo1HyperlinkHover() {
    if (!menuOpen_)
        menuLink_.clear();  // the last menu's address is spent
    const std::string t = token();
    if (!IsAddressToken(t)) {
        editor_.VisitLink1->setEnabled(false);
        return;
    }
    editor_.VisitLink1->setEnabled(true);
    setCursor(Qt::PointingHandCursor);  // the hand over links
    std::string hint;
    if (loadValidator())
        if (auto getHint = reinterpret_cast<GetHintFn>(GetProcAddress(editor_.ValidateLib, "GetHint")))
            if (const char* h = getHint(editor_.AppHandle, t.c_str()))
                hint = h;
    if (!hint.empty()) {
        setHint(hint + "|", true);
    } else {
        resetHintColour();
        setHint(kClickToVerify, true);
    }
}

void EditorLinks::SyntaxMemo1MouseMove() {
    const std::string t = token();
    if (IsVariableToken(t)) {
        setCursor(Qt::ArrowCursor);
        const std::string name = ReferenceName(t);
        if (!name.empty() && name != askedVariable_) {
            askedVariable_ = name;
            if (IsWindow(editor_.MainWnd))
                PostMessage(editor_.MainWnd, kTellVVal, 0, reinterpret_cast<LParam>(MakeRecord(name).release()));
        }
        return;
    }
    askedVariable_.clear();
    if (IsFileReference(t)) {
        setCursor(Qt::ArrowCursor);
        return;
    }
    offToken();
}

void EditorLinks::offToken() {
    if (cursor_ != Qt::IBeamCursor)
        setCursor(Qt::IBeamCursor);
    resetHintColour();
    setHint({}, false);
    if (!menuOpen_)
        editor_.VisitLink1->setEnabled(false);
}

void EditorLinks::MenuOpening(const QPoint& at) {
    const QByteArray t = editor_.SyntaxMemo1->hotSpotTextAt(at);
    menuLink_.assign(t.constData(), std::size_t(t.size()));
    if (!IsAddressToken(menuLink_))
        menuLink_.clear();
    menuOpen_ = true;
    editor_.VisitLink1->setEnabled(!menuLink_.empty());
}

void EditorLinks::HyperlinkLeft() {
    // The mouse may have left the control: the text under its last position
    // is only trusted to say that it was a variable or a file reference.
    const std::string t = token();
    if (!IsVariableToken(t) && !IsFileReference(t))
        offToken();
}

void EditorLinks::ReceiveHint(const std::string& text) {
    if (text.empty())
        setHint(hint_, false);
    else
        setHint(text, true);
}

void EditorLinks::SyntaxMemo1Click() {
    const std::string t = token();
    if (IsAddressToken(t))
        PostMessage(editor_.handle(), kValidate, 0, reinterpret_cast<LParam>(MakeRecord(t).release()));
}

void EditorLinks::Validate(const std::string& address) {
    if (address.empty() || !loadValidator())
        return;
    if (auto doValidate = reinterpret_cast<DoValidateFn>(GetProcAddress(editor_.ValidateLib, "DoValidate")))
        doValidate(editor_.AppHandle, address.c_str(), editor_.MainWnd);
    ProcessMessages();
}

void EditorLinks::SyntaxMemo1DblClick() {
    const std::string t = token();
    if (IsFileReference(t) && IsWindow(editor_.MainWnd))
        PostMessage(editor_.MainWnd, kOpenRFile, 0, reinterpret_cast<LParam>(MakeRecord(ReferenceName(t)).release()));
}

void EditorLinks::VisitLink1Click() {
    // From the context menu: the address the menu was opened on.
    const std::string t = menuLink_.empty() ? token() : menuLink_;
    if (!t.empty())
        ShellOpen(t);
}

// Dropped files are the control's own business (it opens or inserts them as
// its options say); the window adds nothing.
void EditorLinks::SyntaxMemo1FilesDropped() {}

bool EditorLinks::IsHtmlKey(int key, Qt::KeyboardModifiers modifiers) {
    const Qt::KeyboardModifiers m = Relevant(modifiers);
    if (key == Qt::Key_F1)
        return true;
    if (m == Qt::ShiftModifier)
        return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Insert || key == Qt::Key_Delete;
    if (m == Qt::ControlModifier)
        // Ctrl+Backspace is the control's own "Delete previous word", kept from
        // main window shortcuts as well.
        return key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space || key == Qt::Key_Insert ||
               key == Qt::Key_Backspace || (key & 0xFF) == 'Z';
    return false;
}

void EditorLinks::insertAtCaret(const std::string& text) {
    MemoEngine& e = editor_.SyntaxMemo1->engine();
    MemoEngine::UpdateBracket bracket(e);
    e.replaceSelection(text);
}

// Shift+Enter and the insertions let the control go on with the key (the line
// break after "<br>" is wanted). The clipboard and undo keys are finished
// here: the control's own meaning of the same keys would repeat or spoil the
// action (a second undo, the character after the caret deleted after a cut,
// overwrite mode toggled after a paste).
bool EditorLinks::SyntaxMemo1KeyDown(int key, Qt::KeyboardModifiers modifiers) {
    TSyntaxMemo& m = *editor_.SyntaxMemo1;
    const Qt::KeyboardModifiers mods = Relevant(modifiers);
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    if (key == Qt::Key_F1) {
        const QByteArray sel = m.selText();
        std::string word(sel.constData(), std::size_t(sel.size()));
        // Nothing selected: the word the caret stands in or after.
        if (word.empty()) {
            const MemoEngine& e = m.engine();
            const auto [from, to] = e.wordAt(e.selection().caret);
            if (to > from && e.isWordChar(static_cast<unsigned char>(e.store().charAt(from))))
                word = e.store().text(from, to);
        }
        openHelpFor(word);
        return false;
    }
    if (mods == Qt::ShiftModifier) {
        if (enter) {
            insertAtCaret("<br>");
            return false;
        }
        if (key == Qt::Key_Insert) {
            m.paste();
            return true;
        }
        if (key == Qt::Key_Delete) {
            m.cut();
            return true;
        }
    } else if (mods == Qt::ControlModifier) {
        if (enter) {
            insertAtCaret("<p>&nbsp;</p>\n\r");
            return false;
        }
        if (key == Qt::Key_Space) {
            insertAtCaret("&nbsp;");
            return false;
        }
        if (key == Qt::Key_Insert) {
            m.copy();
            return true;
        }
        // Ctrl+Backspace is left to the control, whose key table makes it
        // "Delete previous word".
        if ((key & 0xFF) == 'Z') {
            m.undo();
            return true;
        }
    }
    return false;
}

void EditorLinks::openHelpFor(const std::string& word) { ShellOpen(HelpPageFor(word, AppDir() + "help/")); }

bool EditorLinks::eventFilter(QObject* watched, QEvent* event) {
    // A shortcut of the main window would take the key before the control
    // sees it: the HTML keys are claimed for the control while it has the focus.
    if (watched == editor_.SyntaxMemo1 && event->type() == QEvent::ShortcutOverride) {
        auto* k = static_cast<QKeyEvent*>(event);
        if (IsHtmlKey(k->key(), k->modifiers())) {
            event->accept();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}

}  // namespace vlr
