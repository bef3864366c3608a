// The custom scanners (`match ( n )`) of the program's HTML scheme. Every parser that carries
// the HTML scheme installs them; without them a `match` fails and the tokens that use one are
// not recognised.
#pragma once

#include "memo/engine/TokenScanner.h"

namespace vlr {

class TSyntaxMemoParser;

// Custom scanner numbers used by VLR_HTML.txt.
inline constexpr int kHtmlVariableRest = 1;  // after "<%": "name%>" of a variable reference
inline constexpr int kHtmlRegexRest = 2;     // after a JavaScript "/": the rest of a regex literal
// The token value the scheme gives a whole variable reference "<%name%>".
inline constexpr int kHtmlVariableValue = 105;

// After "<%": when the stream holds a plain name (a letter or "_", then letters, digits, "_",
// "-" and ".") directly followed by "%>", takes both and makes the token a variable
// reference; otherwise takes nothing, so "<%" stays the start of a server block. It never
// looks past the line's end.
bool ScanVariableRest(velora::memo::EdStream& stream, int& kLength, int& kValue);

// After the opening "/" of a JavaScript regular-expression literal: the body up to and with the
// closing "/". A backslash takes the next character ("\/" does not close it) and a "/" inside a
// character class "[...]" does not close it either. Fails at the line's end and at "</" (the
// page's "</script" ends a script whatever the script holds).
bool ScanRegexRest(velora::memo::EdStream& stream, int& kLength);

// Installs the scheme's custom scanners as the parser's OnCustomParse.
void UseHtmlScanners(TSyntaxMemoParser& parser);

}  // namespace vlr
