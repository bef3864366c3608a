// A scheme script that uses every section and entry form, for round trips and benchmarks.
#pragma once

inline constexpr const char* kRichScheme = R"(
%%language
name = 'Rich test language'
case = __insensitive
options = __DEFAULT_OPTIONS
exampletext = '<p class="x">Hello &amp; bye</p>\n<!-- note -->'
editablestyles = ('Text', 0), ('Tag', 1), ('Attribute', 2), ('Comment', 3), ('Entity', 4)
wordwrapcolumn = 90
gutter = 30
indentstep = 3
wrapoverride = ' ,'
rightmargin = 78
fontname = 'Courier New'
fontsize = 11
tabcolumns = '3 5 9 17'
tabdefault = 4
seltextcolor = [*] clWhite
seltextback = clNavy
guttercolor = clSilver
margincolor = clGray
marginwidth = 1
startstate = [0]
boundstates = [1, 2]
anchor = [1, 3]
contextstates = (1 3 [0]), (5 [2, 4])

%%words
'html' '[^a-z0-9]' 10 [1]
'body' '[^a-z0-9]' 10 [1]
'href' '=' 11 [1]
'&amp;' '' 12
'http://' '' 13 [0, 1]

%%tokens
1 '<' '[a-zA-Z]' ? '[\s>]' 0
3 '&' '[a-z]' ';' 1
4 __STD_NUMBER
5 '/' match ( 2 )
InState 1 (
  6 '"' 0 '"' 1
  7 '>' '>' '' 0
  8 __STD_IDENTIFIER [2]
)
InState 2 (
  9 '-' '-' '-->' 1
)

%%handlers
13 1 ? 2 0

%%map
1 1 3 4 6 2 9 3 10 1 11 2 13 5

%%effects
0 [] clBlack * clWhite *
1 [fsBold] clNavy clWhite *
2 [fsItalic] clMaroon clWhite *
3 [fsItalic, fsUnderline] clGreen clWhite *
5 [fsUnderline] clBlue clWhite * 'hotspot'

%%states
1 ( +1 -0 ) push
7 pop ( -1 +0 )
9 ( +2 )

%%containers
6 ( +3 )

%%kwTables
forstate [1] endswith '>' ( 20 is 'class', 'id' 21 is 'style' )

%%keys
caLEFT ( LEFT ) 'Left'
caUNDO ( [ctrl] 'Z' | [alt] BACKSPACE )
caBLOCKIND ( [ctrl] 'K', 'I' )

%%autoreplace
actionkeys = ';,:.=()[]\{Return}\{Tab}\{Space}'
'teh' = 'the'
'(c)' = '&copy;'

%%templates
hotkey = ( [ctrl] 'J' )
'tab' ( 'A table' ) = '<table>\n  <tr><td>|</td></tr>\n</table>'
)";
