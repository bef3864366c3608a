// Texts and formatting of the scheme-script compiler's errors.
#include "memo/engine/scheme/SchemeError.h"

#include <array>
#include <cstdio>
#include <utility>

namespace vlr {

namespace {

constexpr int kFirstId = 4096;

// Indexed by id - kFirstId. 4129 is the version warning, kept here in its one-line form.
constexpr std::array<std::string_view, 41> kTexts = {
    "'=' expected",
    "'(' expected",
    "')' expected",
    "',' expected",
    "'[' expected",
    "']' expected",
    "String value expected",
    "Script syntax error",
    "Expression expected",
    "Too many editable styles",
    "Value must be 0..255",
    "Character range error",
    "Duplicate entry in %%word table",
    "Single character specifier expected",
    "Maximum of 4 character specifier allowed",
    "Numeric value out of range",
    "Duplicate entry in %%handler table",
    "Ambigious start set in %%token table",
    "Duplicate %%effect entry",
    "Bad font style specifier",
    "Unexpected EOF",
    "Unknown script identifier",
    "Key function name cannot be blank",
    "Key specification required",
    "Not implemented yet",
    "Recursive expansion of macro '%s'",
    "** ERROR near line %d, Column %d: %s",
    "#include filename missing terminating %s",
    "Unable to open #include file %s%s%s",
    "Identifier",
    "Unknown",
    "Unknown character in input stream: #$%.2x",
    "<Custom language>",
    "%s: DFM file saved by different version of TSyntaxMemoParser.\n\r"
    "Recompile script to update DFM file.\n\r"
    "Expected version was %d read version was %d",
    "Range error, value outwith %d .. %d",
    "Token value %d re-specified in ContextState",
    "Invalid data in registry entry",
    "Invalid data in style string",
    "Macro name expected after #ifdef",
    "#include filename not enclosed in \"...\" or <...>",
    "Macro name expected",
};

std::string ArgText(const TSchemeFormatArg& arg, bool hex) {
  if (const auto* s = std::get_if<std::string>(&arg)) return *s;
  const long long v = std::get<long long>(arg);
  char buf[32];
  if (hex)
    std::snprintf(buf, sizeof buf, "%.2llx", static_cast<unsigned long long>(v));
  else
    std::snprintf(buf, sizeof buf, "%lld", v);
  return buf;
}

}  // namespace

std::string_view SchemeErrorText(TSchemeErrorId id) noexcept {
  const int i = static_cast<int>(id) - kFirstId;
  if (i < 0 || i >= static_cast<int>(kTexts.size())) return {};
  return kTexts[static_cast<std::size_t>(i)];
}

std::string SchemeFormat(std::string_view format, std::initializer_list<TSchemeFormatArg> args) {
  std::string out;
  auto next = args.begin();
  std::size_t i = 0;
  while (i < format.size()) {
    const std::string_view rest = format.substr(i);
    const bool haveArg = next != args.end();
    if (haveArg && (rest.starts_with("%s") || rest.starts_with("%d"))) {
      out += ArgText(*next++, false);
      i += 2;
    } else if (haveArg && rest.starts_with("%.2x")) {
      out += ArgText(*next++, true);
      i += 4;
    } else {
      out += format[i++];
    }
  }
  return out;
}

std::string SchemeMessage(TSchemeErrorId id, std::initializer_list<TSchemeFormatArg> args) {
  return SchemeFormat(SchemeErrorText(id), args);
}

std::string UnknownIdentifierText(std::string_view name) {
  return std::string(SchemeErrorText(TSchemeErrorId::UnknownWord)) + " " +
         std::string(SchemeErrorText(TSchemeErrorId::IdentifierWord)) + " '" + std::string(name) + "'";
}

std::string FormatSchemeError(int line, int column, std::string_view text) {
  return SchemeMessage(TSchemeErrorId::ErrorNearLine,
                       {static_cast<long long>(line), static_cast<long long>(column), std::string(text)});
}

ESchemeError::ESchemeError(TSchemeErrorId id, std::string text, int line, int column)
    : std::runtime_error(text), id_(id), text_(std::move(text)), line_(line), column_(column) {}

}  // namespace vlr
