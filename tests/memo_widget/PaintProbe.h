// Helpers of the drawing tests: a scanner whose token values have fixed styles, and pixel
// counts over a grabbed viewport.
#pragma once

#include <QApplication>
#include <QImage>
#include <QWidget>

#include "memo/engine/TokenScanner.h"
#include "memo/widget/SyntaxMemo.h"

namespace painttest {

using namespace velora::memo;

// Token 5: red on yellow, bold. Token 7: a hot spot in navy. Everything else: the defaults.
// It never scans: the tests store the token values they want.
class FixedStyles final : public TokenScanner {
 public:
  std::uint8_t scanToken(MemoEngine&, EdStream& s, int& length) override {
    s.advance();
    ++length;
    return 0;
  }
  void resetContext(std::uint8_t) override {}
  [[nodiscard]] StyleEffect styleOf(std::uint8_t t) const override {
    StyleEffect e;
    if (t == 5) {
      e.foreground = rgb(255, 0, 0);
      e.background = rgb(255, 255, 0);
      e.defaultForeground = e.defaultBackground = false;
      e.bold = true;
    } else if (t == 7) {
      e.foreground = rgb(0, 0, 128);
      e.defaultForeground = false;
      e.hotspot = true;
    }
    return e;
  }
};

inline QImage Shot(TSyntaxMemo& memo) {
  QApplication::processEvents();
  return memo.viewport()->grab().toImage();
}

template <class Pred>
int Count(const QImage& img, QRect r, Pred pred) {
  r = r.intersected(img.rect());
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (pred(img.pixelColor(x, y))) ++n;
  return n;
}

inline int CountColor(const QImage& img, QRect r, QColor c) {
  return Count(img, r, [&](QColor p) { return p == c; });
}

// Dark pixels: text ink, the caret.
inline int Ink(const QImage& img, QRect r) {
  return Count(img, r, [](QColor p) { return p.lightness() < 128; });
}

}  // namespace painttest
