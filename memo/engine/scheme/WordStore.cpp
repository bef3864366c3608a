// Macro store of the scheme-script compiler.
#include "memo/engine/scheme/WordStore.h"

namespace vlr {

std::string TWordStore::Key(std::string_view name) {
  std::string key(name);
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return key;
}

bool TWordStore::Define(std::string_view name, std::string_view text) {
  std::string key = Key(name);
  if (key == Key(text)) return false;
  macros_[std::move(key)] = std::string(text);
  return true;
}

void TWordStore::Set(std::string_view name, std::string_view text) { macros_[Key(name)] = std::string(text); }

const std::string* TWordStore::Find(std::string_view name) const {
  const auto it = macros_.find(Key(name));
  return it == macros_.end() ? nullptr : &it->second;
}

}  // namespace vlr
