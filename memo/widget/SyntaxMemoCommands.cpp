// The editing commands of the key table (codes 0..44) as the control runs them.
#include <QPrinter>
#include <algorithm>

#include "memo/engine/keys/KeyboardActionController.h"
#include "memo/widget/SyntaxMemo.h"

namespace velora::memo {

namespace {

// Commands that change the text; a read-only control ignores them.
bool IsEditingCommand(int code) noexcept {
  switch (code) {
    case caCUT: case caPASTE: case caDELETE: case caBACKSPACE: case caBLOCKIND: case caBLOCKUND:
    case caDELETELINE: case caUNDO: case caREDO: case caDELPREVWORD:
      return true;
    default:
      return false;
  }
}

}  // namespace

vlr::TKeyboardActionContoller& TSyntaxMemo::keyController() const {
  if (TokenScanner* p = engine_->currentParser())
    if (vlr::TKeyboardActionContoller* keys = p->keyController()) return *keys;
  return vlr::DefaultKeyController();
}

void TSyntaxMemo::executeCommand(int code, bool extend) {
  MemoEngine& e = *engine_;
  if (e.readOnly && IsEditingCommand(code)) return;
  const Pos caret = e.selection().caret;
  const TextStore& s = e.store();
  const LineNo line = s.lineFromPos(caret);
  // The column kept across vertical moves is moveVertically's: it holds only while the caret
  // stays where the last vertical move left it.
  switch (code) {
    case caLEFT:
      if (!extend && !e.selection().empty()) e.moveCaret(e.selStart(), false);
      else e.moveCaret(e.prevCharPos(caret), extend);
      break;
    case caRIGHT:
      if (!extend && !e.selection().empty()) e.moveCaret(e.selection().end(), false);
      else e.moveCaret(e.nextCharPos(caret), extend);
      break;
    case caLINEHOME: {
      // Smart home: first non-blank, then the line start.
      const Pos ls = s.lineStart(line);
      Pos p = ls;
      while (p < s.lineEnd(line) && (s.charAt(p) == ' ' || s.charAt(p) == '\t')) ++p;
      e.moveCaret(caret == p ? ls : p, extend);
      break;
    }
    case caLINEEND: e.moveCaret(s.lineEnd(line), extend); break;
    case caUP: moveVertically(-1, extend); break;
    case caDOWN: moveVertically(1, extend); break;
    case caPAGEUP:
    case caPAGEDOWN: {
      const int page = int(std::max<LineNo>(1, e.visibleLines() - 1));
      const int dir = code == caPAGEUP ? -1 : 1;
      e.setFirstVisibleLine(e.firstVisibleLine() + dir * page, false);
      moveVertically(dir * page, extend);
      break;
    }
    case caWORDLEFT: e.moveCaret(e.wordLeft(caret), extend); break;
    case caWORDRIGHT: e.moveCaret(e.wordRight(caret), extend); break;
    case caDOCSTART: e.moveCaret(0, extend); break;
    case caDOCEND: e.moveCaret(e.length(), extend); break;
    case caCUT: e.cut(); break;
    case caCOPY: e.copy(); break;
    case caPASTE: e.paste(); break;
    // One character forward or back unless something is selected, then the selection goes:
    // one undo step (group 13).
    case caDELETE: e.deleteChar(true); break;
    case caBACKSPACE: e.deleteChar(false); break;
    case caBLOCKIND: e.blockIndent(); break;
    case caBLOCKUND: e.blockUnindent(); break;
    case caINSTOGGLE: setOverwriteMode(!overwrite_); break;
    case caDELETELINE: e.deleteLine(); break;  // the caret's line record with its break
    case caUNDO: e.undo(); break;
    case caREDO: e.redo(); break;
    case caDELPREVWORD: e.deletePrevWord(); break;  // a word left, extending, deleted: group 19
    case caPRINTSEL: printSelection(); break;
    default:
      if (code >= caSETBOOKMARK0 && code < caSETBOOKMARK0 + 10) e.setBookmark(code - caSETBOOKMARK0, caret);
      else if (code >= caGOTOBOOKMARK0 && code < caGOTOBOOKMARK0 + 10) e.gotoBookmark(code - caGOTOBOOKMARK0);
      break;
  }
  viewport()->update();
}

}  // namespace velora::memo
