// The two-level key tree.
#include "memo/engine/keys/KeyStore.h"

#include <algorithm>
#include <string>

namespace vlr {

namespace {
constexpr const char* kCannotAssignKeys = "Cannot assign a %s to a %s";
}  // namespace

void TKeyPersistent::AssignError(const TKeyPersistent& source) const {
  std::string text = kCannotAssignKeys;
  text.replace(text.find("%s"), 2, source.ClassName());
  text.replace(text.find("%s"), 2, ClassName());
  throw EKeyControllerException(text);
}

void TKeyStore::Assign(const TKeyPersistent& source) {
  const auto* other = dynamic_cast<const TKeyStore*>(&source);
  if (!other) AssignError(source);
  if (other != this) first_ = other->first_;
}

int TKeyStore::Colliding(std::uint16_t key1, std::uint16_t key2) const noexcept {
  const int i = IndexOf(key1);
  if (i < 0) return -1;
  const TKeyNode& n = first_[std::size_t(i)];
  if (n.command >= 0) return n.command;             // the first key is bound alone
  const std::uint16_t k2 = key2 & 0xFF;
  if (k2 == 0) return n.next.front().command;       // the key starts two-key sequences
  for (const TKeyNode& s : n.next)
    if (s.key == k2) return s.command;
  return -1;
}

int TKeyStore::Add(std::uint16_t key1, std::uint16_t key2, int command) {
  if (const int c = Colliding(key1, key2); c >= 0) return c;
  const std::uint16_t k2 = key2 & 0xFF;
  int i = IndexOf(key1);
  if (i < 0) {
    TKeyNode n;
    n.key = key1;
    if (k2 == 0) n.command = command;
    first_.push_back(std::move(n));
    i = int(first_.size() - 1);
    if (k2 == 0) return -1;
  }
  TKeyNode leaf;
  leaf.key = k2;
  leaf.command = command;
  first_[std::size_t(i)].next.push_back(leaf);
  return -1;
}

bool TKeyStore::Remove(std::uint16_t key1, std::uint16_t key2) {
  const int i = IndexOf(key1);
  if (i < 0) return false;
  TKeyNode& n = first_[std::size_t(i)];
  const std::uint16_t k2 = key2 & 0xFF;
  if (k2 == 0) {
    if (n.command < 0) return false;  // a prefix is not a sequence of its own
  } else {
    const auto it = std::find_if(n.next.begin(), n.next.end(), [k2](const TKeyNode& s) { return s.key == k2; });
    if (it == n.next.end()) return false;
    n.next.erase(it);
    if (!n.next.empty()) return true;
  }
  first_.erase(first_.begin() + i);
  return true;
}

std::vector<TKeyBinding> TKeyStore::Bindings() const {
  std::vector<TKeyBinding> out;
  for (const TKeyNode& n : first_) {
    if (n.command >= 0) out.push_back({n.key, 0, std::uint8_t(n.command)});
    for (const TKeyNode& s : n.next) out.push_back({n.key, s.key, std::uint8_t(s.command)});
  }
  return out;
}

std::size_t TKeyStore::SequenceCount() const noexcept {
  std::size_t count = 0;
  for (const TKeyNode& n : first_) count += n.command >= 0 ? 1 : n.next.size();
  return count;
}

}  // namespace vlr
