// TSyntaxMemo: painting, input and clipboard of the editor control over MemoEngine.
#include "memo/widget/SyntaxMemo.h"

#include <QApplication>
#include <QClipboard>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMessageBox>
#include <QMetaMethod>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

#include "memo/engine/keys/KeyScheme.h"
#include "memo/engine/keys/KeyboardActionController.h"
#include "memo/widget/FoldMargin.h"
#include "memo/widget/KeyEvents.h"
#include "memo/widget/MarkupAids.h"
#include "memo/widget/MemoAccessible.h"
#include "memo/widget/MemoPrinter.h"
#include "memo/widget/TagMatch.h"
#include "memo/widget/TextDecoding.h"

namespace velora::memo {

namespace {

const char* const kBytesMime = kTextBytesMime;

// The system clipboard: text/plain, text/rtf, and the exact bytes for pastes inside the program.
class QtClipboard final : public ClipboardHost {
 public:
  void setData(const std::string& text, const std::string& rtf) override {
    auto* mime = new QMimeData;  // owned by the clipboard
    if (!text.empty()) {  // empty: the text format is not wanted (ClipCopyFormats)
      mime->setText(decodeBytes(text));
      mime->setData(QLatin1String(kBytesMime), QByteArray(text.data(), qsizetype(text.size())));
    }
    if (!rtf.empty()) mime->setData(QStringLiteral("text/rtf"), QByteArray(rtf.data(), qsizetype(rtf.size())));
    QApplication::clipboard()->setMimeData(mime);
  }
  [[nodiscard]] std::optional<std::string> text() const override {
    const QMimeData* m = QApplication::clipboard()->mimeData();
    if (!m) return std::nullopt;
    if (m->hasFormat(QLatin1String(kBytesMime))) {
      const QByteArray b = m->data(QLatin1String(kBytesMime));
      return std::string(b.constData(), std::size_t(b.size()));
    }
    if (!m->hasText()) return std::nullopt;
    return encodeText(m->text());
  }
};

}  // namespace

TSyntaxMemo::TSyntaxMemo(QWidget* parent)
    : QAbstractScrollArea(parent), engine_(std::make_unique<MemoEngine>()), clipboard_(std::make_unique<QtClipboard>()) {
  engine_->setClipboard(clipboard_.get());
  markup_ = std::make_unique<MarkupAidsState>();
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_InputMethodEnabled);
  viewport()->setCursor(Qt::IBeamCursor);
  viewport()->setMouseTracking(true);
  setAcceptDrops(true);
  viewport()->setAcceptDrops(true);
  MemoEngine& e = *engine_;
  e.onRepaint = [this] {
    updateScrollBars();
    viewport()->update();
  };
  e.onViewChange = [this] { syncFromEngine(); };
  e.onChange = [this] {
    tagMatch_->textChanged();
    Q_EMIT OnChange();
  };
  e.onTextChange = [this](Pos s, Pos n) { Q_EMIT OnTextChange(s, n); };
  e.onSelectionChange = [this] {
    accessEvents_->selectionChanged();
    Q_EMIT OnSelectionChange();
  };
  InstallMemoAccessibility();
  accessEvents_ = std::make_unique<TMemoAccessEvents>(this);
  e.textObserver = accessEvents_.get();
  e.onBookmarkSet = [this](int i) { Q_EMIT OnBookmarkSet(i); };
  e.onBookmarkClear = [this](int i) { Q_EMIT OnBookmarkClear(i); };
  e.lineMarks().onMarkChange = [this](const LineMark& m) {
    viewport()->update();
    Q_EMIT OnMarkChange(m);
  };
  e.lineMarks().onMarkFree = [this](const LineMark& m) {
    viewport()->update();
    Q_EMIT OnMarkFree(m);
  };
  e.lineTracks().onTrackAdd = [this](int id) { Q_EMIT OnTrackAdd(id); };
  e.lineTracks().onTrackFree = [this](int id) { Q_EMIT OnTrackFree(id); };
  e.onFilesDropped = [this](const std::vector<std::string>& f, Point p) {
    QStringList list;
    for (const auto& s : f) list << QString::fromUtf8(s.c_str());
    Q_EMIT OnFilesDropped(list, QPoint(p.x, p.y));
  };
  e.onSettingsChanged = [this] { applyFont(); };
  e.onBeep = [] { QApplication::beep(); };
  e.pointFromPos = [this](Pos p) {
    const QPoint q = pointAt(p);
    return Point{q.x(), q.y()};
  };
  e.posFromPoint = [this](Point p) { return positionAt(QPoint(p.x, p.y)); };
  // Background highlighting runs in short slices from a zero-timeout timer, so that input and
  // painting are handled between two slices and never wait for the rest of the document.
  highlightTimer_ = new QTimer(this);
  highlightTimer_->setInterval(0);
  connect(highlightTimer_, &QTimer::timeout, this, [this] {
    if (!engine_->HighlightSlice()) highlightTimer_->stop();
  });
  e.onBackgroundPending = [this] {
    if (!highlightTimer_->isActive()) highlightTimer_->start();
  };
  installSearchHooks();
  installFolding();
  applyFont();
}

TSyntaxMemo::~TSyntaxMemo() {
  // Overlays on the viewport (search and spelling marks) use the control and
  // its engine: they go first, while both are whole.
  qDeleteAll(viewport()->findChildren<QWidget*>(Qt::FindDirectChildrenOnly));
  engine_->onRepaint = nullptr;
  engine_->onViewChange = nullptr;
  engine_->textObserver = nullptr;
  engine_->onBackgroundPending = nullptr;
}

std::string TSyntaxMemo::encodeUtf8(const QString& s) { return encodeText(s); }

std::intptr_t TSyntaxMemo::Perform(unsigned msg, std::uintptr_t wParam, std::intptr_t lParam) {
  return engine_->perform(msg, wParam, lParam);
}

QByteArray TSyntaxMemo::text() const {
  const std::string t = engine_->text();
  return QByteArray(t.data(), qsizetype(t.size()));
}

void TSyntaxMemo::setText(const QByteArray& bytes) {
  engine_->setText(std::string_view(bytes.constData(), std::size_t(bytes.size())));
  maxWidthSeen_ = 0;
  updateScrollBars();
  viewport()->update();
}

QByteArray TSyntaxMemo::textCRLF() const {
  const std::string t = engine_->textCRLF();
  return QByteArray(t.data(), qsizetype(t.size()));
}

QByteArray TSyntaxMemo::selText() const {
  const std::string t = engine_->selText();
  return QByteArray(t.data(), qsizetype(t.size()));
}

void TSyntaxMemo::setFontName(const QString& name) {
  engine_->fontName = encodeText(name);
  applyFont();
}

void TSyntaxMemo::setFontSize(int points) {
  engine_->fontSize = points;
  applyFont();
}

void TSyntaxMemo::applyFont() {
  font_ = QFont(QString::fromUtf8(engine_->fontName.c_str()), engine_->fontSize);
  font_.setStyleHint(QFont::Monospace);
  font_.setFixedPitch(true);
  // Text is placed in whole-pixel cells: the letter spacing makes every advance exactly one
  // cell, so that runs drawn in one call stay on the cells that the caret and the mouse use.
  const QFontMetricsF exact(font_);
  const qreal advance = exact.horizontalAdvance(QString(100, QLatin1Char('x'))) / 100.0;
  charWidth_ = std::max(1, qRound(advance));
  font_.setLetterSpacing(QFont::AbsoluteSpacing, qreal(charWidth_) - advance);
  const QFontMetrics fm(font_);
  lineHeight_ = std::max(1, fm.height());
  ascent_ = fm.ascent();
  updateScrollBars();
  viewport()->update();
}

int TSyntaxMemo::textLeft() const noexcept {
  return gutterPixels() + foldMargin_->width() + engine_->margin;
}

void TSyntaxMemo::setWordWrap(bool on) {
  engine_->options = on ? (engine_->options | smoWordWrap) : (engine_->options & ~SyntaxMemoOptions(smoWordWrap));
  updateScrollBars();
  viewport()->update();
}

void TSyntaxMemo::updateScrollBars() {
  const LineNo visible = std::max(1, viewport()->height() / lineHeight_);
  const Pos cols = std::max(1, (viewport()->width() - textLeft()) / charWidth_);
  engine_->setVisibleExtent(visible, cols);
  // Re-wraps when the option, the wrap column or (for column 0) the window's width changed.
  engine_->setWrapWidth(engine_->wrapAtColumn > 0 ? engine_->wrapAtColumn : int(cols));
  syncing_ = true;
  verticalScrollBar()->setRange(0, int(std::max<Pos>(0, engine_->rowCount() - 1)));
  verticalScrollBar()->setPageStep(int(visible));
  verticalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setValue(int(engine_->firstVisibleLine()));
  const int width = std::max(maxWidthSeen_, 256 * charWidth_);
  horizontalScrollBar()->setRange(0, engine_->wrapIndex() ? 0 : std::max(0, width / charWidth_ - int(cols) + 1));
  horizontalScrollBar()->setPageStep(int(cols));
  horizontalScrollBar()->setValue(int(engine_->firstVisibleColumn()));
  syncing_ = false;
}

void TSyntaxMemo::syncFromEngine() {
  if (syncing_) return;
  syncing_ = true;
  verticalScrollBar()->setValue(int(engine_->firstVisibleLine()));
  horizontalScrollBar()->setValue(int(engine_->firstVisibleColumn()));
  syncing_ = false;
  viewport()->update();
}

void TSyntaxMemo::scrollContentsBy(int, int) {
  if (syncing_) return;
  syncing_ = true;
  engine_->setFirstVisibleLine(verticalScrollBar()->value(), false);
  engine_->setFirstVisibleColumn(horizontalScrollBar()->value(), false);
  syncing_ = false;
  viewport()->update();
}

void TSyntaxMemo::resizeEvent(QResizeEvent* e) {
  QAbstractScrollArea::resizeEvent(e);
  // A caret that was in view stays in view (scroll bars that come and go resize the viewport).
  const bool caretShown = engine_->caretInView();
  updateScrollBars();
  if (caretShown && !engine_->caretInView()) engine_->scrollCaretIntoView();
}

// Geometry and painting: SyntaxMemoPaint.cpp.

// ---- keyboard

void TSyntaxMemo::moveVertically(int lines, bool extend) {
  MemoEngine& e = *engine_;
  const Pos caret = e.selection().caret;
  const Pos row = e.rowOf(caret);  // visual rows while wrapping
  // smoColumnTrack keeps the column of the first of a run of vertical moves; without it every
  // move starts from the caret's own column.
  // A caret moved since the last vertical move (by the owner or a search) starts afresh.
  if (desiredX_ < 0 || caret != verticalCaret_ || !e.hasOption(smoColumnTrack)) desiredX_ = xOfPos(row, caret);
  const Pos to = std::clamp<Pos>(row + lines, 0, e.rowCount() - 1);
  e.moveCaret(posAtX(to, desiredX_), extend);
  verticalCaret_ = e.selection().caret;
}

void TSyntaxMemo::keyPressEvent(QKeyEvent* ev) {
  bool handledByOwner = false;
  Q_EMIT OnKeyDown(ev->key(), ev->modifiers(), handledByOwner);
  if (handledByOwner) {
    ev->accept();
    return;
  }
  if (runFoldingShortcut(*ev)) return;
  // A key that edits a start tag's name renames its end tag too, in the same undo step.
  const LinkedRename linked(*this, *ev);
  const Qt::KeyboardModifiers mods = ev->modifiers();
  const bool ctrl = mods & Qt::ControlModifier;
  const bool shift = mods & Qt::ShiftModifier;
  const bool alt = mods & Qt::AltModifier;
  const int key = ev->key();
  // Modifier keys alone neither complete nor cancel a two-key sequence.
  if (key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_Meta ||
      key == Qt::Key_AltGr) {
    QAbstractScrollArea::keyPressEvent(ev);
    return;
  }
  // Return and Tab that the control does not want belong to its parent (a dialog's default
  // button, the focus chain); they are no act keys then either.
  if (!ctrl && !alt) {
    if ((key == Qt::Key_Return || key == Qt::Key_Enter) && !engine_->wantReturns) {
      ev->ignore();
      return;
    }
    if (key == Qt::Key_Tab && !engine_->wantTab) {
      focusNextPrevChild(true);
      ev->accept();
      return;
    }
  }
  // Code templates and auto-replace see every key first.
  if (offerTypingAids(ev)) {
    ev->accept();
    return;
  }
  // The key table of the language: Shift is the extend flag, and takes part in the lookup
  // only for keys that do not move the caret (the controller knows which).
  vlr::TKeyboardActionContoller& keys = keyController();
  if (&keys != lastKeys_) {  // another language since the last key: no sequence is under way
    keys.Reset();
    lastKeys_ = &keys;
  }
  if (const std::uint16_t code = KeyCodeOf(*ev); code & 0xFF) {
    const vlr::TKeyOffer offer = keys.Offer(code, shift);
    if (offer.result == vlr::TKeyOfferResult::Prefix) {
      ev->accept();
      return;
    }
    if (offer.result == vlr::TKeyOfferResult::Complete) {
      int command = offer.command;
      Q_EMIT OnCommandRecognised(command);
      guarded([&] { executeCommand(command, shift); });
      ev->accept();
      return;
    }
  } else {
    keys.Reset();  // a key without a virtual key (a character of another layout) ends a sequence
  }
  // The Desktop key scheme's keys that are no command of the table.
  if (ctrl && !alt && !shift && (key == Qt::Key_A || key == Qt::Key_Delete) &&
      vlr::KeySchemeOf(keys.ToTable()) == vlr::TKeyScheme::Desktop) {
    if (key == Qt::Key_A) engine_->selectAll();
    else guarded([this] { engine_->deleteNextWord(); });
    ev->accept();
    return;
  }
  if (ctrl || alt) {
    QAbstractScrollArea::keyPressEvent(ev);
    return;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    if (!engine_->wantReturns) {  // left to the parent (a dialog's default button)
      ev->ignore();
      return;
    }
    guarded([this] { engine_->newLine(); });
    ev->accept();
    return;
  }
  if (key == Qt::Key_Tab) {
    if (!engine_->wantTab) {
      focusNextPrevChild(true);
      ev->accept();
      return;
    }
    desiredX_ = -1;
    guarded([this] { engine_->tabKey(overwrite_); });
    ev->accept();
    return;
  }
  const QString t = ev->text();
  // The first code point decides, so that characters outside the basic plane (emoji) count.
  if (!t.isEmpty() && QChar::isPrint(t.toUcs4().value(0))) {
    desiredX_ = -1;
    guarded([&] { engine_->typeText(encodeText(t), overwrite_); });
    markupAfterTyping(t);  // the completion list follows the typed text
    ev->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(ev);
}

void TSyntaxMemo::inputMethodEvent(QInputMethodEvent* ev) {
  if (!ev->commitString().isEmpty())
    guarded([&] { engine_->typeText(encodeText(ev->commitString()), overwrite_); });
  preedit_ = ev->preeditString();  // shown at the caret until it is committed
  viewport()->update();
  ev->accept();
}

QVariant TSyntaxMemo::inputMethodQuery(Qt::InputMethodQuery query) const {
  const MemoEngine& e = *engine_;
  const Selection sel = e.selection();
  const LineNo line = e.store().lineFromPos(sel.caret);
  const Pos ls = e.store().lineStart(line);
  // Offsets inside the surrounding text (the caret's line) count UTF-16 units.
  const auto units = [&](Pos p) {
    return int(decodeBytes(e.store().text(ls, std::clamp(p, ls, e.store().lineEnd(line)))).size());
  };
  switch (query) {
    case Qt::ImEnabled: return !e.readOnly;
    case Qt::ImCursorRectangle: {
      const QPoint c = pointAt(sel.caret);
      return QRect(c.x(), c.y(), 2, lineHeight_);
    }
    case Qt::ImFont: return font_;
    case Qt::ImSurroundingText: return decodeBytes(e.store().lineText(line));
    case Qt::ImCursorPosition: return units(sel.caret);
    case Qt::ImAnchorPosition: return units(sel.anchor);
    case Qt::ImCurrentSelection: return decodeBytes(e.selText());
    case Qt::ImHints: return int(Qt::ImhMultiLine);
    default: return QAbstractScrollArea::inputMethodQuery(query);
  }
}

// ---- mouse

void TSyntaxMemo::mousePressEvent(QMouseEvent* ev) {
  if (ev->button() != Qt::LeftButton) return;
  setFocus();
  const QPoint p = ev->position().toPoint();
  if (foldMargin_->click(p)) return;
  if (p.x() < gutterPixels()) {
    Q_EMIT OnGutterClick(gutterLineAt(p));
    return;
  }
  const Pos pos = positionAt(p);
  const Selection sel = engine_->selection();
  desiredX_ = -1;
  if (hovering_) {
    Q_EMIT OnHyperlinkClick(QString::fromUtf8(hotSpotText()), 0);
  }
  if (!(ev->modifiers() & Qt::ShiftModifier) && !sel.empty() && pos >= sel.start() && pos < sel.end() &&
      engine_->hasOption(smoOLEDragSource)) {
    dragPending_ = true;
    pressPoint_ = p;
    return;
  }
  engine_->moveCaret(pos, (ev->modifiers() & Qt::ShiftModifier) != 0);
  mouseSelecting_ = true;
}

void TSyntaxMemo::mouseMoveEvent(QMouseEvent* ev) {
  const QPoint p = ev->position().toPoint();
  lastMouse_ = p;
  Q_EMIT OnMouseMove(ev->modifiers(), p);
  if (dragPending_ && (ev->buttons() & Qt::LeftButton)) {
    if ((p - pressPoint_).manhattanLength() >= QApplication::startDragDistance()) {
      dragPending_ = false;
      startTextDrag();
    }
    return;
  }
  if (wordSelecting_ && (ev->buttons() & Qt::LeftButton)) {
    // After a double-click the selection grows by whole words from the first word.
    const auto [a, b] = engine_->wordAt(positionAt(p));
    if (a >= wordAnchorStart_) engine_->setSelection(wordAnchorStart_, std::max(b, wordAnchorEnd_));
    else engine_->setSelection(wordAnchorEnd_, a);
    return;
  }
  if (mouseSelecting_ && (ev->buttons() & Qt::LeftButton)) {
    engine_->moveCaret(positionAt(p), true);
    return;
  }
  updateHover(p);  // hyperlink hover: the style under the mouse decides
}

void TSyntaxMemo::leaveEvent(QEvent* ev) {
  QAbstractScrollArea::leaveEvent(ev);
  setHovering(false);
}

void TSyntaxMemo::mouseReleaseEvent(QMouseEvent* ev) {
  if (dragPending_) {  // a click inside the selection without dragging
    dragPending_ = false;
    engine_->moveCaret(positionAt(ev->position().toPoint()), false);
  }
  mouseSelecting_ = false;
  wordSelecting_ = false;
  if (ev->button() == Qt::LeftButton) Q_EMIT OnClick();
}

void TSyntaxMemo::mouseDoubleClickEvent(QMouseEvent* ev) {
  const QPoint p = ev->position().toPoint();
  Perform(msg::kLButtonDblClk, 0, std::intptr_t((p.x() & 0xFFFF) | ((p.y() & 0xFFFF) << 16)));
  mouseSelecting_ = false;
  wordSelecting_ = engine_->hasOption(smoWordSelect) && (ev->buttons() & Qt::LeftButton);
  wordAnchorStart_ = engine_->selStart();
  wordAnchorEnd_ = engine_->selection().end();
  Q_EMIT OnDblClick();
}

QByteArray TSyntaxMemo::hotSpotText() const { return hotSpotTextAt(lastMouse_); }

QByteArray TSyntaxMemo::hotSpotTextAt(QPoint at) const {
  if (at.x() < 0) return {};
  const Pos pos = positionAt(at);
  const TextStore& s = engine_->store();
  const LineNo line = s.lineFromPos(pos);
  if (pos >= s.lineEnd(line) && at.x() > xOfPos(line, pos)) return {};  // past the end of the line
  // The token: the run of equal token values around the position, within the line.
  const Pos ls = s.lineStart(line), le = s.lineEnd(line);
  const auto toks = engine_->tokens(ls, le);
  if (toks.empty()) return {};
  // Over the right half of the last character the nearest boundary is the line's end: the
  // character under the mouse is then the last one.
  std::size_t a = std::min(std::size_t(pos - ls), toks.size() - 1), b = a;
  const std::uint8_t t = toks[a];
  while (a > 0 && toks[a - 1] == t) --a;
  while (b < toks.size() && toks[b] == t) ++b;
  const std::string txt = s.text(ls + Pos(a), ls + Pos(b));
  return QByteArray(txt.data(), qsizetype(txt.size()));
}

void TSyntaxMemo::focusInEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusInEvent(e);
  viewport()->update();
}

void TSyntaxMemo::focusOutEvent(QFocusEvent* e) {
  QAbstractScrollArea::focusOutEvent(e);
  keyController().Reset();
  viewport()->update();
}

// ---- focus, owner signals and errors

bool TSyntaxMemo::focusNextPrevChild(bool next) {
  if (engine_->wantTab) return false;  // Tab is text
  return QAbstractScrollArea::focusNextPrevChild(next);
}

// The highlighter reports tokens only while OnTokenSeen has a receiver. Both notifications run
// with Qt's connection lock held, so the check after a disconnection is queued.
void TSyntaxMemo::connectNotify(const QMetaMethod& signal) {
  QAbstractScrollArea::connectNotify(signal);
  if (signal == QMetaMethod::fromSignal(&TSyntaxMemo::OnTokenSeen))
    engine_->onTokenSeen = [this](int& value, Pos start, Pos end) { Q_EMIT OnTokenSeen(value, start, end); };
}

void TSyntaxMemo::disconnectNotify(const QMetaMethod& signal) {
  QAbstractScrollArea::disconnectNotify(signal);
  if (signal.isValid() && signal != QMetaMethod::fromSignal(&TSyntaxMemo::OnTokenSeen)) return;
  QMetaObject::invokeMethod(this, [this] {
    if (!isSignalConnected(QMetaMethod::fromSignal(&TSyntaxMemo::OnTokenSeen))) engine_->onTokenSeen = nullptr;
  }, Qt::QueuedConnection);
}

void TSyntaxMemo::ReportError(const QString& message) {
  if (isSignalConnected(QMetaMethod::fromSignal(&TSyntaxMemo::OnError))) {
    Q_EMIT OnError(message);
    return;
  }
  auto* box = new QMessageBox(QMessageBox::Warning, QStringLiteral("Editor"), message, QMessageBox::Ok, this);
  box->setAttribute(Qt::WA_DeleteOnClose);
  box->open();  // the control goes on while it is shown
}

void TSyntaxMemo::addMarkDescriber(QObject* owner, MarkDescriber describe) {
  markDescribers_.emplace_back(QPointer<QObject>(owner), std::move(describe));
}

QString TSyntaxMemo::markDescriptionAt(Pos p) const {
  QStringList parts;
  for (const auto& [owner, describe] : markDescribers_) {
    if (!owner) continue;
    const QString d = describe(p);
    if (!d.isEmpty()) parts << d;
  }
  return parts.join(QStringLiteral("; "));
}

}  // namespace velora::memo
