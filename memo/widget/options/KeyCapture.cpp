// The key-capture field.
#include "memo/widget/options/KeyCapture.h"

#include <QKeyEvent>

#include "memo/widget/KeyEvents.h"
#include "memo/widget/options/ShortcutText.h"

namespace velora::memo {

TKeyCapture::TKeyCapture(QWidget* parent) : QLineEdit(parent) {
  setClearButtonEnabled(true);
  setPlaceholderText(QStringLiteral("Press a key"));
  // The clear button empties the text: no key.
  connect(this, &QLineEdit::textChanged, this, [this](const QString& t) {
    if (t.isEmpty() && key_ != 0) {
      key_ = 0;
      Q_EMIT keyChanged(0);
    }
  });
}

void TKeyCapture::setKey(std::uint16_t key) {
  if (!modifiersAllowed_) key &= 0xFF;
  const bool changed = key != key_;
  key_ = key;
  setText(QString::fromStdString(ShortcutText(key)));
  if (changed) Q_EMIT keyChanged(key);
}

bool TKeyCapture::event(QEvent* e) {
  // Tab and Shift+Tab are keys to capture here, not focus moves.
  if (e->type() == QEvent::KeyPress) {
    auto* k = static_cast<QKeyEvent*>(e);
    if (k->key() == Qt::Key_Tab || k->key() == Qt::Key_Backtab) {
      keyPressEvent(k);
      return true;
    }
  }
  return QLineEdit::event(e);
}

void TKeyCapture::keyPressEvent(QKeyEvent* e) {
  switch (e->key()) {
    case Qt::Key_Shift: case Qt::Key_Control: case Qt::Key_Alt: case Qt::Key_Meta: case Qt::Key_AltGr:
      e->accept();  // wait for the key the modifiers go with
      return;
    default: break;
  }
  std::uint16_t code = KeyCodeOf(*e);
  if ((code & 0xFF) == 0) {
    e->ignore();
    return;
  }
  setKey(code);
  e->accept();
}

}  // namespace velora::memo
