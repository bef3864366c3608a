// The widget follows the settings its parser gives the control: font, gutter, word wrap, colours.
#include <gtest/gtest.h>

#include <QImage>

#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/FoldMargin.h"
#include "memo/widget/SyntaxMemo.h"

namespace {

using namespace velora::memo;

TEST(WidgetSettings, TheWidgetFollowsTheParsersSettings) {
  vlr::TSchemeTables t = vlr::CompileSchemeText(R"(
%%language
fontname = 'DejaVu Sans Mono'
fontsize = 9
gutter = 50
guttercolor = 255
wordwrapcolumn = 20
%%words
'if' '' 1
)");
  t.settings.options = kDefaultOptions;
  vlr::TSyntaxMemoParser parser;
  parser.SetTables(t);
  TSyntaxMemo memo;
  memo.resize(500, 300);
  memo.show();
  memo.setText(QByteArray(200, 'a').replace(20, 1, " ").replace(60, 1, " "));
  vlr::AttachHighlighter(memo.engine(), parser);
  EXPECT_EQ(memo.fontSize(), 9);
  EXPECT_EQ(memo.textLeft(), 50 + memo.lineNumberWidth() + memo.foldMargin().width() + memo.engine().margin);
  const int small = memo.lineHeight();
  EXPECT_EQ(memo.engine().wrapIndex(), nullptr);

  vlr::TSchemeTables edited = parser.Tables();
  edited.settings.fontSize = 20;
  edited.settings.options = (kDefaultOptions | smoWordWrap) & ~std::uint32_t(smoShowGutter);
  parser.ReplaceSettings(edited);
  EXPECT_GT(memo.lineHeight(), small);
  EXPECT_EQ(memo.textLeft(), memo.lineNumberWidth() + memo.foldMargin().width() + memo.engine().margin);
  ASSERT_NE(memo.engine().wrapIndex(), nullptr);
  EXPECT_EQ(memo.engine().wrapIndex()->width(), 20);
  EXPECT_GT(memo.engine().rowCount(), 1);

  // The gutter's colour is painted from the settings.
  edited.settings.options = kDefaultOptions;
  parser.ReplaceSettings(edited);
  const QImage shot = memo.viewport()->grab().toImage();
  EXPECT_EQ(shot.pixelColor(5, 5), QColor(255, 0, 0));
}

}  // namespace
