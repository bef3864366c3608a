// The editor control's accessible interface and the events it raises.
#include "memo/widget/MemoAccessible.h"

#include <QAccessibleEvent>
#include <QPalette>
#include <QScrollBar>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <vector>

#include "memo/engine/Utf8.h"
#include "memo/widget/SyntaxMemo.h"

namespace velora::memo {

namespace {

// Larger changes are reported as one replacement rather than a removal and an insertion.
constexpr int kReplacementEventChars = 4096;

QString CssColor(Color c) {
  return QStringLiteral("rgb(%1,%2,%3)").arg(int(c & 0xFF)).arg(int((c >> 8) & 0xFF)).arg(int((c >> 16) & 0xFF));
}

QString CssColor(const QColor& c) { return QStringLiteral("rgb(%1,%2,%3)").arg(c.red()).arg(c.green()).arg(c.blue()); }

bool SameStyle(const StyleEffect& a, const StyleEffect& b) {
  return a.foreground == b.foreground && a.background == b.background && a.defaultForeground == b.defaultForeground &&
         a.defaultBackground == b.defaultBackground && a.bold == b.bold && a.italic == b.italic &&
         a.underline == b.underline;
}

QAccessibleInterface* MemoFactory(const QString& /*key*/, QObject* object) {
  if (auto* memo = qobject_cast<TSyntaxMemo*>(object)) return new TMemoAccessible(memo);
  return nullptr;
}

}  // namespace

QString AccessibleText(const TextStore& store, Pos a, Pos b) {
  const std::string bytes = store.text(a, b);
  const std::string_view v(bytes);
  QString out;
  out.reserve(qsizetype(v.size()));
  for (std::size_t i = 0; i < v.size();) {
    const int n = utf8CharLength(v, i);
    const char32_t cp = utf8CharAt(v, i, n);
    if (cp == U'\r') out.append(QLatin1Char('\n'));
    else if (cp < 0x10000) out.append(QChar(char16_t(cp)));
    else out.append(QString::fromUcs4(&cp, 1));
    i += std::size_t(n);
  }
  return out;
}

void InstallMemoAccessibility() {
  static const bool installed = [] {
    QAccessible::installFactory(MemoFactory);
    return true;
  }();
  (void)installed;
}

TMemoAccessible::TMemoAccessible(TSyntaxMemo* memo) : QAccessibleWidget(memo, QAccessible::EditableText) {}

TSyntaxMemo* TMemoAccessible::memo() const { return static_cast<TSyntaxMemo*>(widget()); }
const MemoEngine& TMemoAccessible::engine() const { return memo()->engine(); }

Pos TMemoAccessible::bytePos(int offset) const { return engine().store().posOfChar(offset); }
int TMemoAccessible::charOffset(Pos p) const { return int(engine().store().charsBefore(p)); }

void* TMemoAccessible::interface_cast(QAccessible::InterfaceType t) {
  if (t == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
  if (t == QAccessible::EditableTextInterface && !memo()->readOnly())
    return static_cast<QAccessibleEditableTextInterface*>(this);
  return QAccessibleWidget::interface_cast(t);
}

QAccessible::State TMemoAccessible::state() const {
  QAccessible::State s = QAccessibleWidget::state();
  s.multiLine = true;
  s.editable = !memo()->readOnly();
  s.readOnly = memo()->readOnly();
  s.selectableText = true;
  return s;
}

QString TMemoAccessible::text(QAccessible::Text t) const {
  switch (t) {
    case QAccessible::Name: {
      const QString name = memo()->accessibleName();
      return name.isEmpty() ? memo()->title() : name;
    }
    case QAccessible::Description: {
      // What is marked at the caret (a misspelling, a problem of the page), else the control's own.
      const QString mark = memo()->markDescriptionAt(engine().selection().caret);
      return mark.isEmpty() ? memo()->accessibleDescription() : mark;
    }
    case QAccessible::Value:
      // The whole text only for small documents: a reader asks for ranges of large ones.
      return engine().store().length() <= 64 * 1024 ? text(0, characterCount()) : QString();
    default:
      return QAccessibleWidget::text(t);
  }
}

// ---- selection and caret

void TMemoAccessible::selection(int selectionIndex, int* startOffset, int* endOffset) const {
  *startOffset = *endOffset = 0;
  const Selection s = engine().selection();
  if (selectionIndex != 0 || s.start() == s.end()) return;
  *startOffset = charOffset(s.start());
  *endOffset = charOffset(s.end());
}

int TMemoAccessible::selectionCount() const {
  const Selection s = engine().selection();
  return s.start() == s.end() ? 0 : 1;
}

void TMemoAccessible::addSelection(int startOffset, int endOffset) { setSelection(0, startOffset, endOffset); }

void TMemoAccessible::removeSelection(int selectionIndex) {
  if (selectionIndex != 0) return;
  const Pos caret = engine().selection().caret;
  memo()->setSelection(caret, caret);
}

void TMemoAccessible::setSelection(int selectionIndex, int startOffset, int endOffset) {
  if (selectionIndex != 0) return;
  memo()->setSelection(bytePos(startOffset), bytePos(endOffset));
  memo()->viewport()->update();
}

int TMemoAccessible::cursorPosition() const { return charOffset(engine().selection().caret); }

void TMemoAccessible::setCursorPosition(int position) {
  const Pos p = bytePos(position);
  memo()->setSelection(p, p);
  memo()->viewport()->update();
}

// ---- text

int TMemoAccessible::characterCount() const { return int(engine().store().charCount()); }

QString TMemoAccessible::text(int startOffset, int endOffset) const {
  const int count = characterCount();
  startOffset = std::clamp(startOffset, 0, count);
  endOffset = endOffset < 0 ? count : std::clamp(endOffset, 0, count);
  if (endOffset <= startOffset) return {};
  return AccessibleText(engine().store(), bytePos(startOffset), bytePos(endOffset));
}

void TMemoAccessible::unitAt(int offset, QAccessible::TextBoundaryType kind, int* start, int* end) const {
  const int count = characterCount();
  offset = std::clamp(offset, 0, count);
  if (kind == QAccessible::NoBoundary) {
    *start = 0;
    *end = count;
    return;
  }
  if (kind == QAccessible::CharBoundary) {
    *start = offset;
    *end = std::min(offset + 1, count);
    return;
  }
  // Lines, paragraphs, words and sentences are all found inside the hard line of the offset.
  const TextStore& store = engine().store();
  const LineNo line = store.lineFromPos(bytePos(offset));
  const int lineStart = charOffset(store.lineStart(line));
  const bool hasBreak = line + 1 < store.lineCount();
  const int lineEnd = charOffset(store.lineEnd(line)) + (hasBreak ? 1 : 0);
  if (kind == QAccessible::LineBoundary || kind == QAccessible::ParagraphBoundary) {
    *start = lineStart;
    *end = lineEnd;
    return;
  }
  const QString lineText = AccessibleText(store, store.lineStart(line), store.lineEnd(line) + (hasBreak ? 1 : 0));
  // Character index -> index in lineText (characters beyond U+FFFF take two).
  std::vector<int> index;
  index.reserve(std::size_t(lineText.size()) + 1);
  for (qsizetype i = 0; i < lineText.size(); ++i) {
    index.push_back(int(i));
    if (lineText[i].isHighSurrogate() && i + 1 < lineText.size()) ++i;
  }
  index.push_back(int(lineText.size()));
  const int at = std::min(offset - lineStart, int(index.size()) - 1);
  QTextBoundaryFinder finder(kind == QAccessible::WordBoundary ? QTextBoundaryFinder::Word
                                                               : QTextBoundaryFinder::Sentence,
                             lineText);
  finder.setPosition(index[std::size_t(at)]);
  int from = finder.isAtBoundary() ? index[std::size_t(at)] : int(finder.toPreviousBoundary());
  finder.setPosition(index[std::size_t(at)]);
  int to = int(finder.toNextBoundary());
  if (from < 0) from = 0;
  if (to < 0) to = int(lineText.size());
  auto toChar = [&](int q) { return int(std::lower_bound(index.begin(), index.end(), q) - index.begin()); };
  *start = lineStart + toChar(from);
  *end = std::max(*start, lineStart + toChar(to));
}

QString TMemoAccessible::textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                      int* endOffset) const {
  unitAt(offset, boundaryType, startOffset, endOffset);
  return text(*startOffset, *endOffset);
}

QString TMemoAccessible::textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                          int* endOffset) const {
  int s = 0, e = 0;
  unitAt(offset, boundaryType, &s, &e);
  if (s <= 0) {
    *startOffset = *endOffset = 0;
    return {};
  }
  unitAt(s - 1, boundaryType, startOffset, endOffset);
  return text(*startOffset, *endOffset);
}

QString TMemoAccessible::textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                                         int* endOffset) const {
  int s = 0, e = 0;
  unitAt(offset, boundaryType, &s, &e);
  if (e >= characterCount() || e <= offset - (boundaryType == QAccessible::CharBoundary ? 0 : 1)) {
    *startOffset = *endOffset = characterCount();
    return {};
  }
  unitAt(e, boundaryType, startOffset, endOffset);
  return text(*startOffset, *endOffset);
}

// ---- geometry

QRect TMemoAccessible::characterRect(int offset) const {
  const Pos p = bytePos(offset);
  const QPoint at = memo()->pointAt(p);
  const Pos next = bytePos(offset + 1);
  const QPoint after = memo()->pointAt(next);
  const int width = (after.y() == at.y() && after.x() > at.x()) ? after.x() - at.x() : memo()->fontMetrics().averageCharWidth();
  const QPoint global = memo()->viewport()->mapToGlobal(at);
  return {global, QSize(width, memo()->lineHeight())};
}

int TMemoAccessible::offsetAtPoint(const QPoint& point) const {
  const QPoint local = memo()->viewport()->mapFromGlobal(point);
  if (!memo()->viewport()->rect().contains(local)) return -1;
  return charOffset(memo()->positionAt(local));
}

void TMemoAccessible::scrollToSubstring(int startIndex, int endIndex) {
  const Pos a = bytePos(startIndex);
  memo()->setSelection(a, bytePos(std::max(startIndex, endIndex)));
  memo()->engine().scrollCaretIntoView();
  memo()->viewport()->update();
}

QString TMemoAccessible::attributes(int offset, int* startOffset, int* endOffset) const {
  const MemoEngine& e = engine();
  const TextStore& store = e.store();
  const int count = characterCount();
  offset = std::clamp(offset, 0, count);
  *startOffset = *endOffset = offset;
  if (offset >= count) return {};
  // The run of characters drawn in the same style around the offset, inside its line.
  const Pos p = bytePos(offset);
  const LineNo line = store.lineFromPos(p);
  const Pos lineStart = store.lineStart(line), lineEnd = store.lineEnd(line);
  const StyleEffect st = e.styleAt(p);
  Pos a = p, b = p + 1;
  while (a > lineStart && SameStyle(e.styleAt(a - 1), st)) --a;
  while (b < lineEnd && SameStyle(e.styleAt(b), st)) ++b;
  *startOffset = charOffset(a);
  *endOffset = std::max(*startOffset + 1, charOffset(b));

  const QPalette& pal = memo()->palette();
  QString out = QStringLiteral("font-family:\"%1\";font-size:%2pt;").arg(memo()->fontName()).arg(memo()->fontSize());
  const int bits = memo()->defFontStyle();
  out += QStringLiteral("font-weight:%1;").arg((st.bold || (bits & fsBold)) ? QStringLiteral("bold") : QStringLiteral("normal"));
  out += QStringLiteral("font-style:%1;").arg((st.italic || (bits & fsItalic)) ? QStringLiteral("italic") : QStringLiteral("normal"));
  if (st.underline || (bits & fsUnderline)) out += QStringLiteral("text-underline-style:solid;");
  out += QStringLiteral("color:%1;").arg(st.defaultForeground ? CssColor(pal.color(QPalette::Text)) : CssColor(st.foreground));
  out += QStringLiteral("background-color:%1;")
             .arg(st.defaultBackground ? CssColor(pal.color(QPalette::Base)) : CssColor(st.background));
  return out;
}

// ---- editing

void TMemoAccessible::deleteText(int startOffset, int endOffset) { replaceText(startOffset, endOffset, QString()); }

void TMemoAccessible::insertText(int offset, const QString& text) { replaceText(offset, offset, text); }

void TMemoAccessible::replaceText(int startOffset, int endOffset, const QString& text) {
  if (memo()->readOnly()) return;
  memo()->setSelection(bytePos(startOffset), bytePos(std::max(startOffset, endOffset)));
  memo()->setSelText(text.toUtf8());
  memo()->viewport()->update();
}

// ---- events

void TMemoAccessEvents::deliver(QAccessibleEvent& event) {
  if (sink_) sink_(&event);
  else QAccessible::updateAccessibility(&event);
}

void TMemoAccessEvents::beforeReplace(Pos a, Pos b) {
  removedAt_ = -1;
  removed_.clear();
  if (!listening()) return;
  const TextStore& store = memo_->engine().store();
  removedAt_ = int(store.charsBefore(a));
  if (b > a) removed_ = AccessibleText(store, a, b);
}

void TMemoAccessEvents::afterReplace(Pos a, Pos inserted) {
  if (!listening() || removedAt_ < 0) return;
  const TextStore& store = memo_->engine().store();
  const QString added = inserted > 0 ? AccessibleText(store, a, a + inserted) : QString();
  const int at = removedAt_;
  removedAt_ = -1;
  if (!removed_.isEmpty() && !added.isEmpty() &&
      (removed_.size() >= kReplacementEventChars || added.size() >= kReplacementEventChars)) {
    QAccessibleTextUpdateEvent ev(memo_, at, removed_, added);
    deliver(ev);
  } else {
    if (!removed_.isEmpty()) {
      QAccessibleTextRemoveEvent ev(memo_, at, removed_);
      deliver(ev);
    }
    if (!added.isEmpty()) {
      QAccessibleTextInsertEvent ev(memo_, at, added);
      deliver(ev);
    }
  }
  removed_.clear();
}

void TMemoAccessEvents::selectionChanged() {
  if (!listening()) return;
  const MemoEngine& e = memo_->engine();
  const Selection s = e.selection();
  const TextStore& store = e.store();
  if (s.start() != s.end()) {
    QAccessibleTextSelectionEvent sel(memo_, int(store.charsBefore(s.start())), int(store.charsBefore(s.end())));
    sel.setCursorPosition(int(store.charsBefore(s.caret)));
    deliver(sel);
  }
  QAccessibleTextCursorEvent caret(memo_, int(store.charsBefore(s.caret)));
  deliver(caret);
}

}  // namespace velora::memo
