// TKeyCapture: a field that takes the next key pressed in it (with its modifiers) as a key code of
// the editor control and shows it as shortcut text. Its clear button (or clearing it) leaves no key.
#pragma once

#include <QLineEdit>
#include <cstdint>

namespace velora::memo {

class TKeyCapture : public QLineEdit {
  Q_OBJECT

 public:
  explicit TKeyCapture(QWidget* parent = nullptr);

  [[nodiscard]] std::uint16_t key() const noexcept { return key_; }
  void setKey(std::uint16_t key);
  // Without modifiers the field keeps only the virtual key (the second key of a sequence).
  void setModifiersAllowed(bool allowed) { modifiersAllowed_ = allowed; }

 Q_SIGNALS:
  void keyChanged(std::uint16_t key);

 protected:
  bool event(QEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  std::uint16_t key_ = 0;
  bool modifiersAllowed_ = true;
};

}  // namespace velora::memo
