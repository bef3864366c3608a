// The colour pick-up list.
#include "memo/widget/options/ColorBox.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>
#include <QSignalBlocker>

namespace velora::memo {

namespace {

struct NamedColor {
  const char* name;
  std::uint32_t color;  // 0x00BBGGRR
};
constexpr NamedColor kStandard[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080}, {"Green", 0x008000},  {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080}, {"Teal", 0x808000},   {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},    {"Lime", 0x00FF00},   {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},  {"White", 0xFFFFFF},
};
constexpr int kOtherRole = Qt::UserRole + 1;

QColor ToQColor(std::uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }
std::uint32_t FromQColor(const QColor& c) {
  return std::uint32_t(c.red()) | (std::uint32_t(c.green()) << 8) | (std::uint32_t(c.blue()) << 16);
}

}  // namespace

TColorBox::TColorBox(QWidget* parent) : QComboBox(parent) {
  for (const NamedColor& c : kStandard) addSwatch(QString::fromLatin1(c.name), c.color);
  addItem(QStringLiteral("Other..."));
  setItemData(count() - 1, true, kOtherRole);
  setMaxVisibleItems(count() + 1);
  connect(this, &QComboBox::activated, this, &TColorBox::activatedAt);
}

void TColorBox::addSwatch(const QString& name, std::uint32_t color, int at) {
  QPixmap swatch(14, 14);
  swatch.fill(ToQColor(color));
  QPainter(&swatch).drawRect(0, 0, 13, 13);
  if (at < 0) addItem(QIcon(swatch), name, QVariant::fromValue(uint(color)));
  else insertItem(at, QIcon(swatch), name, QVariant::fromValue(uint(color)));
}

int TColorBox::customIndex() const {
  for (int i = 0; i < count(); ++i)
    if (itemText(i) == QLatin1String("Custom")) return i;
  return -1;
}

void TColorBox::setColor(std::uint32_t color) {
  const QSignalBlocker block(this);
  color_ = color & 0xFFFFFF;
  for (int i = 0; i < count(); ++i) {
    if (!itemData(i, kOtherRole).toBool() && itemText(i) != QLatin1String("Custom") &&
        itemData(i).toUInt() == color_) {
      setCurrentIndex(i);
      previous_ = i;
      return;
    }
  }
  if (const int old = customIndex(); old >= 0) removeItem(old);
  const int at = count() - 1;  // before "Other..."
  addSwatch(QStringLiteral("Custom"), color_, at);
  setCurrentIndex(at);
  previous_ = at;
}

bool TColorBox::selectNamed(const QString& name) {
  const int i = findText(name);
  if (i < 0 || itemData(i, kOtherRole).toBool()) return false;
  setCurrentIndex(i);
  activatedAt(i);
  return true;
}

void TColorBox::activatedAt(int index) {
  if (itemData(index, kOtherRole).toBool()) {
    const QColor chosen = QColorDialog::getColor(ToQColor(color_), this, QStringLiteral("Colour"));
    if (!chosen.isValid()) {
      const QSignalBlocker block(this);
      setCurrentIndex(previous_);
      return;
    }
    setColor(FromQColor(chosen));
  } else {
    color_ = itemData(index).toUInt();
    previous_ = index;
  }
  Q_EMIT colorChosen(color_);
}

}  // namespace velora::memo
