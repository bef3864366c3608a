// TKeyboardActionContoller: the key table of a language (a TKeyStore), the descriptions of the
// 45 editing commands, and the lookup state of a key sequence being typed. The control offers
// every key to it and runs the command it resolves.
#pragma once

#include <array>
#include <bitset>
#include <cstdint>
#include <string>
#include <vector>

#include "memo/engine/ByteStream.h"
#include "memo/engine/keys/KeyBinding.h"
#include "memo/engine/keys/KeyStore.h"

namespace vlr {

enum class TKeyOfferResult : std::uint8_t {
  NoMatch,   // not a bound key: it goes on to the control's normal handling
  Prefix,    // the first key of two-key sequences: swallowed, the next key completes it
  Complete,  // a whole sequence: swallowed, `command` is its command
};
struct TKeyOffer {
  TKeyOfferResult result = TKeyOfferResult::NoMatch;
  int command = -1;
};

class TKeyboardActionContoller final : public TKeyPersistent {
 public:
  // An empty table; the commands carry their built-in descriptions.
  TKeyboardActionContoller();

  [[nodiscard]] const char* ClassName() const noexcept override { return "TKeyboardActionContoller"; }
  // Copies the table and the descriptions of another controller (not its lookup state).
  void Assign(const TKeyPersistent& source) override;

  // ---- The table
  // Binds a sequence (key2 0: one key) to a command 0..44. A sequence that collides with a
  // bound one throws EAmbigiousKeyPair naming the bound command and then the new one; a command
  // out of range throws EKeyControllerException. The table is unchanged by a refused sequence.
  void AddSequence(std::uint16_t key1, std::uint16_t key2, int command);
  // Unbinds exactly this sequence; false when it was not bound.
  bool RemoveSequence(std::uint16_t key1, std::uint16_t key2);
  // Empties the key table (the descriptions stay).
  void Clear();
  // Throws EKeyControllerException for a code out of range or a blank description
  // ("Key function name cannot be blank").
  void SetDescription(int command, std::string description);
  [[nodiscard]] const std::string& Description(int command) const;
  [[nodiscard]] const TKeyStore& Store() const noexcept { return store_; }
  // The sequences bound to one command, in table order.
  [[nodiscard]] std::vector<TKeyBinding> SequencesOf(int command) const;

  // Replaces the table and the descriptions with a flat table's, binding in its order; a
  // sequence that collides throws as AddSequence does, and the sequences before it stay bound.
  void SetTable(const TKeyTable& table);
  [[nodiscard]] TKeyTable ToTable() const;

  // ---- The stream form: "VKT" and a version byte, the number of sequences (16 bits, little
  // endian) and each as key1, key2 (16 bits each) and the command (8 bits), then the 45
  // descriptions, each a 16-bit length and its bytes.
  void SaveToStream(velora::memo::ByteStream& out) const;
  // Reads the stream form from the stream's position. Malformed or truncated data, a command
  // out of range or a repeated sequence throw EKeyControllerException "Invalid key table data:"
  // with the reason, and this controller is left as it was.
  void LoadFromStream(velora::memo::ByteStream& in);
  static constexpr std::size_t kMaxStoredSequences = 4096;
  static constexpr std::size_t kMaxDescriptionBytes = 1024;

  // ---- Looking keys up
  // Offers a key: its virtual key and Ctrl/Alt bits (a Shift bit in `key` is ignored) and
  // whether Shift is held. At the first level Shift takes part in the lookup unless the key
  // is a selection key; at the second level (after a prefix) modifiers are ignored. Not found
  // resets the state; a prefix is remembered; a complete sequence resets the state.
  [[nodiscard]] TKeyOffer Offer(std::uint16_t key, bool shift) noexcept;
  // True while a prefix waits for its second key.
  [[nodiscard]] bool Pending() const noexcept { return pending_ >= 0; }
  // Forgets a waiting prefix.
  void Reset() noexcept { pending_ = -1; }
  // Selection keys: the virtual keys of the first keys of all sequences bound to the movement
  // commands 0..11 and to 16 (delete before the caret). Shift held with them extends the
  // selection rather than choosing another binding.
  [[nodiscard]] bool IsSelectionKey(std::uint8_t virtualKey) const noexcept { return selectionKeys_.test(virtualKey); }

 private:
  void TableChanged();

  TKeyStore store_;
  std::array<std::string, kEditorCommandCount> descriptions_;
  std::bitset<256> selectionKeys_;
  int pending_ = -1;  // index of the prefix in the store's first level, or -1
};

// The controller built once from the built-in key table, for controls whose language has no
// key table of its own.
[[nodiscard]] TKeyboardActionContoller& DefaultKeyController();

}  // namespace vlr
