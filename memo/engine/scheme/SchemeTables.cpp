#include "memo/engine/scheme/SchemeTables.h"

namespace vlr {

bool IsBodyScanner(long long n) noexcept { return (n >= 0 && n <= 2) || IsStartScanner(n); }

bool IsStartScanner(long long n) noexcept { return n >= kScanIdentifier && n <= kScanCStringSq; }

TSM_CharGroup StartSetOf(std::uint8_t scanner) noexcept {
  TSM_CharGroup g;
  const auto letters = [&g] {
    g.AddRange('A', 'Z');
    g.AddRange('a', 'z');
  };
  switch (scanner) {
    case kScanIdentifier:
      letters();
      g.Add(std::uint8_t('_'));
      break;
    case kScanNumberOrFp:
    case kScanNumber:
      g.AddRange('0', '9');
      break;
    case kScanCNumberSigned:
      g.AddRange('0', '9');
      g.Add(std::uint8_t('+'));
      g.Add(std::uint8_t('-'));
      break;
    case kScanPascalString:
    case kScanCChar:
    case kScanCStringSq:
      g.Add(std::uint8_t('\''));
      break;
    case kScanCString:
    case kScanHtmlString:
      g.Add(std::uint8_t('"'));
      break;
    case kScanMailUrl:
      letters();
      g.AddRange('0', '9');
      for (char c : std::string_view("._-%+")) g.Add(std::uint8_t(c));
      break;
    case kScanJsLineComment:
      g.Add(std::uint8_t('/'));
      break;
    default:
      break;
  }
  return g;
}

const TTokenTable& TSchemeTables::TableFor(const TStateSet& s) const noexcept {
  if (!stateTables.empty() && s.any()) {
    for (std::size_t st = 0; st < 256; ++st) {
      if (s.test(st) && stateTableOf[st] >= 0) return stateTables[std::size_t(stateTableOf[st])];
    }
  }
  return defaultTable;
}

}  // namespace vlr
