// Tests of the stored form: exact round trip, the version warning, and safe refusal of
// truncated and corrupted data.
#include <gtest/gtest.h>

#include <random>

#include "RichScheme.h"
#include "SchemeTestUtil.h"
#include "memo/engine/scheme/Compressor.h"
#include "memo/engine/scheme/StoredForm.h"

using namespace vlr;

namespace {

std::string Stored(const char* script) { return WriteStoredForm(test::Compile(script)); }

}  // namespace

TEST(StoredForm, RichTablesReadBackExactly) {
  const TSchemeTables t = test::Compile(kRichScheme);
  ASSERT_FALSE(t.stateTables.empty());
  ASSERT_FALSE(t.keywordTables.empty());
  const std::string bytes = WriteStoredForm(t);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 49);
  EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0);
  EXPECT_EQ(bytes.substr(6, 4), "WRZL");
  const TStoredFormResult r = ReadStoredForm(bytes, "SyntaxMemoParser1");
  ASSERT_TRUE(r.Ok()) << r.message;
  EXPECT_TRUE(r.message.empty());
  EXPECT_TRUE(*r.tables == t);
  // Default tables too (nothing compiled but the defaults).
  const TSchemeTables empty = test::Compile("");
  EXPECT_TRUE(*ReadStoredForm(WriteStoredForm(empty), "p").tables == empty);
}

TEST(StoredForm, SingleByteTypingAidsOfEarlierFormsLoadAsUtf8) {
  // Forms saved before scripts were compiled to UTF-8 hold Windows-1252 bytes.
  TSchemeTables t = test::Compile("");
  t.autoReplace = {{"\xA3", "&#163;"}, {"\x99", "&#153;"}, {"na\xEFve", "na\xC3\xAFve"}};
  t.templates = {{"\xA9", "Copyright \xA9", "\xA9 2026"}};
  const TStoredFormResult r = ReadStoredForm(WriteStoredForm(t), "p");
  ASSERT_TRUE(r.Ok()) << r.message;
  const auto& items = r.tables->autoReplace;
  ASSERT_EQ(items.size(), 3u);
  EXPECT_EQ(items[0].item, "\u00A3");
  EXPECT_EQ(items[1].item, "\u2122");
  EXPECT_EQ(items[2].item, "na\u00EFve");
  EXPECT_EQ(items[2].replacement, "na\u00EFve");  // UTF-8 already: unchanged
  EXPECT_EQ(r.tables->templates[0].name, "\u00A9");
  EXPECT_EQ(r.tables->templates[0].description, "Copyright \u00A9");
  EXPECT_EQ(r.tables->templates[0].text, "\u00A9 2026");
}

TEST(StoredForm, OtherVersionGivesTheWarningAndNoTables) {
  std::string bytes = Stored("%%map 1 1");
  bytes[0] = 48;
  const TStoredFormResult r = ReadStoredForm(bytes, "SyntaxMemoParser1");
  EXPECT_FALSE(r.Ok());
  EXPECT_TRUE(r.versionMismatch);
  EXPECT_EQ(r.message,
            "SyntaxMemoParser1: DFM file saved by different version of TSyntaxMemoParser.\n\r"
            "Recompile script to update DFM file.\n\r"
            "Expected version was 49 read version was 48");
}

TEST(StoredForm, EveryTruncationIsRefused) {
  const std::string bytes = Stored("%%words 'a' '' 1 %%map 1 2 %%tokens 2 'x' 'y' 'z' 1");
  for (std::size_t n = 0; n < bytes.size(); ++n) {
    const TStoredFormResult r = ReadStoredForm(std::string_view(bytes).substr(0, n), "p");
    EXPECT_FALSE(r.Ok()) << n;
    EXPECT_FALSE(r.message.empty()) << n;
  }
  std::string longer = bytes + "x";
  EXPECT_FALSE(ReadStoredForm(longer, "p").Ok());
}

TEST(StoredForm, EditingAidsTravelAfterTheTablesAndOlderFormsKeepTheDefaults) {
  TSchemeTables t = test::Compile("%%words 'abc' '' 1");
  t.settings.editingAids = 0x205;
  const std::string bytes = WriteStoredForm(t);
  const TStoredFormResult r = ReadStoredForm(bytes, "p");
  ASSERT_TRUE(r.Ok()) << r.message;
  EXPECT_EQ(r.tables->settings.editingAids, 0x205u);

  // A form written before the extensions (the aids, then the dark styles: a tag, a length, the
  // appearance byte and 256 effects of 13 bytes): the tables alone load with the default aids.
  std::string plain = TCompressor::decode(std::string_view(bytes).substr(6));
  plain.resize(plain.size() - 12 - (8 + 1 + 256 * 13));
  std::string older = bytes.substr(0, 2);
  older += std::string{char(plain.size()), char(plain.size() >> 8), char(plain.size() >> 16), char(plain.size() >> 24)};
  older += TCompressor::encode(plain);
  const TStoredFormResult o = ReadStoredForm(older, "p");
  ASSERT_TRUE(o.Ok()) << o.message;
  EXPECT_EQ(o.tables->settings.editingAids, 255u);

  // A section this reader does not know is skipped; one cut short is refused.
  const std::string unknown = plain + std::string("ZZZZ\x02\0\0\0xy", 10);
  std::string withUnknown = bytes.substr(0, 2);
  const std::size_t n = unknown.size();
  withUnknown += std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + TCompressor::encode(unknown);
  EXPECT_TRUE(ReadStoredForm(withUnknown, "p").Ok());
  const std::string cut = plain + std::string("ZZZZ\x09\0\0\0xy", 10);
  std::string withCut = bytes.substr(0, 2);
  withCut += std::string{char(n), char(n >> 8), char(n >> 16), char(n >> 24)} + TCompressor::encode(cut);
  EXPECT_FALSE(ReadStoredForm(withCut, "p").Ok());
}

TEST(StoredForm, TheCurrentLineColourTravelsInASectionOfItsOwn) {
  TSchemeTables t = test::Compile("%%words 'abc' '' 1");
  const std::string plainForm = WriteStoredForm(t);
  EXPECT_TRUE(ReadStoredForm(plainForm, "p").tables->settings.currentLineColor.useDefault);
  t.settings.currentLineColor = TSchemeColor{false, 0x00E0FFFF};
  const std::string bytes = WriteStoredForm(t);
  EXPECT_GT(bytes.size(), plainForm.size());
  const TStoredFormResult r = ReadStoredForm(bytes, "p");
  ASSERT_TRUE(r.Ok()) << r.message;
  EXPECT_FALSE(r.tables->settings.currentLineColor.useDefault);
  EXPECT_EQ(r.tables->settings.currentLineColor.color, 0x00E0FFFFu);
  EXPECT_EQ(r.tables->settings.editingAids, t.settings.editingAids);
}

TEST(StoredForm, TheDarkStylesAndTheAppearanceTravelAfterTheTables) {
  TSchemeTables t = test::Compile("%%effects 1 [] 255 16777215 %%darkeffects 0 [] 13948116 1973790 1 [2] 65535 1973790 'hotspot'");
  ASSERT_TRUE(t.darkEffects[1].present);
  EXPECT_EQ(t.darkEffects[1].fontStyle, 4u);
  EXPECT_TRUE(t.darkEffects[1].hotspot);
  EXPECT_FALSE(t.darkEffects[2].present);
  t.settings.appearance = 2;
  const TStoredFormResult r = ReadStoredForm(WriteStoredForm(t), "p");
  ASSERT_TRUE(r.Ok()) << r.message;
  EXPECT_EQ(r.tables->settings.appearance, 2u);
  EXPECT_TRUE(r.tables->darkEffects == t.darkEffects);
  EXPECT_TRUE(r.tables->effects == t.effects);
}

TEST(StoredForm, CorruptDataIsRefusedWithAClearText) {
  const std::string bytes = Stored("%%words 'abcdefgh' '' 1 %%map 1 2");
  std::string badTag = bytes;
  badTag[6] = 'X';
  const TStoredFormResult r = ReadStoredForm(badTag, "p");
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(r.message.rfind("Compressor", 0), 0u) << r.message;

  std::string badLength = bytes;
  badLength[2] ^= 1;
  EXPECT_FALSE(ReadStoredForm(badLength, "p").Ok());

  // Well-compressed data with a word count far beyond the data: refused before allocating.
  const std::string plain = TCompressor::decode(std::string_view(bytes).substr(6));
  const std::size_t word = plain.find("abcdefgh");
  ASSERT_NE(word, std::string::npos);
  std::string forgedPlain = plain;
  forgedPlain.replace(word - 8, 4, "\xff\xff\xff\x7f");
  const std::string forged = bytes.substr(0, 6) + TCompressor::encode(forgedPlain);
  const TStoredFormResult f = ReadStoredForm(forged, "p");
  EXPECT_FALSE(f.Ok());
  EXPECT_EQ(f.message, "Stored scheme data is truncated");

  // Random damage anywhere inside: never a crash, and tables only when they check out.
  std::mt19937 rng(7);
  for (int i = 0; i < 2000; ++i) {
    std::string damaged = bytes;
    const auto at = std::uniform_int_distribution<std::size_t>(0, damaged.size() - 1)(rng);
    damaged[at] = static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng));
    const TStoredFormResult d = ReadStoredForm(damaged, "p");
    EXPECT_EQ(d.Ok(), d.message.empty());
  }
}

TEST(StoredForm, IndicesAreCheckedOnLoad) {
  // A table whose word refers to a character group that does not exist must not load.
  TSchemeTables t = test::Compile("%%words 'a' '[0-9]' 1");
  t.words[0].follow = 5;
  const TStoredFormResult r = ReadStoredForm(WriteStoredForm(t), "p");
  EXPECT_FALSE(r.Ok());
  EXPECT_EQ(r.message, "Stored scheme data is corrupt: word condition out of range");

  TSchemeTables u = test::Compile("%%tokens 1 'a' 'b' '' 0");
  u.defaultTable.first['z'] = 3;
  EXPECT_FALSE(ReadStoredForm(WriteStoredForm(u), "p").Ok());
}
