// An HTML-like scheme built in code, for the highlighter benchmarks until the compiled HTML
// scheme is available: tags, attributes, quoted values with URL hot spots, entities, comments,
// inline script (keywords, methods, operators, strings, numbers, comments) and inline style.
#pragma once

#include "memo/engine/scheme/SchemeTables.h"

namespace hlbench {

[[nodiscard]] vlr::TSchemeTables HtmlLikeTables();

// The tables the benchmarks run with: the script named by VELORA_HTML_SCHEME_SCRIPT, else the
// stored form the build wrote at VELORA_HTML_SCHEME_PATH, else the HTML-like set above.
[[nodiscard]] const vlr::TSchemeTables& BenchTables();
[[nodiscard]] const char* BenchSchemeName();

}  // namespace hlbench
