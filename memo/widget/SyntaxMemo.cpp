// TSyntaxMemo: painting, input and clipboard of the editor control over MemoEngine.
#include "memo/widget/SyntaxMemo.h"

#include <QApplication>
#include <QClipboard>
#include <QDrag>
#include <QFileInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QScrollBar>
#include <QTimer>
#include <QUrl>
#include <algorithm>

#include "memo/widget/MemoPrinter.h"
#include "memo/widget/TextDecoding.h"

namespace velora::memo {

namespace {

QColor toQColor(Color c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

const char* const kBytesMime = "application/x-velora-text-bytes";

// The system clipboard: text/plain, text/rtf, and the exact bytes for pastes inside the program.
class QtClipboard final : public ClipboardHost {
 public:
  void setData(const std::string& text, const std::string& rtf) override {
    auto* mime = new QMimeData;  // owned by the clipboard
    mime->setText(decodeBytes(text));
    if (!rtf.empty()) mime->setData(QStringLiteral("text/rtf"), QByteArray(rtf.data(), qsizetype(rtf.size())));
    mime->setData(QLatin1String(kBytesMime), QByteArray(text.data(), qsizetype(text.size())));
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

std::string mimeBytes(const QMimeData* m) {
  if (m->hasFormat(QLatin1String(kBytesMime))) {
    const QByteArray b = m->data(QLatin1String(kBytesMime));
    return std::string(b.constData(), std::size_t(b.size()));
  }
  return encodeText(m->text());
}

}  // namespace

TSyntaxMemo::TSyntaxMemo(QWidget* parent)
    : QAbstractScrollArea(parent), engine_(std::make_unique<MemoEngine>()), clipboard_(std::make_unique<QtClipboard>()) {
  engine_->setClipboard(clipboard_.get());
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
  e.onChange = [this] { Q_EMIT OnChange(); };
  e.onTextChange = [this](Pos s, Pos n) { Q_EMIT OnTextChange(s, n); };
  e.onSelectionChange = [this] { Q_EMIT OnSelectionChange(); };
  e.onBookmarkSet = [this](int i) { Q_EMIT OnBookmarkSet(i); };
  e.onBookmarkClear = [this](int i) { Q_EMIT OnBookmarkClear(i); };
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
  applyFont();
}

TSyntaxMemo::~TSyntaxMemo() {
  engine_->onRepaint = nullptr;
  engine_->onViewChange = nullptr;
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
  const QFontMetrics fm(font_);
  lineHeight_ = std::max(1, fm.height());
  ascent_ = fm.ascent();
  charWidth_ = std::max(1, fm.horizontalAdvance(QLatin1Char('x')));
  updateScrollBars();
  viewport()->update();
}

int TSyntaxMemo::textLeft() const noexcept {
  return (engine_->hasOption(smoShowGutter) ? engine_->gutterWidth : 0) + engine_->margin;
}

void TSyntaxMemo::updateScrollBars() {
  const LineNo visible = std::max(1, viewport()->height() / lineHeight_);
  const Pos cols = std::max(1, (viewport()->width() - textLeft()) / charWidth_);
  engine_->setVisibleExtent(visible, cols);
  syncing_ = true;
  verticalScrollBar()->setRange(0, int(std::max<LineNo>(0, engine_->lineCount() - 1)));
  verticalScrollBar()->setPageStep(int(visible));
  verticalScrollBar()->setSingleStep(1);
  verticalScrollBar()->setValue(int(engine_->firstVisibleLine()));
  const int width = std::max(maxWidthSeen_, 256 * charWidth_);
  horizontalScrollBar()->setRange(0, std::max(0, width / charWidth_ - int(cols) + 1));
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
  updateScrollBars();
}

// ---- geometry

int TSyntaxMemo::xOfPos(LineNo line, Pos p) const {
  const TextStore& s = engine_->store();
  const Pos ls = s.lineStart(line);
  const std::string bytes = s.text(ls, ls + s.lineLength(line));
  const DisplayLine d = decodeLine(bytes, [this](int c) { return engine_->nextTabStop(c); });
  const std::size_t off = std::size_t(std::clamp<Pos>(p - ls, 0, Pos(bytes.size())));
  const QFontMetrics fm(font_);
  return textLeft() + fm.horizontalAdvance(d.text.left(d.column[off])) - int(engine_->firstVisibleColumn()) * charWidth_;
}

Pos TSyntaxMemo::posAtX(LineNo line, int x) const {
  const TextStore& s = engine_->store();
  const Pos ls = s.lineStart(line);
  const std::string bytes = s.text(ls, ls + s.lineLength(line));
  const DisplayLine d = decodeLine(bytes, [this](int c) { return engine_->nextTabStop(c); });
  const QFontMetrics fm(font_);
  const int target = x - textLeft() + int(engine_->firstVisibleColumn()) * charWidth_;
  // Walk the character boundaries and take the nearest.
  int acc = 0;
  std::size_t b = 0;
  while (b < bytes.size()) {
    const int n = bytes[b] == '\t' ? 1 : utf8Length(bytes, b);
    const int c0 = d.column[b];
    const int c1 = d.column[std::min(bytes.size(), b + std::size_t(n))];
    const int w = fm.horizontalAdvance(d.text.mid(c0, c1 - c0));
    if (target < acc + w / 2) break;
    acc += w;
    b += std::size_t(n);
  }
  return ls + Pos(b);
}

Pos TSyntaxMemo::positionAt(QPoint p) const {
  const LineNo line = std::clamp<LineNo>(engine_->firstVisibleLine() + (p.y() < 0 ? -1 : p.y() / lineHeight_), 0,
                                         engine_->lineCount() - 1);
  return posAtX(line, p.x());
}

QPoint TSyntaxMemo::pointAt(Pos p) const {
  const LineNo line = engine_->store().lineFromPos(p);
  return QPoint(xOfPos(line, p), int(line - engine_->firstVisibleLine()) * lineHeight_);
}

// ---- painting

void TSyntaxMemo::paintEvent(QPaintEvent*) {
  QPainter g(viewport());
  const MemoEngine& e = *engine_;
  const TextStore& s = e.store();
  const QRect r = viewport()->rect();
  g.fillRect(r, toQColor(e.defBackColor));
  const int left = textLeft();
  const int gutter = e.hasOption(smoShowGutter) ? e.gutterWidth : 0;
  if (e.margin > 0) g.fillRect(QRect(gutter, 0, e.margin, r.height()), toQColor(e.marginColor));
  const int scrollX = int(e.firstVisibleColumn()) * charWidth_;
  const Selection sel = e.selection();
  const bool showSel = !sel.empty() && (hasFocus() || !e.hideSelection);
  const QFontMetrics fm(font_);
  const LineNo first = e.firstVisibleLine();
  const LineNo count = r.height() / lineHeight_ + 1;
  TokenScanner* parser = e.currentParser();

  g.setClipRect(QRect(left, 0, r.width() - left, r.height()));
  for (LineNo k = 0; k < count && first + k < s.lineCount(); ++k) {
    const LineNo line = first + k;
    const int y = int(k) * lineHeight_;
    const Pos ls = s.lineStart(line);
    const Pos len = s.lineLength(line);
    const std::string bytes = s.text(ls, ls + len);
    const DisplayLine d = decodeLine(bytes, [&e](int c) { return e.nextTabStop(c); });
    const std::vector<std::uint8_t> toks = parser ? e.tokens(ls, ls + len) : std::vector<std::uint8_t>();
    int x = left - scrollX;
    // Runs of equal token value and equal selection state share one style.
    std::size_t b = 0;
    while (b < bytes.size()) {
      const bool selected = showSel && ls + Pos(b) >= sel.start() && ls + Pos(b) < sel.end();
      const std::uint8_t tok = toks.empty() ? 0 : toks[b];
      std::size_t end = b + 1;
      while (end < bytes.size() && (toks.empty() || toks[end] == tok) &&
             (showSel && ls + Pos(end) >= sel.start() && ls + Pos(end) < sel.end()) == selected)
        ++end;
      while (end < bytes.size() && d.column[end] == d.column[end - 1]) ++end;  // whole characters
      StyleEffect st = parser ? parser->styleOf(tok) : StyleEffect{};
      QColor fg = st.defaultForeground ? toQColor(e.defTextColor) : toQColor(st.foreground);
      QColor bg = st.defaultBackground ? toQColor(e.defBackColor) : toQColor(st.background);
      if (selected) {
        fg = toQColor(e.selTextColor);
        bg = toQColor(e.selTextBack);
      }
      QFont f = font_;
      f.setBold(st.bold);
      f.setItalic(st.italic);
      f.setUnderline(st.underline);
      const QString run = d.text.mid(d.column[b], d.column[end] - d.column[b]);
      const int w = fm.horizontalAdvance(run);
      if (x + w >= left && x < r.width()) {
        if (bg != toQColor(e.defBackColor)) g.fillRect(QRect(x, y, w, lineHeight_), bg);
        g.setFont(f);
        g.setPen(fg);
        g.drawText(x, y + ascent_, run);
      }
      x += w;
      b = end;
    }
    maxWidthSeen_ = std::max(maxWidthSeen_, x + scrollX - left);
    // A selected break is shown as one blank cell.
    if (showSel && ls + len >= sel.start() && ls + len < sel.end() && line + 1 < s.lineCount())
      g.fillRect(QRect(x, y, charWidth_, lineHeight_), toQColor(e.selTextBack));
  }
  g.setClipping(false);

  // Right margin line.
  if (e.hasOption(smoShowRMargin) && e.rightMargin > 0) {
    const int mx = left + e.rightMargin * charWidth_ - scrollX;
    if (mx > left) {
      g.setPen(QColor(192, 192, 192));
      g.drawLine(mx, 0, mx, r.height());
    }
  }
  // Gutter with bookmark numbers.
  if (gutter > 0) {
    g.fillRect(QRect(0, 0, gutter, r.height()), toQColor(e.gutterColor));
    g.setFont(font_);
    for (int i = 0; i < 10; ++i) {
      const auto bm = e.bookmark(i);
      if (!bm) continue;
      const LineNo l = s.lineFromPos(*bm) - first;
      if (l < 0 || l >= count) continue;
      const QRect box(2, int(l) * lineHeight_ + 1, std::min(gutter - 4, lineHeight_ - 2), lineHeight_ - 2);
      g.fillRect(box, QColor(0, 0, 128));
      g.setPen(Qt::white);
      g.drawText(box, Qt::AlignCenter, QString::number(i));
    }
  }
  // Caret: a line, or a block in overwrite mode with smoBlockOverwriteCursor.
  if (hasFocus()) {
    const QPoint c = pointAt(sel.caret);
    if (c.y() >= 0 && c.y() < r.height() && c.x() >= left) {
      if (overwrite_ && e.hasOption(smoBlockOverwriteCursor)) {
        g.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        g.fillRect(QRect(c.x(), c.y(), charWidth_, lineHeight_), Qt::white);
        g.setCompositionMode(QPainter::CompositionMode_SourceOver);
      } else {
        g.fillRect(QRect(c.x(), c.y(), 2, lineHeight_), toQColor(e.defTextColor));
      }
    }
  }
}

// ---- keyboard

void TSyntaxMemo::executeCommand(int code, bool extend) {
  MemoEngine& e = *engine_;
  const Pos caret = e.selection().caret;
  const TextStore& s = e.store();
  const LineNo line = s.lineFromPos(caret);
  const bool vertical = code == caUP || code == caDOWN || code == caPAGEUP || code == caPAGEDOWN;
  if (!vertical) desiredX_ = -1;
  switch (code) {
    case caLEFT:
      if (!extend && !e.selection().empty()) e.moveCaret(e.selStart(), false);
      else e.moveCaret(e.prevCharPos(caret), extend);
      break;
    case caRIGHT:
      if (!extend && !e.selection().empty()) e.moveCaret(e.selection().end(), false);
      else e.moveCaret(e.nextCharPos(caret), extend);
      break;
    case caLINEHOME: {
      // Smart home: first non-blank, then the line start.
      const Pos ls = s.lineStart(line);
      Pos p = ls;
      while (p < s.lineEnd(line) && (s.charAt(p) == ' ' || s.charAt(p) == '\t')) ++p;
      e.moveCaret(caret == p ? ls : p, extend);
      break;
    }
    case caLINEEND: e.moveCaret(s.lineEnd(line), extend); break;
    case caUP: moveVertically(-1, extend); break;
    case caDOWN: moveVertically(1, extend); break;
    case caPAGEUP:
    case caPAGEDOWN: {
      const int page = int(std::max<LineNo>(1, e.visibleLines() - 1));
      const int dir = code == caPAGEUP ? -1 : 1;
      e.setFirstVisibleLine(e.firstVisibleLine() + dir * page, false);
      moveVertically(dir * page, extend);
      break;
    }
    case caWORDLEFT: e.moveCaret(e.wordLeft(caret), extend); break;
    case caWORDRIGHT: e.moveCaret(e.wordRight(caret), extend); break;
    case caDOCSTART: e.moveCaret(0, extend); break;
    case caDOCEND: e.moveCaret(e.length(), extend); break;
    case caCUT: e.cut(); break;
    case caCOPY: e.copy(); break;
    case caPASTE: e.paste(); break;
    case caDELETE: e.deleteChar(true); break;
    case caBACKSPACE: e.deleteChar(false); break;
    case caBLOCKIND: e.blockIndent(); break;
    case caBLOCKUND: e.blockUnindent(); break;
    case caINSTOGGLE: setOverwriteMode(!overwrite_); break;
    case caDELETELINE: e.deleteLine(); break;
    case caUNDO: e.undo(); break;
    case caREDO: e.redo(); break;
    case caDELPREVWORD: e.deletePrevWord(); break;
    case caPRINTSEL: break;  // the owner prints (print())
    default:
      if (code >= caSETBOOKMARK0 && code < caSETBOOKMARK0 + 10) e.setBookmark(code - caSETBOOKMARK0, caret);
      else if (code >= caGOTOBOOKMARK0 && code < caGOTOBOOKMARK0 + 10) e.gotoBookmark(code - caGOTOBOOKMARK0);
      break;
  }
  viewport()->update();
}

void TSyntaxMemo::moveVertically(int lines, bool extend) {
  MemoEngine& e = *engine_;
  const Pos caret = e.selection().caret;
  const LineNo line = e.store().lineFromPos(caret);
  if (desiredX_ < 0) desiredX_ = xOfPos(line, caret);
  const LineNo to = std::clamp<LineNo>(line + lines, 0, e.lineCount() - 1);
  e.moveCaret(posAtX(to, desiredX_), extend);
}

void TSyntaxMemo::keyPressEvent(QKeyEvent* ev) {
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
  // Code templates and auto-replace see every key first.
  if (offerTypingAids(ev)) {
    ev->accept();
    return;
  }
  int code = -1;
  // The default key table; second keys of a sequence are taken without modifiers.
  if (prefixKey_) {
    const int prefix = prefixKey_;
    prefixKey_ = 0;
    if (prefix == Qt::Key_K) {
      if (key == Qt::Key_I) code = caBLOCKIND;
      else if (key == Qt::Key_U) code = caBLOCKUND;
      else if (key >= Qt::Key_0 && key <= Qt::Key_9) code = caSETBOOKMARK0 + (key - Qt::Key_0);
    } else if (prefix == Qt::Key_Q) {
      if (key >= Qt::Key_0 && key <= Qt::Key_9) code = caGOTOBOOKMARK0 + (key - Qt::Key_0);
    }
  } else if (ctrl && !alt) {
    switch (key) {
      case Qt::Key_Left: code = caWORDLEFT; break;
      case Qt::Key_Right: code = caWORDRIGHT; break;
      case Qt::Key_Home: code = caDOCSTART; break;
      case Qt::Key_End: code = caDOCEND; break;
      case Qt::Key_X: code = caCUT; break;
      case Qt::Key_C: code = caCOPY; break;
      case Qt::Key_V: code = caPASTE; break;
      case Qt::Key_Y: code = caDELETELINE; break;
      case Qt::Key_Z: code = shift ? caREDO : caUNDO; break;
      case Qt::Key_Backspace: code = caDELPREVWORD; break;
      case Qt::Key_K:
      case Qt::Key_Q:
        prefixKey_ = key;  // a prefix: swallow and wait for the second key
        ev->accept();
        return;
      default: break;
    }
  } else if (!alt) {
    switch (key) {
      case Qt::Key_Left: code = caLEFT; break;
      case Qt::Key_Right: code = caRIGHT; break;
      case Qt::Key_Home: code = caLINEHOME; break;
      case Qt::Key_End: code = caLINEEND; break;
      case Qt::Key_Up: code = caUP; break;
      case Qt::Key_Down: code = caDOWN; break;
      case Qt::Key_PageUp: code = caPAGEUP; break;
      case Qt::Key_PageDown: code = caPAGEDOWN; break;
      case Qt::Key_Delete: code = caDELETE; break;
      case Qt::Key_Backspace: code = caBACKSPACE; break;
      case Qt::Key_Insert: code = caINSTOGGLE; break;
      default: break;
    }
  }
  if (code >= 0) {
    Q_EMIT OnCommandRecognised(code);
    executeCommand(code, shift);
    ev->accept();
    return;
  }
  if (ctrl || alt) {
    QAbstractScrollArea::keyPressEvent(ev);
    return;
  }
  if (key == Qt::Key_Return || key == Qt::Key_Enter) {
    engine_->newLine();
    ev->accept();
    return;
  }
  if (key == Qt::Key_Tab) {
    engine_->typeText("\t", overwrite_);
    ev->accept();
    return;
  }
  const QString t = ev->text();
  if (!t.isEmpty() && t.at(0).isPrint()) {
    desiredX_ = -1;
    engine_->typeText(encodeText(t), overwrite_);
    ev->accept();
    return;
  }
  QAbstractScrollArea::keyPressEvent(ev);
}

void TSyntaxMemo::inputMethodEvent(QInputMethodEvent* ev) {
  if (!ev->commitString().isEmpty()) engine_->typeText(encodeText(ev->commitString()), overwrite_);
  ev->accept();
}

// ---- mouse

void TSyntaxMemo::mousePressEvent(QMouseEvent* ev) {
  if (ev->button() != Qt::LeftButton) return;
  setFocus();
  const QPoint p = ev->position().toPoint();
  if (engine_->hasOption(smoShowGutter) && p.x() < engine_->gutterWidth) {
    Q_EMIT OnGutterClick(int(engine_->firstVisibleLine() + p.y() / lineHeight_) + 1);
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
  if (dragPending_ && (ev->buttons() & Qt::LeftButton)) {
    if ((p - pressPoint_).manhattanLength() >= QApplication::startDragDistance()) {
      dragPending_ = false;
      startTextDrag();
    }
    return;
  }
  if (mouseSelecting_ && (ev->buttons() & Qt::LeftButton)) {
    engine_->moveCaret(positionAt(p), true);
    return;
  }
  // Hyperlink hover: the style under the mouse decides.
  const Pos pos = positionAt(p);
  const LineNo line = engine_->store().lineFromPos(pos);
  const bool pastEnd = pos >= engine_->store().lineEnd(line) && p.x() > xOfPos(line, pos);
  const bool hot = !pastEnd && engine_->styleAt(pos).hotspot;
  if (hot != hovering_) {
    hovering_ = hot;
    viewport()->setCursor(hot ? Qt::PointingHandCursor : Qt::IBeamCursor);
  }
  if (hot) Q_EMIT OnHyperlinkHover();
}

void TSyntaxMemo::mouseReleaseEvent(QMouseEvent* ev) {
  if (dragPending_) {  // a click inside the selection without dragging
    dragPending_ = false;
    engine_->moveCaret(positionAt(ev->position().toPoint()), false);
  }
  mouseSelecting_ = false;
}

void TSyntaxMemo::mouseDoubleClickEvent(QMouseEvent* ev) {
  const QPoint p = ev->position().toPoint();
  Perform(msg::kLButtonDblClk, 0, std::intptr_t((p.x() & 0xFFFF) | ((p.y() & 0xFFFF) << 16)));
  mouseSelecting_ = false;
}

QByteArray TSyntaxMemo::hotSpotText() const {
  if (lastMouse_.x() < 0) return {};
  const Pos pos = positionAt(lastMouse_);
  const TextStore& s = engine_->store();
  const LineNo line = s.lineFromPos(pos);
  if (pos >= s.lineEnd(line) && lastMouse_.x() > xOfPos(line, pos)) return {};  // past the end of the line
  // The token: the run of equal token values around the position, within the line.
  const Pos ls = s.lineStart(line), le = s.lineEnd(line);
  const auto toks = engine_->tokens(ls, le);
  if (toks.empty()) return {};
  std::size_t a = std::size_t(pos - ls), b = a;
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
  prefixKey_ = 0;
  viewport()->update();
}

// ---- drag and drop

void TSyntaxMemo::startTextDrag() {
  MemoEngine& e = *engine_;
  const Selection src = e.selection();
  const std::string bytes = e.selText();
  auto* mime = new QMimeData;  // owned by the drag
  mime->setText(decodeBytes(bytes));
  mime->setData(QLatin1String(kBytesMime), QByteArray(bytes.data(), qsizetype(bytes.size())));
  const std::string rtf = e.exportSelection(kExportRTF);
  mime->setData(QStringLiteral("text/rtf"), QByteArray(rtf.data(), qsizetype(rtf.size())));
  auto* drag = new QDrag(this);
  drag->setMimeData(mime);
  // The whole drag is one undo group (identifier 11).
  MemoEngine::UndoGroup group(e, kGroupDragDrop);
  inDrag_ = true;
  droppedOnSelf_ = false;
  const Qt::DropActions allowed = e.readOnly ? Qt::CopyAction : (Qt::CopyAction | Qt::MoveAction);
  const Qt::DropAction result = drag->exec(allowed, Qt::CopyAction);
  inDrag_ = false;
  if (result == Qt::MoveAction && !droppedOnSelf_ && !e.readOnly) {
    e.setSelection(src.start(), src.end(), false);
    e.deleteSelection();
  }
}

void TSyntaxMemo::dragEnterEvent(QDragEnterEvent* ev) {
  if (ev->mimeData()->hasUrls() || ev->mimeData()->hasText()) ev->acceptProposedAction();
  else ev->ignore();
}

void TSyntaxMemo::dragMoveEvent(QDragMoveEvent* ev) {
  if (ev->mimeData()->hasText() && !ev->mimeData()->hasUrls()) {
    const Pos p = positionAt(ev->position().toPoint());
    engine_->setSelection(engine_->selection().anchor, engine_->selection().caret, false);
    (void)p;
    if (inDrag_ && !(ev->modifiers() & Qt::ControlModifier) && !engine_->readOnly) {
      ev->setDropAction(Qt::MoveAction);
      ev->accept();
      return;
    }
  }
  ev->acceptProposedAction();
}

void TSyntaxMemo::dropEvent(QDropEvent* ev) {
  const QMimeData* m = ev->mimeData();
  MemoEngine& e = *engine_;
  const QPoint at = ev->position().toPoint();
  if (m->hasUrls()) {
    DroppedFiles df;
    for (const QUrl& u : m->urls())
      if (u.isLocalFile()) df.files.push_back(encodeText(u.toLocalFile()));
    df.at = rect().contains(at) ? Point{at.x(), at.y()} : Point{-1, -1};
    if (!df.files.empty()) {
      Perform(msg::kDropFiles, 0, reinterpret_cast<std::intptr_t>(&df));
      ev->acceptProposedAction();
      return;
    }
  }
  if (!m->hasText()) {
    Q_EMIT OnDataDrop(m->formats());
    ev->ignore();
    return;
  }
  if (e.readOnly) {
    ev->ignore();
    return;
  }
  const std::string bytes = mimeBytes(m);
  Pos pos = positionAt(at);
  if (inDrag_ && ev->dropAction() == Qt::MoveAction) {
    // Moving text inside the control: insert at the drop point, remove the source (group 11 is open).
    const Selection src = e.selection();
    if (pos >= src.start() && pos <= src.end()) {
      ev->ignore();
      return;
    }
    droppedOnSelf_ = true;
    const Pos len = src.end() - src.start();
    e.setSelection(src.start(), src.end(), false);
    e.deleteSelection();
    if (pos > src.end()) pos -= len;
    e.setSelection(pos, pos, false);
    MemoryStream s(bytes);
    e.insertStream(s);
    e.setSelection(pos, e.selection().caret);
    ev->setDropAction(Qt::MoveAction);
    ev->accept();
    return;
  }
  MemoEngine::UndoGroup group(e, kGroupDragDrop);
  e.setSelection(pos, pos, false);
  MemoryStream s(bytes);
  e.insertStream(s);
  e.setSelection(pos, e.selection().caret);
  ev->acceptProposedAction();
}

void TSyntaxMemo::print(QPrinter& printer, bool selectionOnly) {
  MemoPrinter p(*engine_, font_);
  p.print(printer, selectionOnly);
}

}  // namespace velora::memo
