// Message numbers the control answers: the standard edit messages and its private block.
#pragma once

namespace velora::memo::msg {

// Standard messages.
inline constexpr unsigned kSetText = 0x000C;
inline constexpr unsigned kGetText = 0x000D;
inline constexpr unsigned kGetTextLength = 0x000E;
inline constexpr unsigned kGetSel = 0x00B0;
inline constexpr unsigned kSetSel = 0x00B1;
inline constexpr unsigned kLineScroll = 0x00B6;
inline constexpr unsigned kScrollCaret = 0x00B7;
inline constexpr unsigned kGetModify = 0x00B8;
inline constexpr unsigned kSetModify = 0x00B9;
inline constexpr unsigned kGetLineCount = 0x00BA;
inline constexpr unsigned kLineIndex = 0x00BB;
inline constexpr unsigned kLineLength = 0x00C1;
inline constexpr unsigned kReplaceSel = 0x00C2;
inline constexpr unsigned kGetLine = 0x00C4;
inline constexpr unsigned kCanUndo = 0x00C6;
inline constexpr unsigned kEmUndo = 0x00C7;
inline constexpr unsigned kLineFromChar = 0x00C9;
inline constexpr unsigned kEmptyUndoBuffer = 0x00CD;
inline constexpr unsigned kGetFirstVisibleLine = 0x00CE;
inline constexpr unsigned kSetReadOnly = 0x00CF;
inline constexpr unsigned kPosFromChar = 0x00D6;
inline constexpr unsigned kCharFromPos = 0x00D7;
inline constexpr unsigned kHScroll = 0x0114;
inline constexpr unsigned kVScroll = 0x0115;
inline constexpr unsigned kLButtonDblClk = 0x0203;
inline constexpr unsigned kDropFiles = 0x0233;
inline constexpr unsigned kCut = 0x0300;
inline constexpr unsigned kCopy = 0x0301;
inline constexpr unsigned kPaste = 0x0302;
inline constexpr unsigned kUndo = 0x0304;

// Private messages (wParam bit 0 set = "set", clear = "get").
inline constexpr unsigned kSelection = 0x0C00;
inline constexpr unsigned kReplaceSelection = 0x0C02;
inline constexpr unsigned kPaintSuspended = 0x0C05;
inline constexpr unsigned kInsertStream = 0x0C06;
inline constexpr unsigned kWriteSelection = 0x0C07;
inline constexpr unsigned kModified = 0x0C08;
inline constexpr unsigned kFirstVisibleLine = 0x0C09;
inline constexpr unsigned kFirstVisibleColumn = 0x0C0A;
inline constexpr unsigned kSearch = 0x0C0B;
inline constexpr unsigned kCopySelection = 0x0C0D;
inline constexpr unsigned kCanRedo = 0x0C0E;
inline constexpr unsigned kRedo = 0x0C0F;
inline constexpr unsigned kBlockIndent = 0x0C10;
inline constexpr unsigned kBlockUnindent = 0x0C11;
inline constexpr unsigned kSettingsChanged = 0x0C12;
inline constexpr unsigned kStoreTokens = 0x0C13;
inline constexpr unsigned kReadTokens = 0x0C14;
inline constexpr unsigned kUndoLog = 0x0C15;
inline constexpr unsigned kSpellLineLimit = 0x1634;
inline constexpr unsigned kSpellStep = 0x1635;

// wParam bits.
inline constexpr unsigned kSet = 1;
inline constexpr unsigned kNoRepaint = 2;  // 0x0C05, 0x0C06, 0x0C09, 0x0C0A

// Scroll-bar codes of 0x0114 / 0x0115 (low word of wParam).
inline constexpr unsigned kSbLineUp = 0, kSbLineDown = 1, kSbPageUp = 2, kSbPageDown = 3, kSbThumbPosition = 4,
                          kSbThumbTrack = 5, kSbTop = 6, kSbBottom = 7;

}  // namespace velora::memo::msg
