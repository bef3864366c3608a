// Scheme compiler: turns a scheme script into the compiled tables the highlighter scans with.
//
// Compilation reads the script section by section in script order and stops at the first
// error, which is thrown as ESchemeCompileError (an ESchemeError) with the line and column of
// the offending token. The tables are built apart from anything the caller holds and returned
// only on success, so a failed compile never touches tables already in use.
#pragma once

#include <filesystem>
#include <string>

#include "memo/engine/keys/KeyTable.h"
#include "memo/engine/scheme/Reader.h"
#include "memo/engine/scheme/SchemeError.h"
#include "memo/engine/scheme/SchemeTables.h"

namespace vlr {

// A compile error together with the context text of the section or entry being read when it
// was found ("%%Words - begin", "%%Tokens - 12", "%%Language - Name", ...).
class ESchemeCompileError : public ESchemeError {
 public:
  ESchemeCompileError(const ESchemeError& error, std::string context)
      : ESchemeError(error), context_(std::move(context)) {}
  [[nodiscard]] const std::string& Context() const noexcept { return context_; }
  // The positioned text followed by the context: "... Unknown Identifier 'x' (in %%Map - 1)".
  [[nodiscard]] std::string Message() const override {
    return FormatSchemeError(Line(), Column(), context_.empty() ? Text() : Text() + " (in " + context_ + ")");
  }

 private:
  std::string context_;
};

// The key table every set of tables starts with (DefaultKeyTable, memo/engine/keys/KeyTable.h):
// the 45 command descriptions and the default key sequences. A script's "%%keys" section
// replaces the sequences.

// Compiles the script `reader` has been opened on. The reader's macro store is reset to the
// predefined macros first.
[[nodiscard]] TSchemeTables CompileScheme(TSYM_Compiler& reader);

// Compiles script text whose #include files are found relative to `folder`.
[[nodiscard]] TSchemeTables CompileSchemeText(std::string text, std::filesystem::path folder = {});

// Compiles a script file; a file that cannot be read is an ESchemeError.
[[nodiscard]] TSchemeTables CompileSchemeFile(const std::filesystem::path& file);

}  // namespace vlr
