// The editor control on the desktop's accessibility bus: an editable multi-line text whose
// offsets are characters of the document (not bytes), read straight from the line store, and
// the change, caret and selection events a screen reader follows.
#pragma once

#include <QAccessibleWidget>
#include <QString>

#include "memo/engine/MemoEngine.h"

namespace velora::memo {

class TSyntaxMemo;

class TMemoAccessible : public QAccessibleWidget,
                        public QAccessibleTextInterface,
                        public QAccessibleEditableTextInterface {
 public:
  explicit TMemoAccessible(TSyntaxMemo* memo);

  // ---- QAccessibleInterface
  void* interface_cast(QAccessible::InterfaceType t) override;
  [[nodiscard]] QAccessible::State state() const override;
  [[nodiscard]] QString text(QAccessible::Text t) const override;

  // ---- QAccessibleTextInterface
  void selection(int selectionIndex, int* startOffset, int* endOffset) const override;
  [[nodiscard]] int selectionCount() const override;
  void addSelection(int startOffset, int endOffset) override;
  void removeSelection(int selectionIndex) override;
  void setSelection(int selectionIndex, int startOffset, int endOffset) override;
  [[nodiscard]] int cursorPosition() const override;
  void setCursorPosition(int position) override;
  [[nodiscard]] QString text(int startOffset, int endOffset) const override;
  QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                           int* endOffset) const override;
  QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                          int* endOffset) const override;
  QString textAtOffset(int offset, QAccessible::TextBoundaryType boundaryType, int* startOffset,
                       int* endOffset) const override;
  [[nodiscard]] int characterCount() const override;
  [[nodiscard]] QRect characterRect(int offset) const override;
  [[nodiscard]] int offsetAtPoint(const QPoint& point) const override;
  void scrollToSubstring(int startIndex, int endIndex) override;
  QString attributes(int offset, int* startOffset, int* endOffset) const override;

  // ---- QAccessibleEditableTextInterface
  void deleteText(int startOffset, int endOffset) override;
  void insertText(int offset, const QString& text) override;
  void replaceText(int startOffset, int endOffset, const QString& text) override;

 private:
  [[nodiscard]] TSyntaxMemo* memo() const;
  [[nodiscard]] const MemoEngine& engine() const;
  [[nodiscard]] Pos bytePos(int offset) const;
  [[nodiscard]] int charOffset(Pos p) const;
  // The text unit of the given kind around offset: its character range [start, end).
  void unitAt(int offset, QAccessible::TextBoundaryType kind, int* start, int* end) const;
};

// Installs the factory that gives every editor control its accessible interface (once).
void InstallMemoAccessibility();

// Reports the control's changes to the accessibility bus while a client listens: inserted and
// removed text with its character offset, the caret and the selection.
class TMemoAccessEvents final : public TextObserver {
 public:
  explicit TMemoAccessEvents(TSyntaxMemo* memo) : memo_(memo) {}
  void beforeReplace(Pos a, Pos b) override;
  void afterReplace(Pos a, Pos inserted) override;
  // The caret moved or the selection changed.
  void selectionChanged();
  // Events are made only while a platform bridge says a client listens, and go to the bridge.
  // A program that takes them itself where no bridge runs (tests, benchmarks) gives a sink;
  // nullptr gives them to the bridge again.
  using EventSink = void (*)(QAccessibleEvent* event);
  static void setEventSink(EventSink sink) noexcept { sink_ = sink; }

 private:
  [[nodiscard]] static bool listening() { return sink_ || QAccessible::isActive(); }
  static void deliver(QAccessibleEvent& event);
  static inline EventSink sink_ = nullptr;
  TSyntaxMemo* memo_;
  int removedAt_ = -1;
  QString removed_;
};

// The document's bytes [a, b) as text: each character decoded as the control shows it, hard
// breaks as '\n'.
[[nodiscard]] QString AccessibleText(const TextStore& store, Pos a, Pos b);

}  // namespace velora::memo
