// Options of the control (TSyntaxMemoOption), with the bit values of the settings stream.
#pragma once

#include <cstdint>

namespace velora::memo {

enum SyntaxMemoOption : std::uint32_t {
  smoSyntaxHighlight = 16,
  smoPrintWrap = 32,
  smoPrintLineNos = 64,
  smoPrintFilename = 128,
  smoPrintDate = 256,
  smoPrintPageNos = 512,
  smoWordWrap = 1024,
  smoAutoIndent = 2048,
  smoTabToColumn = 4096,
  smoWrapOverride = 8192,
  smoWordSelect = 16384,
  smoShowRMargin = 32768,
  smoShowGutter = 65536,
  smoShowWrapColumn = 131072,
  smoTitleAsFilename = 262144,
  smoProcessDroppedFiles = 524288,
  smoBlockOverwriteCursor = 1048576,
  smoShowWrapGlyph = 2097152,
  smoColumnTrack = 4194304,
  smoUseTAB = 8388608,
  smoSmartFill = 16777216,
  smoOLEDragSource = 33554432,
};

using SyntaxMemoOptions = std::uint32_t;

// Editing aids beyond the classic options, each switched on its own (EditingAids of the control,
// kept in the settings stream's extension so that older settings load with the defaults).
enum SyntaxMemoEditingAid : std::uint32_t {
  smaLineNumbers = 1,          // line numbers in the gutter
  smaCurrentLine = 2,          // the caret's line highlighted
  smaFolding = 4,              // fold margin and fold commands
  smaMatching = 8,             // matching tag and bracket highlighted
  smaLinkedEditing = 16,       // renaming a start tag renames its end tag
  smaAutoCloseTags = 32,       // end tags inserted on typing a start tag's '>' and on "</"
  smaAutoClosePairs = 64,      // quotes and brackets closed in pairs
  smaCompletion = 128,         // completion list of elements, attributes, entities, properties
  smaTypingRuns = 256,         // a run of typing is one undo step
  smaKeepUndoAfterSave = 512,  // saving keeps the undo history
};

using SyntaxMemoEditingAids = std::uint32_t;

// Every aid on but typing runs (the Desktop key scheme turns them on) and keeping the undo
// history after saving.
inline constexpr SyntaxMemoEditingAids kDefaultEditingAids = 255;
static_assert(kDefaultEditingAids == (smaLineNumbers | smaCurrentLine | smaFolding | smaMatching | smaLinkedEditing |
                                      smaAutoCloseTags | smaAutoClosePairs | smaCompletion));

// __DEFAULT_OPTIONS: every option but smoWordWrap and smoWrapOverride.
inline constexpr SyntaxMemoOptions kDefaultOptions = 67099632;
static_assert(kDefaultOptions == (0x3FFFFF0u & ~std::uint32_t(smoWordWrap) & ~std::uint32_t(smoWrapOverride)));

// How the control writes new indentation: block indent and the Tab key with smoTabToColumn.
// FromOptions keeps the options' rule (smoUseTAB, IndentStep and the tab stops); Tabs writes one
// tab character per level; Spaces writes blanks, `width` columns per level. The owner decides
// from the document (its settings files, the indentation it already has); copying a line's
// indentation (auto-indent, template fill) never changes it.
enum class IndentKind : std::uint8_t { FromOptions, Tabs, Spaces };
struct IndentStyle {
  IndentKind kind = IndentKind::FromOptions;
  int width = 0;  // Spaces: columns of one level (1 when less)
  friend bool operator==(const IndentStyle&, const IndentStyle&) = default;
};

// The font style bits of def_FontStyle (the scheme's fsBold, fsItalic, fsUnderline bit numbers).
enum FontStyleBits : int { fsBold = 1, fsItalic = 2, fsUnderline = 4 };
// Pages of the options dialog (VisiblePropEdPages).
enum PropEdPage : unsigned { ppOPTIONS = 1, ppHIGHLIGHTING = 2, ppKEYS = 4, ppAUTOCORRECT = 8, ppTEMPLATES = 16 };
inline constexpr unsigned kAllPropEdPages = ppOPTIONS | ppHIGHLIGHTING | ppKEYS | ppAUTOCORRECT | ppTEMPLATES;

// ClipCopyFormats and SaveFormat.
enum ClipFormat : unsigned { smTEXT = 1, smRTF = 2 };
enum class SaveFormat { sfTEXT, sfRTF, sfHTML, sfUNIX };

}  // namespace velora::memo
