// Macro store of the scheme-script compiler: names compared without regard to letter case.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

namespace vlr {

class TWordStore {
 public:
  // Defines `name` as `text` the way "#define" does: a text equal to the name (letter case
  // ignored) defines nothing and returns false; otherwise any earlier text is replaced.
  bool Define(std::string_view name, std::string_view text);
  // Stores `text` under `name` without the self-definition rule (used for predefined macros
  // such as `ver200`, whose text is its own name).
  void Set(std::string_view name, std::string_view text);

  // The text of `name`, or nullptr when it is not defined.
  [[nodiscard]] const std::string* Find(std::string_view name) const;
  [[nodiscard]] bool IsDefined(std::string_view name) const { return Find(name) != nullptr; }
  [[nodiscard]] std::size_t Count() const noexcept { return macros_.size(); }
  void Clear() noexcept { macros_.clear(); }

  // The key under which `name` is stored: its ASCII letters in lower case.
  [[nodiscard]] static std::string Key(std::string_view name);

 private:
  std::unordered_map<std::string, std::string> macros_;
};

// Fills `store` with the macros every script can use (options, scanners, colours, commands,
// keys, ...).
void AddPredefinedMacros(TWordStore& store);

}  // namespace vlr
