// The control's HTML typing aids: auto-closing of tags, quotes and brackets, and the completion
// list (memo/engine/complete holds the logic; this file turns keys into it).
#include <QCoreApplication>
#include <QKeyEvent>
#include <mutex>

#include "memo/widget/CompletionPopup.h"
#include "memo/widget/MarkupAids.h"
#include "memo/widget/SyntaxMemo.h"

namespace velora::memo {

namespace {

QString& WebDataFile() {
  static QString path;
  return path;
}

}  // namespace

const WebData& SharedWebData() {
  static std::once_flag once;
  static WebData data;
  std::call_once(once, [] {
    QString path = WebDataFile();
    if (path.isEmpty()) path = QCoreApplication::applicationDirPath() + QStringLiteral("/completion/web-data.txt");
    data = WebData::Load(path.toStdString());
  });
  return data;
}

void TSyntaxMemo::setWebDataFile(const QString& path) { WebDataFile() = path; }

void TSyntaxMemo::setMarkupAids(bool on) {
  markup_->enabled = on;
  if (!on) closeCompletion();
}

bool TSyntaxMemo::markupAids() const noexcept { return markup_->enabled; }

void TSyntaxMemo::setCtrlSpaceCompletes(bool on) { markup_->ctrlSpace = on; }

void TSyntaxMemo::setCompletionSources(std::function<std::vector<std::string>()> variables,
                                       std::function<std::vector<std::string>()> includes) {
  markup_->variables = std::move(variables);
  markup_->includes = std::move(includes);
}

CompletionPopup* TSyntaxMemo::completionPopup() const noexcept {
  return markup_->popup && markup_->popup->isVisible() ? markup_->popup : nullptr;
}

void TSyntaxMemo::closeCompletion() {
  if (markup_->popup) markup_->popup->hide();
  markup_->request = {};
}

bool TSyntaxMemo::showCompletion(const CompletionRequest& request) {
  CompletionSources src;
  src.data = &SharedWebData();
  if (request.kind == CompletionKind::Variable && markup_->variables) src.variables = markup_->variables();
  if (request.kind == CompletionKind::IncludeFile && markup_->includes) src.includes = markup_->includes();
  std::vector<CompletionItem> items = CompletionItems(request, src);
  if (items.empty()) {
    closeCompletion();
    return false;
  }
  if (!markup_->popup) {
    markup_->popup = new CompletionPopup(*this);
    connect(markup_->popup, &CompletionPopup::activated, this, [this] { acceptCompletion(); });
    // A caret moved away from the word (a click, a search) ends the list.
    connect(this, &TSyntaxMemo::OnSelectionChange, markup_->popup, [this] {
      const Selection s = engine_->selection();
      if (completionPopup() && (!s.empty() || s.caret < markup_->request.start)) closeCompletion();
    });
  }
  markup_->request = request;
  markup_->popup->showItems(std::move(items), request.start);
  return true;
}

bool TSyntaxMemo::openCompletion() {
  if (!markup_->enabled || !engine_->hasAid(smaCompletion) || !engine_->currentParser()) return false;
  return showCompletion(DetectCompletion(*engine_));
}

void TSyntaxMemo::acceptCompletion() {
  CompletionPopup* popup = completionPopup();
  const CompletionItem* item = popup ? popup->currentItem() : nullptr;
  if (!item) return;
  const CompletionItem chosen = *item;
  const CompletionRequest request = markup_->request;
  closeCompletion();
  guarded([&] { AcceptCompletion(*engine_, request, chosen); });
  desiredX_ = -1;
}

void TSyntaxMemo::refreshCompletion(QChar typed) {
  if (!markup_->enabled || !engine_->hasAid(smaCompletion) || !engine_->currentParser()) return;
  const CompletionRequest r = DetectCompletion(*engine_);
  if (completionPopup()) {
    if (r.kind == CompletionKind::None) closeCompletion();
    else showCompletion(r);
    return;
  }
  // The list opens by itself where a word starts after a character that calls for one.
  const bool opener = r.prefix.empty() && QStringLiteral("<&\"'=:% /").contains(typed);
  const bool property = r.kind == CompletionKind::CssProperty && r.prefix.size() == 1;
  if (r.kind != CompletionKind::None && (opener || property)) showCompletion(r);
}

bool TSyntaxMemo::offerMarkupKeys(QKeyEvent* ev) {
  if (!markup_->enabled) return false;
  const Qt::KeyboardModifiers mods = ev->modifiers() & ~Qt::KeypadModifier;
  const int key = ev->key();
  if (key == Qt::Key_Space &&
      ((mods == Qt::ControlModifier && markup_->ctrlSpace) || mods == (Qt::ControlModifier | Qt::ShiftModifier))) {
    // Ctrl+Space: the list for the place of the caret, wherever it is. Ctrl+Shift+Space does
    // the same where the owner keeps Ctrl+Space for itself (the editor window's "&nbsp;").
    openCompletion();
    return true;
  }
  CompletionPopup* popup = completionPopup();
  if (!popup || (mods & ~Qt::ShiftModifier)) return false;
  switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
      acceptCompletion();
      return true;
    case Qt::Key_Escape: closeCompletion(); return true;
    case Qt::Key_Up: popup->moveSelection(-1); return true;
    case Qt::Key_Down: popup->moveSelection(1); return true;
    case Qt::Key_PageUp: popup->moveSelection(-popup->rowsShown()); return true;
    case Qt::Key_PageDown: popup->moveSelection(popup->rowsShown()); return true;
    case Qt::Key_Backspace:
      guarded([this] { engine_->deleteChar(false); });
      refreshCompletion(QChar());
      return true;
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Delete: closeCompletion(); return false;
    default: return false;
  }
}

bool TSyntaxMemo::typeWithMarkupAids(QKeyEvent* ev) {
  if (!markup_->enabled || overwrite_ || engine_->readOnly) return false;
  if (ev->modifiers() & (Qt::ControlModifier | Qt::AltModifier)) return false;
  const QString t = ev->text();
  // While the rest of an end tag waits to be typed over, every character is the closer's to see.
  const bool overtyping = markup_->closer.overtyping();
  if (t.size() != 1 || (!overtyping && !QStringLiteral("<>/\"'()[]{}").contains(t.at(0)))) return false;
  bool typed = false;
  guarded([&] { typed = markup_->closer.typeChar(*engine_, SharedWebData(), char(t.at(0).unicode())); });
  if (!typed) return false;
  desiredX_ = -1;
  // Inside an end tag being typed over there is nothing to complete.
  if (markup_->closer.overtyping() || overtyping) closeCompletion();
  else refreshCompletion(t.at(0));
  return true;
}

void TSyntaxMemo::markupAfterTyping(const QString& typed) {
  if (markup_->enabled && typed.size() == 1) refreshCompletion(typed.at(0));
}

}  // namespace velora::memo
