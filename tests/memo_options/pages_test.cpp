// The Options, Auto correct and Code templates pages on their own: what they show of the
// settings and how their edits reach the edited copy.
#include "OptionsFixture.h"

#include "memo/engine/Options.h"
#include "memo/widget/options/AutoCorrectPage.h"
#include "memo/widget/options/KeyCapture.h"
#include "memo/widget/options/OptionsPage.h"
#include "memo/widget/options/TemplatesPage.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QTreeWidget>

namespace velora::memo::test {
namespace {

TEST_F(OptionsTest, TheOptionsPageShowsAndWritesEveryOptionItOffers) {
  vlr::TSchemeTables t = parser.Tables();
  t.settings.options = smoPrintDate | smoSmartFill | smoProcessDroppedFiles | smoColumnTrack;
  TOptionsPage page(t);
  const std::uint32_t shown[] = {smoPrintWrap, smoPrintLineNos, smoPrintFilename, smoPrintDate, smoPrintPageNos,
                                 smoWordWrap, smoAutoIndent, smoTabToColumn, smoWrapOverride, smoWordSelect,
                                 smoSyntaxHighlight, smoTitleAsFilename, smoBlockOverwriteCursor, smoShowWrapGlyph,
                                 smoSmartFill, smoUseTAB, smoShowWrapColumn, smoShowRMargin, smoShowGutter};
  for (std::uint32_t bit : shown) {
    ASSERT_NE(page.optionBox(bit), nullptr) << bit;
    EXPECT_EQ(page.optionBox(bit)->isChecked(), (t.settings.options & bit) != 0) << bit;
  }
  EXPECT_EQ(page.optionBox(smoOLEDragSource), nullptr);
  EXPECT_FALSE(page.RightMargin->isEnabled());  // the margin is hidden
  EXPECT_EQ(page.TabColumns->text(), QString());
  EXPECT_EQ(page.DefaultTab->text(), QString::number(t.settings.tabDefault));
  EXPECT_EQ(page.GutterWidth->text(), QStringLiteral("34"));

  ASSERT_NE(page.aidBox(smaLineNumbers), nullptr);
  EXPECT_TRUE(page.aidBox(smaLineNumbers)->isChecked());
  EXPECT_FALSE(page.aidBox(smaKeepUndoAfterSave)->isChecked());
  page.aidBox(smaFolding)->setChecked(false);
  page.aidBox(smaTypingRuns)->setChecked(true);

  page.optionBox(smoPrintDate)->setChecked(false);
  page.optionBox(smoWordWrap)->setChecked(true);
  page.ShowRightMargin->setChecked(true);
  EXPECT_TRUE(page.RightMargin->isEnabled());
  page.RightMargin->setValue(72);
  page.IndentStep->setValue(4);
  page.WrapColumn->setValue(100);
  // Nothing is written before the page is applied.
  EXPECT_EQ(t.settings.options, smoPrintDate | smoSmartFill | smoProcessDroppedFiles | smoColumnTrack);
  EXPECT_EQ(page.apply(), QString());
  // The bits the page does not show are kept.
  EXPECT_EQ(t.settings.options,
            smoWordWrap | smoShowRMargin | smoSmartFill | smoProcessDroppedFiles | smoColumnTrack);
  EXPECT_EQ(t.settings.editingAids, (kDefaultEditingAids & ~std::uint32_t(smaFolding)) | smaTypingRuns);
  EXPECT_EQ(t.settings.rightMargin, 72);
  EXPECT_EQ(t.settings.indentStep, 4);
  EXPECT_EQ(t.settings.wordWrapColumn, 100);

  // A bad field writes nothing at all.
  page.optionBox(smoUseTAB)->setChecked(true);
  page.GutterWidth->setText(QStringLiteral("wide"));
  EXPECT_EQ(page.apply(), QStringLiteral("0-199 only"));
  EXPECT_FALSE(t.settings.options & smoUseTAB);
  page.GutterWidth->setText(QStringLiteral("34"));
  page.DefaultTab->setText(QStringLiteral("99999999999"));
  EXPECT_FALSE(page.apply().isEmpty());
  EXPECT_FALSE(t.settings.options & smoUseTAB);
}

TEST_F(OptionsTest, AutoCorrectPairsAreAddedReplacedAndDeleted) {
  vlr::TSchemeTables t = parser.Tables();
  const std::size_t count = t.autoReplace.size();
  ASSERT_GT(count, 600u);
  TAutoCorrectPage page(t);
  ASSERT_EQ(page.PairList->topLevelItemCount(), int(count));
  EXPECT_EQ(page.ActKeys->text(), QString::fromStdString(t.actKeys));

  page.ReplaceText->setText(QStringLiteral("velroa"));
  page.WithText->setText(QStringLiteral("Velora"));
  page.AddButton->click();
  ASSERT_EQ(t.autoReplace.size(), count + 1);
  EXPECT_EQ(t.autoReplace.back().item, "velroa");
  EXPECT_EQ(t.autoReplace.back().replacement, "Velora");
  EXPECT_EQ(page.PairList->currentItem()->text(0), QStringLiteral("velroa"));

  // An item that is listed is refused by Add; "teh" is one of the scheme's.
  page.ReplaceText->setText(QStringLiteral("teh"));
  page.WithText->setText(QStringLiteral("tea"));
  EXPECT_FALSE(page.addPair());
  EXPECT_NE(page.ErrorLabel->text().indexOf(QStringLiteral("already")), -1);
  EXPECT_EQ(t.autoReplace.size(), count + 1);
  page.ReplaceText->clear();
  EXPECT_FALSE(page.addPair());

  // Replace changes the selected pair (here the one just added).
  page.ReplaceText->setText(QStringLiteral("vlora"));
  page.WithText->setText(QStringLiteral("Velora!"));
  page.ReplaceButton->click();
  EXPECT_EQ(t.autoReplace.back().item, "vlora");
  EXPECT_EQ(t.autoReplace.back().replacement, "Velora!");
  EXPECT_EQ(t.autoReplace.size(), count + 1);
  // ... but not into an item listed elsewhere.
  page.ReplaceText->setText(QStringLiteral("teh"));
  EXPECT_FALSE(page.replacePair());
  EXPECT_EQ(t.autoReplace.back().item, "vlora");

  page.DeleteButton->click();
  EXPECT_EQ(t.autoReplace.size(), count);
  EXPECT_TRUE(t.autoReplace == parser.Tables().autoReplace);
}

TEST_F(OptionsTest, TemplatesAreAddedEditedAndDeletedAndNeedDistinctNames) {
  vlr::TSchemeTables t = parser.Tables();
  t.templates = {{"tbl", "Table", "<table>\r\n|\r\n</table>"}};
  TTemplatesPage page(t);
  ASSERT_EQ(page.TemplateList->topLevelItemCount(), 1);
  EXPECT_EQ(page.NameText->text(), QStringLiteral("tbl"));
  EXPECT_EQ(page.TemplateText->toPlainText(), QStringLiteral("<table>\n|\n</table>"));
  EXPECT_EQ(page.HotKey->text(), QStringLiteral("Ctrl+J"));

  page.AddButton->click();
  ASSERT_EQ(t.templates.size(), 2u);
  EXPECT_EQ(t.templates[1].name, "new");
  QTest::keyClicks(page.NameText, QStringLiteral("ul"));  // replaces the selected "new"
  page.DescriptionText->setText(QStringLiteral("List"));
  Q_EMIT page.DescriptionText->textEdited(page.DescriptionText->text());
  page.TemplateText->setPlainText(QStringLiteral("<ul>\n<li>|</li>\n</ul>"));
  EXPECT_EQ(t.templates[1].name, "ul");
  EXPECT_EQ(t.templates[1].description, "List");
  EXPECT_EQ(t.templates[1].text, "<ul>\r\n<li>|</li>\r\n</ul>");
  EXPECT_EQ(page.TemplateList->topLevelItem(1)->text(0), QStringLiteral("ul"));

  // Two templates of one name, or one without a name, are refused.
  page.NameText->setText(QStringLiteral("tbl"));
  Q_EMIT page.NameText->textEdited(page.NameText->text());
  EXPECT_EQ(page.apply(), QStringLiteral("Template \"tbl\" is listed twice"));
  page.NameText->clear();
  Q_EMIT page.NameText->textEdited(QString());
  EXPECT_EQ(page.apply(), QStringLiteral("Template name cannot be blank"));
  page.DeleteButton->click();
  ASSERT_EQ(t.templates.size(), 1u);
  EXPECT_EQ(t.templates[0].name, "tbl");

  page.HotKey->setKey(vlr::kKeyCtrl | vlr::kKeyShift | 'T');
  EXPECT_EQ(page.apply(), QString());
  EXPECT_EQ(t.templateHotKey, vlr::kKeyCtrl | vlr::kKeyShift | 'T');
}

}  // namespace
}  // namespace velora::memo::test
