#include "memo/engine/scheme/ControlSettings.h"

#include "memo/engine/Messages.h"
#include "memo/engine/scheme/Appearance.h"
#include "memo/engine/scheme/HighlightDriver.h"

namespace vlr {

using velora::memo::MemoEngine;

namespace {

// Bounds of what a control is given. A stored form is checked for its structure only, so a
// damaged "sedprop.dat" could hold any number; a value outside these bounds (which the compiler
// and the options dialog never produce) is not taken and the control keeps its own.
constexpr int kMaxColumn = 10000;
constexpr int kMaxIndentStep = 1000;
constexpr int kMaxGutterWidth = 1000;
constexpr int kMaxFontSize = 500;
constexpr int kMaxLineWidth = 100;

void Take(int value, int lo, int hi, int& field) {
  if (value >= lo && value <= hi) field = value;
}

velora::memo::Color ColorOr(const TSchemeColor& c, velora::memo::Color control) {
  return c.useDefault ? control : c.color;
}

}  // namespace

void ApplySchemeSettings(MemoEngine& e, const TSchemeSettings& s) {
  const bool highlighted = e.hasOption(velora::memo::smoSyntaxHighlight);
  e.options = s.options;
  e.editingAids = s.editingAids;
  Take(s.tabDefault, 1, kMaxColumn, e.tabDefault);
  e.tabColumns.clear();
  for (const int stop : s.tabStops)
    if (stop >= 0 && stop <= kMaxColumn) e.tabColumns.push_back(stop);
  Take(s.rightMargin, 0, kMaxColumn, e.rightMargin);
  e.marginColor = s.marginColor;
  Take(s.marginWidth, 1, kMaxLineWidth, e.marginWidth);
  Take(s.wordWrapColumn, 0, kMaxColumn, e.wrapAtColumn);
  Take(s.gutterWidth, 0, kMaxGutterWidth, e.gutterWidth);
  Take(s.indentStep, 0, kMaxIndentStep, e.indentStep);
  e.wrapOverride = s.wrapOverride;
  e.gutterColor = ColorOr(s.gutterColor, kDefaultGutterColor);
  e.selTextColor = ColorOr(s.selTextColor, kDefaultSelTextColor);
  e.selTextBack = ColorOr(s.selTextBack, kDefaultSelTextBack);
  e.currentLineColor.reset();
  if (!s.currentLineColor.useDefault) e.currentLineColor = s.currentLineColor.color;
  if (!s.fontName.empty()) e.fontName = s.fontName;
  Take(s.fontSize, 1, kMaxFontSize, e.fontSize);
  e.perform(velora::memo::msg::kSettingsChanged);
  if (!highlighted && e.hasOption(velora::memo::smoSyntaxHighlight)) RehighlightAll(e);
}

void ApplyAppearance(MemoEngine& e, const TSchemeTables& t) {
  const velora::memo::Color textBefore = e.defTextColor, backBefore = e.defBackColor, gutterBefore = e.gutterColor;
  if (UsesDarkStyles(t)) {
    const TSchemeEffect& base = t.darkEffects[0];
    e.defTextColor = base.present && !base.defaultForeground ? base.foreground : 0xD4D4D4;
    e.defBackColor = base.present && !base.defaultBackground ? base.background : 0x1E1E1E;
    e.selTextColor = kDarkSelText;
    e.selTextBack = kDarkSelBack;
    e.gutterColor = kDarkGutter;
    e.marginColor = kDarkMargin;
  } else {
    e.defTextColor = velora::memo::rgb(0, 0, 0);
    e.defBackColor = velora::memo::rgb(255, 255, 255);
    // Back from the dark appearance: the colours it set go back to the scheme's own; colours
    // the window or the user set meanwhile stay.
    const TSchemeSettings& light = t.settings;
    if (e.selTextColor == kDarkSelText && e.selTextBack == kDarkSelBack) {
      e.selTextColor = ColorOr(light.selTextColor, kDefaultSelTextColor);
      e.selTextBack = ColorOr(light.selTextBack, kDefaultSelTextBack);
    }
    if (e.gutterColor == kDarkGutter) e.gutterColor = ColorOr(light.gutterColor, kDefaultGutterColor);
    if (e.marginColor == kDarkMargin) e.marginColor = light.marginColor;
  }
  if (e.defTextColor != textBefore || e.defBackColor != backBefore || e.gutterColor != gutterBefore)
    e.perform(velora::memo::msg::kSettingsChanged);
}

}  // namespace vlr
