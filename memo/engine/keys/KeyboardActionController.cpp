// The key controller: the table, the descriptions and the lookup of typed keys.
#include "memo/engine/keys/KeyboardActionController.h"

#include "memo/engine/keys/KeyTable.h"

namespace vlr {

namespace {

void CheckCommand(int command) {
  if (command < 0 || command >= kEditorCommandCount)
    throw EKeyControllerException("Key command code out of range: " + std::to_string(command));
}

}  // namespace

TKeyboardActionContoller::TKeyboardActionContoller() {
  for (int i = 0; i < kEditorCommandCount; ++i) descriptions_[std::size_t(i)] = DefaultCommandDescription(i);
}

void TKeyboardActionContoller::Assign(const TKeyPersistent& source) {
  const auto* other = dynamic_cast<const TKeyboardActionContoller*>(&source);
  if (!other) AssignError(source);
  if (other == this) return;
  store_ = other->store_;
  descriptions_ = other->descriptions_;
  TableChanged();
}

void TKeyboardActionContoller::AddSequence(std::uint16_t key1, std::uint16_t key2, int command) {
  CheckCommand(command);
  if (const int bound = store_.Add(key1, key2, command); bound >= 0)
    throw EAmbigiousKeyPair(DuplicateKeyText(descriptions_[std::size_t(bound)], descriptions_[std::size_t(command)]));
  TableChanged();
}

bool TKeyboardActionContoller::RemoveSequence(std::uint16_t key1, std::uint16_t key2) {
  const bool removed = store_.Remove(key1, key2);
  if (removed) TableChanged();
  return removed;
}

void TKeyboardActionContoller::Clear() {
  store_.Clear();
  TableChanged();
}

void TKeyboardActionContoller::SetDescription(int command, std::string description) {
  CheckCommand(command);
  if (description.empty()) throw EKeyControllerException("Key function name cannot be blank");
  descriptions_[std::size_t(command)] = std::move(description);
}

const std::string& TKeyboardActionContoller::Description(int command) const {
  CheckCommand(command);
  return descriptions_[std::size_t(command)];
}

std::vector<TKeyBinding> TKeyboardActionContoller::SequencesOf(int command) const {
  std::vector<TKeyBinding> out;
  for (const TKeyBinding& b : store_.Bindings())
    if (b.command == command) out.push_back(b);
  return out;
}

void TKeyboardActionContoller::SetTable(const TKeyTable& table) {
  descriptions_ = table.descriptions;
  store_.Clear();
  // Each sequence is bound as it comes, so a refused one leaves those before it in the table.
  struct Changed {
    TKeyboardActionContoller& c;
    ~Changed() { c.TableChanged(); }
  } changed{*this};
  for (const TKeyBinding& b : table.bindings) AddSequence(b.key1, b.key2, b.command);
}

TKeyTable TKeyboardActionContoller::ToTable() const {
  TKeyTable t;
  t.bindings = store_.Bindings();
  t.descriptions = descriptions_;
  return t;
}

void TKeyboardActionContoller::TableChanged() {
  pending_ = -1;  // indices into the old first level mean nothing now
  selectionKeys_.reset();
  for (const TKeyStore::TKeyNode& n : store_.FirstKeys()) {
    const auto selects = [](int c) { return (c >= 0 && c <= 11) || c == 16; };
    bool selecting = selects(n.command);
    for (const TKeyStore::TKeyNode& s : n.next) selecting = selecting || selects(s.command);
    if (selecting) selectionKeys_.set(n.key & 0xFF);
  }
}

TKeyOffer TKeyboardActionContoller::Offer(std::uint16_t key, bool shift) noexcept {
  const auto& first = store_.FirstKeys();
  if (pending_ >= 0) {
    // The second key: looked up by its virtual key alone.
    const TKeyStore::TKeyNode& prefix = first[std::size_t(pending_)];
    pending_ = -1;
    const std::uint16_t vk = key & 0xFF;
    for (const TKeyStore::TKeyNode& s : prefix.next)
      if (s.key == vk) return {TKeyOfferResult::Complete, s.command};
    return {};
  }
  std::uint16_t k = key & std::uint16_t(~kKeyShift);
  if (shift && !selectionKeys_.test(k & 0xFF)) k |= kKeyShift;
  for (std::size_t i = 0; i < first.size(); ++i) {
    if (first[i].key != k) continue;
    if (first[i].command >= 0) return {TKeyOfferResult::Complete, first[i].command};
    pending_ = int(i);
    return {TKeyOfferResult::Prefix, -1};
  }
  return {};
}

TKeyboardActionContoller& DefaultKeyController() {
  static TKeyboardActionContoller controller = [] {
    TKeyboardActionContoller c;
    c.SetTable(DefaultKeyTable());
    return c;
  }();
  return controller;
}

}  // namespace vlr
