// TKeyStore: the key table of the editor as a two-level tree. The first level holds first keys;
// under a first key there is either a leaf (the command the key runs) or a second level of
// second keys, each a leaf. A first key is never both, so every sequence is unambiguous.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "memo/engine/keys/KeyBinding.h"
#include "memo/engine/keys/KeyTable.h"

namespace vlr {

// An object whose contents can be copied from another one of a kind it accepts.
class TKeyPersistent {
 public:
  virtual ~TKeyPersistent() = default;
  [[nodiscard]] virtual const char* ClassName() const noexcept = 0;
  // Copies `source`; throws EKeyControllerException "Cannot assign a <source> to a <this>" when
  // it is not of a kind this object accepts (this object is then unchanged).
  virtual void Assign(const TKeyPersistent& source) = 0;

 protected:
  TKeyPersistent() = default;
  TKeyPersistent(const TKeyPersistent&) = default;
  TKeyPersistent& operator=(const TKeyPersistent&) = default;
  [[noreturn]] void AssignError(const TKeyPersistent& source) const;
};

class TKeyStore final : public TKeyPersistent {
 public:
  struct TKeyNode {
    std::uint16_t key = 0;
    int command = -1;             // the command of a leaf; -1 when `next` holds a second level
    std::vector<TKeyNode> next;   // second keys (virtual keys without modifiers)
    friend bool operator==(const TKeyNode&, const TKeyNode&) = default;
  };

  [[nodiscard]] const char* ClassName() const noexcept override { return "TKeyStore"; }
  void Assign(const TKeyPersistent& source) override;

  // Adds a sequence (key2 0: a one-key sequence; the second key's modifiers are dropped).
  // Returns -1, or, when it collides with a bound sequence, that sequence's command and leaves
  // the store unchanged. Collisions: the same sequence, a one-key sequence whose key starts a
  // two-key one, and a two-key sequence whose first key is bound alone.
  int Add(std::uint16_t key1, std::uint16_t key2, int command);
  // The command a sequence collides with, or -1.
  [[nodiscard]] int Colliding(std::uint16_t key1, std::uint16_t key2) const noexcept;
  // Removes exactly this sequence; false when it is not bound.
  bool Remove(std::uint16_t key1, std::uint16_t key2);
  void Clear() noexcept { first_.clear(); }

  // The first level in the order the first keys were added.
  [[nodiscard]] const std::vector<TKeyNode>& FirstKeys() const noexcept { return first_; }
  // Index of a first key in FirstKeys(), or -1.
  [[nodiscard]] int IndexOf(std::uint16_t key1) const noexcept {
    for (std::size_t i = 0; i < first_.size(); ++i)
      if (first_[i].key == key1) return int(i);
    return -1;
  }
  // Every sequence, first keys in their order and second keys in theirs under each.
  [[nodiscard]] std::vector<TKeyBinding> Bindings() const;
  [[nodiscard]] std::size_t SequenceCount() const noexcept;
  [[nodiscard]] bool Empty() const noexcept { return first_.empty(); }
  friend bool operator==(const TKeyStore& a, const TKeyStore& b) { return a.first_ == b.first_; }

 private:
  std::vector<TKeyNode> first_;
};

}  // namespace vlr
