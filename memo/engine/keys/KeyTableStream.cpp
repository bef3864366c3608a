// The stream form of a key controller's table and descriptions.
#include <cstring>

#include "memo/engine/keys/KeyboardActionController.h"

namespace vlr {

namespace {

constexpr char kMagic[4] = {'V', 'K', 'T', 1};

class Writer {
 public:
  explicit Writer(velora::memo::ByteStream& out) : out_(out) {}
  void U8(std::uint8_t v) { out_.write(reinterpret_cast<const char*>(&v), 1); }
  void U16(std::uint16_t v) {
    const char b[2] = {char(v & 0xFF), char(v >> 8)};
    out_.write(b, 2);
  }
  void Bytes(const char* p, std::size_t n) { out_.write(p, n); }

 private:
  velora::memo::ByteStream& out_;
};

class Reader {
 public:
  explicit Reader(velora::memo::ByteStream& in) : in_(in) {}
  void Bytes(char* p, std::size_t n) {
    if (in_.read(p, n) != n) Fail("the data ends too early");
  }
  std::uint8_t U8() {
    char b = 0;
    Bytes(&b, 1);
    return std::uint8_t(b);
  }
  std::uint16_t U16() {
    unsigned char b[2];
    Bytes(reinterpret_cast<char*>(b), 2);
    return std::uint16_t(b[0] | (b[1] << 8));
  }
  [[noreturn]] static void Fail(const std::string& why) {
    throw EKeyControllerException("Invalid key table data: " + why);
  }

 private:
  velora::memo::ByteStream& in_;
};

}  // namespace

void TKeyboardActionContoller::SaveToStream(velora::memo::ByteStream& out) const {
  const std::vector<TKeyBinding> bindings = store_.Bindings();
  if (bindings.size() > kMaxStoredSequences)
    throw EKeyControllerException("Too many key sequences to store: " + std::to_string(bindings.size()));
  for (const std::string& d : descriptions_)
    if (d.size() > kMaxDescriptionBytes) throw EKeyControllerException("Key function name too long to store: " + d);
  Writer w(out);
  w.Bytes(kMagic, sizeof kMagic);
  w.U16(std::uint16_t(bindings.size()));
  for (const TKeyBinding& b : bindings) {
    w.U16(b.key1);
    w.U16(b.key2);
    w.U8(b.command);
  }
  for (const std::string& d : descriptions_) {
    w.U16(std::uint16_t(d.size()));
    w.Bytes(d.data(), d.size());
  }
}

void TKeyboardActionContoller::LoadFromStream(velora::memo::ByteStream& in) {
  Reader r(in);
  char magic[sizeof kMagic];
  r.Bytes(magic, sizeof magic);
  if (std::memcmp(magic, kMagic, sizeof kMagic - 1) != 0) Reader::Fail("not a key table");
  if (magic[3] != kMagic[3]) Reader::Fail("unknown version " + std::to_string(int(std::uint8_t(magic[3]))));
  const std::size_t count = r.U16();
  if (count > kMaxStoredSequences) Reader::Fail(std::to_string(count) + " key sequences");
  // Everything is read into a table of its own first: a failure leaves this controller as it was.
  TKeyTable table;
  table.bindings.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    TKeyBinding b;
    b.key1 = r.U16();
    b.key2 = r.U16();
    const std::uint8_t command = r.U8();
    if (command >= kEditorCommandCount) Reader::Fail("command code " + std::to_string(command));
    if (b.key2 > 0xFF) Reader::Fail("a second key with modifiers");
    b.command = command;
    table.bindings.push_back(b);
  }
  for (std::string& d : table.descriptions) {
    const std::size_t n = r.U16();
    if (n > kMaxDescriptionBytes) Reader::Fail("a command name of " + std::to_string(n) + " bytes");
    d.resize(n);
    r.Bytes(d.data(), n);
  }
  TKeyboardActionContoller loaded;
  try {
    loaded.SetTable(table);
  } catch (const EKeyControllerException& e) {
    Reader::Fail(e.what());
  }
  store_ = std::move(loaded.store_);
  descriptions_ = std::move(loaded.descriptions_);
  TableChanged();
}

}  // namespace vlr
