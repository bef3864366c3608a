// The editing options and properties of the control: each one off and on gives its documented
// difference, through the typed API and through messages; a read-only control refuses every
// editing path; failed allocations leave the document as it was.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "memo/engine/MacroKeywords.h"
#include "memo/engine/MemoEngine.h"
#include "memo/engine/Messages.h"

using namespace velora::memo;
namespace m = velora::memo::msg;

namespace {

constexpr SyntaxMemoOptions kNone = 0;

struct Doc {
  MemoEngine e;
  explicit Doc(std::string_view s = {}, SyntaxMemoOptions opts = kDefaultOptions) {
    e.options = opts;
    e.setText(s);
  }
  std::intptr_t send(unsigned msg, std::uintptr_t w = 0, std::intptr_t l = 0) { return e.perform(msg, w, l); }
  template <class T>
  static std::intptr_t lp(T* p) { return reinterpret_cast<std::intptr_t>(p); }
};

}  // namespace

TEST(EditingOptions, TabKeyGoesToTheNextTabColumn) {
  struct Case {
    const char* name;
    SyntaxMemoOptions options;
    std::vector<int> tabColumns;
    const char* text;
    Pos caret;
    bool overwrite;
    const char* after;
    Pos caretAfter;
  };
  const SyntaxMemoOptions col = smoTabToColumn;
  const Case cases[] = {
      {"off: a tab character", kNone, {}, "ab", 2, false, "ab\t", 3},
      {"off, smoUseTAB alone: a tab character", smoUseTAB, {}, "ab", 2, false, "ab\t", 3},
      {"blanks to the default stop", col, {}, "ab", 2, false, "ab  ", 4},
      {"a whole step at a stop", col, {}, "abcd", 4, false, "abcd    ", 8},
      {"smoUseTAB: one tab", col | smoUseTAB, {}, "ab", 2, false, "ab\t", 3},
      {"explicit tab columns", col, {6}, "ab", 2, false, "ab    ", 6},
      {"display columns after a tab", col, {}, "\tx", 2, false, "\tx   ", 5},
      {"inside a line the blanks go in", col, {}, "ab|cd", 2, false, "ab  |cd", 4},
      {"overwrite moves over the line", col, {}, "abcdefgh", 1, true, "abcdefgh", 4},
      {"overwrite pads past the end", col, {}, "ab", 1, true, "ab  ", 4},
      {"overwrite without the option types a tab over a character", kNone, {}, "abc", 1, true, "a\tc", 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Doc d(c.text, c.options);
    d.e.tabColumns = c.tabColumns;
    d.e.setSelStart(c.caret);
    d.e.tabKey(c.overwrite);
    EXPECT_EQ(d.e.text(), c.after);
    EXPECT_EQ(d.e.selection(), (Selection{c.caretAfter, c.caretAfter}));
  }
  // A selection is replaced by the blanks to the stop after its start, as one undo step.
  Doc d("abXYZ", smoTabToColumn);
  d.e.setSelection(2, 5);
  d.e.tabKey();
  EXPECT_EQ(d.e.text(), "ab  ");
  d.e.undo();
  EXPECT_EQ(d.e.text(), "abXYZ");
}

TEST(EditingOptions, AutoIndentAndSmartFill) {
  struct Case {
    const char* name;
    SyntaxMemoOptions options;
    const char* text;
    Pos caret;
    const char* after;
  };
  const SyntaxMemoOptions ai = smoAutoIndent;
  const Case cases[] = {
      {"no auto-indent", kNone, "  \tabc", 6, "  \tabc\r"},
      {"no auto-indent, smart fill alone", smoSmartFill | smoUseTAB, "  \tabc", 6, "  \tabc\r"},
      // The line's indentation is copied as it is, whatever the options say about new indentation.
      {"copied as it is", ai, "  \tabc", 6, "  \tabc\r  \t"},
      {"blanks stay blanks", ai | smoSmartFill | smoUseTAB, "      x", 7, "      x\r      "},
      {"tabs stay tabs", ai | smoSmartFill, "  \tabc", 6, "  \tabc\r  \t"},
      {"a mixed indent as it is", ai | smoSmartFill | smoUseTAB, " \t  \tx", 6, " \t  \tx\r \t  \t"},
      {"only the blanks before the caret", ai | smoSmartFill | smoUseTAB, "    x", 2, "  \r    x"},
      {"no blanks, no indent", ai | smoSmartFill | smoUseTAB, "x", 1, "x\r"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Doc d(c.text, c.options);
    d.e.setSelStart(c.caret);
    d.e.newLine();
    EXPECT_EQ(d.e.text(), c.after);
  }
}

TEST(EditingOptions, TemplatesFillLaterLinesToTheDisplayColumn) {
  struct Case {
    const char* name;
    SyntaxMemoOptions options;
    const char* text;
    const char* after;
  };
  const Case cases[] = {
      {"blanks without smart fill", smoUseTAB, "    dv", "    <div>\r    </div>"},
      {"blanks with smart fill and smoUseTAB", smoSmartFill | smoUseTAB, "    dv", "    <div>\r    </div>"},
      {"blanks with smart fill alone", smoSmartFill, "      dv", "      <div>\r      </div>"},
      {"the line's tab", kNone, "\tdv", "\t<div>\r\t</div>"},
      // After the line's own indentation, blanks to the display column of the name.
      {"then blanks", smoSmartFill | smoUseTAB, "\tp dv", "\tp <div>\r\t  </div>"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Doc d(c.text, c.options);
    TCodeTemplates t;
    t.add({"dv", "Division", "<div>\r\n</div>"});
    d.e.setSelStart(d.e.length());
    ASSERT_EQ(t.offerKey(d.e, std::uint16_t(kCtrlKey | 'J'), {}), TCodeTemplates::Offer::Expanded);
    EXPECT_EQ(d.e.text(), c.after);
  }
}

TEST(EditingOptions, DoubleClickSelectsAWordOnlyWithWordSelect) {
  for (const bool on : {false, true}) {
    SCOPED_TRACE(on ? "smoWordSelect" : "without");
    Doc d("one two_2 three", on ? smoWordSelect : kNone);
    d.e.posFromPoint = [](Point p) { return Pos(p.x); };  // one pixel per character
    d.send(m::kLButtonDblClk, 0, 6);
    EXPECT_EQ(d.e.selection(), on ? (Selection{4, 9}) : (Selection{6, 6}));
    d.e.doubleClickAt(2);
    EXPECT_EQ(d.e.selection(), on ? (Selection{0, 3}) : (Selection{2, 2}));
  }
}

TEST(EditingOptions, WordTestsOfMovementSelectionSearchAndAutoReplace) {
  const auto alnumDash = [](unsigned char c) { return std::isalnum(c) || c == '-'; };
  const auto letters = [](unsigned char c) { return std::isalpha(c) != 0; };
  struct Case {
    const char* name;
    std::function<bool(unsigned char)> inWord, startsWord;
    Pos right0, leftEnd;            // wordRight(0), wordLeft(end) in "--foo-bar baz"
    std::pair<Pos, Pos> at3;        // wordAt(3)
    Pos wholeWordBar;               // whole-word search for "bar"
  };
  const Case cases[] = {
      {"default", nullptr, nullptr, 2, 10, {2, 5}, 6},
      {"dash in words", alnumDash, nullptr, 10, 10, {0, 9}, -1},
      {"dash in words, words start with letters", alnumDash, letters, 2, 10, {2, 9}, -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    Doc d("--foo-bar baz");
    d.e.fn_CharIsInWord = c.inWord;
    d.e.fn_CharStartsWord = c.startsWord;
    EXPECT_EQ(d.e.wordRight(0), c.right0);
    EXPECT_EQ(d.e.wordLeft(d.e.length()), c.leftEnd);
    EXPECT_EQ(d.e.wordAt(3), c.at3);
    EXPECT_EQ(d.e.find("bar", kSearchWholeWord, 0), c.wholeWordBar);
  }
  // Auto-replace leaves an item glued to a word alone: "-" is a word character only with the hook.
  for (const bool dashInWord : {false, true}) {
    Doc d("x-teh");
    if (dashInWord) d.e.fn_CharIsInWord = alnumDash;
    TAutoReplace r;
    r.add({"teh", "", "the"});
    d.e.setSelStart(d.e.length());
    EXPECT_EQ(r.offerKey(d.e, kVkSpace, {}), !dashInWord);
    EXPECT_EQ(d.e.text(), dashInWord ? "x-teh" : "x-the");
  }
}

TEST(EditingOptions, WordBreakProcDecidesWordBoundaries) {
  Doc d("a.b.c d\rnext");
  std::vector<int> codes;
  // Words end at '.' and ' ': the start of the word left of / after the offset.
  d.e.onWordBreakProc = [&codes](const char* text, int current, int length, int code) {
    codes.push_back(code);
    auto delimiter = [&](int i) { return text[i] == '.' || text[i] == ' '; };
    if (code == MemoEngine::kWbIsDelimiter) return delimiter(current) ? 1 : 0;
    if (code == MemoEngine::kWbRight) {
      int i = current;
      while (i < length && !delimiter(i)) ++i;
      while (i < length && delimiter(i)) ++i;
      return i;
    }
    int i = current;
    while (i > 0 && delimiter(i - 1)) --i;
    while (i > 0 && !delimiter(i - 1)) --i;
    return i;
  };
  EXPECT_EQ(d.e.wordRight(0), 2);
  EXPECT_EQ(d.e.wordRight(6), 7);  // to the line's end, then over the break as a step of its own
  EXPECT_EQ(d.e.wordRight(7), 8);
  EXPECT_EQ(d.e.wordLeft(5), 4);
  EXPECT_EQ(d.e.wordLeft(8), 7);
  EXPECT_EQ(d.e.wordAt(2), (std::pair<Pos, Pos>{2, 3}));
  EXPECT_NE(std::find(codes.begin(), codes.end(), MemoEngine::kWbIsDelimiter), codes.end());
  // An answer that does not move still moves by one character.
  d.e.onWordBreakProc = [](const char*, int current, int, int) { return current; };
  EXPECT_EQ(d.e.wordRight(1), 2);
  EXPECT_EQ(d.e.wordLeft(3), 2);
}

TEST(EditingOptions, ReadOnlyRefusesEveryEditingPath) {
  Doc d("alpha beta\rgamma");
  d.e.setSelection(0, 5);
  d.e.replaceSelection("ALPHA");
  d.e.setSelection(6, 10);
  d.e.replaceSelection("BETA");
  d.e.undo();  // both undo and redo are possible now
  d.e.copy();  // the clipboard holds "beta"
  TCodeTemplates templates;
  templates.add({"al", "", "<al>\r\nx"});
  TAutoReplace replace;
  replace.add({"ALPHA", "", "omega"});
  d.e.readOnly = true;
  const std::string text = d.e.text();
  MemoryStream stream("streamed");
  MemoryStream big(std::string(20000, 'x'));
  const char* zs = "message";
  const std::pair<const char*, std::function<void()>> paths[] = {
      {"typing", [&] { d.e.typeText("x"); }},
      {"overwrite", [&] { d.e.typeText("x", true); }},
      {"replace selection", [&] { d.e.replaceSelection("x"); }},
      {"delete selection", [&] { d.e.deleteSelection(); }},
      {"stream", [&] { d.e.insertStream(stream); }},
      {"long stream", [&] { d.e.insertStream(big); }},
      {"paste", [&] { d.e.paste(); }},
      {"cut", [&] { d.e.cut(); }},
      {"delete", [&] { d.e.deleteChar(true); }},
      {"backspace", [&] { d.e.deleteChar(false); }},
      {"delete previous word", [&] { d.e.deletePrevWord(); }},
      {"delete line", [&] { d.e.deleteLine(); }},
      {"return", [&] { d.e.newLine(); }},
      {"tab", [&] { d.e.tabKey(); }},
      {"block indent", [&] { d.e.blockIndent(); }},
      {"block un-indent", [&] { d.e.blockUnindent(); }},
      {"move text", [&] { d.e.moveText(0, 5, 12); }},
      {"undo", [&] { d.e.undo(); }},
      {"redo", [&] { d.e.redo(); }},
      {"template", [&] { d.e.setSelStart(2); (void)templates.offerKey(d.e, std::uint16_t(kCtrlKey | 'J'), {}); }},
      {"template expanded directly", [&] { templates.expand(d.e, templates.entries()[0], 0, {}); }},
      {"auto-replace", [&] { d.e.setSelStart(5); (void)replace.offerKey(d.e, kVkSpace, {}); }},
      {"0x00C2", [&] { d.send(m::kReplaceSel, 0, Doc::lp(zs)); }},
      {"0x0C02", [&] { d.send(m::kReplaceSelection, 0, Doc::lp(zs)); }},
      {"0x0C06", [&] { d.send(m::kInsertStream, 0, Doc::lp(static_cast<ByteStream*>(&stream))); }},
      {"0x0300", [&] { d.send(m::kCut); }},
      {"0x0302", [&] { d.send(m::kPaste); }},
      {"0x0304", [&] { d.send(m::kUndo); }},
      {"0x00C7", [&] { d.send(m::kEmUndo); }},
      {"0x0C0F", [&] { d.send(m::kRedo); }},
      {"0x0C10", [&] { d.send(m::kBlockIndent); }},
      {"0x0C11", [&] { d.send(m::kBlockUnindent); }},
  };
  for (const auto& [name, edit] : paths) {
    SCOPED_TRACE(name);
    d.e.setSelection(0, 5);
    edit();
    EXPECT_EQ(d.e.text(), text);
    EXPECT_TRUE(d.e.canUndo());
    EXPECT_TRUE(d.e.canRedo());
  }
  EXPECT_EQ(d.e.clipboard().text().value(), "beta");  // cut copied nothing either
  // The message that clears the flag makes the control editable again.
  d.send(m::kSetReadOnly, 0);
  d.e.typeText("x");
  EXPECT_EQ(d.e.text(), "x" + text.substr(5));
}

TEST(EditingOptions, ClipCopyFormatsChooseWhatCopyPlaces) {
  struct Case {
    unsigned formats;
    bool text, rtf;
  };
  const Case cases[] = {{smTEXT | smRTF, true, true}, {smTEXT, true, false}, {smRTF, false, true}, {0, false, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formats);
    Doc d("copy me");
    MemoryClipboard clip;
    d.e.setClipboard(&clip);
    d.e.clipCopyFormats = c.formats;
    d.e.setSelection(0, 4);
    d.send(m::kCopy);
    EXPECT_EQ(clip.text().has_value(), c.text);
    if (c.text) {
      EXPECT_EQ(*clip.text(), "copy");
    }
    EXPECT_EQ(clip.rtf().rfind("{\\rtf1", 0) == 0, c.rtf);
    // Cut removes the text only when it went somewhere.
    d.send(m::kCut);
    EXPECT_EQ(d.e.text(), c.formats ? " me" : "copy me");
  }
}

TEST(EditingOptions, SaveFormatIsTheFormOfTheDefaultStreamWrite) {
  struct Case {
    SaveFormat format;
    const char* starts;
  };
  const Case cases[] = {{SaveFormat::sfTEXT, "a\r\nb"}, {SaveFormat::sfUNIX, "a\nb"}, {SaveFormat::sfRTF, "{\\rtf1"},
                        {SaveFormat::sfHTML, "<HTML><HEAD>"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.starts);
    Doc d("a\rb");
    d.e.saveFormat = c.format;
    d.e.selectAll();
    MemoryStream out;
    const auto n = d.send(m::kWriteSelection, kExportSaveFormat, Doc::lp(static_cast<ByteStream*>(&out)));
    EXPECT_EQ(out.data().rfind(c.starts, 0), 0u) << out.data();
    EXPECT_EQ(std::size_t(n), out.data().size());
    EXPECT_EQ(d.send(m::kCopySelection, kExportSaveFormat, 0), n);  // the same form for 0x0C0D
    MemoryStream whole;
    d.e.setSelStart(1);  // the whole document, whatever is selected
    EXPECT_EQ(d.e.saveToStream(whole), n);
    EXPECT_EQ(whole.data(), out.data());
  }
  // Explicit form bits are unaffected by SaveFormat.
  Doc d("a\rb");
  d.e.saveFormat = SaveFormat::sfRTF;
  d.e.selectAll();
  MemoryStream out;
  d.send(m::kWriteSelection, kExportLF, Doc::lp(static_cast<ByteStream*>(&out)));
  EXPECT_EQ(out.data(), "a\nb");
}

TEST(EditingOptions, FilesAreDroppedOnlyWithProcessDroppedFiles) {
  for (const bool on : {false, true}) {
    Doc d("", on ? smoProcessDroppedFiles : kNone);
    std::vector<std::string> got;
    d.e.onFilesDropped = [&](const std::vector<std::string>& f, Point) { got = f; };
    DroppedFiles df{{"/tmp/a.html"}, {1, 2}};
    EXPECT_EQ(d.send(m::kDropFiles, 0, Doc::lp(&df)), on ? 1 : 0);
    EXPECT_EQ(got.size(), on ? 1u : 0u);
  }
}

TEST(EditingOptions, AnInsertionThatCannotBeAllocatedChangesNothing) {
  Doc d("0123456789\rabcde");
  d.e.setSelection(2, 4);
  d.e.replaceSelection("xy");
  const std::string text = d.e.text();
  const Selection sel{1, 3};
  d.e.setSelection(sel.anchor, sel.caret);
  auto expectUnchanged = [&] {
    EXPECT_EQ(d.e.text(), text);
    EXPECT_EQ(d.e.selection(), sel);
    d.e.store().checkInvariants();
  };
  auto raised = [&](const std::function<void()>& f) -> std::string {
    try {
      f();
    } catch (const ESyntaxMemo& err) {
      return err.what();
    }
    return "nothing raised";
  };
  // The copy of the incoming text.
  d.e.maxBufferBytes = 8;
  EXPECT_EQ(raised([&] { d.e.replaceSelection("123456789"); }), errtext::kNoBufferMemory);
  EXPECT_EQ(raised([&] { d.send(m::kReplaceSelection, 0, Doc::lp("123456789")); }), errtext::kNoBufferMemory);
  expectUnchanged();
  d.e.maxBufferBytes = std::size_t(1) << 40;
  // The document's growth: the selection's text is put back when the new text cannot be stored.
  d.e.setMaxDocumentBytes(Pos(text.size()) + 3);
  EXPECT_EQ(raised([&] { d.e.replaceSelection("123456"); }), errtext::kNoMemory);
  expectUnchanged();
  EXPECT_EQ(raised([&] { d.e.replaceSelection("12345\r\n6"); }), errtext::kNoMemory);  // across records
  expectUnchanged();
  MemoryStream s(std::string(9000, 'z'));
  EXPECT_EQ(raised([&] { d.e.insertStream(s); }), errtext::kNoMemory);
  EXPECT_EQ(s.position(), 0);
  expectUnchanged();
  // The undo log was left as it was: one undo takes back the edit before the failures.
  d.e.undo();
  EXPECT_EQ(d.e.text(), "0123456789\rabcde");
  d.e.redo();
  // Growth that fits is fine, up to the limit exactly.
  d.e.setSelection(sel.anchor, sel.caret);
  d.e.replaceSelection("12345");
  EXPECT_EQ(d.e.length(), Pos(text.size()) + 3);
  EXPECT_EQ(raised([&] { d.e.typeText("!"); }), errtext::kNoMemory);
}

TEST(EditingOptions, TemplateListsAssignOnlyTheirOwnClass) {
  TCodeTemplates a, b;
  a.add({"x", "X", "<x>"});
  a.hotKey = 0x1234;
  b.Assign(a);
  EXPECT_EQ(b.entries(), a.entries());
  EXPECT_EQ(b.hotKey, 0x1234);
  EXPECT_NE(b.matchBefore(TextStore(), 0), &a.entries()[0]);
  TAutoReplace r, r2;
  r.add({"teh", "", "the"});
  r.setActKeys(";");
  r2.Assign(r);
  EXPECT_EQ(r2.actKeysText(), ";");
  EXPECT_EQ(r2.entries().size(), 1u);
  try {
    r.Assign(a);
    FAIL() << "assigned";
  } catch (const ESyntaxMemo& err) {
    EXPECT_STREQ(err.what(), "Cannot assign a TCodeTemplates to TAutoReplace");
  }
  EXPECT_THROW(a.Assign(r), ESyntaxMemo);
  EXPECT_EQ(r.entries().size(), 1u);  // unchanged
  EXPECT_EQ(a.entries().size(), 1u);
}
