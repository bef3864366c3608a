// TScanCheck: random edits, each followed by a comparison of the incremental token values with
// a scan of the whole text from the top.
#include "memo/engine/scheme/ScanCheck.h"
#include "memo/engine/scheme/HtmlScanners.h"

#include <chrono>
#include <iterator>
#include <vector>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/HighlightDriver.h"

namespace vlr {

namespace {

using velora::memo::EdStream;
using velora::memo::MemoEngine;
using velora::memo::Pos;

// Pieces typed by the random edits: the delimiters that switch states in web pages.
constexpr std::string_view kPieces[] = {
    "<!--", "-->", "<script>", "</script>", "<style>", "</style>", "\"", "'", "`", "\r", "\r\r",
    "<", ">", "/*", "*/", "//", "<?", "?>", "<%", "%>", "<%a%>", "<&f&>", "{", "/[/]/", "`${`", "${", "}", "/", "x", "a b", "&amp;", "=",
    "<p class=\"c\">", "</p>", "\\",
};

std::vector<std::uint8_t> ScanFromScratch(TSyntaxMemoParser& p, const velora::memo::TextStore& st) {
  std::vector<std::uint8_t> out;
  out.reserve(std::size_t(st.length()));
  p.resetStart();
  EdStream s(st, 0);
  while (!s.atEnd()) {
    const Pos a = s.position();
    int len = 0;
    const std::uint8_t v = p.ScanToken(s, len);
    const Pos b = s.position() > a ? s.position() : a + 1;
    out.insert(out.end(), std::size_t(b - a), v);
    s.setPosition(b);
  }
  return out;
}

void Finish(MemoEngine& e) {
  while (e.HighlightSlice(1'000'000)) {}
}

}  // namespace

TScanCheck::TScanCheck(const TSchemeTables& tables, std::uint64_t seed) : state_(seed * 0x9E3779B97F4A7C15ull + 1) {
  incremental_.SetTables(tables);
  reference_.SetTables(tables);
  UseHtmlScanners(incremental_);
  UseHtmlScanners(reference_);
}

std::uint64_t TScanCheck::Next() noexcept {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 7;
  state_ ^= state_ << 17;
  return state_;
}

void TScanCheck::Run(std::string_view text, int edits) {
  MemoEngine e;
  e.setVisibleExtent(40, 100);
  e.setText(text);
  const auto t0 = std::chrono::steady_clock::now();
  AttachHighlighter(e, incremental_);
  Finish(e);
  result_.fullSeconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  result_.bytes += e.length();

  for (int i = 0; i < edits; ++i) {
    const Pos len = e.length();
    // Edits cluster: most land near the last one, as typing does, some anywhere.
    Pos at = Pos(Next() % std::uint64_t(len + 1));
    if (i > 0 && Next() % 3 != 0) {
      const Pos near = e.selection().caret + Pos(Next() % 200) - 100;
      at = near < 0 ? 0 : (near > len ? len : near);
    }
    e.setSelection(at, at);
    const unsigned kind = unsigned(Next() % 10);
    std::string what;
    if (kind < 6) {
      const std::string_view piece = kPieces[Next() % std::size(kPieces)];
      e.typeText(piece);
      what = "typing \"" + std::string(piece) + "\"";
    } else if (kind < 8) {
      const Pos n = 1 + Pos(Next() % 8);
      e.setSelection(at, at + n);
      e.deleteSelection();
      what = "deleting " + std::to_string(n) + " bytes";
    } else if (kind < 9) {
      e.deleteChar(false);
      what = "Backspace";
    } else {
      e.undo();
      what = "undo";
    }
    Finish(e);
    ++result_.edits;
    const std::vector<std::uint8_t> fresh = ScanFromScratch(reference_, e.store());
    const std::vector<std::uint8_t> have = e.tokens(0, e.length());
    if (fresh != have) {
      if (++result_.mismatches == 1) {
        std::size_t k = 0;
        while (k < fresh.size() && k < have.size() && fresh[k] == have[k]) ++k;
        result_.firstMismatch = "after edit " + std::to_string(result_.edits) + " (" + what + " at " +
                                std::to_string(at) + "): position " + std::to_string(k) + " has value " +
                                (k < have.size() ? std::to_string(have[k]) : "-") + ", a full scan gives " +
                                (k < fresh.size() ? std::to_string(fresh[k]) : "-");
      }
      // Go on from values computed afresh, so that one fault is not counted at every edit.
      DetachHighlighter(e);
      AttachHighlighter(e, incremental_);
      Finish(e);
    }
  }
  DetachHighlighter(e);
}

}  // namespace vlr
