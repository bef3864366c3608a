// Find next, show all, the search-highlight marks and the find dialog of an
// editor window. Searches are plain and ignore letter case unless the match-case
// option is given.
#include "editor/window/EditorSearch.h"

#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"
#include "memo/engine/LineBreaks.h"
#include "platform/Prompter.h"
#include "platform/Record.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

namespace vlr {

using namespace velora::memo;

namespace {
Pos matchLength(const std::string& text) { return Pos(normalisedLength(text)); }

bool equalNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lo = [](unsigned char c) { return (c >= 'A' && c <= 'Z') ? char(c + 32) : char(c); };
        if (lo(a[i]) != lo(b[i]))
            return false;
    }
    return true;
}
}  // namespace

// ---- marks

SearchMarks::SearchMarks(TSyntaxMemo& memo) : QWidget(memo.viewport()), memo_(memo) {
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(memo.viewport()->rect());
    memo.viewport()->installEventFilter(this);
    show();
}

bool SearchMarks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == memo_.viewport() && event->type() == QEvent::Resize)
        setGeometry(memo_.viewport()->rect());
    return false;
}

void SearchMarks::add(Pos start, Pos end) {
    if (end <= start)
        return;
    ranges_.emplace_back(start, end);
    update();
}

void SearchMarks::clear() {
    if (ranges_.empty())
        return;
    ranges_.clear();
    update();
}

void SearchMarks::paintEvent(QPaintEvent*) {
    if (ranges_.empty())
        return;
    const TextStore& s = memo_.engine().store();
    const LineNo first = memo_.engine().firstVisibleLine();
    const LineNo last = std::min<LineNo>(s.lineCount() - 1, first + height() / std::max(1, memo_.lineHeight()) + 1);
    const Pos from = s.lineStart(first);
    const Pos to = s.lineStart(last) + s.lineLength(last);
    QPainter g(this);
    g.setClipRect(QRect(memo_.textLeft(), 0, width(), height()));
    const QColor mark(255, 210, 0, 110);
    auto it = std::lower_bound(ranges_.begin(), ranges_.end(), std::make_pair(from, Pos(0)),
                               [](const auto& r, const auto& key) { return r.second < key.first; });
    for (; it != ranges_.end() && it->first <= to; ++it) {
        for (LineNo l = std::max(first, s.lineFromPos(it->first)); l <= last; ++l) {
            const Pos ls = s.lineStart(l);
            const Pos le = ls + s.lineLength(l);
            if (ls > it->second)
                break;
            const Pos a = std::max(it->first, ls);
            const Pos b = std::min(it->second, le);
            const QPoint pa = memo_.pointAt(a);
            int xb = memo_.pointAt(b).x();
            if (it->second > le)
                xb += memo_.fontMetrics().averageCharWidth();  // the break itself
            g.fillRect(QRect(pa.x(), pa.y(), std::max(1, xb - pa.x()), memo_.lineHeight()), mark);
        }
    }
}

// ---- editor window operations

void TFrmEditor::MarkRange(Pos start, Pos end) { marks_->add(start, end); }

void TFrmEditor::FindNext(bool regularExpressions) {
    (void)regularExpressions;  // plain search: the whole match is the search text
    if (LastFind.empty())
        LastFind = ControlSearchText;
    if (LastFind.empty()) {
        RecordPtr r = MakeRecord("false");
        Report(MW_FIND_NEXT_STATE, std::move(r));
        return;
    }
    RecordPtr r = MakeRecord("true");
    Report(MW_FIND_NEXT_STATE, std::move(r));
    const unsigned options = (LastFindOptions | kSearchAtOnce) & ~unsigned(kSearchBackwards);
    MemoEngine& e = SyntaxMemo1->engine();
    const Pos p = e.find(LastFind, options, e.selection().caret);
    if (p < 0) {
        ShowMessage(MessageKind::Information, "", "\"" + LastFind + "\" not found.", BtnOk);
        return;
    }
    e.setSelection(p, p + matchLength(LastFind));
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
        // The caret walks over every occurrence: no reports until it is placed.
        QSignalBlocker quiet(SyntaxMemo1);
        MemoEngine::UpdateBracket bracket(e);
        e.setSelection(0, 0);
        first = e.find(text, options, 0);
        if (first < 0) {
            e.setSelection(remembered);
            return;
        }
        LastFind = text;
        LastFindOptions = options & ~unsigned(kSearchAtOnce);
        marks_->clear();
        const Pos n = matchLength(text);
        for (Pos p = first; p >= 0;) {
            marks_->add(p, p + n);
            e.setSelection(p + 1, p + 1, false);
            p = e.find(text, options, p + 1);
        }
    }
    e.setSelection(first, first);
}

void TFrmEditor::OpenFindDialog(unsigned options, bool replace) {
    if (!findDialog_)
        findDialog_ = new TFindDialog(*this, this);
    QString initial = QString::fromUtf8(ControlSearchText.c_str());
    const Selection sel = SyntaxMemo1->selection();
    if (!sel.empty() && !(options & kSearchRegExp)) {
        std::string t = SyntaxMemo1->engine().store().text(sel.start(), std::min(sel.end(), sel.start() + 80));
        initial = QString::fromUtf8(t.c_str());
    }
    findDialog_->prepare(replace, options, initial);
    findDialog_->show();
    findDialog_->raise();
}

// ---- the find dialog

TFindDialog::TFindDialog(TFrmEditor& editor, QWidget* parent) : QDialog(parent), editor_(editor) {
    setObjectName("FindDialog");
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    FindText = new QLineEdit(this);
    ReplaceText = new QLineEdit(this);
    form->addRow("Fi&nd what:", FindText);
    auto* replaceLabel = new QLabel("Re&place with:", this);
    replaceLabel->setBuddy(ReplaceText);
    replaceLabel_ = replaceLabel;
    form->addRow(replaceLabel, ReplaceText);
    layout->addLayout(form);
    MatchCase = new QCheckBox("Match &case", this);
    WholeWord = new QCheckBox("Match &whole word only", this);
    Backwards = new QCheckBox("Search &backwards", this);
    layout->addWidget(MatchCase);
    layout->addWidget(WholeWord);
    layout->addWidget(Backwards);
    auto* buttons = new QHBoxLayout;
    FindButton = new QPushButton("&Find Next", this);
    FindButton->setDefault(true);
    ReplaceButton = new QPushButton("&Replace", this);
    ReplaceAllButton = new QPushButton("Replace &All", this);
    auto* close = new QPushButton("Close", this);
    for (QPushButton* b : {FindButton, ReplaceButton, ReplaceAllButton, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    connect(FindButton, &QPushButton::clicked, this, [this] { findNext(); });
    connect(ReplaceButton, &QPushButton::clicked, this, [this] { replace(); });
    connect(ReplaceAllButton, &QPushButton::clicked, this, [this] { replaceAll(); });
    connect(close, &QPushButton::clicked, this, &QDialog::hide);
}

void TFindDialog::prepare(bool replaceMode, unsigned options, const QString& text) {
    setWindowTitle(replaceMode ? "Replace" : "Find");
    extraOptions_ = options & ~unsigned(kSearchAtOnce | kSearchMatchCase | kSearchWholeWord | kSearchBackwards);
    MatchCase->setChecked(options & kSearchMatchCase);
    WholeWord->setChecked(options & kSearchWholeWord);
    Backwards->setChecked(options & kSearchBackwards);
    for (QWidget* w : std::initializer_list<QWidget*>{replaceLabel_, ReplaceText, ReplaceButton, ReplaceAllButton})
        w->setVisible(replaceMode);
    FindText->setText(text);
    FindText->selectAll();
    FindText->setFocus();
}

unsigned TFindDialog::options() const {
    unsigned o = extraOptions_;
    if (MatchCase->isChecked())
        o |= kSearchMatchCase;
    if (WholeWord->isChecked())
        o |= kSearchWholeWord;
    if (Backwards->isChecked())
        o |= kSearchBackwards;
    return o;
}

bool TFindDialog::findNext() {
    const std::string text = FindText->text().toUtf8().toStdString();
    if (text.empty())
        return false;
    editor_.ControlSearchText = text;
    editor_.ControlSearchOptions = options();
    MemoEngine& e = editor_.memo().engine();
    const bool back = options() & kSearchBackwards;
    const Selection sel = e.selection();
    const Pos p = e.find(text, options() | kSearchAtOnce, back ? sel.start() : sel.end());
    if (p < 0) {
        ShowMessage(MessageKind::Information, "", "Search string \"" + text + "\" not found.", BtnOk);
        return false;
    }
    e.setSelection(p, p + matchLength(text));
    return true;
}

bool TFindDialog::selectionMatches() const {
    const std::string text = FindText->text().toUtf8().toStdString();
    const Selection sel = editor_.memo().selection();
    const std::string selected = editor_.memo().engine().store().text(sel.start(), sel.end());
    const std::string wanted = normaliseBreaks(text);
    return !sel.empty() && (MatchCase->isChecked() ? selected == wanted : equalNoCase(selected, wanted));
}

bool TFindDialog::replace() {
    if (selectionMatches())
        editor_.memo().setSelText(ReplaceText->text().toUtf8());
    return findNext();
}

int TFindDialog::replaceAll() {
    const std::string text = FindText->text().toUtf8().toStdString();
    if (text.empty())
        return 0;
    editor_.ControlSearchText = text;
    editor_.ControlSearchOptions = options();
    MemoEngine& e = editor_.memo().engine();
    const QByteArray with = ReplaceText->text().toUtf8();
    const unsigned o = (options() | kSearchAtOnce) & ~unsigned(kSearchBackwards);
    int count = 0;
    {
        // One report for the whole run of replacements.
        QSignalBlocker quiet(&editor_.memo());
        MemoEngine::UpdateBracket bracket(e);
        for (Pos p = e.find(text, o, 0); p >= 0; p = e.find(text, o, e.selection().caret)) {
            e.setSelection(p, p + matchLength(text), false);
            editor_.memo().setSelText(with);
            ++count;
        }
    }
    if (count > 0)
        Q_EMIT editor_.memo().OnChange();
    return count;
}

}  // namespace vlr
