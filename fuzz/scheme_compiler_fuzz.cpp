// Fuzz target of the scheme compiler: any script text either compiles or raises ESchemeError,
// and tables that compile survive a stored-form round trip unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/StoredForm.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string text(reinterpret_cast<const char*>(data), size);
  try {
    // Includes are looked up in a folder that does not exist, so only absolute names open.
    const vlr::TSchemeTables t = vlr::CompileSchemeText(std::move(text), "/nonexistent-scheme-includes");
    const vlr::TStoredFormResult r = vlr::ReadStoredForm(vlr::WriteStoredForm(t), "fuzz");
    if (!r.Ok() || !(*r.tables == t)) std::abort();
  } catch (const vlr::ESchemeError&) {
    // A clear compile error is the expected outcome for most inputs.
  }
  return 0;
}
