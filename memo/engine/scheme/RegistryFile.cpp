#include "memo/engine/scheme/RegistryFile.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string_view>

#include "memo/engine/Types.h"
#include "memo/engine/scheme/StyleString.h"

namespace vlr {

using velora::memo::ESyntaxMemo;

namespace {

std::string Escape(const std::string& text) {
  static const char kHex[] = "0123456789ABCDEF";
  std::string out;
  for (const char ch : text) {
    const auto c = static_cast<unsigned char>(ch);
    if (c < 0x20 || c > 0x7E || c == '\\' || c == '=' || c == '[' || c == ']') {
      out += "\\x";
      out += kHex[c >> 4];
      out += kHex[c & 0x0F];
    } else {
      out += ch;
    }
  }
  return out;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

std::string Unescape(const std::string& text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    const int high = i + 3 < text.size() && text[i + 1] == 'x' ? HexDigit(text[i + 2]) : -1;
    const int low = high >= 0 ? HexDigit(text[i + 3]) : -1;
    if (low < 0) throw ESyntaxMemo(kInvalidRegistryEntry);
    out += static_cast<char>(high * 16 + low);
    i += 3;
  }
  return out;
}

}  // namespace

std::string TRegistryFile::DefaultPath() {
  static constexpr std::string_view kName = "/velora/editor-registry.dat";
  if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config) return std::string(config).append(kName);
  if (const char* home = std::getenv("HOME"); home && *home) return std::string(home).append("/.config").append(kName);
  return std::string(".").append(kName);
}

TRegistryFile::TRegistryFile(std::string path) : path_(std::move(path)) {}

TRegistryFile::Contents TRegistryFile::Load() const {
  Contents contents;
  std::ifstream in(path_, std::ios::binary);
  if (!in) return contents;
  std::string line;
  std::map<std::string, std::string>* section = nullptr;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty()) continue;
    if (line.front() == '[') {
      if (line.back() != ']') throw ESyntaxMemo(kInvalidRegistryEntry);
      section = &contents[Unescape(line.substr(1, line.size() - 2))];
      continue;
    }
    const std::size_t eq = line.find('=');
    if (section == nullptr || eq == std::string::npos) throw ESyntaxMemo(kInvalidRegistryEntry);
    (*section)[Unescape(line.substr(0, eq))] = Unescape(line.substr(eq + 1));
  }
  return contents;
}

std::optional<std::string> TRegistryFile::Read(const std::string& key, const std::string& name) const {
  const Contents contents = Load();
  const auto section = contents.find(key);
  if (section == contents.end()) return std::nullopt;
  const auto value = section->second.find(name);
  if (value == section->second.end()) return std::nullopt;
  return value->second;
}

void TRegistryFile::Write(const std::string& key, const std::map<std::string, std::string>& values) const {
  Contents contents = Load();
  for (const auto& [name, value] : values) contents[key][name] = value;
  std::ostringstream text;
  for (const auto& [section, entries] : contents) {
    text << '[' << Escape(section) << "]\n";
    for (const auto& [name, value] : entries) text << Escape(name) << '=' << Escape(value) << '\n';
  }
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path target(path_);
  if (target.has_parent_path()) fs::create_directories(target.parent_path(), ec);
  const fs::path temporary = target.string() + ".new";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text.str();
    out.flush();
    if (!out) {
      fs::remove(temporary, ec);
      throw ESyntaxMemo("Cannot write the settings file " + path_);
    }
  }
  fs::rename(temporary, target, ec);
  if (ec) {
    fs::remove(temporary, ec);
    throw ESyntaxMemo("Cannot write the settings file " + path_);
  }
}

}  // namespace vlr
