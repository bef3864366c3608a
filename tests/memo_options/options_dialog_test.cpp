// The options dialog as a whole: its pages, OK and Cancel through ExecuteOptionsDialog, the
// parser's own OnModifyProperties, the live preview of the Highlighting page, key assignments.
#include "OptionsFixture.h"

#include "memo/engine/Options.h"
#include "memo/engine/keys/KeyTable.h"
#include "memo/engine/scheme/ControlSettings.h"
#include "memo/widget/SyntaxMemo.h"
#include "memo/widget/options/AutoCorrectPage.h"
#include "memo/widget/options/ColorBox.h"
#include "memo/widget/options/HighlightPage.h"
#include "memo/widget/options/KeyCapture.h"
#include "memo/widget/options/KeysPage.h"
#include "memo/widget/options/OptionsDialog.h"
#include "memo/widget/options/OptionsPage.h"
#include "memo/widget/options/TemplatesPage.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <cstdlib>

namespace velora::memo::test {
namespace {

// Installs a driver for the duration of a test.
struct DriverScope {
  explicit DriverScope(TOptionsDialogDriver d) { SetOptionsDialogDriver(std::move(d)); }
  ~DriverScope() { SetOptionsDialogDriver(nullptr); }
};

int CommandOf(const vlr::TKeyTable& keys, std::uint16_t key1, std::uint16_t key2 = 0) {
  for (const vlr::TKeyBinding& b : keys.bindings)
    if (b.key1 == key1 && b.key2 == key2) return b.command;
  return -1;
}

// The position of the first character of `piece` in the preview's text.
Pos PreviewPos(const THighlightPage& page, const std::string& piece) {
  return Pos(page.Preview->engine().store().text().find(piece));
}

// A point inside the character at p.
QPoint Inside(const THighlightPage& page, Pos p) {
  return page.Preview->pointAt(p) + QPoint(1, page.Preview->lineHeight() / 2);
}

TEST_F(OptionsTest, TheDialogShowsTheChosenPagesAndOkAndCancel) {
  TOptionsDialog all(parser.Tables(), kAllPropEdPages);
  EXPECT_EQ(all.windowTitle(), QStringLiteral("Editor options"));
  ASSERT_EQ(all.Pages->count(), 5);
  const QStringList titles{"Options", "Highlighting", "Key Assignments", "Auto correct", "Code templates"};
  for (int i = 0; i < 5; ++i) EXPECT_EQ(all.Pages->tabText(i), titles[i]);
  EXPECT_EQ(all.OkButton->text(), QStringLiteral("OK"));
  EXPECT_EQ(all.CancelButton->text(), QStringLiteral("Cancel"));

  TOptionsDialog some(parser.Tables(), ppKEYS | ppTEMPLATES);
  ASSERT_EQ(some.Pages->count(), 2);
  EXPECT_EQ(some.Pages->tabText(0), QStringLiteral("Key Assignments"));
  EXPECT_EQ(some.OptionsPage, nullptr);
  EXPECT_EQ(some.HighlightPage, nullptr);
  EXPECT_NE(some.TemplatesPage, nullptr);
  // Without the Options page its checks are not run: OK closes at once.
  some.show();
  some.OkButton->click();
  EXPECT_EQ(some.result(), QDialog::Accepted);
}

TEST_F(OptionsTest, CancelLeavesTheParserAsItWasAndOkInstallsTheEditedCopy) {
  const vlr::TSchemeTables before = parser.Tables();
  {
    DriverScope scope([](TOptionsDialog& d) {
      d.HighlightPage->selectStyle(21);
      ASSERT_TRUE(d.HighlightPage->Foreground->selectNamed(QStringLiteral("Red")));
      d.OptionsPage->optionBox(smoWordWrap)->setChecked(true);
      d.CancelButton->click();
    });
    EXPECT_FALSE(ExecuteOptionsDialog(parser, kAllPropEdPages, nullptr));
  }
  EXPECT_TRUE(parser.Tables() == before);

  {
    // A driver that leaves the dialog open has not confirmed anything.
    DriverScope scope([](TOptionsDialog& d) { d.HighlightPage->selectStyle(21); });
    EXPECT_FALSE(ExecuteOptionsDialog(parser, kAllPropEdPages, nullptr));
  }
  EXPECT_TRUE(parser.Tables() == before);

  {
    DriverScope scope([](TOptionsDialog& d) {
      d.HighlightPage->selectStyle(21);
      ASSERT_TRUE(d.HighlightPage->Foreground->selectNamed(QStringLiteral("Red")));
      d.OptionsPage->optionBox(smoWordWrap)->setChecked(true);
      d.OkButton->click();
    });
    EXPECT_TRUE(ExecuteOptionsDialog(parser, kAllPropEdPages, nullptr));
  }
  const vlr::TSchemeEffect& fx = parser.Tables().effects[21];
  EXPECT_EQ(fx.foreground, 0x0000FFu);
  EXPECT_FALSE(fx.defaultForeground);
  EXPECT_TRUE(parser.Tables().settings.options & smoWordWrap);
  // The highlighter draws tag names with the new colour.
  EXPECT_EQ(parser.styleOf(21).foreground, 0x0000FFu);
  // Everything else is as it was.
  vlr::TSchemeTables expected = before;
  expected.effects[21] = fx;
  expected.settings.options |= smoWordWrap;
  EXPECT_TRUE(parser.Tables() == expected);
}

TEST_F(OptionsTest, OnModifyPropertiesTakesThePlaceOfTheDialog) {
  bool shown = false;
  DriverScope scope([&](TOptionsDialog& d) {
    shown = true;
    d.OkButton->click();
  });
  int asked = 0;
  parser.OnModifyProperties = [&](vlr::TSyntaxMemoParser& sender) {
    ++asked;
    EXPECT_EQ(&sender, &parser);
    return asked == 1;
  };
  EXPECT_TRUE(EditProperties(parser));
  EXPECT_FALSE(EditProperties(parser));
  EXPECT_EQ(asked, 2);
  EXPECT_FALSE(shown);
  parser.OnModifyProperties = nullptr;
  EXPECT_TRUE(EditProperties(parser));
  EXPECT_TRUE(shown);
}

TEST_F(OptionsTest, TheHighlightingPageEditsStylesAndThePreviewFollows) {
  TOptionsDialog d(parser.Tables(), ppHIGHLIGHTING);
  d.show();
  THighlightPage& page = *d.HighlightPage;
  EXPECT_EQ(page.LanguageName->text(), QStringLiteral("HTML"));
  ASSERT_EQ(page.StyleList->count(), 23);
  EXPECT_EQ(page.StyleList->item(0)->text(), QStringLiteral("Default"));
  EXPECT_EQ(page.selectedStyle(), 0);
  ASSERT_EQ(page.FontSize->count(), 13);
  EXPECT_EQ(page.FontSize->itemText(0), QStringLiteral("8"));
  EXPECT_EQ(page.FontSize->itemText(12), QStringLiteral("30"));
  EXPECT_EQ(page.FontSize->currentText(), QStringLiteral("10"));
  EXPECT_TRUE(page.Preview->readOnly());

  // "JS Keyword" is green and bold.
  ASSERT_TRUE(page.selectStyle(30));
  EXPECT_TRUE(page.Bold->isChecked());
  EXPECT_FALSE(page.Italic->isChecked());
  EXPECT_EQ(page.Foreground->currentText(), QStringLiteral("Green"));
  EXPECT_FALSE(page.DefaultForeground->isChecked());
  EXPECT_FALSE(page.selectStyle(99));  // not editable
  EXPECT_EQ(page.selectedStyle(), 30);

  // Tag names in red italics on a custom background; the preview draws them so at once.
  ASSERT_TRUE(page.selectStyle(21));
  const Pos tag = PreviewPos(page, "html>");
  ASSERT_GT(tag, 0);
  EXPECT_EQ(page.Preview->engine().styleAt(tag).foreground, 0x000080u);  // maroon
  ASSERT_TRUE(page.Foreground->selectNamed(QStringLiteral("Red")));
  page.Italic->setChecked(true);
  page.Background->setColor(0x123456);
  Q_EMIT page.Background->colorChosen(0x123456);
  const vlr::TSchemeEffect& fx = d.edited().effects[21];
  EXPECT_EQ(fx.foreground, 0x0000FFu);
  EXPECT_EQ(fx.fontStyle & 7u, 2u);
  EXPECT_EQ(fx.background, 0x123456u);
  EXPECT_FALSE(fx.defaultBackground);
  const StyleEffect shown = page.Preview->engine().styleAt(tag);
  EXPECT_EQ(shown.foreground, 0x0000FFu);
  EXPECT_EQ(shown.background, 0x123456u);
  EXPECT_TRUE(shown.italic);
  EXPECT_FALSE(shown.bold);
  EXPECT_EQ(page.Background->currentText(), QStringLiteral("Custom"));
  // "Use defaults for" takes the colour back to the control's own.
  page.DefaultForeground->setChecked(true);
  EXPECT_TRUE(d.edited().effects[21].defaultForeground);
  EXPECT_EQ(page.Preview->engine().styleAt(tag).foreground, page.Preview->engine().defTextColor);
  // The font of the language.
  page.FontSize->setCurrentIndex(page.FontSize->findText(QStringLiteral("14")));
  EXPECT_EQ(d.edited().settings.fontSize, 14);
  // The size alone changes: the font keeps its name even where the system shows another.
  EXPECT_EQ(d.edited().settings.fontName, "Courier New");
  EXPECT_EQ(page.Preview->fontSize(), 14);

  if (const char* shots = std::getenv("VELORA_SCREENSHOTS"))
    d.grab().save(QString::fromUtf8(shots) + QStringLiteral("/editor-options-highlighting-edited.png"));
}

TEST_F(OptionsTest, TheCurrentLineColourIsChosenOnTheHighlightingPageAndReachesTheControl) {
  {
    DriverScope scope([](TOptionsDialog& d) {
      THighlightPage& page = *d.HighlightPage;
      EXPECT_TRUE(page.DefaultCurrentLine->isChecked());
      ASSERT_TRUE(page.CurrentLine->selectNamed(QStringLiteral("Yellow")));
      EXPECT_FALSE(page.DefaultCurrentLine->isChecked());
      EXPECT_EQ(page.Preview->currentLineColor(), QColor(255, 255, 0));  // the preview shows it
      d.OkButton->click();
    });
    EXPECT_TRUE(ExecuteOptionsDialog(parser, kAllPropEdPages, nullptr));
  }
  const vlr::TSchemeColor chosen = parser.Tables().settings.currentLineColor;
  EXPECT_FALSE(chosen.useDefault);
  EXPECT_EQ(chosen.color, 0x00FFFFu);
  TSyntaxMemo memo;
  const QColor shade = memo.currentLineColor();
  vlr::ApplySchemeSettings(memo.engine(), parser.Tables().settings);
  EXPECT_EQ(memo.currentLineColor(), QColor(255, 255, 0));
  // Back to the default: the control's own shade again.
  vlr::TSchemeSettings plain = parser.Tables().settings;
  plain.currentLineColor.useDefault = true;
  vlr::ApplySchemeSettings(memo.engine(), plain);
  EXPECT_EQ(memo.currentLineColor(), shade);
}

TEST_F(OptionsTest, ClickingThePreviewSelectsTheStyleUnderTheMouse) {
  TOptionsDialog d(parser.Tables(), ppHIGHLIGHTING);
  d.show();
  THighlightPage& page = *d.HighlightPage;
  const Pos comment = PreviewPos(page, "Syntax Highlighting");
  const Pos attribute = PreviewPos(page, "align=");
  const Pos tag = PreviewPos(page, "title>");
  ASSERT_GE(comment, 0);
  page.previewClicked(Inside(page, attribute));
  EXPECT_EQ(page.selectedStyle(), 5);  // Field name
  page.previewClicked(Inside(page, comment));
  EXPECT_EQ(page.selectedStyle(), 11);  // Comment
  // A click within 5 pixels of the last one is the same click.
  page.StyleList->setCurrentRow(0);
  page.previewClicked(Inside(page, comment) + QPoint(4, -3));
  EXPECT_EQ(page.selectedStyle(), 0);
  page.previewClicked(Inside(page, tag));
  EXPECT_EQ(page.selectedStyle(), 21);
  // Real mouse presses on the preview go the same way.
  QTest::mouseClick(page.Preview->viewport(), Qt::LeftButton, {}, Inside(page, attribute));
  EXPECT_EQ(page.selectedStyle(), 5);
}

TEST_F(OptionsTest, KeyAssignmentsAddAndDeleteAndRefuseADuplicateSequence) {
  TOptionsDialog d(parser.Tables(), ppKEYS);
  d.show();
  TKeysPage& page = *d.KeysPage;
  ASSERT_EQ(page.CommandList->count(), vlr::kEditorCommandCount);
  EXPECT_EQ(page.CommandList->item(0)->text(), QString::fromStdString(parser.Tables().keys.descriptions[0]));
  ASSERT_EQ(page.SequenceList->headerItem()->text(0), QStringLiteral("Key1"));
  EXPECT_EQ(page.SequenceList->headerItem()->text(1), QStringLiteral("Key2"));

  // Indent selected block: Ctrl+K then I.
  page.CommandList->setCurrentRow(17);
  ASSERT_EQ(page.SequenceList->topLevelItemCount(), 1);
  EXPECT_EQ(page.SequenceList->topLevelItem(0)->text(0), QStringLiteral("Ctrl+K"));
  EXPECT_EQ(page.SequenceList->topLevelItem(0)->text(1), QStringLiteral("I"));

  // Delete current line gets Ctrl+D as well.
  page.CommandList->setCurrentRow(40);
  page.Key1->setKey(vlr::kKeyCtrl | 'D');
  page.AddButton->click();
  EXPECT_EQ(CommandOf(d.edited().keys, vlr::kKeyCtrl | 'D'), 40);
  EXPECT_EQ(page.SequenceList->topLevelItemCount(), 2);
  EXPECT_TRUE(page.ErrorLabel->text().isEmpty());
  EXPECT_EQ(page.Key1->key(), 0);

  // Ctrl+Y is bound to "delete line": binding it to Undo is refused, naming both commands.
  const vlr::TKeyTable before = d.edited().keys;
  page.CommandList->setCurrentRow(41);
  page.Key1->setKey(vlr::kKeyCtrl | 'Y');
  EXPECT_FALSE(page.addSequence());
  const std::string& deleteLine = before.descriptions[40];
  const std::string& undo = before.descriptions[41];
  EXPECT_EQ(page.ErrorLabel->text().toStdString(),
            "Duplicate key sequence definition for\n\"" + deleteLine + "\" and \"" + undo + "\"");
  EXPECT_TRUE(d.edited().keys == before);
  // So is a single key that starts a bound two-key sequence.
  page.Key1->setKey(vlr::kKeyCtrl | 'K');
  EXPECT_FALSE(page.addSequence());
  EXPECT_TRUE(d.edited().keys == before);
  // A two-key sequence under a free first key is fine; its second key keeps no modifiers.
  page.Key1->setKey(vlr::kKeyCtrl | vlr::kKeyAlt | 'U');
  page.Key2->setKey(vlr::kKeyCtrl | 'U');
  EXPECT_TRUE(page.addSequence());
  EXPECT_EQ(CommandOf(d.edited().keys, vlr::kKeyCtrl | vlr::kKeyAlt | 'U', 'U'), 41);
  // Without a first key nothing is added.
  EXPECT_FALSE(page.addSequence());
  EXPECT_FALSE(page.ErrorLabel->text().isEmpty());

  // Delete removes the selected sequence of the selected command.
  page.CommandList->setCurrentRow(40);
  for (int i = 0; i < page.SequenceList->topLevelItemCount(); ++i)
    if (page.SequenceList->topLevelItem(i)->text(0) == QStringLiteral("Ctrl+Y"))
      page.SequenceList->setCurrentItem(page.SequenceList->topLevelItem(i));
  page.DeleteButton->click();
  EXPECT_EQ(CommandOf(d.edited().keys, vlr::kKeyCtrl | 'Y'), -1);
  EXPECT_EQ(CommandOf(d.edited().keys, vlr::kKeyCtrl | 'D'), 40);
  // Now Ctrl+Y is free for Undo.
  page.CommandList->setCurrentRow(41);
  page.Key1->setKey(vlr::kKeyCtrl | 'Y');
  EXPECT_TRUE(page.addSequence());
  EXPECT_EQ(CommandOf(d.edited().keys, vlr::kKeyCtrl | 'Y'), 41);

  if (const char* shots = std::getenv("VELORA_SCREENSHOTS"))
    d.grab().save(QString::fromUtf8(shots) + QStringLiteral("/editor-options-keys-edited.png"));
}

TEST_F(OptionsTest, OkIsRefusedWhileAFieldIsWrongAndShowsThePageWithTheError) {
  DriverScope scope([](TOptionsDialog& d) {
    TOptionsPage& page = *d.OptionsPage;
    d.Pages->setCurrentIndex(2);
    page.TabColumns->setText(QStringLiteral("5 9 9"));
    d.OkButton->click();
    EXPECT_TRUE(d.isVisible());
    EXPECT_EQ(d.Pages->currentWidget(), d.OptionsPage);
    EXPECT_EQ(page.ErrorLabel->text(), QStringLiteral("Tab columns must be in order and unique"));
    page.TabColumns->setText(QStringLiteral("5 x"));
    d.OkButton->click();
    EXPECT_EQ(page.ErrorLabel->text(), QStringLiteral("Tab stop column value expected"));
    page.TabColumns->setText(QStringLiteral("1"));
    d.OkButton->click();
    EXPECT_EQ(page.ErrorLabel->text(), QStringLiteral("Tab column must be > 1"));
    page.TabColumns->setText(QStringLiteral("5 9 13"));
    page.DefaultTab->setText(QStringLiteral("0"));
    d.OkButton->click();
    EXPECT_EQ(page.ErrorLabel->text(), QStringLiteral("=Illegal default tab stop value, must be > 0"));
    page.DefaultTab->setText(QStringLiteral("3"));
    page.GutterWidth->setText(QStringLiteral("200"));
    d.OkButton->click();
    EXPECT_EQ(page.ErrorLabel->text(), QStringLiteral("0-199 only"));
    page.GutterWidth->setText(QStringLiteral("-1"));
    d.OkButton->click();
    EXPECT_EQ(page.ErrorLabel->text(), QStringLiteral("0-199 only"));
    page.GutterWidth->setText(QStringLiteral("0"));
    // An act key of the Auto correct page that is no key keeps the dialog open on that page.
    d.AutoCorrectPage->ActKeys->setText(QStringLiteral(";\\{Nokey}"));
    d.OkButton->click();
    EXPECT_EQ(d.Pages->currentWidget(), d.AutoCorrectPage);
    EXPECT_EQ(d.AutoCorrectPage->ErrorLabel->text(), QStringLiteral("Act keys: Bad key specifier"));
    d.AutoCorrectPage->ActKeys->setText(QStringLiteral(";.\\{Return}"));
    d.OkButton->click();
    EXPECT_FALSE(d.isVisible());
  });
  ASSERT_TRUE(ExecuteOptionsDialog(parser, kAllPropEdPages, nullptr));
  const vlr::TSchemeTables& t = parser.Tables();
  EXPECT_EQ(t.settings.tabColumns, "5 9 13");
  EXPECT_EQ(t.settings.tabStops[0], 4);
  EXPECT_EQ(t.settings.tabStops[2], 12);
  EXPECT_EQ(t.settings.tabStops[3], -1);
  EXPECT_EQ(t.settings.tabDefault, 3);
  EXPECT_EQ(t.settings.gutterWidth, 0);
  EXPECT_EQ(t.actKeys, ";.\\{Return}");
}

TEST_F(OptionsTest, ScreenshotsOfThePages) {
  const char* shots = std::getenv("VELORA_SCREENSHOTS");
  if (!shots) GTEST_SKIP() << "VELORA_SCREENSHOTS names no folder";
  TOptionsDialog d(parser.Tables(), kAllPropEdPages);
  d.show();
  const char* names[] = {"editor-options-1-options", "editor-options-2-highlighting", "editor-options-3-keys",
                         "editor-options-4-autocorrect", "editor-options-5-templates"};
  for (int i = 0; i < d.Pages->count(); ++i) {
    d.Pages->setCurrentIndex(i);
    QApplication::processEvents();
    EXPECT_TRUE(d.grab().save(QString::fromUtf8(shots) + QStringLiteral("/%1.png").arg(QString::fromLatin1(names[i]))));
  }
}

}  // namespace
}  // namespace velora::memo::test
