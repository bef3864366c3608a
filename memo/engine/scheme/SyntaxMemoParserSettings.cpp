// The parser's settings and the controls that use it.
#include <algorithm>
#include <optional>

#include "memo/engine/Types.h"
#include "memo/engine/scheme/ControlSettings.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/RegistryFile.h"
#include "memo/engine/scheme/StyleString.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace vlr {

using velora::memo::MemoEngine;

namespace {
bool Listed(const std::vector<THighlightDriver*>& users, const THighlightDriver* d) {
  return std::find(users.begin(), users.end(), d) != users.end();
}
}  // namespace

std::vector<MemoEngine*> TSyntaxMemoParser::Controls() const {
  std::vector<MemoEngine*> out;
  out.reserve(users_.size());
  for (const THighlightDriver* d : users_) out.push_back(&d->Control());
  return out;
}

void TSyntaxMemoParser::ApplySettings() {
  if (!hasTables_) return;
  // A handler run by applying may detach controls: each is checked before its turn.
  const std::vector<THighlightDriver*> users = users_;
  for (THighlightDriver* d : users)
    if (Listed(users_, d) && d->Control().currentParser() == this) {
      ApplySchemeSettings(d->Control(), tables_.settings);
      ApplyAppearance(d->Control(), tables_);
    }
}

void TSyntaxMemoParser::TablesChanged() {
  ApplySettings();
  const std::vector<THighlightDriver*> users = users_;
  for (THighlightDriver* d : users)
    if (Listed(users_, d) && d->Control().currentParser() == this) RehighlightAll(d->Control());
}

void TSyntaxMemoParser::ReplaceSettings(const TSchemeTables& edited) {
  if (!hasTables_) return;
  TSchemeTables t = tables_;
  t.settings = edited.settings;
  t.effects = edited.effects;
  t.darkEffects = edited.darkEffects;
  t.map = edited.map;
  t.keys = edited.keys;
  t.templates = edited.templates;
  t.templateHotKey = edited.templateHotKey;
  t.autoReplace = edited.autoReplace;
  t.actKeys = edited.actKeys;
  // Through SetTables, so that everything built from the tables (word tries for the letter
  // case, styles, typing aids) follows, and the controls are given the settings.
  SetTables(std::move(t));
}

void TSyntaxMemoParser::ReleaseControls() noexcept {
  const std::vector<THighlightDriver*> users = std::move(users_);
  users_.clear();
  for (THighlightDriver* d : users) d->ParserGone(*this);
}

namespace {
// The names of the two values of a language under the registry key.
constexpr const char* kHighlightingValue = "Highlighting - ";
constexpr const char* kKeyAssignmentsValue = "Key Assignments - ";
}  // namespace

void TSyntaxMemoParser::CheckRegistry() const {
  if (!UseRegistry || RegistryKey.empty())
    throw velora::memo::ESyntaxMemo("Registry interface disabled in: " + Name);
}

void TSyntaxMemoParser::SaveToRegistry() const {
  CheckRegistry();
  if (!hasTables_) return;  // a parser without tables has no settings
  const std::string& language = tables_.settings.name;
  TRegistryFile(RegistryFile).Write(RegistryKey, {{kHighlightingValue + language, WriteStyleString(tables_)},
                                                  {kKeyAssignmentsValue + language, WriteKeyAssignments(tables_.keys)}});
}

void TSyntaxMemoParser::LoadFromRegistry() {
  CheckRegistry();
  if (!hasTables_) return;
  const std::string& language = tables_.settings.name;
  const TRegistryFile file(RegistryFile);
  const std::optional<std::string> style = file.Read(RegistryKey, kHighlightingValue + language);
  const std::optional<std::string> keys = file.Read(RegistryKey, kKeyAssignmentsValue + language);
  if (!style && !keys) return;  // nothing saved for this language yet
  // Both values are read before anything changes: a malformed one leaves the settings as they were.
  TSchemeTables edited = tables_;
  if (style) ReadStyleString(*style, edited);
  if (keys) edited.keys = ReadKeyAssignments(*keys);
  ReplaceSettings(edited);
}

}  // namespace vlr
