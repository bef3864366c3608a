// TSyntaxMemo's searches, marks, find and replace dialog, code templates with their pick list
// and auto-replace: the widget side of memo/engine/search and memo/engine/MacroKeywords.
#include <QBuffer>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMetaMethod>

#include "memo/engine/keys/KeyboardActionController.h"
#include "memo/widget/KeyEvents.h"
#include "memo/widget/SearchDialogs.h"
#include "memo/widget/SearchMarks.h"
#include "memo/widget/SyntaxMemo.h"
#include "memo/widget/TemplatePickList.h"

namespace velora::memo {

namespace {
QString fromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), qsizetype(s.size())); }
std::string toUtf8(const QString& s) {
  const QByteArray b = s.toUtf8();
  return std::string(b.constData(), std::size_t(b.size()));
}
// A message box that does not block: the control goes on while it is shown.
void showBox(QWidget* parent, QMessageBox::Icon icon, const QString& text, bool fixedFont) {
  auto* box = new QMessageBox(icon, QStringLiteral("Search"), text, QMessageBox::Ok, parent);
  box->setAttribute(Qt::WA_DeleteOnClose);
  if (fixedFont)
    if (auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label")))
      label->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));  // the caret lines up
  box->open();
}
}  // namespace

void TSyntaxMemo::installSearchHooks() {
  engine_->onSearchFail = [this](const std::string& s) { ReportSearchFail(s); };
  engine_->onSearchDialog = [this](const std::string& s, unsigned flags) { FindDialog(fromUtf8(s), flags); };
}

void TSyntaxMemo::ReportSearchFail(const std::string& text) {
  // An expression that ran out of steps did not search the whole text: say where it stopped.
  if (const Pos stop = engine_->searchMemory().stoppedAt(); stop >= 0) {
    showBox(this, QMessageBox::Information, fromUtf8(OutOfStepsMessage(engine_->store().lineFromPos(stop) + 1)), false);
    return;
  }
  if (isSignalConnected(QMetaMethod::fromSignal(&TSyntaxMemo::OnSearchFail))) {
    Q_EMIT OnSearchFail(fromUtf8(text));
    return;
  }
  showBox(this, QMessageBox::Information, QStringLiteral("Search string \"") + fromUtf8(text) + QStringLiteral("\" not found."),
          false);
}

void TSyntaxMemo::ShowExpressionError(const ERegExprError& error) {
  showBox(this, QMessageBox::Warning, QString::fromUtf8(error.what()), true);
}

void TSyntaxMemo::FindDialog(const QString& text, unsigned flags, bool replace) {
  if (!searchDialog_) searchDialog_ = new TSearchDialog(*this, this);
  QString initial = text;
  const Selection sel = engine_->selection();
  if (!sel.empty() && !(flags & kSearchRegExp))
    initial = fromUtf8(engine_->store().text(sel.start(), std::min(sel.end(), sel.start() + 80)));
  searchDialog_->prepare(replace, flags, initial);
  searchDialog_->show();
  searchDialog_->raise();
}

Pos TSyntaxMemo::FindNext() {
  try {
    return engine_->findNext();
  } catch (const ERegExprError& err) {
    ShowExpressionError(err);
    return -1;
  }
}

int TSyntaxMemo::MarkAll(const std::string& text, unsigned flags) {
  flags = (flags | kSearchAtOnce) & ~unsigned(kSearchBackwards);
  std::vector<std::pair<Pos, Pos>> ranges;
  Pos end = -1;
  // As the owner's mark-all runs it: each search starts one character after the last match.
  for (Pos p = engine_->find(text, flags, 0, &end); p >= 0; p = engine_->find(text, flags, p + 1, &end))
    ranges.emplace_back(p, end);
  const int n = int(ranges.size());
  TSearchMarks::of(*this).setRanges(std::move(ranges));
  return n;
}

// ---- code templates and auto-replace

MacroEvents TSyntaxMemo::macroEvents() {
  MacroEvents ev;
  if (isSignalConnected(QMetaMethod::fromSignal(&TSyntaxMemo::OnTemplateEvent)))
    ev.onTemplate = [this](const std::string& name, std::string& text) {
      QString t = fromUtf8(text);
      Q_EMIT OnTemplateEvent(fromUtf8(name), t);
      text = toUtf8(t);
    };
  if (isSignalConnected(QMetaMethod::fromSignal(&TSyntaxMemo::OnAutoReplace)))
    ev.onAutoReplace = [this](ByteStream& stream, const std::string& item, std::string& with, bool& can) {
      QString w = fromUtf8(with);
      QBuffer buffer;
      buffer.open(QIODevice::ReadWrite);
      Q_EMIT OnAutoReplace(&buffer, fromUtf8(item), w, can);
      with = toUtf8(w);
      const QByteArray& written = buffer.data();
      if (!written.isEmpty()) stream.write(written.constData(), std::size_t(written.size()));
    };
  // Code is what the language does not call prose, judged by the token value before the caret.
  ev.inCode = [this](Pos caret) {
    TokenScanner* p = engine_->currentParser();
    if (!p || caret <= 0 || !engine_->hasOption(smoSyntaxHighlight)) return false;
    const std::vector<std::uint8_t> v = engine_->tokens(caret - 1, caret);
    return !v.empty() && !p->isProseToken(v[0]);
  };
  return ev;
}

bool TSyntaxMemo::offerTypingAids(QKeyEvent* ev) {
  if (offerMarkupKeys(ev)) return true;  // the completion list's keys, Ctrl+Space
  TokenScanner* parser = engine_->currentParser();
  if (!parser || keyController().Pending() || engine_->readOnly) return false;
  const std::uint16_t key = KeyCodeOf(*ev);
  if (TCodeTemplates* t = parser->codeTemplates()) {
    std::string prefix;
    switch (t->offerKey(*engine_, key, macroEvents(), &prefix)) {
      case TCodeTemplates::Offer::Expanded: return t->consume;
      case TCodeTemplates::Offer::PickList: showPickList(fromUtf8(prefix)); return true;
      case TCodeTemplates::Offer::NotMine: break;
    }
  }
  if (TAutoReplace* r = parser->autoReplace()) r->offerKey(*engine_, key, macroEvents());
  return typeWithMarkupAids(ev);  // the act key is typed after the replacement, auto-closed or not
}

void TSyntaxMemo::showPickList(const QString& prefix) {
  TokenScanner* parser = engine_->currentParser();
  TCodeTemplates* t = parser ? parser->codeTemplates() : nullptr;
  if (!t || t->entries().empty()) return;
  if (pickList_) pickList_->deleteLater();
  pickStart_ = engine_->selection().caret - Pos(prefix.toUtf8().size());
  pickList_ = new TTemplatePickList(*this, *t, prefix);
  connect(pickList_, &TTemplatePickList::chosen, this, [this](int index) { InsertTemplate(index); });
  connect(pickList_, &TTemplatePickList::closed, this, [this] {
    pickList_ = nullptr;
    setFocus();
    viewport()->update();  // the selection is drawn again
  });
}

void TSyntaxMemo::InsertTemplate(int index) {
  TokenScanner* parser = engine_->currentParser();
  TCodeTemplates* t = parser ? parser->codeTemplates() : nullptr;
  if (!t || index < 0 || index >= int(t->entries().size()) || engine_->readOnly) return;
  const Pos caret = engine_->selection().caret;
  const Pos start = pickStart_ >= 0 && pickStart_ <= caret ? pickStart_ : caret;
  t->expand(*engine_, t->entries()[std::size_t(index)], start, macroEvents());
}

}  // namespace velora::memo
