// Offscreen tests of the control's editing options and properties through keys, the mouse and
// drag and drop: each option off and on, a read-only control refusing every editing path, the
// owner events OnTokenSeen and OnError.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QDialog>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QUrl>
#include <QVBoxLayout>
#include <memory>

#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/widget/SyntaxMemo.h"

using namespace velora::memo;

namespace {

struct OptionsFixture : ::testing::Test {
  TSyntaxMemo memo;
  void SetUp() override {
    memo.resize(640, 360);
    memo.show();
    memo.activateWindow();
    memo.setFocus();
    QApplication::processEvents();
  }
  void setOption(SyntaxMemoOption o, bool on) {
    auto& opts = memo.engine().options;
    opts = on ? (opts | o) : (opts & ~SyntaxMemoOptions(o));
  }
  [[nodiscard]] QPoint at(Pos p) const { return memo.pointAt(p) + QPoint(1, memo.lineHeight() / 2); }
  // A drag over the control ending in a drop at position p; whether the drop was accepted.
  bool drop(const QMimeData* mime, Pos p, Qt::KeyboardModifiers mods = Qt::NoModifier,
            Qt::DropActions actions = Qt::CopyAction | Qt::MoveAction) {
    const QPointF pt = at(p);
    QDragEnterEvent enter(pt.toPoint(), actions, mime, Qt::LeftButton, mods);
    QApplication::sendEvent(memo.viewport(), &enter);
    if (!enter.isAccepted()) return false;
    QDragMoveEvent move(pt.toPoint(), actions, mime, Qt::LeftButton, mods);
    QApplication::sendEvent(memo.viewport(), &move);
    QDropEvent dropped(pt, actions, mime, Qt::LeftButton, mods);
    QApplication::sendEvent(memo.viewport(), &dropped);
    return dropped.isAccepted();
  }
  void mouse(QEvent::Type type, Pos p, Qt::MouseButtons held) {
    const QPointF pt = at(p);
    QMouseEvent ev(type, pt, memo.viewport()->mapToGlobal(pt), type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton,
                   held, Qt::NoModifier);
    QApplication::sendEvent(memo.viewport(), &ev);
  }
};

// Letters are token 1, everything else token 0.
struct WordsLanguage : TokenScanner {
  std::uint8_t scanToken(MemoEngine&, EdStream& s, int& length) override {
    const bool letter = std::isalpha(static_cast<unsigned char>(s.current())) != 0;
    do {
      s.advance();
      ++length;
    } while (!s.atEnd() && (std::isalpha(static_cast<unsigned char>(s.current())) != 0) == letter);
    return letter ? 1 : 0;
  }
  void resetContext(std::uint8_t) override {}
};

}  // namespace

TEST_F(OptionsFixture, TabKeyAndTabToColumn) {
  struct Case {
    SyntaxMemoOptions options;
    const char* after;
  };
  const Case cases[] = {{0, "ab\t"}, {smoTabToColumn, "ab  "}, {smoTabToColumn | smoUseTAB, "ab\t"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.after);
    memo.engine().options = c.options;
    memo.setText("ab");
    memo.setSelStart(2);
    QTest::keyClick(&memo, Qt::Key_Tab);
    EXPECT_EQ(memo.text(), QByteArray(c.after));
  }
}

TEST_F(OptionsFixture, ReturnCopiesTheLineIndentationAsItIs) {
  struct Case {
    SyntaxMemoOptions options;
    const char* line;
    const char* after;
  };
  const SyntaxMemoOptions fill = smoAutoIndent | smoSmartFill | smoUseTAB;
  const Case cases[] = {{0, "      x", "      x\r"},
                        {smoAutoIndent, "      x", "      x\r      "},
                        {fill, "      \xC3\xA9t\xC3\xA9", "      \xC3\xA9t\xC3\xA9\r      "},
                        {fill, "\t  \xCE\xB1", "\t  \xCE\xB1\r\t  "},
                        {fill, " \t x", " \t x\r \t "}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.after);
    memo.engine().options = c.options;
    memo.setText(c.line);
    memo.setSelStart(Pos(std::string_view(c.line).size()));
    QTest::keyClick(&memo, Qt::Key_Return);
    EXPECT_EQ(memo.text(), QByteArray(c.after));
  }
}

TEST_F(OptionsFixture, NewIndentationFollowsTheIndentStyle) {
  MemoEngine& e = memo.engine();
  e.options = smoAutoIndent | smoTabToColumn | smoUseTAB | smoSmartFill;
  e.indentStep = 1;
  e.tabDefault = 8;
  struct Case {
    IndentStyle style;
    const char* tabbed;    // the Tab key after "ab"
    const char* indented;  // block indent of "x\ry"
  };
  const Case cases[] = {{{IndentKind::FromOptions, 0}, "ab\t", " x\r y"},
                        {{IndentKind::Spaces, 4}, "ab  ", "    x\r    y"},
                        {{IndentKind::Spaces, 2}, "ab  ", "  x\r  y"},
                        {{IndentKind::Tabs, 8}, "ab\t", "\tx\r\ty"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.indented);
    e.indentStyle = c.style;
    memo.setText("ab");
    memo.setSelStart(2);
    QTest::keyClick(&memo, Qt::Key_Tab);
    EXPECT_EQ(memo.text(), QByteArray(c.tabbed));
    memo.setText("x\ry");
    memo.selectAll();
    QTest::keyClick(&memo, Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(&memo, Qt::Key_I, Qt::ControlModifier);
    EXPECT_EQ(memo.text(), QByteArray(c.indented));
    // Un-indent takes one level off again.
    QTest::keyClick(&memo, Qt::Key_K, Qt::ControlModifier);
    QTest::keyClick(&memo, Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(memo.text(), QByteArray("x\ry"));
  }
  // Spaces to the next level from inside a line: column 3 goes to 4, not to the tab stop 8.
  e.indentStyle = {IndentKind::Spaces, 2};
  memo.setText("abc");
  memo.setSelStart(3);
  QTest::keyClick(&memo, Qt::Key_Tab);
  EXPECT_EQ(memo.text(), QByteArray("abc "));
  e.indentStyle = {};
}

TEST_F(OptionsFixture, WantTabAndWantReturns) {
  QDialog dialog;
  auto* layout = new QVBoxLayout(&dialog);
  auto* memo2 = new TSyntaxMemo(&dialog);
  auto* other = new QLineEdit(&dialog);
  auto* ok = new QPushButton(QStringLiteral("OK"), &dialog);
  ok->setDefault(true);
  QObject::connect(ok, &QPushButton::clicked, &dialog, &QDialog::accept);
  layout->addWidget(memo2);
  layout->addWidget(other);
  layout->addWidget(ok);
  dialog.show();
  memo2->setFocus();
  QApplication::processEvents();
  // Both wanted: Tab and Return are text.
  memo2->engine().options &= ~SyntaxMemoOptions(smoAutoIndent);
  QTest::keyClick(memo2, Qt::Key_Tab);
  QTest::keyClick(memo2, Qt::Key_Return);
  EXPECT_EQ(memo2->text(), QByteArray("\t\r"));
  EXPECT_TRUE(memo2->hasFocus());
  EXPECT_EQ(dialog.result(), QDialog::Rejected);
  // Not wanted: Tab moves the focus and Return reaches the dialog's default button.
  memo2->setWantTab(false);
  memo2->setWantReturns(false);
  QTest::keyClick(memo2, Qt::Key_Return);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  dialog.show();
  memo2->setFocus();
  QApplication::processEvents();
  QTest::keyClick(memo2, Qt::Key_Tab);
  EXPECT_EQ(memo2->text(), QByteArray("\t\r"));
  EXPECT_FALSE(memo2->hasFocus());
}

TEST_F(OptionsFixture, ColumnTrackKeepsTheColumnOfTheFirstVerticalMove) {
  for (const bool track : {false, true}) {
    SCOPED_TRACE(track ? "smoColumnTrack" : "without");
    setOption(smoColumnTrack, track);
    memo.setText("abcdef\rab\rabcdef");
    memo.setSelStart(5);
    QTest::keyClick(&memo, Qt::Key_Down);
    EXPECT_EQ(memo.caretColumn(), 3);  // the short line's end
    QTest::keyClick(&memo, Qt::Key_Down);
    EXPECT_EQ(memo.caretLine(), 3);
    EXPECT_EQ(memo.caretColumn(), track ? 6 : 3);
  }
}

TEST_F(OptionsFixture, WordSelectOnDoubleClickAndDrag) {
  for (const bool on : {false, true}) {
    SCOPED_TRACE(on ? "smoWordSelect" : "without");
    setOption(smoWordSelect, on);
    memo.setText("alpha beta gamma delta");
    QTest::mouseDClick(memo.viewport(), Qt::LeftButton, Qt::NoModifier, at(8));
    EXPECT_EQ(memo.selection(), on ? (Selection{6, 10}) : (Selection{8, 8}));
    // Dragging on after the double-click takes whole words, in both directions.
    mouse(QEvent::MouseButtonDblClick, 8, Qt::LeftButton);
    mouse(QEvent::MouseMove, 13, Qt::LeftButton);
    if (on) {
      EXPECT_EQ(memo.selection(), (Selection{6, 16}));
    }
    mouse(QEvent::MouseMove, 2, Qt::LeftButton);
    if (on) {
      EXPECT_EQ(memo.selection(), (Selection{10, 0}));
    }
    mouse(QEvent::MouseButtonRelease, 2, Qt::NoButton);
  }
}

TEST_F(OptionsFixture, TextDragsStartOnlyWithDragSource) {
  for (const bool on : {false, true}) {
    SCOPED_TRACE(on ? "smoOLEDragSource" : "without");
    setOption(smoOLEDragSource, on);
    memo.setText("hello world");
    memo.setSelection(0, 5);
    mouse(QEvent::MouseButtonPress, 2, Qt::LeftButton);
    mouse(QEvent::MouseMove, 9, Qt::LeftButton);  // far beyond the drag distance
    mouse(QEvent::MouseButtonRelease, 9, Qt::NoButton);
    // A drag leaves the selection alone (the drag ended without a drop); otherwise the press
    // placed the caret and the move selected from there.
    EXPECT_EQ(memo.selection(), on ? (Selection{0, 5}) : (Selection{2, 9}));
    EXPECT_EQ(memo.text(), QByteArray("hello world"));
  }
}

TEST_F(OptionsFixture, DraggingTextInsideTheControlMovesOrCopiesIt) {
  memo.setText("hello world");
  memo.setSelection(0, 5);
  std::unique_ptr<QMimeData> mime(memo.beginTextDrag());
  EXPECT_EQ(mime->text(), QStringLiteral("hello"));
  // A drop inside the dragged text does nothing.
  EXPECT_FALSE(drop(mime.get(), 3));
  EXPECT_TRUE(drop(mime.get(), 11));
  memo.endTextDrag(Qt::MoveAction);
  EXPECT_EQ(memo.text(), QByteArray(" worldhello"));
  EXPECT_EQ(memo.selection(), (Selection{6, 11}));
  memo.undo();  // the move is one undo step
  EXPECT_EQ(memo.text(), QByteArray("hello world"));
  EXPECT_EQ(memo.selection(), (Selection{0, 5}));
  // Ctrl copies.
  mime.reset(memo.beginTextDrag());
  EXPECT_TRUE(drop(mime.get(), 11, Qt::ControlModifier));
  memo.endTextDrag(Qt::CopyAction);
  EXPECT_EQ(memo.text(), QByteArray("hello worldhello"));
  memo.undo();
  EXPECT_EQ(memo.text(), QByteArray("hello world"));
}

TEST_F(OptionsFixture, DraggingTextToAnotherControlMovesIt) {
  TSyntaxMemo target;
  target.resize(300, 200);
  target.show();
  memo.setText("one two");
  memo.setSelection(4, 7);
  std::unique_ptr<QMimeData> mime(memo.beginTextDrag());
  const QPoint pt = target.pointAt(0) + QPoint(1, 2);
  // Shift asks for a move (a copy is the default between controls).
  QDragEnterEvent enter(pt, Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::ShiftModifier);
  QApplication::sendEvent(target.viewport(), &enter);
  QDropEvent dropped(pt, Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton, Qt::ShiftModifier);
  QApplication::sendEvent(target.viewport(), &dropped);
  ASSERT_TRUE(dropped.isAccepted());
  EXPECT_EQ(dropped.dropAction(), Qt::MoveAction);
  EXPECT_EQ(target.text(), QByteArray("two"));
  memo.endTextDrag(dropped.dropAction());
  EXPECT_EQ(memo.text(), QByteArray("one "));
  memo.undo();
  EXPECT_EQ(memo.text(), QByteArray("one two"));
}

TEST_F(OptionsFixture, FilesAreDroppedOnlyWithProcessDroppedFiles) {
  QSignalSpy files(&memo, &TSyntaxMemo::OnFilesDropped);
  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QStringLiteral("/tmp/page.html")), QUrl::fromLocalFile(QStringLiteral("/tmp/b.css"))});
  memo.setText("text");
  setOption(smoProcessDroppedFiles, false);
  EXPECT_FALSE(drop(&mime, 2));
  EXPECT_EQ(files.count(), 0);
  setOption(smoProcessDroppedFiles, true);
  EXPECT_TRUE(drop(&mime, 2));
  ASSERT_EQ(files.count(), 1);
  EXPECT_EQ(files[0][0].toStringList(), (QStringList{QStringLiteral("/tmp/page.html"), QStringLiteral("/tmp/b.css")}));
  EXPECT_EQ(files[0][1].toPoint(), at(2));
  EXPECT_EQ(memo.text(), QByteArray("text"));  // the names are not typed into the text
  // Files still go to the owner of a read-only control: opening them edits nothing here.
  memo.setReadOnly(true);
  EXPECT_TRUE(drop(&mime, 2));
  EXPECT_EQ(files.count(), 2);
}

TEST_F(OptionsFixture, AReadOnlyControlRefusesEveryEditingPath) {
  memo.setText("alpha beta");
  memo.setSelection(0, 5);
  QTest::keyClicks(&memo, "ALPHA");
  memo.undo();  // undo and redo both possible
  QApplication::clipboard()->setText(QStringLiteral("clip"));
  memo.setReadOnly(true);
  const QByteArray text = memo.text();
  QMimeData dropped;
  dropped.setText(QStringLiteral("dropped"));
  const std::pair<const char*, std::function<void()>> paths[] = {
      {"typing", [&] { QTest::keyClicks(&memo, "xyz"); }},
      {"return", [&] { QTest::keyClick(&memo, Qt::Key_Return); }},
      {"tab", [&] { QTest::keyClick(&memo, Qt::Key_Tab); }},
      {"backspace", [&] { QTest::keyClick(&memo, Qt::Key_Backspace); }},
      {"delete", [&] { QTest::keyClick(&memo, Qt::Key_Delete); }},
      {"paste", [&] { QTest::keyClick(&memo, Qt::Key_V, Qt::ControlModifier); }},
      {"cut", [&] { QTest::keyClick(&memo, Qt::Key_X, Qt::ControlModifier); }},
      {"undo", [&] { QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier); }},
      {"redo", [&] { QTest::keyClick(&memo, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier); }},
      {"delete line", [&] { QTest::keyClick(&memo, Qt::Key_Y, Qt::ControlModifier); }},
      {"input method", [&] {
         QInputMethodEvent ev(QString(), {});
         ev.setCommitString(QStringLiteral("ime"));
         QApplication::sendEvent(&memo, &ev);
       }},
      {"commands", [&] {
         for (int code : {int(caCUT), int(caPASTE), int(caDELETE), int(caBACKSPACE), int(caBLOCKIND), int(caBLOCKUND),
                          int(caDELETELINE), int(caUNDO), int(caREDO), int(caDELPREVWORD)})
           memo.executeCommand(code, false);
       }},
      {"messages", [&] {
         memo.Perform(msg::kReplaceSel, 0, reinterpret_cast<std::intptr_t>("x"));
         memo.Perform(msg::kPaste);
         memo.Perform(msg::kUndo);
         memo.Perform(msg::kRedo);
         memo.Perform(msg::kBlockIndent);
       }},
      {"text drop", [&] { EXPECT_FALSE(drop(&dropped, 3)); }},
  };
  for (const auto& [name, edit] : paths) {
    SCOPED_TRACE(name);
    memo.setSelection(0, 5);
    edit();
    EXPECT_EQ(memo.text(), text);
    EXPECT_TRUE(memo.canUndo());
    EXPECT_TRUE(memo.canRedo());
  }
  // A drag out of a read-only control copies: a move is not taken back from it.
  std::unique_ptr<QMimeData> mime(memo.beginTextDrag());
  memo.endTextDrag(Qt::MoveAction);
  EXPECT_EQ(memo.text(), text);
}

TEST_F(OptionsFixture, ClipCopyFormatsOnTheSystemClipboard) {
  memo.setText("copy me");
  memo.setSelection(0, 4);
  memo.engine().clipCopyFormats = smRTF;
  QApplication::clipboard()->setText(QStringLiteral("before"));
  memo.copy();
  const QMimeData* m = QApplication::clipboard()->mimeData();
  ASSERT_NE(m, nullptr);
  EXPECT_FALSE(m->hasText());
  EXPECT_TRUE(m->hasFormat(QStringLiteral("text/rtf")));
  memo.engine().clipCopyFormats = smTEXT;
  memo.copy();
  m = QApplication::clipboard()->mimeData();
  EXPECT_EQ(m->text(), QStringLiteral("copy"));
  EXPECT_FALSE(m->hasFormat(QStringLiteral("text/rtf")));
}

TEST_F(OptionsFixture, TokenSeenIsASignalOfTheRescan) {
  WordsLanguage language;
  vlr::AttachHighlighter(memo.engine(), language);
  std::vector<std::tuple<int, qint64, qint64>> seen;
  auto connection = QObject::connect(&memo, &TSyntaxMemo::OnTokenSeen, &memo, [&](int& value, qint64 a, qint64 b) {
    seen.emplace_back(value, a, b);
    if (value == 1 && b - a == 3) value = 7;  // the owner may change a token's value
  });
  memo.setText("ab cde fghi");
  ASSERT_GE(seen.size(), 2u);
  EXPECT_EQ(seen.front(), std::make_tuple(-1, qint64(-1), qint64(-1)));
  EXPECT_EQ(seen.back(), std::make_tuple(-2, qint64(-2), qint64(-2)));
  EXPECT_NE(std::find(seen.begin(), seen.end(), std::make_tuple(1, qint64(3), qint64(6))), seen.end());
  EXPECT_EQ(memo.engine().tokens(0, 11), (std::vector<std::uint8_t>{1, 1, 0, 7, 7, 7, 0, 1, 1, 1, 1}));
  // Without a receiver the highlighter is not asked to report tokens.
  QObject::disconnect(connection);
  QApplication::processEvents();
  EXPECT_FALSE(memo.engine().onTokenSeen);
  seen.clear();
  QTest::keyClicks(&memo, "x");
  EXPECT_TRUE(seen.empty());
  vlr::DetachHighlighter(memo.engine());
}

TEST_F(OptionsFixture, AnInsertionThatCannotBeAllocatedIsReported) {
  QStringList errors;
  QObject::connect(&memo, &TSyntaxMemo::OnError, &memo, [&](const QString& m) { errors << m; });
  memo.setText("small");
  memo.setSelStart(5);
  memo.engine().maxBufferBytes = 16;
  QApplication::clipboard()->setText(QString(17, QLatin1Char('x')));
  QTest::keyClick(&memo, Qt::Key_V, Qt::ControlModifier);
  memo.paste();  // the owner's paste command reports in the same way
  memo.engine().setMaxDocumentBytes(6);
  QTest::keyClicks(&memo, "ab");  // the first letter fits, the second does not
  QMimeData dropped;
  dropped.setText(QStringLiteral("dropped"));
  EXPECT_FALSE(drop(&dropped, 0));
  EXPECT_EQ(memo.text(), QByteArray("smalla"));
  EXPECT_EQ(errors, (QStringList{QStringLiteral("Cannot alloc memory for buffer!!"),
                                 QStringLiteral("Cannot alloc memory for buffer!!"),
                                 QStringLiteral("Not enough memory for operation"),
                                 QStringLiteral("Not enough memory for operation")}));
}
