// Matching tags and brackets, and linked editing of tag names.
#include "memo/widget/TagMatch.h"

#include <QKeyEvent>
#include <QPainter>
#include <algorithm>

#include "memo/widget/SyntaxMemo.h"

namespace velora::memo {

namespace {

bool nameChar(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_' ||
         c == ':' || c == '.';
}

// The tag name that starts at p (name characters up to the first other one).
std::string nameFrom(const TextStore& s, Pos p) {
  std::string out;
  const Pos end = s.lineEnd(s.lineFromPos(p));
  for (Pos q = p; q < end && out.size() < 256; ++q) {
    const char c = s.charAt(q);
    if (!nameChar(c)) break;
    out.push_back(c);
  }
  return out;
}

bool sameName(std::string a, std::string b) {
  auto low = [](std::string& x) {
    for (char& c : x)
      if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
  };
  low(a);
  low(b);
  return a == b;
}

}  // namespace

std::optional<MatchPair> TagMatch::current() {
  MemoEngine& e = memo_.engine();
  if (!e.hasAid(smaMatching)) return std::nullopt;
  const Pos caret = e.selection().caret;
  if (caret != seenCaret_ || generation_ != seenGeneration_) {
    seenCaret_ = caret;
    seenGeneration_ = generation_;
    pair_ = e.markupLines().matchAt(caret);
  }
  return pair_;
}

void TagMatch::paint(QPainter& g) {
  const auto pair = current();
  if (!pair) return;
  const MemoEngine& e = memo_.engine();
  const int h = memo_.lineHeight();
  const QColor band(200, 224, 255);
  const QColor edge(120, 150, 210);
  for (const auto& [at, length] : {std::pair{pair->at1, pair->length1}, std::pair{pair->at2, pair->length2}}) {
    const LineNo line = e.store().lineFromPos(at);
    if (e.folds().hidden(line)) continue;
    const QPoint a = memo_.pointAt(at), b = memo_.pointAt(at + length);
    if (a.y() != b.y() || a.y() < -h || a.y() > memo_.viewport()->height()) continue;
    const QRect r(a.x(), a.y(), std::max(2, b.x() - a.x()), h);
    g.fillRect(r, band);
    g.setPen(edge);
    g.drawRect(r.adjusted(0, 0, -1, -1));
  }
}

bool TagMatch::jumpToPartner() {
  MemoEngine& e = memo_.engine();
  const Pos caret = e.selection().caret;
  const auto pair = MatchAt(e.store(), caret);
  if (!pair) return false;
  // From a bracket the caret goes beside the other bracket, on the same side; from a tag name
  // to the same offset in the partner's name.
  const Pos offset = std::clamp<Pos>(caret - pair->at1, 0, pair->length2);
  const Pos to = pair->at2 + offset;
  e.setSelection(to, to);
  return true;
}

LinkedRename::LinkedRename(TSyntaxMemo& memo, const QKeyEvent& key) {
  MemoEngine& e = memo.engine();
  if (!e.hasAid(smaLinkedEditing) || e.readOnly) return;
  const Qt::KeyboardModifiers mods = key.modifiers();
  const bool erase = key.key() == Qt::Key_Backspace || key.key() == Qt::Key_Delete;
  const QString text = key.text();
  const bool typed = !text.isEmpty() && !(mods & (Qt::ControlModifier | Qt::AltModifier)) &&
                     std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 128 && nameChar(char(c.unicode())); });
  if (!typed && !(erase && !(mods & (Qt::ControlModifier | Qt::AltModifier)))) return;
  const Selection sel = e.selection();
  const TextStore& s = e.store();
  const auto ev = EventAt(s, sel.caret);
  if (!ev || ev->kind != PairKind::Tag || !ev->open) return;
  // The edit must stay inside the name (Backspace at its start or Delete at its end would not).
  const Pos a = sel.start(), b = sel.end();
  const Pos nameEnd = ev->nameAt + ev->nameLength;
  if (a < ev->nameAt || b > nameEnd) return;
  if (sel.empty() && erase && ((key.key() == Qt::Key_Backspace && a == ev->nameAt) ||
                               (key.key() == Qt::Key_Delete && a == nameEnd)))
    return;
  const auto partner = FindPartner(s, s.lineFromPos(ev->at), *ev, s.lineCount() - 1, 0);
  if (!partner || partner->implicit) return;
  engine_ = &e;
  nameAt_ = ev->nameAt;
  oldName_ = s.text(ev->nameAt, nameEnd);
  endNameAt_ = partner->event.nameAt;
  lengthBefore_ = s.length();
  group_.emplace(e, kUndoGroup);
}

LinkedRename::~LinkedRename() {
  if (!group_) return;
  try {
    apply();
  } catch (...) {
    // The rename is left out; the key's own edit stands.
  }
  group_.reset();
}

void LinkedRename::apply() {
  MemoEngine& e = *engine_;
  const TextStore& s = e.store();
  const Pos delta = s.length() - lengthBefore_;
  if (delta == 0 && s.text(nameAt_, nameAt_ + Pos(oldName_.size())) == oldName_) return;  // no change
  const std::string fresh = nameFrom(s, nameAt_);
  if (fresh.empty()) return;
  const Pos endAt = endNameAt_ + delta;
  if (endAt < 0 || endAt + Pos(oldName_.size()) > s.length()) return;
  if (!sameName(s.text(endAt, endAt + Pos(oldName_.size())), oldName_) || nameFrom(s, endAt).size() != oldName_.size())
    return;
  const Selection keep = e.selection();
  e.setSelection(endAt, endAt + Pos(oldName_.size()), false);
  e.replaceSelection(fresh);
  e.setSelection(keep.anchor, keep.caret, false);
}

}  // namespace velora::memo
