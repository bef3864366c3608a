// The per-user settings file that keeps what the editor control would keep in
// a system registry: named values under keys, in
// $XDG_CONFIG_HOME/velora/editor-registry.dat (~/.config/velora/ when the
// variable is not set). A text file of "[key]" lines, each followed by its
// "name=value" lines; every byte that is not plain printable ASCII, and "\",
// "=", "[" and "]", is written as \xHH, so values may hold any bytes.
#pragma once

#include <map>
#include <optional>
#include <string>

namespace vlr {

class TRegistryFile {
 public:
  // The file of the user's settings.
  [[nodiscard]] static std::string DefaultPath();

  explicit TRegistryFile(std::string path = DefaultPath());

  // The value `name` under `key`; none when the file, the key or the name is
  // not there. A file that cannot be read as this format throws
  // velora::memo::ESyntaxMemo "Invalid data in registry entry".
  [[nodiscard]] std::optional<std::string> Read(const std::string& key, const std::string& name) const;

  // Sets the values under `key`, keeping everything else the file holds. The
  // file (and its folder) is written whole or not at all; a failure throws
  // velora::memo::ESyntaxMemo naming the file.
  void Write(const std::string& key, const std::map<std::string, std::string>& values) const;

  [[nodiscard]] const std::string& Path() const noexcept { return path_; }

 private:
  using Contents = std::map<std::string, std::map<std::string, std::string>>;
  [[nodiscard]] Contents Load() const;

  std::string path_;
};

}  // namespace vlr
