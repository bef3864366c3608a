// Fuzz target of the stored-form reader: arbitrary bytes give tables or a message, never a
// crash, and tables that load write back to a form that loads to the same tables.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "memo/engine/scheme/Compressor.h"
#include "memo/engine/scheme/StoredForm.h"

namespace {

void Check(std::string_view bytes) {
  const vlr::TStoredFormResult r = vlr::ReadStoredForm(bytes, "fuzz");
  if (r.Ok() != r.message.empty()) std::abort();
  if (!r.Ok()) return;
  const vlr::TStoredFormResult again = vlr::ReadStoredForm(vlr::WriteStoredForm(*r.tables), "fuzz");
  if (!again.Ok() || !(*again.tables == *r.tables)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view input(reinterpret_cast<const char*>(data), size);
  Check(input);
  // The raw bytes as the table data of a well-formed envelope, so that the fuzzer reaches the
  // table reader without having to produce valid compressed blocks.
  std::string framed("\x31\x00", 2);
  const auto n = static_cast<std::uint32_t>(size);
  for (int i = 0; i < 4; ++i) framed += static_cast<char>((n >> (8 * i)) & 0xFF);
  framed += vlr::TCompressor::encode(input);
  Check(framed);
  return 0;
}
