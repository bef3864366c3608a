// An HTML-like scheme built in code, for the highlighter benchmarks until the compiled HTML
// scheme is available: tags, attributes, quoted values with URL hot spots, entities, comments,
// inline script (keywords, methods, operators, strings, numbers, comments) and inline style.
#pragma once

#include "memo/engine/scheme/SchemeTables.h"

namespace hlbench {

[[nodiscard]] vlr::TSchemeTables HtmlLikeTables();

// The tables the benchmarks run with: the HTML-like set above. This is the one place where the
// compiled stored form (VELORA_HTML_SCHEME_PATH) is to be loaded instead once it is built.
[[nodiscard]] const vlr::TSchemeTables& BenchTables();
[[nodiscard]] const char* BenchSchemeName();

}  // namespace hlbench
