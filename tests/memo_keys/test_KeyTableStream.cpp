// The stream form of a key controller: a round trip, and damaged data refused whole.
#include <gtest/gtest.h>

#include "memo/engine/ByteStream.h"
#include "memo/engine/keys/KeyTable.h"
#include "memo/engine/keys/KeyboardActionController.h"

namespace vlr {
namespace {

using velora::memo::MemoryStream;

std::string Saved(const TKeyboardActionContoller& k) {
  MemoryStream s;
  k.SaveToStream(s);
  return s.data();
}

TEST(KeyTableStream, RoundTripKeepsSequencesDescriptionsAndStopsAtItsEnd) {
  TKeyboardActionContoller k;
  k.SetTable(DefaultKeyTable());
  k.SetDescription(44, "Print selection");
  k.AddSequence(kKeyCtrl | kKeyAlt | 'P', 0, 44);
  MemoryStream s(Saved(k) + "after");
  TKeyboardActionContoller back;
  back.LoadFromStream(s);
  EXPECT_EQ(back.ToTable(), k.ToTable());
  EXPECT_EQ(back.Offer(kKeyCtrl | kKeyAlt | 'P', false).command, 44);
  EXPECT_EQ(back.IsSelectionKey(37), true);
  // The reader takes exactly its own bytes: what follows is left in the stream.
  char rest[5];
  ASSERT_EQ(s.read(rest, 5), 5u);
  EXPECT_EQ(std::string(rest, 5), "after");
}

TEST(KeyTableStream, DamagedDataIsRefusedAndNothingIsLoaded) {
  TKeyboardActionContoller k;
  k.SetTable(DefaultKeyTable());
  const std::string good = Saved(k);
  // Offsets: magic 0..3, count 4..5, first sequence 6..10 (key1, key2, command).
  std::string badMagic = good;
  badMagic[0] = 'X';
  std::string badVersion = good;
  badVersion[3] = 9;
  std::string badCommand = good;
  badCommand[10] = char(45);
  std::string modifiedSecond = good;
  modifiedSecond[9] = char(0x40);  // high byte of key2: a Ctrl bit
  std::string repeated = good;
  repeated.replace(11, 5, good.substr(6, 5));  // the second sequence equals the first
  std::string hugeCount = good;
  hugeCount[4] = char(0xFF);
  hugeCount[5] = char(0xFF);
  std::string longName = good;
  const std::size_t nameAt = 6 + 5 * 44;  // the first description's length
  longName[nameAt] = char(0xFF);
  longName[nameAt + 1] = char(0x7F);
  const struct {
    const char* name;
    std::string data;
    const char* reason;
  } cases[] = {
      {"empty", "", "the data ends too early"},
      {"magic", badMagic, "not a key table"},
      {"version", badVersion, "unknown version 9"},
      {"command", badCommand, "command code 45"},
      {"second key", modifiedSecond, "a second key with modifiers"},
      {"repeated", repeated, "Duplicate key sequence definition for"},
      {"count", hugeCount, "65535 key sequences"},
      {"name", longName, "a command name of 32767 bytes"},
      {"truncated sequences", good.substr(0, 100), "the data ends too early"},
      {"truncated names", good.substr(0, good.size() - 1), "the data ends too early"},
  };
  for (const auto& c : cases) {
    TKeyboardActionContoller target;
    target.AddSequence('Q', 0, 7);
    const TKeyTable before = target.ToTable();
    MemoryStream s(c.data);
    try {
      target.LoadFromStream(s);
      ADD_FAILURE() << c.name << ": accepted";
    } catch (const EKeyControllerException& e) {
      const std::string what = e.what();
      EXPECT_EQ(what.rfind("Invalid key table data: ", 0), 0u) << c.name << ": " << what;
      EXPECT_NE(what.find(c.reason), std::string::npos) << c.name << ": " << what;
    }
    EXPECT_EQ(target.ToTable(), before) << c.name;
    EXPECT_EQ(target.Offer('Q', false).command, 7) << c.name;
  }
}

}  // namespace
}  // namespace vlr
