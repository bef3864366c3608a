// Stored form of compiled scheme tables: what the parser keeps with its form and what the
// build writes for a scheme compiled ahead of time.
//
// Layout: a 16-bit format version (kStoredFormVersion, little-endian), the 32-bit length of
// the table data, then the table data compressed by TCompressor ("WRZL" tag, the length again,
// the blocks). The table data holds the settings block first, then the word table, then the
// other tables.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "memo/engine/scheme/SchemeTables.h"

namespace vlr {

inline constexpr std::uint16_t kStoredFormVersion = 49;

// The outcome of reading a stored form: tables on success; otherwise no tables and the text to
// show (the three-line version warning, or what is wrong with the data).
struct TStoredFormResult {
  std::optional<TSchemeTables> tables;
  std::string message;          // empty on success
  bool versionMismatch = false; // the message is the version warning
  [[nodiscard]] bool Ok() const noexcept { return tables.has_value(); }
};

[[nodiscard]] std::string WriteStoredForm(const TSchemeTables& tables);

// Reads `bytes`, which must hold exactly one stored form. `parserName` names the parser in the
// version warning. Never throws for bad data.
[[nodiscard]] TStoredFormResult ReadStoredForm(std::string_view bytes, std::string_view parserName);

}  // namespace vlr
