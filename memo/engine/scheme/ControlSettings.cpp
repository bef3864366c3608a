#include "memo/engine/scheme/ControlSettings.h"

#include "memo/engine/Messages.h"
#include "memo/engine/scheme/HighlightDriver.h"

namespace vlr {

using velora::memo::MemoEngine;

void ApplySchemeSettings(MemoEngine& e, const TSchemeSettings& s) {
  const bool highlighted = e.hasOption(velora::memo::smoSyntaxHighlight);
  e.options = s.options;
  // A stored form is checked for its structure only: values the compiler and the options
  // dialog refuse are not taken.
  if (s.tabDefault > 0) e.tabDefault = s.tabDefault;
  e.tabColumns.clear();
  for (const int stop : s.tabStops)
    if (stop >= 0) e.tabColumns.push_back(stop);
  e.rightMargin = s.rightMargin >= 0 ? s.rightMargin : 0;
  e.rightMarginColor = s.marginColor;
  e.rightMarginWidth = s.marginWidth > 0 ? s.marginWidth : 1;
  e.wrapAtColumn = s.wordWrapColumn >= 0 ? s.wordWrapColumn : 0;
  e.gutterWidth = s.gutterWidth >= 0 ? s.gutterWidth : 0;
  e.indentStep = s.indentStep >= 0 ? s.indentStep : 0;
  e.wrapOverride = s.wrapOverride;
  e.gutterColor = s.gutterColor.useDefault ? kDefaultGutterColor : s.gutterColor.color;
  e.selTextColor = s.selTextColor.useDefault ? kDefaultSelTextColor : s.selTextColor.color;
  e.selTextBack = s.selTextBack.useDefault ? kDefaultSelTextBack : s.selTextBack.color;
  if (!s.fontName.empty()) e.fontName = s.fontName;
  if (s.fontSize > 0) e.fontSize = s.fontSize;
  e.perform(velora::memo::msg::kSettingsChanged);
  if (!highlighted && e.hasOption(velora::memo::smoSyntaxHighlight)) RehighlightAll(e);
}

}  // namespace vlr
