// The desktop's light or dark palette.
#include "memo/widget/DesktopPalette.h"

#include <QGuiApplication>
#include <QPalette>
#include <QStyleHints>

namespace velora::memo {

bool DesktopPaletteIsDark() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 5, 0)
  switch (QGuiApplication::styleHints()->colorScheme()) {
    case Qt::ColorScheme::Dark: return true;
    case Qt::ColorScheme::Light: return false;
    default: break;
  }
#endif
  return QGuiApplication::palette().color(QPalette::Window).lightness() < 128;
}

}  // namespace velora::memo
