#include "HtmlLikeTables.h"

#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/StoredForm.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <utility>
#include <sstream>
#include <string>
#include <string_view>

namespace hlbench {

namespace {

using vlr::TBodySpec;
using vlr::TSchemeTables;
using vlr::TScanPart;
using vlr::TSM_CharGroup;
using vlr::TStateSet;

// States.
constexpr int kText = 0, kTag = 1, kComment = 2, kScript = 3, kStyle = 4, kScriptTag = 5,
              kValue = 6, kStyleTag = 7;

// Token values (the map sends them to the HTML scheme's style numbers).
enum : std::uint8_t {
  vText = 0, vString = 2, vFieldName = 5, vTagOpen = 8, vScriptOpen = 9, vTagClose = 10,
  vComment = 11, vEquals = 12, vScriptGt = 14, vStyleGt = 15, vEntity = 16, vGt = 17, vUrl = 18,
  vMail = 19, vTagOther = 20, vTagName = 21, vQuoteClose = 22, vTagSpace = 23, vValueText = 24,
  vJsKeyword = 30, vJsComment = 31, vJsString = 34, vJsNumber = 37, vJsSymbol = 38,
  vJsMethod = 39, vJsIdent = 41, vJsSpace = 42, vCss = 80, vCssSymbol = 84, vStyleOpen = 85,
};

TStateSet S(std::initializer_list<int> l) {
  TStateSet s;
  for (int i : l) s.set(std::size_t(i));
  return s;
}

TSM_CharGroup Chars(std::string_view chars) {
  TSM_CharGroup g;
  for (char c : chars) g.Add(static_cast<std::uint8_t>(c));
  return g;
}

TSM_CharGroup Letters() {
  TSM_CharGroup g;
  g.AddRange('a', 'z');
  g.AddRange('A', 'Z');
  return g;
}

TSM_CharGroup NotIn(const TSM_CharGroup& g) {
  TSM_CharGroup r = g;
  r.Complement();
  return r;
}

class Builder {
 public:
  TSchemeTables t;

  std::uint16_t Group(const TSM_CharGroup& g) {
    for (std::size_t i = 0; i < t.groups.size(); ++i)
      if (t.groups[i] == g) return std::uint16_t(i);
    t.groups.push_back(g);
    return std::uint16_t(t.groups.size() - 1);
  }
  TScanPart G(const TSM_CharGroup& g) {
    TScanPart p;
    p.kind = TScanPart::Kind::Group;
    p.group = Group(g);
    return p;
  }
  static TScanPart Scanner(int n) {
    TScanPart p;
    p.kind = TScanPart::Kind::Scanner;
    p.scanner = std::uint8_t(n);
    return p;
  }
  TBodySpec Spec(TScanPart body, bool optional, std::initializer_list<TSM_CharGroup> term, bool flag) {
    TBodySpec s;
    s.body = body;
    s.optionalBody = optional;
    for (const TSM_CharGroup& g : term) s.term[s.termCount++] = G(g);
    s.flag = flag;
    return s;
  }
  void Word(const std::string& text, int value, TStateSet valid, int follow = -1) {
    vlr::TWordEntry w;
    w.text = text;
    w.value = std::uint8_t(value);
    w.valid = valid;
    w.follow = follow;
    t.words.push_back(w);
  }
  void Words(std::string_view list, int value, TStateSet valid, int follow = -1) {
    std::istringstream in{std::string(list)};
    std::string w;
    while (in >> w) Word(w, value, valid, follow);
  }
  vlr::TTokenTable& Table(int state) {
    if (state < 0) return t.defaultTable;
    if (t.stateTableOf[std::size_t(state)] < 0) {
      t.stateTableOf[std::size_t(state)] = std::int16_t(t.stateTables.size());
      t.stateTables.emplace_back();
    }
    return t.stateTables[std::size_t(t.stateTableOf[std::size_t(state)])];
  }
  // An entry for the characters of `start` that are still free in the table.
  void Token(int state, const TSM_CharGroup& start, const TBodySpec& spec, int value) {
    vlr::TTokenEntry e;
    e.startGroup = Group(start);
    e.spec = spec;
    e.valid = S({0});
    if (state >= 0) e.valid.set(std::size_t(state));
    e.value = std::uint8_t(value);
    Place(state, start, e);
  }
  void ScannerToken(int state, int scanner, int value) {
    vlr::TTokenEntry e;
    e.startIsScanner = true;
    e.startScanner = std::uint8_t(scanner);
    e.valid = S({0});
    if (state >= 0) e.valid.set(std::size_t(state));
    e.value = std::uint8_t(value);
    Place(state, vlr::StartSetOf(std::uint8_t(scanner)), e);
  }
  // Every character still free in the table's first index becomes a one-character token.
  void CatchAll(int state, int value) {
    TSM_CharGroup free;
    vlr::TTokenTable& tab = Table(state);
    for (int c = 0; c < 256; ++c)
      if (tab.first[std::size_t(c)] < 0) free.Add(std::uint8_t(c));
    Token(state, free, TBodySpec{}, value);
  }
  void States(int value, TStateSet set, TStateSet clear) {
    vlr::TTokenRecord& r = t.records[value];
    r.present = true;
    r.toSet = set;
    r.toClear = clear;
    r.noStateChange = set.none() && clear.none();
  }
  void Handler(int value, const TBodySpec& spec) {
    t.handlers[std::size_t(value)] = spec;
    t.hasHandler.set(std::size_t(value));
  }
  void Context(std::initializer_list<int> values, TStateSet states) {
    for (int v : values) {
      t.contextStates[std::size_t(v)] = states;
      t.anchors.set(std::size_t(v));
    }
  }
  void Style(int style, std::uint32_t fg, int fontStyle = 0, bool hotspot = false) {
    vlr::TSchemeEffect& e = t.effects[std::size_t(style)];
    e.present = true;
    e.foreground = fg;
    e.defaultForeground = false;
    e.fontStyle = std::uint8_t(fontStyle);
    e.hotspot = hotspot;
  }

 private:
  void Place(int state, const TSM_CharGroup& start, const vlr::TTokenEntry& e) {
    vlr::TTokenTable& tab = Table(state);
    const auto index = std::int16_t(tab.entries.size());
    bool any = false;
    for (int c = 0; c < 256; ++c) {
      if (start.Contains(std::uint8_t(c)) && tab.first[std::size_t(c)] < 0) {
        tab.first[std::size_t(c)] = index;
        any = true;
      }
    }
    if (any) tab.entries.push_back(e);
  }
};

constexpr std::string_view kElements =
    "a abbr address area article aside audio b base bdi bdo blockquote body br button canvas "
    "caption cite code col colgroup data datalist dd del details dfn dialog div dl dt em embed "
    "fieldset figcaption figure footer form h1 h2 h3 h4 h5 h6 head header hgroup hr html i iframe "
    "img input ins kbd label legend li link main map mark menu meta meter nav noscript object ol "
    "optgroup option output p picture pre progress q rp rt ruby s samp search section select slot "
    "small source span strong sub summary sup table tbody td template textarea tfoot th thead time "
    "title tr track u ul var video wbr center font frame frameset marquee";
constexpr std::string_view kAttributes =
    "accept accesskey action align alt async autocomplete autofocus bgcolor border charset checked "
    "cite class cols colspan content contenteditable controls coords data datetime defer dir "
    "disabled download draggable enctype for form headers height hidden high href hreflang "
    "http-equiv id integrity lang list loop low max maxlength media method min multiple muted name "
    "novalidate onblur onchange onclick onerror onfocus oninput onkeydown onkeyup onload "
    "onmouseover onmouseout onsubmit open optimum pattern placeholder poster preload readonly rel "
    "required reversed role rows rowspan sandbox scope selected shape size sizes span spellcheck "
    "src srcdoc srclang srcset start step style tabindex target title translate type usemap value "
    "width wrap";
constexpr std::string_view kJsKeywords =
    "abstract async await boolean break byte case catch char class const continue debugger default "
    "delete do double else enum export extends false final finally float for function goto if "
    "implements import in instanceof int interface let long native new null of package private "
    "protected public return short static super switch synchronized this throw throws transient "
    "true try typeof undefined var void volatile while with yield";
constexpr std::string_view kJsMethods =
    "alert addEventListener appendChild charAt charCodeAt concat confirm createElement "
    "decodeURIComponent encodeURIComponent escape eval filter forEach getAttribute getElementById "
    "getElementsByTagName indexOf isNaN join keys lastIndexOf log map parseFloat parseInt pop "
    "prompt push querySelector querySelectorAll reduce removeChild replace setAttribute setInterval "
    "setTimeout shift slice sort splice split substr substring toFixed toLowerCase toString "
    "toUpperCase unescape write writeln document window console Math JSON Object Array String";
constexpr std::string_view kJsOperators =
    "+ - * / % = == === != !== < > <= >= && || ! ? : ++ -- += -= *= /= %= &= |= ^= <<= >>= >>>= "
    "<< >> >>> & | ^ ~ ( ) [ ] { } ; , . =>";
constexpr std::string_view kEntities =
    "&amp; &lt; &gt; &quot; &nbsp; &copy; &reg; &trade; &mdash; &ndash; &hellip; &eacute; &szlig;";

}  // namespace

TSchemeTables HtmlLikeTables() {
  Builder b;
  b.t.settings.name = "HTML";
  const TSM_CharGroup nameChars = [] {
    TSM_CharGroup g = Letters();
    g.AddRange('0', '9');
    g.Add(std::uint8_t('-'));
    g.Add(std::uint8_t('_'));
    return g;
  }();
  const int endOfName = b.Group(NotIn(nameChars));
  const int endOfIdent = b.Group(NotIn([] {
    TSM_CharGroup g = Letters();
    g.AddRange('0', '9');
    g.Add(std::uint8_t('_'));
    g.Add(std::uint8_t('$'));
    return g;
  }()));

  // Text: runs up to "<", "&" or a line end; entities; tags open with "<" or "</".
  b.Token(-1, NotIn(Chars("<&\r")), b.Spec(b.G(NotIn(Chars("<&\r"))), true, {Chars("<&\r")}, false), vText);
  b.Word("<", vTagOpen, S({kText}));
  b.Word("</", vTagOpen, S({kText}));
  b.States(vTagOpen, S({kTag}), S({kText}));
  b.Word("<script", vScriptOpen, S({kText}), endOfName);
  b.States(vScriptOpen, S({kTag, kScriptTag}), S({kText}));
  b.Word("<style", vStyleOpen, S({kText}), endOfName);
  b.States(vStyleOpen, S({kTag, kStyleTag}), S({kText}));
  b.Word("&", vEntity, S({kText}));
  b.Words(kEntities, vEntity, S({kText}));
  b.Handler(vEntity, b.Spec(b.G([] {
    TSM_CharGroup g = Letters();
    g.AddRange('0', '9');
    g.Add(std::uint8_t('#'));
    return g;
  }()), false, {Chars(";")}, true));

  // Comments.
  b.Word("<!--", vComment, S({kText}));
  b.States(vComment, S({kComment}), S({kText}));
  b.Word("-->", vGt, S({kComment}));
  b.Token(kComment, NotIn(Chars("-\r")), b.Spec(b.G(NotIn(Chars("-\r"))), true, {Chars("-\r")}, false), vComment);
  b.CatchAll(kComment, vComment);

  // Inside a tag: names, attributes, "=", quoted values, the closing ">".
  b.Words(kElements, vTagName, S({kTag}), endOfName);
  b.Words(kAttributes, vFieldName, S({kTag}), endOfName);
  b.Word("=", vEquals, S({kTag}));
  b.Word(">", vScriptGt, S({kScriptTag}));  // the end of "<script ...>": script follows
  b.States(vScriptGt, S({kScript}), S({kTag, kScriptTag}));
  b.Word(">", vStyleGt, S({kStyleTag}));
  b.States(vStyleGt, S({kStyle}), S({kTag, kStyleTag}));
  b.Word(">", vGt, S({kTag, kComment}));
  b.Word("/>", vGt, S({kTag}));
  b.States(vGt, S({kText}), S({kTag, kComment}));
  b.Word("\"", vString, S({kTag}));
  b.States(vString, S({kValue}), S({kTag}));
  b.ScannerToken(kTag, vlr::kScanIdentifier, vTagOther);
  b.Token(kTag, Chars(" \t\r"), TBodySpec{}, vTagSpace);
  b.Token(kTag, Chars("'"), b.Spec(b.G(NotIn(Chars("'\r"))), true, {Chars("'")}, true), vString);
  b.CatchAll(kTag, vTagOther);

  // A double-quoted value: text, URLs as hot spots, the closing quote.
  b.Word("\"", vQuoteClose, S({kValue}));
  b.States(vQuoteClose, S({kTag}), S({kValue}));
  b.Words("http:// https:// ftp:// news: telnet:// gopher:// nntp:// wais:// file://", vUrl, S({kValue}));
  b.Word("mailto:", vMail, S({kValue}));
  b.Handler(vUrl, b.Spec(Builder::Scanner(vlr::kScanUrlRun), false, {}, false));
  b.Handler(vMail, b.Spec(Builder::Scanner(vlr::kScanMailUrl), false, {}, false));
  b.Token(kValue, NotIn(Chars("\"\r")), b.Spec(b.G(NotIn(Chars("\"\r"))), true, {Chars("\"\r")}, false), vValueText);
  b.CatchAll(kValue, vValueText);

  // Script.
  b.Word("</script", vTagClose, S({kScript}), endOfName);
  b.States(vTagClose, S({kTag}), S({kScript, kStyle}));
  b.Words(kJsKeywords, vJsKeyword, S({kScript}), endOfIdent);
  b.Words(kJsMethods, vJsMethod, S({kScript}), endOfIdent);
  b.Words(kJsOperators, vJsSymbol, S({kScript}));
  b.Word("//", vJsComment, S({kScript}));
  b.Handler(vJsComment, b.Spec(Builder::Scanner(vlr::kScanJsLineComment), false, {}, false));
  b.ScannerToken(kScript, vlr::kScanIdentifier, vJsIdent);
  b.ScannerToken(kScript, vlr::kScanNumberOrFp, vJsNumber);
  b.ScannerToken(kScript, vlr::kScanCString, vJsString);
  b.ScannerToken(kScript, vlr::kScanCStringSq, vJsString);
  b.Token(kScript, Chars(" \t\r"), b.Spec(b.G(Chars(" \t")), true, {NotIn(Chars(" \t"))}, false), vJsSpace);
  b.CatchAll(kScript, vJsSymbol);

  // Style.
  b.Word("</style", vTagClose, S({kStyle}), endOfName);
  b.Words("{ } : ; , ( )", vCssSymbol, S({kStyle}));
  b.Token(kStyle, NotIn(Chars("{}:;,()<\r")), b.Spec(b.G(NotIn(Chars("{}:;,()<\r"))), true, {Chars("{}:;,()<\r")}, false), vCss);
  b.CatchAll(kStyle, vCss);

  // Where a re-scan may restart, and with which states.
  b.t.anchors.reset();
  b.Context({vText, vTagOpen, vScriptOpen, vStyleOpen, vEntity}, S({kText}));
  b.Context({vComment}, S({kComment}));
  b.Context({vTagName, vFieldName, vEquals, vTagOther, vTagSpace, vString}, S({kTag}));
  b.Context({vQuoteClose, vUrl, vMail, vValueText}, S({kValue}));
  b.Context({vJsKeyword, vJsString, vJsNumber, vJsSymbol, vJsMethod, vJsIdent, vJsSpace, vTagClose}, S({kScript}));
  b.Context({vCss, vCssSymbol}, S({kStyle}));

  // Styles, as the HTML scheme's map and effects.
  const std::pair<int, int> map[] = {
      {vString, 2}, {vQuoteClose, 2}, {vValueText, 2}, {vFieldName, 5}, {vComment, 11},
      {vEntity, 16}, {vUrl, 18}, {vMail, 18}, {vTagOpen, 21}, {vTagName, 21}, {vGt, 21},
      {vScriptOpen, 21}, {vStyleOpen, 21}, {vScriptGt, 21}, {vStyleGt, 21}, {vTagClose, 21},
      {vTagOther, 3}, {vEquals, 3}, {vJsKeyword, 30}, {vJsComment, 31}, {vJsString, 34},
      {vJsNumber, 37}, {vJsSymbol, 38}, {vJsMethod, 39}, {vJsIdent, 41}, {vCss, 90}, {vCssSymbol, 84}};
  for (const auto& [value, style] : map) b.t.map[std::size_t(value)] = std::uint8_t(style);
  b.Style(1, 0x008000);
  b.Style(2, 0x808080);
  b.Style(3, 0x000080);
  b.Style(5, 0x000080);
  b.Style(11, 0x800080);
  b.Style(16, 0x008000);
  b.Style(18, 0x800000, 4, true);
  b.Style(21, 0x000080);
  b.Style(30, 0x008000, 1);
  b.Style(31, 0x800000, 2);
  b.Style(34, 0x000000);
  b.Style(37, 0xFF00FF);
  b.Style(38, 0x008000);
  b.Style(39, 0x000000, 1);
  b.Style(41, 0x000000);
  b.Style(84, 0x008000);
  b.Style(90, 0x000080);
  return b.t;
}

namespace {
// The scheme the benchmarks use, chosen once: a script named by VELORA_HTML_SCHEME_SCRIPT
// (compiled here), else the stored form the build wrote (VELORA_HTML_SCHEME_PATH), else the
// HTML-like tables above. A script or stored form that fails to load is reported and the
// benchmarks stop, so that figures never silently come from another scheme.
struct Chosen {
  TSchemeTables tables;
  std::string name;
};

const Chosen& Choose() {
  static const Chosen chosen = [] {
    Chosen c;
    if (const char* script = std::getenv("VELORA_HTML_SCHEME_SCRIPT")) {
      try {
        c.tables = vlr::CompileSchemeFile(script);
      } catch (const std::exception& e) {
        std::fprintf(stderr, "highlight_bench: %s: %s\n", script, e.what());
        std::exit(2);
      }
      c.name = std::string("compiled script ") + script;
      return c;
    }
#ifdef VELORA_HTML_SCHEME_PATH
    if (std::ifstream in{VELORA_HTML_SCHEME_PATH, std::ios::binary}) {
      const std::string bytes((std::istreambuf_iterator<char>(in)), {});
      vlr::TStoredFormResult r = vlr::ReadStoredForm(bytes, "SyntaxMemoParser1");
      if (!r.Ok()) {
        std::fprintf(stderr, "highlight_bench: %s: %s\n", VELORA_HTML_SCHEME_PATH, r.message.c_str());
        std::exit(2);
      }
      c.tables = std::move(*r.tables);
      c.name = std::string("stored form ") + VELORA_HTML_SCHEME_PATH;
      return c;
    }
#endif
    c.tables = HtmlLikeTables();
    c.name = "html-like (built in code)";
    return c;
  }();
  return chosen;
}
}  // namespace

const TSchemeTables& BenchTables() { return Choose().tables; }

const char* BenchSchemeName() { return Choose().name.c_str(); }

}  // namespace hlbench
