// TSyntaxMemo's drag and drop: text dragged out of the control (smoOLEDragSource), text and
// files dropped on it (files only with smoProcessDroppedFiles), other data reported through
// OnDataDrop. A read-only control accepts no text and offers its own text for copying only.
#include <QApplication>
#include <QDrag>
#include <QDropEvent>
#include <QMetaMethod>
#include <QMimeData>
#include <QUrl>

#include "memo/widget/SyntaxMemo.h"
#include "memo/widget/TextDecoding.h"

namespace velora::memo {

namespace {

// Marks a drag as coming from a control: the control's address, compared with the dropping
// control's own.
const char* const kDragSourceMime = "application/x-velora-drag-source";

QByteArray controlId(const void* control) { return QByteArray::number(quintptr(control)); }

std::string mimeBytes(const QMimeData* m) {
  if (m->hasFormat(QLatin1String(kTextBytesMime))) {
    const QByteArray b = m->data(QLatin1String(kTextBytesMime));
    return std::string(b.constData(), std::size_t(b.size()));
  }
  return encodeText(m->text());
}

bool carriesFiles(const QMimeData* m) {
  if (!m->hasUrls()) return false;
  for (const QUrl& u : m->urls())
    if (u.isLocalFile()) return true;
  return false;
}

}  // namespace

QMimeData* TSyntaxMemo::beginTextDrag() {
  MemoEngine& e = *engine_;
  const std::string bytes = e.selText();
  auto* mime = new QMimeData;  // owned by the drag
  mime->setText(decodeBytes(bytes));
  mime->setData(QLatin1String(kTextBytesMime), QByteArray(bytes.data(), qsizetype(bytes.size())));
  const std::string rtf = e.exportSelection(kExportRTF);
  mime->setData(QStringLiteral("text/rtf"), QByteArray(rtf.data(), qsizetype(rtf.size())));
  mime->setData(QLatin1String(kDragSourceMime), controlId(this));
  inDrag_ = true;
  droppedOnSelf_ = false;
  dragSource_ = e.selection();
  return mime;
}

void TSyntaxMemo::endTextDrag(Qt::DropAction result) {
  MemoEngine& e = *engine_;
  inDrag_ = false;
  // Moved to another place: the source goes, as an undo step of its own.
  if (result == Qt::MoveAction && !droppedOnSelf_ && !e.readOnly) {
    e.setSelection(dragSource_.start(), dragSource_.end(), false);
    MemoEngine::UndoGroup group(e, kGroupDragDrop);
    guarded([&e] { e.deleteSelection(); });
  }
  droppedOnSelf_ = false;
}

void TSyntaxMemo::startTextDrag() {
  auto* drag = new QDrag(this);
  drag->setMimeData(beginTextDrag());
  // No undo group is open while the drag's own event loop runs (other edits may happen in it);
  // a move inside the control is one engine operation (moveText, group 11).
  const Qt::DropActions allowed = engine_->readOnly ? Qt::CopyAction : (Qt::CopyAction | Qt::MoveAction);
  endTextDrag(drag->exec(allowed, Qt::CopyAction));
}

bool TSyntaxMemo::isOwnDrag(const QMimeData* m) const {
  return inDrag_ && m->data(QLatin1String(kDragSourceMime)) == controlId(this);
}

bool TSyntaxMemo::acceptsDrop(const QMimeData* m) const {
  if (carriesFiles(m)) return engine_->hasOption(smoProcessDroppedFiles);
  if (m->hasText()) return !engine_->readOnly;
  return isSignalConnected(QMetaMethod::fromSignal(&TSyntaxMemo::OnDataDrop));
}

void TSyntaxMemo::dragEnterEvent(QDragEnterEvent* ev) {
  if (acceptsDrop(ev->mimeData())) ev->acceptProposedAction();
  else ev->ignore();
}

void TSyntaxMemo::dragMoveEvent(QDragMoveEvent* ev) {
  const QMimeData* m = ev->mimeData();
  if (!acceptsDrop(m)) {
    ev->ignore();
    return;
  }
  // The control's own text moves unless Ctrl asks for a copy.
  if (isOwnDrag(m) && !(ev->modifiers() & Qt::ControlModifier) && (ev->possibleActions() & Qt::MoveAction)) {
    ev->setDropAction(Qt::MoveAction);
    ev->accept();
    return;
  }
  ev->acceptProposedAction();
}

void TSyntaxMemo::dropEvent(QDropEvent* ev) {
  const QMimeData* m = ev->mimeData();
  MemoEngine& e = *engine_;
  const QPoint at = ev->position().toPoint();
  if (!acceptsDrop(m)) {
    ev->ignore();
    return;
  }
  if (carriesFiles(m)) {
    DroppedFiles df;
    for (const QUrl& u : m->urls())
      if (u.isLocalFile()) df.files.push_back(encodeText(u.toLocalFile()));
    df.at = viewport()->rect().contains(at) ? Point{at.x(), at.y()} : Point{-1, -1};
    if (Perform(msg::kDropFiles, 0, reinterpret_cast<std::intptr_t>(&df)) != 0) ev->acceptProposedAction();
    else ev->ignore();
    return;
  }
  if (!m->hasText()) {
    Q_EMIT OnDataDrop(m->formats());
    ev->ignore();
    return;
  }
  const std::string bytes = mimeBytes(m);
  const Pos pos = positionAt(at);
  const bool copy = (ev->modifiers() & Qt::ControlModifier) || !(ev->possibleActions() & Qt::MoveAction);
  // The source must still hold the dragged text (edits may have happened during the drag).
  if (isOwnDrag(m) && !copy && e.exportRange(dragSource_.start(), dragSource_.end(), kExportCRLF) == bytes) {
    // Moving text inside the control: one engine operation and one undo step.
    if (e.moveText(dragSource_.start(), dragSource_.end(), pos) < 0) {
      ev->ignore();
      return;
    }
    droppedOnSelf_ = true;
    ev->setDropAction(Qt::MoveAction);
    ev->accept();
    return;
  }
  bool inserted = false;
  guarded([&] {
    MemoEngine::UndoGroup group(e, kGroupDragDrop);
    e.setSelection(pos, pos, false);
    MemoryStream s(bytes);
    e.insertStream(s);
    e.setSelection(pos, e.selection().caret);
    inserted = true;
  });
  if (!inserted) {
    ev->ignore();
    return;
  }
  // Text from elsewhere takes the drag's action (a move removes it at its source); a copy of
  // this control's own text stays a copy.
  if (copy || isOwnDrag(m)) ev->setDropAction(Qt::CopyAction);
  else ev->setDropAction(ev->proposedAction());
  ev->accept();
}

}  // namespace velora::memo
