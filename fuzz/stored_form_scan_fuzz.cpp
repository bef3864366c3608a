// Fuzz target of the highlighter on loaded tables: a stored form that loads is installed in a
// parser, which then highlights a text and re-scans it after edits. Tables that pass the reader
// must be safe to scan with, whatever they hold.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "memo/engine/MemoEngine.h"
#include "memo/engine/scheme/Compressor.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/StoredForm.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/engine/scheme/HtmlScanners.h"

namespace {

void ScanWith(std::string_view form, std::string_view text) {
  vlr::TSyntaxMemoParser parser;
  vlr::UseHtmlScanners(parser);
  if (!parser.LoadParserData(form, "fuzz").Ok()) return;
  velora::memo::MemoEngine engine;
  vlr::AttachHighlighter(engine, parser);
  engine.setText(text);
  while (engine.HighlightSlice(1000000)) {}
  // A few edits at places taken from the text, each followed by the incremental re-scan.
  const velora::memo::Pos len = engine.length();
  for (std::size_t i = 0; i < 4 && i < text.size(); ++i) {
    const velora::memo::Pos at = len ? velora::memo::Pos(static_cast<unsigned char>(text[i])) % (len + 1) : 0;
    engine.setSelection(at, at);
    engine.typeText(i % 2 ? "\r<!--" : "\"-->");
  }
  engine.undo();
  while (engine.HighlightSlice(1000000)) {}
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  // The first byte splits the input: the stored form first, the text to scan after it.
  const std::size_t split = size ? std::size_t(data[0]) * size / 256 : 0;
  const std::string_view form = input.substr(size ? 1 : 0, split > 0 ? split - 1 : 0);
  const std::string_view text = input.substr(split);
  ScanWith(form, text);
  // The form part as the table data of a well-formed envelope, so that the fuzzer reaches the
  // scanner without having to produce valid compressed blocks.
  std::string framed("\x31\x00", 2);
  const auto n = static_cast<std::uint32_t>(form.size());
  for (int i = 0; i < 4; ++i) framed += static_cast<char>((n >> (8 * i)) & 0xFF);
  framed += vlr::TCompressor::encode(form);
  ScanWith(framed, text);
  return 0;
}
