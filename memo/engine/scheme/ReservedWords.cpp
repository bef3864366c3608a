// Table of the scheme-script language's reserved words.
#include "memo/engine/scheme/ReservedWords.h"

#include <array>
#include <utility>

namespace vlr {

namespace {

using RW = TReservedWord;

constexpr std::pair<std::string_view, RW> kWords[] = {
    {"%%language", RW::SecLanguage}, {"%%words", RW::SecWords}, {"%%handler", RW::SecHandlers},
    {"%%handlers", RW::SecHandlers}, {"%%tokens", RW::SecTokens}, {"%%map", RW::SecMap},
    {"%%effects", RW::SecEffects}, {"%%states", RW::SecStates}, {"%%containers", RW::SecContainers},
    {"%%keys", RW::SecKeys}, {"%%autoreplace", RW::SecAutoReplace}, {"%%templates", RW::SecTemplates},
    {"%%kwTables", RW::SecKwTables}, {"%%darkeffects", RW::SecDarkEffects},
    {"name", RW::Name}, {"case", RW::Case}, {"options", RW::Options}, {"exampletext", RW::ExampleText},
    {"editablestyles", RW::EditableStyles}, {"wordwrapcolumn", RW::WordWrapColumn}, {"gutter", RW::Gutter},
    {"indentstep", RW::IndentStep}, {"wrapoverride", RW::WrapOverride}, {"rightmargin", RW::RightMargin},
    {"fontname", RW::FontName}, {"fontsize", RW::FontSize}, {"tabcolumns", RW::TabColumns},
    {"tabdefault", RW::TabDefault}, {"seltextcolor", RW::SelTextColor}, {"seltextback", RW::SelTextBack},
    {"guttercolor", RW::GutterColor}, {"margincolor", RW::MarginColor}, {"marginwidth", RW::MarginWidth},
    {"startstate", RW::StartState}, {"boundstates", RW::BoundStates}, {"anchor", RW::Anchor},
    {"contextstates", RW::ContextStates},
    {"InState", RW::InState}, {"shift", RW::Shift}, {"ctrl", RW::Ctrl}, {"alt", RW::Alt},
    {"match", RW::Match}, {"actionkeys", RW::ActionKeys}, {"hotkey", RW::HotKey},
    {"forstate", RW::ForState}, {"endswith", RW::EndsWith}, {"is", RW::Is}, {"push", RW::Push},
    {"pop", RW::Pop},
    {"=", RW::Equals}, {"(", RW::LParen}, {")", RW::RParen}, {"[", RW::LBracket}, {"]", RW::RBracket},
    {",", RW::Comma}, {"+", RW::Plus}, {"-", RW::Minus}, {"?", RW::Question}, {"|", RW::Bar},
    {"*", RW::Star},
};

bool EqualNoCase(std::string_view a, std::string_view b) noexcept {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x = static_cast<char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

std::optional<TReservedWord> FindReservedWord(std::string_view text) {
  for (const auto& [spelling, word] : kWords)
    if (EqualNoCase(spelling, text)) return word;
  return std::nullopt;
}

std::string_view ReservedWordText(TReservedWord word) noexcept {
  for (const auto& [spelling, w] : kWords)
    if (w == word) return spelling;
  return {};
}

}  // namespace vlr
