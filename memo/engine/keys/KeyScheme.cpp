// The Classic and Desktop key schemes.
#include "memo/engine/keys/KeyScheme.h"

#include <algorithm>
#include <cctype>

#include "memo/engine/keys/KeyTable.h"

namespace vlr {

namespace {

// Command codes of the table (the control's caDELETELINE, caREDO, caGOTOBOOKMARK0).
constexpr int kGotoBookmark0 = 30, kDeleteLine = 40, kRedo = 42;

bool Decided(int command) noexcept {
  return command == kDeleteLine || command == kRedo || (command >= kGotoBookmark0 && command < kGotoBookmark0 + 10);
}

}  // namespace

const char* KeySchemeName(TKeyScheme scheme) noexcept {
  return scheme == TKeyScheme::Desktop ? "Desktop" : "Classic";
}

TKeyScheme KeySchemeNamed(std::string_view name) noexcept {
  constexpr std::string_view desktop = "desktop";
  const bool isDesktop = name.size() == desktop.size() &&
                         std::equal(name.begin(), name.end(), desktop.begin(), [](char a, char b) {
                           return std::tolower(static_cast<unsigned char>(a)) == b;
                         });
  return isDesktop ? TKeyScheme::Desktop : TKeyScheme::Classic;
}

std::vector<TKeyBinding> SchemeSequences(TKeyScheme scheme, int command) {
  const auto cmd = static_cast<std::uint8_t>(command);
  const bool desktop = scheme == TKeyScheme::Desktop;
  if (command == kDeleteLine)
    return {desktop ? TKeyBinding{std::uint16_t(kKeyCtrl | kKeyShift | 'K'), 0, cmd}
                    : TKeyBinding{std::uint16_t(kKeyCtrl | 'Y'), 0, cmd}};
  if (command == kRedo) {
    std::vector<TKeyBinding> out{{std::uint16_t(kKeyCtrl | kKeyShift | 'Z'), 0, cmd}};
    if (desktop) out.push_back({std::uint16_t(kKeyCtrl | 'Y'), 0, cmd});
    return out;
  }
  if (command >= kGotoBookmark0 && command < kGotoBookmark0 + 10) {
    const auto digit = static_cast<std::uint16_t>('0' + (command - kGotoBookmark0));
    // Ctrl+Q quits on the desktop: the bookmarks are reached with Ctrl and the digit alone.
    return {desktop ? TKeyBinding{std::uint16_t(kKeyCtrl | digit), 0, cmd}
                    : TKeyBinding{std::uint16_t(kKeyCtrl | 'Q'), digit, cmd}};
  }
  return {};
}

void ApplyKeyScheme(TKeyTable& keys, TKeyScheme scheme) {
  std::vector<TKeyBinding> wanted;
  for (int c = 0; c < kEditorCommandCount; ++c)
    for (const TKeyBinding& b : SchemeSequences(scheme, c)) wanted.push_back(b);
  std::erase_if(keys.bindings, [&](const TKeyBinding& b) {
    if (Decided(b.command)) return true;
    return std::any_of(wanted.begin(), wanted.end(), [&](const TKeyBinding& w) { return KeySequencesCollide(b, w); });
  });
  keys.bindings.insert(keys.bindings.end(), wanted.begin(), wanted.end());
}

TKeyScheme KeySchemeOf(const TKeyTable& keys) noexcept {
  const bool ctrlYRedoes = std::any_of(keys.bindings.begin(), keys.bindings.end(), [](const TKeyBinding& b) {
    return b.key1 == (kKeyCtrl | 'Y') && b.key2 == 0 && b.command == kRedo;
  });
  return ctrlYRedoes ? TKeyScheme::Desktop : TKeyScheme::Classic;
}

}  // namespace vlr
