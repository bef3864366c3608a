// TColorBox: the colour pick-up control of the options dialog. A list of the sixteen standard
// colours, each with a swatch and its name, and "Other..." for any colour from the colour
// dialog (which then stays in the list as "Custom"). Colours are 0x00BBGGRR values.
#pragma once

#include <QComboBox>
#include <cstdint>

namespace velora::memo {

class TColorBox : public QComboBox {
  Q_OBJECT

 public:
  explicit TColorBox(QWidget* parent = nullptr);

  [[nodiscard]] std::uint32_t color() const noexcept { return color_; }
  // Selects the colour, adding it as "Custom" when it is not a standard one. Emits nothing.
  void setColor(std::uint32_t color);
  // Selects a standard colour by name ("Red"); false when there is none of that name.
  bool selectNamed(const QString& name);

 Q_SIGNALS:
  // The user chose another colour.
  void colorChosen(std::uint32_t color);

 private:
  void activatedAt(int index);
  int customIndex() const;
  void addSwatch(const QString& name, std::uint32_t color, int at = -1);

  std::uint32_t color_ = 0;
  int previous_ = 0;
};

}  // namespace velora::memo
