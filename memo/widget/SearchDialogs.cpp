// The control's find and replace dialog.
#include "memo/widget/SearchDialogs.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>
#include <cctype>

#include "memo/engine/LineBreaks.h"
#include "memo/widget/SearchMarks.h"
#include "memo/widget/SyntaxMemo.h"

namespace velora::memo {

namespace {
std::string utf8(const QString& s) {
  const QByteArray b = s.toUtf8();
  return std::string(b.constData(), std::size_t(b.size()));
}
}  // namespace

TSearchDialog::TSearchDialog(TSyntaxMemo& memo, QWidget* parent) : QDialog(parent), memo_(memo) {
  setObjectName(QStringLiteral("FindDialog"));
  setModal(false);
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  FindText = new QLineEdit(this);
  ReplaceText = new QLineEdit(this);
  form->addRow(tr("Fi&nd what:"), FindText);
  replaceLabel_ = new QLabel(tr("Re&place with:"), this);
  replaceLabel_->setBuddy(ReplaceText);
  form->addRow(replaceLabel_, ReplaceText);
  layout->addLayout(form);
  MatchCase = new QCheckBox(tr("Match &case"), this);
  WholeWord = new QCheckBox(tr("Match &whole word only"), this);
  RegularExpression = new QCheckBox(tr("Regular e&xpression"), this);
  Backwards = new QCheckBox(tr("Search &backwards"), this);
  for (QCheckBox* c : {MatchCase, WholeWord, RegularExpression, Backwards}) layout->addWidget(c);
  auto* buttons = new QHBoxLayout;
  FindButton = new QPushButton(tr("&Find Next"), this);
  FindButton->setDefault(true);
  ReplaceButton = new QPushButton(tr("&Replace"), this);
  ReplaceAllButton = new QPushButton(tr("Replace &All"), this);
  MarkAllButton = new QPushButton(tr("&Mark All"), this);
  auto* close = new QPushButton(tr("Close"), this);
  for (QPushButton* b : {FindButton, ReplaceButton, ReplaceAllButton, MarkAllButton, close}) buttons->addWidget(b);
  layout->addLayout(buttons);
  connect(FindButton, &QPushButton::clicked, this, [this] { findNext(); });
  connect(ReplaceButton, &QPushButton::clicked, this, [this] { replace(); });
  connect(ReplaceAllButton, &QPushButton::clicked, this, [this] { replaceAll(); });
  connect(MarkAllButton, &QPushButton::clicked, this, [this] { markAll(); });
  connect(close, &QPushButton::clicked, this, &QDialog::hide);
}

void TSearchDialog::prepare(bool replace, unsigned options, const QString& text) {
  replaceMode_ = replace;
  setWindowTitle(replace ? tr("Replace") : tr("Find"));
  extraOptions_ = options & ~unsigned(kSearchAtOnce | kSearchMatchCase | kSearchWholeWord | kSearchBackwards |
                                      kSearchRegExp);
  MatchCase->setChecked(options & kSearchMatchCase);
  WholeWord->setChecked(options & kSearchWholeWord);
  RegularExpression->setChecked(options & kSearchRegExp);
  Backwards->setChecked(options & kSearchBackwards);
  for (QWidget* w : std::initializer_list<QWidget*>{replaceLabel_, ReplaceText, ReplaceButton, ReplaceAllButton})
    w->setVisible(replace);
  FindText->setText(text);
  FindText->selectAll();
  FindText->setFocus();
}

unsigned TSearchDialog::options() const {
  unsigned o = extraOptions_;
  if (MatchCase->isChecked()) o |= kSearchMatchCase;
  if (WholeWord->isChecked()) o |= kSearchWholeWord;
  if (RegularExpression->isChecked()) o |= kSearchRegExp;
  if (Backwards->isChecked()) o |= kSearchBackwards;
  return o;
}

std::string TSearchDialog::findText() const { return utf8(FindText->text()); }

void TSearchDialog::notFound(const std::string& text) { memo_.ReportSearchFail(text); }

void TSearchDialog::expressionError(const ERegExprError& error) { memo_.ShowExpressionError(error); }

SearchMatch TSearchDialog::find(Pos from, unsigned o, bool report) {
  const std::string text = findText();
  MemoEngine& e = memo_.engine();
  e.searchMemory().remember(text, o);
  searched(text, o);
  SearchMatch m;
  try {
    m.start = e.find(text, o | kSearchAtOnce, from, &m.end);
  } catch (const ERegExprError& err) {
    expressionError(err);
    return {};
  }
  e.searchMemory().setLastMatch(m);
  if (!m.found() && report) notFound(text);
  return m;
}

bool TSearchDialog::findNext() {
  if (FindText->text().isEmpty()) return false;
  const unsigned o = options();
  const Selection sel = memo_.engine().selection();
  const bool back = o & kSearchBackwards;
  // An empty expression match at the caret is stepped over.
  Pos from = back ? sel.start() : sel.end();
  const SearchMatch& last = memo_.engine().searchMemory().lastMatch();
  if (!back && sel.empty() && last.found() && last.start == last.end && last.start == sel.caret) ++from;
  const SearchMatch m = find(from, o, true);
  if (!m.found()) return false;
  memo_.engine().setSelection(m.start, m.end);
  return true;
}

bool TSearchDialog::selectionIsMatch() {
  const Selection sel = memo_.engine().selection();
  if (sel.empty()) return false;
  const unsigned o = options() & ~unsigned(kSearchBackwards);
  Pos end = -1;
  try {
    return memo_.engine().find(findText(), o | kSearchAtOnce, sel.start(), &end) == sel.start() && end == sel.end();
  } catch (const ERegExprError&) {
    return false;
  }
}

bool TSearchDialog::replace() {
  if (FindText->text().isEmpty()) return false;
  if (selectionIsMatch() && !memo_.readOnly()) {
    MemoEngine::UndoGroup group(memo_.engine(), kGroupMacro);
    memo_.engine().replaceSelection(utf8(ReplaceText->text()));
  }
  return findNext();
}

int TSearchDialog::replaceAll() {
  if (FindText->text().isEmpty() || memo_.readOnly()) return 0;
  const unsigned o = options() & ~unsigned(kSearchBackwards);
  const std::string with = normaliseBreaks(utf8(ReplaceText->text()));
  MemoEngine& e = memo_.engine();
  int count = 0;
  {
    // One undo step and one change report for the whole run; each search continues after the
    // last replacement, so the run is linear in the size of the document.
    QSignalBlocker quiet(&memo_);
    MemoEngine::UpdateBracket bracket(e);
    MemoEngine::UndoGroup group(e, kGroupMacro);
    Pos from = 0;
    for (;;) {
      const SearchMatch m = find(from, o, count == 0);
      if (!m.found()) break;
      e.setSelection(m.start, m.end, false);
      e.replaceSelection(with);
      ++count;
      from = m.start + Pos(with.size()) + (m.length() == 0 ? 1 : 0);
      if (from > e.length()) break;
    }
  }
  if (count > 0) {
    Q_EMIT memo_.OnChange();
    Q_EMIT memo_.OnTextChange(0, e.length());
  }
  return count;
}

int TSearchDialog::markAll() {
  if (FindText->text().isEmpty()) return 0;
  const std::string text = findText();
  const unsigned o = options() & ~unsigned(kSearchBackwards);
  searched(text, o);
  try {
    const int n = memo_.MarkAll(text, o);
    if (n == 0) notFound(text);
    return n;
  } catch (const ERegExprError& err) {
    expressionError(err);
    return 0;
  }
}

}  // namespace velora::memo
