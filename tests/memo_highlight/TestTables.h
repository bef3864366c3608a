// Small hand-built scheme tables for the highlighter tests.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "memo/engine/TextStore.h"
#include "memo/engine/scheme/SchemeTables.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

namespace hltest {

using vlr::TSchemeTables;
using vlr::TStateSet;
using vlr::TSM_CharGroup;

inline TStateSet States(std::initializer_list<int> list) {
  TStateSet s;
  for (int i : list) s.set(std::size_t(i));
  return s;
}

inline TSM_CharGroup Chars(std::string_view chars) {
  TSM_CharGroup g;
  for (char c : chars) g.Add(static_cast<std::uint8_t>(c));
  return g;
}

inline TSM_CharGroup AllBut(std::string_view chars) {
  TSM_CharGroup g = Chars(chars);
  g.Complement();
  return g;
}

inline std::uint16_t Group(TSchemeTables& t, const TSM_CharGroup& g) {
  t.groups.push_back(g);
  return std::uint16_t(t.groups.size() - 1);
}

inline void Word(TSchemeTables& t, std::string text, int value, TStateSet valid = States({0}),
                 int follow = -1) {
  vlr::TWordEntry w;
  w.text = std::move(text);
  w.value = std::uint8_t(value);
  w.valid = valid;
  w.follow = follow;
  t.words.push_back(std::move(w));
}

inline vlr::TScanPart GroupPart(TSchemeTables& t, const TSM_CharGroup& g) {
  vlr::TScanPart p;
  p.kind = vlr::TScanPart::Kind::Group;
  p.group = Group(t, g);
  return p;
}

inline vlr::TScanPart ScannerPart(int n) {
  vlr::TScanPart p;
  p.kind = vlr::TScanPart::Kind::Scanner;
  p.scanner = std::uint8_t(n);
  return p;
}

inline vlr::TScanPart CustomPart(int n) {
  vlr::TScanPart p;
  p.kind = vlr::TScanPart::Kind::Custom;
  p.custom = std::uint8_t(n);
  return p;
}

// A body spec: body part, optional flag, terminator groups (each a string of characters).
inline vlr::TBodySpec Spec(TSchemeTables& t, vlr::TScanPart body, bool optional,
                           std::initializer_list<std::string_view> term, bool flag) {
  vlr::TBodySpec s;
  s.body = body;
  s.optionalBody = optional;
  for (std::string_view g : term) s.term[s.termCount++] = GroupPart(t, Chars(g));
  s.flag = flag;
  return s;
}

inline vlr::TTokenTable& TableOf(TSchemeTables& t, int state) {
  if (state < 0) return t.defaultTable;
  if (t.stateTableOf[std::size_t(state)] < 0) {
    t.stateTableOf[std::size_t(state)] = std::int16_t(t.stateTables.size());
    t.stateTables.emplace_back();
  }
  return t.stateTables[std::size_t(t.stateTableOf[std::size_t(state)])];
}

// A token entry started by the characters of `start`, in the table of `state` (-1: default).
inline void Token(TSchemeTables& t, const TSM_CharGroup& start, const vlr::TBodySpec& spec, int value,
                  int state = -1, TStateSet valid = States({0})) {
  vlr::TTokenEntry e;
  e.startGroup = Group(t, start);
  e.spec = spec;
  e.valid = valid;
  if (state >= 0) e.valid.set(std::size_t(state));
  e.value = std::uint8_t(value);
  vlr::TTokenTable& tab = TableOf(t, state);
  for (int c = 0; c < 256; ++c)
    if (start.Contains(std::uint8_t(c))) tab.first[std::size_t(c)] = std::int16_t(tab.entries.size());
  tab.entries.push_back(e);
}

// A token entry started by standard scanner `scanner`.
inline void ScannerToken(TSchemeTables& t, int scanner, int value, int state = -1,
                         TStateSet valid = States({0})) {
  vlr::TTokenEntry e;
  e.startIsScanner = true;
  e.startScanner = std::uint8_t(scanner);
  e.valid = valid;
  if (state >= 0) e.valid.set(std::size_t(state));
  e.value = std::uint8_t(value);
  vlr::TTokenTable& tab = TableOf(t, state);
  const TSM_CharGroup start = vlr::StartSetOf(std::uint8_t(scanner));
  for (int c = 0; c < 256; ++c)
    if (start.Contains(std::uint8_t(c))) tab.first[std::size_t(c)] = std::int16_t(tab.entries.size());
  tab.entries.push_back(e);
}

inline vlr::TTokenRecord& Record(TSchemeTables& t, int value) {
  vlr::TTokenRecord& r = t.records[std::size_t(value)];
  r.present = true;
  return r;
}

inline void SetClear(TSchemeTables& t, int value, TStateSet set, TStateSet clear, std::uint8_t pushPop = 0) {
  vlr::TTokenRecord& r = Record(t, value);
  r.toSet = set;
  r.toClear = clear;
  r.noStateChange = set.none() && clear.none();
  r.pushPop = pushPop;
}

// A C-like scheme: "/*" (2) enters state 1 where text is 4 until "*/" (3); identifiers 5,
// numbers 6, "=" 7. Re-scans restart at values 0, 2 and 3.
inline TSchemeTables CommentTables() {
  TSchemeTables t;
  Word(t, "/*", 2);
  Word(t, "*/", 3, States({0, 1}));
  Word(t, "=", 7);
  SetClear(t, 2, States({1}), States({0}));
  SetClear(t, 3, States({0}), States({1}));
  Token(t, AllBut("*\r"), Spec(t, GroupPart(t, AllBut("*\r")), true, {"*\r"}, false), 4, 1);
  Token(t, Chars("\r"), vlr::TBodySpec{}, 4, 1);
  Token(t, Chars("*"), vlr::TBodySpec{}, 4, 1);
  Record(t, 4).valid = States({1});
  ScannerToken(t, vlr::kScanIdentifier, 5);
  ScannerToken(t, vlr::kScanNumber, 6);
  t.anchors = States({0, 2, 3});
  t.contextStates[4] = States({1});
  return t;
}

// Values of a whole-text scan from the start, the reference for incremental results.
inline std::vector<std::uint8_t> FullScan(vlr::TSyntaxMemoParser& p, const velora::memo::TextStore& st) {
  std::vector<std::uint8_t> out;
  p.resetStart();
  velora::memo::EdStream s(st, 0);
  while (!s.atEnd()) {
    const velora::memo::Pos a = s.position();
    int len = 0;
    const std::uint8_t v = p.ScanToken(s, len);
    const velora::memo::Pos b = s.position() > a ? s.position() : a + 1;
    out.insert(out.end(), std::size_t(b - a), v);
    s.setPosition(b);
  }
  return out;
}

}  // namespace hltest
