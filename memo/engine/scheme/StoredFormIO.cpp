// Table data of the stored form: each part of TSchemeTables written field by field, and read
// back with bounds checks and a check of every index it holds.
#include "memo/engine/scheme/StoredFormIO.h"

#include "memo/engine/LegacyText.h"

namespace vlr {

namespace {

[[noreturn]] void Corrupt(const std::string& what) {
  throw EStoredFormError("Stored scheme data is corrupt: " + what);
}

// ---- writing -----------------------------------------------------------------------------

void PutSettings(TByteWriter& w, const TSchemeSettings& s) {
  w.Str(s.name);
  w.Bool(s.caseSensitive);
  w.U32(s.options);
  w.Str(s.exampleText);
  w.Count(s.editableStyles.size());
  for (const auto& e : s.editableStyles) {
    w.Str(e.name);
    w.U8(e.style);
  }
  w.I32(s.wordWrapColumn);
  w.I32(s.gutterWidth);
  w.I32(s.indentStep);
  w.Str(s.wrapOverride);
  w.I32(s.rightMargin);
  w.Str(s.fontName);
  w.I32(s.fontSize);
  w.Str(s.tabColumns);
  for (int stop : s.tabStops) w.I32(stop);
  w.I32(s.tabDefault);
  for (const TSchemeColor* c : {&s.selTextColor, &s.selTextBack, &s.gutterColor}) {
    w.Bool(c->useDefault);
    w.U32(c->color);
  }
  w.U32(s.marginColor);
  w.I32(s.marginWidth);
}

void PutPart(TByteWriter& w, const TScanPart& p) {
  w.U8(static_cast<std::uint8_t>(p.kind));
  w.U16(p.group);
  w.U8(p.scanner);
  w.U8(p.custom);
}

void PutSpec(TByteWriter& w, const TBodySpec& s) {
  PutPart(w, s.body);
  w.Bool(s.optionalBody);
  for (const auto& p : s.term) PutPart(w, p);
  w.U8(s.termCount);
  w.Bool(s.flag);
}

void PutTable(TByteWriter& w, const TTokenTable& t) {
  for (std::int16_t f : t.first) w.U16(static_cast<std::uint16_t>(f));
  w.Count(t.entries.size());
  for (const auto& e : t.entries) {
    w.Bool(e.startIsScanner);
    w.U8(e.startScanner);
    w.U16(e.startGroup);
    PutSpec(w, e.spec);
    w.Set(e.valid);
    w.U8(e.value);
  }
}

// ---- reading -----------------------------------------------------------------------------

TSchemeSettings GetSettings(TByteReader& r) {
  TSchemeSettings s;
  s.name = r.Str();
  s.caseSensitive = r.Bool();
  s.options = r.U32();
  s.exampleText = r.Str();
  const std::size_t styles = r.Count(5);
  if (styles > kMaxEditableStyles) Corrupt("too many editable styles");
  for (std::size_t i = 0; i < styles; ++i) {
    TEditableStyle e;
    e.name = r.Str();
    e.style = r.U8();
    s.editableStyles.push_back(std::move(e));
  }
  s.wordWrapColumn = r.I32();
  s.gutterWidth = r.I32();
  s.indentStep = r.I32();
  s.wrapOverride = r.Str();
  s.rightMargin = r.I32();
  s.fontName = r.Str();
  s.fontSize = r.I32();
  s.tabColumns = r.Str();
  for (int& stop : s.tabStops) stop = r.I32();
  s.tabDefault = r.I32();
  for (TSchemeColor* c : {&s.selTextColor, &s.selTextBack, &s.gutterColor}) {
    c->useDefault = r.Bool();
    c->color = r.U32();
  }
  s.marginColor = r.U32();
  s.marginWidth = r.I32();
  return s;
}

TScanPart GetPart(TByteReader& r) {
  TScanPart p;
  const std::uint8_t kind = r.U8();
  if (kind > static_cast<std::uint8_t>(TScanPart::Kind::Custom)) Corrupt("unknown scan part");
  p.kind = static_cast<TScanPart::Kind>(kind);
  p.group = r.U16();
  p.scanner = r.U8();
  p.custom = r.U8();
  return p;
}

TBodySpec GetSpec(TByteReader& r) {
  TBodySpec s;
  s.body = GetPart(r);
  s.optionalBody = r.Bool();
  for (auto& p : s.term) p = GetPart(r);
  s.termCount = r.U8();
  s.flag = r.Bool();
  return s;
}

constexpr std::size_t kPartSize = 5;
constexpr std::size_t kSpecSize = kPartSize * 5 + 3;
constexpr std::size_t kEntrySize = 4 + kSpecSize + 32 + 1;

TTokenTable GetTable(TByteReader& r) {
  TTokenTable t;
  for (std::int16_t& f : t.first) f = static_cast<std::int16_t>(r.U16());
  const std::size_t n = r.Count(kEntrySize);
  t.entries.reserve(n);
  for (std::size_t i = 0; i < n; ++i) {
    TTokenEntry e;
    e.startIsScanner = r.Bool();
    e.startScanner = r.U8();
    e.startGroup = r.U16();
    e.spec = GetSpec(r);
    e.valid = r.Set();
    e.value = r.U8();
    t.entries.push_back(e);
  }
  return t;
}

// ---- checks ------------------------------------------------------------------------------

void CheckPart(const TScanPart& p, std::size_t groups) {
  if (p.kind == TScanPart::Kind::Group && p.group >= groups) Corrupt("character group index out of range");
  if (p.kind == TScanPart::Kind::Scanner && !IsBodyScanner(p.scanner)) Corrupt("unknown scanner");
}

void CheckSpec(const TBodySpec& s, std::size_t groups) {
  if (s.termCount > s.term.size()) Corrupt("terminator too long");
  CheckPart(s.body, groups);
  for (const auto& p : s.term) CheckPart(p, groups);
}

void CheckTable(const TTokenTable& t, std::size_t groups) {
  for (std::int16_t f : t.first)
    if (f < -1 || (f >= 0 && static_cast<std::size_t>(f) >= t.entries.size())) Corrupt("token index out of range");
  for (const auto& e : t.entries) {
    if (e.startIsScanner ? !IsStartScanner(e.startScanner) : e.startGroup >= groups)
      Corrupt("token start out of range");
    CheckSpec(e.spec, groups);
  }
}

void Check(const TSchemeTables& t) {
  const std::size_t groups = t.groups.size();
  for (const auto& w : t.words)
    if (w.follow < -1 || (w.follow >= 0 && static_cast<std::size_t>(w.follow) >= groups))
      Corrupt("word condition out of range");
  CheckTable(t.defaultTable, groups);
  for (std::int16_t s : t.stateTableOf)
    if (s < -1 || (s >= 0 && static_cast<std::size_t>(s) >= t.stateTables.size())) Corrupt("state table index out of range");
  for (const auto& table : t.stateTables) CheckTable(table, groups);
  for (const auto& h : t.handlers) CheckSpec(h, groups);
  for (const auto& rec : t.records) {
    const std::uint8_t p = rec.pushPop;
    if (p != 0 && p != kPushBefore && p != kPopBefore && p != kPushAfter && p != kPopAfter)
      Corrupt("unknown push/pop code");
  }
  if (t.keywordTables.size() > kMaxKeywordTables) Corrupt("too many keyword tables");
}

}  // namespace

void TByteWriter::U16(std::uint16_t v) {
  U8(static_cast<std::uint8_t>(v));
  U8(static_cast<std::uint8_t>(v >> 8));
}

void TByteWriter::U32(std::uint32_t v) {
  U16(static_cast<std::uint16_t>(v));
  U16(static_cast<std::uint16_t>(v >> 16));
}

void TByteWriter::Str(std::string_view s) {
  Count(s.size());
  out_.append(s);
}

void TByteWriter::Set(const TStateSet& s) {
  for (std::size_t i = 0; i < 256; i += 8) {
    std::uint8_t byte = 0;
    for (std::size_t j = 0; j < 8; ++j)
      if (s.test(i + j)) byte = static_cast<std::uint8_t>(byte | (1u << j));
    U8(byte);
  }
}

void TByteWriter::Group(const TSM_CharGroup& g) {
  for (std::uint64_t word : g.Words()) {
    U32(static_cast<std::uint32_t>(word));
    U32(static_cast<std::uint32_t>(word >> 32));
  }
}

void TByteReader::Need(std::size_t n) const {
  if (in_.size() - pos_ < n) throw EStoredFormError("Stored scheme data is truncated");
}

void TByteReader::Skip(std::size_t n) {
  Need(n);
  pos_ += n;
}

std::uint8_t TByteReader::U8() {
  Need(1);
  return static_cast<std::uint8_t>(in_[pos_++]);
}

bool TByteReader::Bool() {
  const std::uint8_t v = U8();
  if (v > 1) Corrupt("bad flag byte");
  return v != 0;
}

std::uint16_t TByteReader::U16() {
  const std::uint16_t lo = U8();
  return static_cast<std::uint16_t>(lo | (U8() << 8));
}

std::uint32_t TByteReader::U32() {
  const std::uint32_t lo = U16();
  return lo | (static_cast<std::uint32_t>(U16()) << 16);
}

std::size_t TByteReader::Count(std::size_t minEntrySize) {
  const std::size_t n = U32();
  if (minEntrySize > 0 && n > Remaining() / minEntrySize) throw EStoredFormError("Stored scheme data is truncated");
  return n;
}

std::string TByteReader::Str() {
  const std::size_t n = Count(1);
  std::string s(in_.substr(pos_, n));
  pos_ += n;
  return s;
}

TStateSet TByteReader::Set() {
  Need(32);
  TStateSet s;
  for (std::size_t i = 0; i < 32; ++i) {
    const auto byte = static_cast<std::uint8_t>(in_[pos_ + i]);
    for (std::size_t j = 0; j < 8; ++j)
      if ((byte >> j) & 1u) s.set(i * 8 + j);
  }
  pos_ += 32;
  return s;
}

TSM_CharGroup TByteReader::Group() {
  std::array<std::uint64_t, 4> words{};
  for (auto& word : words) {
    const std::uint64_t lo = U32();
    word = lo | (static_cast<std::uint64_t>(U32()) << 32);
  }
  return TSM_CharGroup::FromWords(words);
}

void WriteKeyTable(TByteWriter& w, const TKeyTable& keys) {
  w.Count(keys.bindings.size());
  for (const auto& b : keys.bindings) {
    w.U16(b.key1);
    w.U16(b.key2);
    w.U8(b.command);
  }
  for (const auto& d : keys.descriptions) w.Str(d);
}

TKeyTable ReadKeyTable(TByteReader& r) {
  TKeyTable keys;
  const std::size_t bindings = r.Count(5);
  keys.bindings.reserve(bindings);
  for (std::size_t i = 0; i < bindings; ++i) {
    TKeyBinding b;
    b.key1 = r.U16();
    b.key2 = r.U16();
    b.command = r.U8();
    if (b.command >= kEditorCommandCount) Corrupt("unknown editing command");
    keys.bindings.push_back(b);
  }
  for (auto& d : keys.descriptions) d = r.Str();
  return keys;
}

void WriteTables(TByteWriter& w, const TSchemeTables& t) {
  PutSettings(w, t.settings);

  w.Count(t.words.size());
  for (const auto& word : t.words) {
    w.Str(word.text);
    w.U8(word.value);
    w.Set(word.valid);
    w.I32(word.follow);
  }

  w.Count(t.groups.size());
  for (const auto& g : t.groups) w.Group(g);

  PutTable(w, t.defaultTable);
  for (std::int16_t s : t.stateTableOf) w.U16(static_cast<std::uint16_t>(s));
  w.Count(t.stateTables.size());
  for (const auto& table : t.stateTables) PutTable(w, table);

  for (const auto& h : t.handlers) PutSpec(w, h);
  w.Set(t.hasHandler);
  for (const auto& rec : t.records) {
    w.Bool(rec.present);
    w.Set(rec.valid);
    w.Set(rec.toSet);
    w.Set(rec.toClear);
    w.Bool(rec.container);
    w.Bool(rec.noStateChange);
    w.U8(rec.pushPop);
  }
  for (std::uint8_t style : t.map) w.U8(style);
  for (const auto& e : t.effects) {
    w.Bool(e.present);
    w.U32(e.foreground);
    w.U32(e.background);
    w.Bool(e.defaultForeground);
    w.Bool(e.defaultBackground);
    w.U8(e.fontStyle);
    w.Bool(e.hotspot);
  }

  w.Set(t.startStates);
  w.Set(t.boundStates);
  w.Set(t.anchors);
  for (const auto& s : t.contextStates) w.Set(s);

  w.Count(t.keywordTables.size());
  for (const auto& k : t.keywordTables) {
    w.Set(k.valid);
    w.Str(k.endsWith);
    w.Bool(k.caseSensitive);
    w.Count(k.words.size());
    for (const auto& word : k.words) {
      w.Str(word.text);
      w.U8(word.value);
    }
  }

  WriteKeyTable(w, t.keys);
  w.Count(t.autoReplace.size());
  for (const auto& a : t.autoReplace) {
    w.Str(a.item);
    w.Str(a.replacement);
  }
  w.Str(t.actKeys);
  w.Count(t.templates.size());
  for (const auto& tp : t.templates) {
    w.Str(tp.name);
    w.Str(tp.description);
    w.Str(tp.text);
  }
  w.U16(t.templateHotKey);
}

TSchemeTables ReadTables(TByteReader& r) {
  TSchemeTables t;
  t.settings = GetSettings(r);

  const std::size_t words = r.Count(4 + 1 + 32 + 4);
  t.words.reserve(words);
  for (std::size_t i = 0; i < words; ++i) {
    TWordEntry word;
    word.text = r.Str();
    word.value = r.U8();
    word.valid = r.Set();
    word.follow = r.I32();
    t.words.push_back(std::move(word));
  }

  const std::size_t groups = r.Count(32);
  t.groups.reserve(groups);
  for (std::size_t i = 0; i < groups; ++i) t.groups.push_back(r.Group());

  t.defaultTable = GetTable(r);
  for (std::int16_t& s : t.stateTableOf) s = static_cast<std::int16_t>(r.U16());
  const std::size_t tables = r.Count(512 + 4);
  t.stateTables.reserve(tables);
  for (std::size_t i = 0; i < tables; ++i) t.stateTables.push_back(GetTable(r));

  for (auto& h : t.handlers) h = GetSpec(r);
  t.hasHandler = r.Set();
  for (auto& rec : t.records) {
    rec.present = r.Bool();
    rec.valid = r.Set();
    rec.toSet = r.Set();
    rec.toClear = r.Set();
    rec.container = r.Bool();
    rec.noStateChange = r.Bool();
    rec.pushPop = r.U8();
  }
  for (std::uint8_t& style : t.map) style = r.U8();
  for (auto& e : t.effects) {
    e.present = r.Bool();
    e.foreground = r.U32();
    e.background = r.U32();
    e.defaultForeground = r.Bool();
    e.defaultBackground = r.Bool();
    e.fontStyle = r.U8();
    e.hotspot = r.Bool();
  }

  t.startStates = r.Set();
  t.boundStates = r.Set();
  t.anchors = r.Set();
  for (auto& s : t.contextStates) s = r.Set();

  const std::size_t kwTables = r.Count(32 + 4 + 1 + 4);
  if (kwTables > kMaxKeywordTables) Corrupt("too many keyword tables");
  for (std::size_t i = 0; i < kwTables; ++i) {
    TKeywordTable k;
    k.valid = r.Set();
    k.endsWith = r.Str();
    k.caseSensitive = r.Bool();
    const std::size_t n = r.Count(5);
    k.words.reserve(n);
    for (std::size_t j = 0; j < n; ++j) {
      TKeywordTable::Word word;
      word.text = r.Str();
      word.value = r.U8();
      k.words.push_back(std::move(word));
    }
    t.keywordTables.push_back(std::move(k));
  }

  t.keys = ReadKeyTable(r);
  const std::size_t replaces = r.Count(8);
  t.autoReplace.reserve(replaces);
  for (std::size_t i = 0; i < replaces; ++i) {
    // Forms saved before typing aids were compiled to UTF-8 hold Windows-1252 bytes.
    TReplaceEntry a;
    a.item = velora::memo::Windows1252AsUtf8(r.Str());
    a.replacement = velora::memo::Windows1252AsUtf8(r.Str());
    t.autoReplace.push_back(std::move(a));
  }
  t.actKeys = r.Str();
  const std::size_t templates = r.Count(12);
  t.templates.reserve(templates);
  for (std::size_t i = 0; i < templates; ++i) {
    TTemplateEntry tp;
    tp.name = velora::memo::Windows1252AsUtf8(r.Str());
    tp.description = velora::memo::Windows1252AsUtf8(r.Str());
    tp.text = velora::memo::Windows1252AsUtf8(r.Str());
    t.templates.push_back(std::move(tp));
  }
  t.templateHotKey = r.U16();

  Check(t);
  return t;
}

namespace {
// One effect as the tables hold it: 13 bytes.
constexpr std::uint32_t kEffectBytes = 13;
void WriteEffect(TByteWriter& w, const TSchemeEffect& e) {
  w.Bool(e.present);
  w.U32(e.foreground);
  w.U32(e.background);
  w.Bool(e.defaultForeground);
  w.Bool(e.defaultBackground);
  w.U8(e.fontStyle);
  w.Bool(e.hotspot);
}
TSchemeEffect ReadEffect(TByteReader& r) {
  TSchemeEffect e;
  e.present = r.Bool();
  e.foreground = r.U32();
  e.background = r.U32();
  e.defaultForeground = r.Bool();
  e.defaultBackground = r.Bool();
  e.fontStyle = r.U8();
  e.hotspot = r.Bool();
  return e;
}
}  // namespace

void WriteExtensions(TByteWriter& w, const TSchemeTables& t) {
  w.U32(kEditingAidsSection);
  w.U32(4);
  w.U32(t.settings.editingAids);
  // The current line's colour only when one is chosen: a form with the default stays as before.
  if (!t.settings.currentLineColor.useDefault) {
    w.U32(kCurrentLineSection);
    w.U32(5);
    w.Bool(t.settings.currentLineColor.useDefault);
    w.U32(t.settings.currentLineColor.color);
  }
  w.U32(kDarkStylesSection);
  w.U32(1 + 256 * kEffectBytes);
  w.U8(t.settings.appearance);
  for (const TSchemeEffect& e : t.darkEffects) WriteEffect(w, e);
}

void ReadExtensions(TByteReader& r, TSchemeTables& t) {
  while (r.Remaining() != 0) {
    const std::uint32_t tag = r.U32();
    const std::uint32_t length = r.U32();
    if (tag == kEditingAidsSection && length == 4) {
      t.settings.editingAids = r.U32();
    } else if (tag == kCurrentLineSection && length == 5) {
      t.settings.currentLineColor.useDefault = r.Bool();
      t.settings.currentLineColor.color = r.U32();
    } else if (tag == kDarkStylesSection && length == 1 + 256 * kEffectBytes) {
      t.settings.appearance = r.U8();
      for (TSchemeEffect& e : t.darkEffects) e = ReadEffect(r);
    } else {
      r.Skip(length);
    }
  }
}

}  // namespace vlr
