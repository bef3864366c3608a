// TSyntaxMemoParser: the run-time highlighter. It scans the document one token at a time with the
// compiled tables of a scheme (TSchemeTables) and drives the scheme's state machine: the state
// set, the state stack, the token table of the current states and one-token containers.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "memo/engine/MacroKeywords.h"
#include "memo/engine/TokenScanner.h"
#include "memo/engine/keys/KeyboardActionController.h"
#include "memo/engine/scheme/HighlightSet.h"
#include "memo/engine/scheme/RegistryFile.h"
#include "memo/engine/scheme/SchemeTables.h"
#include "memo/engine/scheme/StoredForm.h"
#include "memo/engine/scheme/SyntaxKeywords.h"

namespace vlr {

class TSyntaxMemoParser;
class THighlightDriver;

// The custom-scanner event of match ( n ): advances the stream over what it accepts, adds the
// number of characters to kLength, may set kValue (the token value), returns true on a match.
using TCustomParseEvent = std::function<bool(TSyntaxMemoParser& sender, int parseId,
                                             velora::memo::EdStream& stream, int& kLength, int& kValue)>;

// A stack of state sets (pushes and pops of the state machine).
class TRTStack {
 public:
  // Deepest nesting kept; pushes beyond it are dropped so that a document of unbalanced pushes
  // cannot grow the stack without bound.
  static constexpr std::size_t kMaxDepth = 4096;
  void Push(const THighlightSet& s) {
    if (items_.size() < kMaxDepth) items_.push_back(s);
  }
  // Pops into `s`; false (and `s` unchanged) when the stack is empty.
  bool Pop(THighlightSet& s) noexcept {
    if (items_.empty()) return false;
    s = items_.back();
    items_.pop_back();
    return true;
  }
  void Clear() noexcept { items_.clear(); }
  [[nodiscard]] std::size_t Depth() const noexcept { return items_.size(); }
  [[nodiscard]] const std::vector<THighlightSet>& Items() const noexcept { return items_; }
  friend bool operator==(const TRTStack&, const TRTStack&) = default;

 private:
  std::vector<THighlightSet> items_;
};

class TSyntaxMemoParser : public velora::memo::TokenScanner {
 public:
  TSyntaxMemoParser();
  ~TSyntaxMemoParser() override;
  // The run-time state points into the parser's own resolved tables: not copyable.
  TSyntaxMemoParser(const TSyntaxMemoParser&) = delete;
  TSyntaxMemoParser& operator=(const TSyntaxMemoParser&) = delete;

  // Installs compiled tables: builds the word tries and resolves group indices. Group indices
  // out of range are treated as empty groups (never read past the group store).
  void SetTables(TSchemeTables tables);
  void ClearTables();
  [[nodiscard]] bool HasTables() const noexcept { return hasTables_; }
  [[nodiscard]] const TSchemeTables& Tables() const noexcept { return tables_; }

  // ---- Properties
  std::string Script;            // the script file's path
  bool AutoScriptUpdate = false;  // compile the script again when the component is loaded
  // "Compiled" once tables are present, else empty.
  [[nodiscard]] std::string Compile() const { return hasTables_ ? "Compiled" : std::string(); }
  TCustomParseEvent OnCustomParse;
  // Replaces the options dialog of EditProperties (memo/widget/options) when assigned: edits the
  // parser's settings itself and answers whether it changed them.
  std::function<bool(TSyntaxMemoParser& sender)> OnModifyProperties;

  // ---- Compiling and the stored form (SyntaxMemoParserData.cpp)
  // Compiles the script file `Script`. On success the new tables replace the old ones; on any
  // error the ESchemeError (with its line and column) is thrown and the old tables stay.
  void CompileScript();
  // The stored form of the tables (the component's data property).
  [[nodiscard]] std::string ParserData() const;
  // Reads a stored form. On success its tables are installed; otherwise the parser is left
  // without tables and the result's message says why (the version warning, for a form of
  // another version, names the component `name`).
  TStoredFormResult LoadParserData(std::string_view bytes, std::string_view name);
  // The component was loaded with its form: compiles the script again when AutoScriptUpdate is
  // set and a script is named.
  void Loaded();

  // ---- Settings and the controls that use the parser (SyntaxMemoParserSettings.cpp)
  std::string Name;          // the component's name, for its messages
  bool UseRegistry = false;  // keep the settings in the user's settings file under RegistryKey
  std::string RegistryKey;
  // The user's settings file that stands in for the system registry (RegistryFile.h).
  std::string RegistryFile = TRegistryFile::DefaultPath();
  // Applies the settings to every control in the list whose active parser this is. Runs by
  // itself whenever the tables change (SetTables, LoadParserData, CompileScript,
  // ReplaceSettings); a parser without tables has no settings to give.
  void ApplySettings();
  // Takes the language settings, the style effects and the map from token values to styles,
  // the key table, the code templates and the auto-replace list (with its act keys and the
  // template hot key) from `edited`, an edited copy of Tables(), and applies them to every
  // control that uses the parser. Everything else of `edited` is ignored. Without tables
  // nothing happens.
  void ReplaceSettings(const TSchemeTables& edited);
  // Takes the styles again from the set the appearance asks for now (the desktop turned light
  // or dark). Nothing is applied to the controls and nothing is scanned again: they only need
  // drawing.
  void ResolveStyles();
  // The controls that use the parser (attached by AttachHighlighter), in the order they came.
  [[nodiscard]] std::vector<velora::memo::MemoEngine*> Controls() const;
  // The settings under RegistryKey in the user's settings file: the style string as
  // "Highlighting - " + the language name, the key table as "Key Assignments - " + the
  // language name (StyleString.h). Without UseRegistry and a key both throw
  // velora::memo::ESyntaxMemo "Registry interface disabled in: " followed by Name. Loading
  // applies what was saved to every control that uses the parser; a malformed value throws
  // "Invalid data in style string" or "Invalid data in registry entry" and changes nothing.
  void SaveToRegistry() const;
  void LoadFromRegistry();

  // ---- TokenScanner
  std::uint8_t scanToken(velora::memo::MemoEngine& control, velora::memo::EdStream& stream,
                         int& length) override;
  std::uint8_t scanTokens(velora::memo::MemoEngine& control, velora::memo::EdStream& stream,
                          velora::memo::Pos limit, std::uint8_t* values, velora::memo::Pos base) override;
  void resetContext(std::uint8_t context) override;
  void resetStart() override;
  [[nodiscard]] velora::memo::StyleEffect styleOf(std::uint8_t token) const override;
  [[nodiscard]] int styleCount() const override { return styleCount_; }
  [[nodiscard]] bool insideContainer() const override { return inside_; }
  [[nodiscard]] bool isAnchor(std::uint8_t value) const override { return anchors_.Test(value); }
  [[nodiscard]] std::unique_ptr<SavedState> saveState() const override;
  bool restoreState(const SavedState& s) override;
  [[nodiscard]] bool lineState(std::string& out) const override;
  [[nodiscard]] bool sameLineState(std::string_view state) const override;
  bool restoreLineState(std::string_view state) override;
  [[nodiscard]] std::uint64_t tablesGeneration() const override { return generation_; }
  velora::memo::TCodeTemplates* codeTemplates() override { return &templates_; }
  velora::memo::TAutoReplace* autoReplace() override { return &autoReplace_; }
  // The key table of the tables, rebuilt whenever they change; none without tables.
  TKeyboardActionContoller* keyController() override { return hasTables_ ? &keys_ : nullptr; }
  // Prose values: produced only in the start states (by their token tables and words).
  [[nodiscard]] bool isProseToken(std::uint8_t value) const override { return prose_.test(value); }

  // The same scan without a control (tests, tools).
  std::uint8_t ScanToken(velora::memo::EdStream& stream, int& length);
  void ResetContext(std::uint8_t context) { resetContext(context); }

  // ---- Run-time state, for inspection
  [[nodiscard]] TStateSet States() const { return s_.ToStateSet(); }
  [[nodiscard]] std::size_t StackDepth() const noexcept { return stack_.Depth(); }

 private:
  struct RtPart {
    TScanPart::Kind kind = TScanPart::Kind::None;
    const TSM_CharGroup* group = nullptr;
    std::uint8_t scanner = 0;
    std::uint8_t custom = 0;
  };
  struct RtSpec {
    RtPart body;
    bool optionalBody = false;
    std::array<RtPart, 4> term{};
    std::uint8_t termCount = 0;
    bool flag = false;
    bool run = false;  // a group body whose terminator is the one group of every other character
  };
  struct RtEntry {
    bool startIsScanner = false;
    std::uint8_t startScanner = 0;
    RtSpec spec;
    THighlightSet valid;
    std::uint8_t value = 0;
  };
  struct RtTable {
    std::array<std::int16_t, 256> first;
    std::vector<RtEntry> entries;
  };
  struct RtRecord {
    bool present = false;
    bool hasValid = false;  // an empty valid set means every state
    THighlightSet valid, toSet, toClear;
    bool container = false;
    bool noStateChange = true;
    std::uint8_t pushPop = 0;
  };
  struct State;
  // What the scan needs of one state set, worked out when the set is first met: the token
  // table and keyword table of the states, the first bytes of words that may count in them,
  // each first byte's token entry when that is valid in them, and per token value the set
  // that the value's record leads to (an index into views_, or one of the kNext codes).
  struct View {
    THighlightSet s;
    const RtTable* table = nullptr;
    const TSyntaxKeywords* kw = nullptr;
    THighlightSet wordStart;
    THighlightSet invalid;  // token values whose record is not valid in the set
    std::array<const RtEntry*, 256> entry{};
    // By first byte: how the token that starts with it is scanned (kScanGeneral ...). Where a
    // word may start, kScanMaybeWord: `plain` applies when the second byte is not in
    // second[secondOf[c]], the bytes that may follow in a word.
    std::array<std::uint8_t, 256> how{};
    std::array<std::uint8_t, 256> plain{};
    std::array<std::uint8_t, 256> secondOf{};
    std::vector<THighlightSet> second;
    std::array<std::uint32_t, 256> next{};
  };
  static constexpr std::uint8_t kScanGeneral = 0;  // words, scanners, terminators: ScanOne
  static constexpr std::uint8_t kScanFail = 1;     // no token: one character of value 0
  static constexpr std::uint8_t kScanSingle = 2;   // the start character alone
  static constexpr std::uint8_t kScanRun = 3;      // the start and a run of body characters
  static constexpr std::uint8_t kScanMaybeWord = 4;  // as `plain` unless a word may start
  static constexpr std::uint32_t kNextUnknown = 0xFFFFFFFFu;  // not worked out yet
  static constexpr std::uint32_t kNextInvalid = 0xFFFFFFFEu;  // the value is not valid here
  static constexpr std::uint32_t kNextSlow = 0xFFFFFFFDu;     // a push, a pop or a container
  static constexpr std::uint32_t kScratchView = 0xFFFFFFFCu;  // the uncached view
  // Views kept at most; the sets met beyond them share one view that is not kept.
  static constexpr std::size_t kMaxViews = 2048;
  struct SetHash {
    std::size_t operator()(const THighlightSet& s) const noexcept {
      std::size_t h = 0;
      for (std::uint64_t w : s.w) h = (h ^ w ^ (w >> 29)) * 0x9E3779B97F4A7C15ull;
      return h;
    }
  };
  // The view of `s` (its id: an index into views_, or kScratchView).
  std::uint32_t ViewOf(const THighlightSet& s);
  void BuildView(View& v, const THighlightSet& s) const;
  void ForgetViews() noexcept;
  // views_[from]'s next code for value t, worked out.
  std::uint32_t NextView(std::uint32_t from, std::uint8_t t);
  [[nodiscard]] View& ViewAt(std::uint32_t id) noexcept { return id == kScratchView ? *scratch_ : *views_[id]; }

  RtPart Resolve(const TScanPart& p) const;
  RtSpec Resolve(const TBodySpec& s) const;
  RtTable Resolve(const TTokenTable& t) const;
  void ChooseTables();
  // Code templates, auto-replace list and prose values from the tables.
  void BuildTypingAids();
  void ApplyRecord(const RtRecord& r);
  // One token at `p`, the stream's position (not at the end of the text): its value.
  std::uint8_t ScanOne(velora::memo::EdStream& s, velora::memo::Pos p);
  // Runs body/terminator repetitions after the start; false when the token fails.
  bool RunSpec(const RtSpec& spec, velora::memo::EdStream& s, velora::memo::Pos tokenStart, int& value);
  bool MatchPart(const RtPart& p, velora::memo::EdStream& s, velora::memo::Pos tokenStart, int& value);
  bool MatchTerminator(const RtSpec& spec, velora::memo::EdStream& s, velora::memo::Pos tokenStart, int& value);
  bool Custom(int id, velora::memo::EdStream& s, velora::memo::Pos tokenStart, int& value);

  friend class THighlightDriver;
  // Empties the slots of every control that still holds the parser (its destructor).
  void ReleaseControls() noexcept;
  // New tables: every control using the parser takes the settings and is highlighted again.
  void TablesChanged();
  // Throws "Registry interface disabled in: " + Name without UseRegistry and a key.
  void CheckRegistry() const;

  std::vector<THighlightDriver*> users_;  // the controls that use the parser, by their drivers
  TSchemeTables tables_;
  bool hasTables_ = false;
  std::uint64_t generation_ = 0;

  // Resolved tables.
  TSyntaxKeywords words_;
  std::vector<TSyntaxKeywords> kwTables_;
  std::vector<THighlightSet> kwValid_;
  RtTable default_;
  std::vector<RtTable> stateTables_;
  std::array<const RtTable*, 256> tableOfState_{};
  THighlightSet statesWithTable_;
  std::array<RtSpec, 256> handlers_{};
  THighlightSet hasHandler_;
  std::array<RtRecord, 256> records_{};
  std::array<THighlightSet, 256> context_{};
  THighlightSet start_;
  THighlightSet anchors_;
  velora::memo::TCodeTemplates templates_;
  velora::memo::TAutoReplace autoReplace_;
  TKeyboardActionContoller keys_;
  TStateSet prose_;
  std::array<velora::memo::StyleEffect, 256> styles_{};  // by token value
  int styleCount_ = 1;

  std::vector<std::unique_ptr<View>> views_;
  std::unordered_map<THighlightSet, std::uint32_t, SetHash> viewIds_;
  std::unique_ptr<View> scratch_;

  // Run-time state.
  THighlightSet s_;
  std::uint32_t viewId_ = kScratchView;  // the view of s_
  View* view_ = nullptr;
  TRTStack stack_;
  const RtTable* table_ = nullptr;
  const TSyntaxKeywords* kw_ = nullptr;
  bool inside_ = false;
  velora::memo::Pos containerEnd_ = 0;
  THighlightSet saved_;
};

}  // namespace vlr
