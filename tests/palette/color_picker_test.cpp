// The colour picker page: loading palettes, choosing swatches, inserting colours.
#include "appearance/palette/ColorPatch.h"
#include "appearance/palette/ColorPicker.h"
#include "appearance/palette/PaletteGrid.h"
#include "palette_test_support.h"
#include "platform/ScriptedPrompter.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

namespace {

using vlr::TColorPicker;

QString field(const TColorPicker& picker, const char* name) {
    return picker.findChild<QLineEdit*>(QString::fromLatin1(name))->text();
}

vlr::Palette webSafe() {
    vlr::Palette colors{};
    vlr::ReadPaletteFile(WEBSAFE_PAL_FILE, colors);
    return colors;
}

TEST(ColorPicker, StartsBlackWithNothingChosen) {
    TColorPicker picker;
    EXPECT_EQ(picker.SelectedSwatch(), 0);
    EXPECT_EQ(picker.PaletteColors(), vlr::Palette{});
    EXPECT_EQ(picker.CurrentColor(), 0u);
}

TEST(ColorPicker, DefaultPaletteLoadsWebSafeAndChoosesSwatchOne) {
    TempAppDir app;
    app.installWebSafe();
    TColorPicker picker;
    picker.loadDefaultPalette(app.dir());
    EXPECT_EQ(picker.PaletteCaption(), QStringLiteral(" Palette: Web Safe"));
    EXPECT_EQ(picker.SelectedSwatch(), 1);
    EXPECT_EQ(picker.PaletteColors(), webSafe());
}

TEST(ColorPicker, MissingDefaultPaletteLeavesTheGridBlack) {
    TempAppDir app;
    TColorPicker picker;
    picker.loadDefaultPalette(app.dir());
    EXPECT_EQ(picker.PaletteCaption(), QStringLiteral(" Palette: Web Safe"));
    EXPECT_EQ(picker.SelectedSwatch(), 1);
    EXPECT_EQ(picker.PaletteColors(), vlr::Palette{});
}

TEST(ColorPicker, LoadPaletteCommandAsksForASwatchFile) {
    TempAppDir app;
    app.installWebSafe();
    const std::string act = app.write("ramp.ACT", rampAct());
    vlr::ScriptedPrompter prompter;
    prompter.QueueFile(act);
    TColorPicker picker;
    picker.loadDefaultPalette(app.dir());
    picker.PaintBox2MouseUp(20, 5);  // swatch 2
    picker.LoadPaletteAction()->trigger();

    ASSERT_EQ(prompter.prompts().size(), 1u);
    const vlr::FileDialogRequest& asked = prompter.prompts()[0].dialog;
    EXPECT_EQ(asked.title, "Open Swatch");
    EXPECT_EQ(asked.filter,
              "All Palettes (*.act, *.pal)|*.act;*.pal|Photoshop Palette (*.act)|*.act|Palette File (.pal)|*.pal");
    EXPECT_EQ(asked.initialDir, app.dir() + "swatches");
    EXPECT_TRUE(asked.mustExist);
    EXPECT_FALSE(asked.multiSelect);

    EXPECT_EQ(picker.PaletteCaption(), QStringLiteral(" Palette: ramp"));
    EXPECT_EQ(picker.PaletteColors()[10], 10u + 65536u * 245u);
    // Loading another palette keeps the choice.
    EXPECT_EQ(picker.SelectedSwatch(), 2);

    // A cancelled dialog changes nothing.
    picker.LoadPaletteAction()->trigger();
    EXPECT_EQ(prompter.prompts().size(), 2u);
    EXPECT_EQ(picker.PaletteCaption(), QStringLiteral(" Palette: ramp"));
    EXPECT_EQ(picker.PaletteColors()[10], 10u + 65536u * 245u);
}

TEST(ColorPicker, ShortFileErrorsReachTheOwnersHandler) {
    TempAppDir app;
    app.installWebSafe();
    const std::string cut = app.write("cut.pal", std::string(1000, '\x01'));
    vlr::ScriptedPrompter prompter;
    prompter.QueueFile(cut);
    TColorPicker picker;
    picker.loadDefaultPalette(app.dir());
    std::exception_ptr reported;
    picker.setErrorHandler([&](std::exception_ptr e) { reported = e; });
    picker.LoadPalette1Click();

    ASSERT_TRUE(reported);
    EXPECT_THROW(std::rethrow_exception(reported), vlr::EPaletteIOError);
    // The caption already names the new file; the colours are the old ones.
    EXPECT_EQ(picker.PaletteCaption(), QStringLiteral(" Palette: cut"));
    EXPECT_EQ(picker.PaletteColors(), webSafe());
    EXPECT_TRUE(prompter.messages().empty());

    // LoadPalette itself raises to its caller.
    EXPECT_THROW(picker.LoadPalette(app.write("cut.act", "abc"), false), vlr::EPaletteIOError);
    EXPECT_EQ(picker.PaletteCaption(), QStringLiteral(" Palette: cut"));
}

TEST(ColorPicker, WithoutAHandlerErrorsAreShownAsErrorBoxes) {
    TempAppDir app;
    vlr::ScriptedPrompter prompter;
    prompter.QueueFile((app.path / "gone.act").string());
    TColorPicker picker;
    picker.LoadPalette1Click();
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].kind, vlr::MessageKind::Error);
    EXPECT_NE(prompter.messages()[0].text.find("gone.act"), std::string::npos);
}

TEST(ColorPicker, OtherExtensionsOnlyRenameTheCaption) {
    TempAppDir app;
    app.installWebSafe();
    TColorPicker picker;
    picker.loadDefaultPalette(app.dir());
    picker.LoadPalette(app.write("notes.gpl", std::string(2000, 'x')), false);
    EXPECT_EQ(picker.PaletteCaption(), QStringLiteral(" Palette: notes"));
    EXPECT_EQ(picker.PaletteColors(), webSafe());
}

TEST(ColorPicker, ReleaseChoosesTheSwatchAndShowsItsComponents) {
    TempAppDir app;
    TColorPicker picker;
    picker.LoadPalette(app.write("ramp.act", rampAct()), false);

    picker.PaintBox2MouseUp(1, 17);  // swatch 13: (12, 0, 243)
    EXPECT_EQ(picker.SelectedSwatch(), 13);
    EXPECT_EQ(picker.CurrentColor(), picker.PaletteColors()[12]);
    EXPECT_EQ(field(picker, "RedEdit"), QStringLiteral("12"));
    EXPECT_EQ(field(picker, "GreenEdit"), QStringLiteral("0"));
    EXPECT_EQ(field(picker, "BlueEdit"), QStringLiteral("243"));
    EXPECT_EQ(picker.focusWidget(), picker.Patch());

    // Edges and the right and bottom strip keep the choice.
    for (auto [x, y] : {std::pair{16, 20}, {20, 16}, {28, 20}, {20, 31}, {31, 31}})
        picker.PaintBox2MouseUp(x, y);
    EXPECT_EQ(picker.SelectedSwatch(), 13);

    picker.PaintBox2MouseUp(187, 315);
    EXPECT_EQ(picker.SelectedSwatch(), 240);
    EXPECT_EQ(field(picker, "RedEdit"), QStringLiteral("239"));
    EXPECT_EQ(field(picker, "BlueEdit"), QStringLiteral("16"));
}

TEST(ColorPicker, ReleaseBeforeAnyChoiceShowsNothing) {
    TempAppDir app;
    TColorPicker picker;
    picker.LoadPalette(app.write("ramp.act", rampAct()), false);
    picker.PaintBox2MouseUp(14, 14);
    EXPECT_EQ(picker.SelectedSwatch(), 0);
    EXPECT_EQ(picker.CurrentColor(), 0u);
    EXPECT_EQ(field(picker, "RedEdit"), QStringLiteral("0"));
}

TEST(ColorPicker, DoubleClickAsksToInsertTheColourText) {
    TempAppDir app;
    TColorPicker picker;
    vlr::Palette colors{};
    colors[0] = vlr::ColorOf(255, 0, 128);
    colors[1] = vlr::ColorOf(0, 0, 255);
    const std::string pal = (app.path / "three.pal").string();
    vlr::WritePalFile(pal, colors);
    picker.LoadPalette(pal, false);
    picker.resize(240, 500);
    picker.show();
    QSignalSpy inserted(&picker, &TColorPicker::colorInsertRequested);
    // What a double click delivers: press, release, double click, release.
    auto doubleClick = [&](QPoint at) {
        QTest::mouseClick(picker.Grid(), Qt::LeftButton, {}, at);
        QTest::mouseDClick(picker.Grid(), Qt::LeftButton, {}, at);
        QTest::mouseRelease(picker.Grid(), Qt::LeftButton, {}, at);
    };

    doubleClick(QPoint(6, 6));
    doubleClick(QPoint(22, 6));
    doubleClick(QPoint(38, 6));
    ASSERT_EQ(inserted.count(), 3);
    EXPECT_EQ(inserted[0][0].toString(), QStringLiteral("#FF0080"));
    EXPECT_EQ(inserted[1][0].toString(), QStringLiteral("#0000FF"));
    EXPECT_EQ(inserted[2][0].toString(), QStringLiteral("#000000"));
    EXPECT_EQ(picker.SelectedSwatch(), 3);
}

TEST(ColorPicker, TheKeyboardChoosesAndInsertsWithoutTheMouse) {
    TempAppDir app;
    TColorPicker picker;
    picker.LoadPalette(app.write("ramp.act", rampAct()), false);
    picker.resize(240, 500);
    picker.show();
    QSignalSpy inserted(&picker, &TColorPicker::colorInsertRequested);
    picker.Grid()->setFocus();
    EXPECT_EQ(picker.Grid()->focusPolicy(), Qt::StrongFocus);

    QTest::keyClick(picker.Grid(), Qt::Key_Down);  // the first key chooses swatch 1
    EXPECT_EQ(picker.SelectedSwatch(), 1);
    QTest::keyClick(picker.Grid(), Qt::Key_Down);
    QTest::keyClick(picker.Grid(), Qt::Key_Right);
    EXPECT_EQ(picker.SelectedSwatch(), 14);
    QTest::keyClick(picker.Grid(), Qt::Key_Left);
    QTest::keyClick(picker.Grid(), Qt::Key_Left);  // the row's edge holds
    EXPECT_EQ(picker.SelectedSwatch(), 13);
    EXPECT_EQ(field(picker, "BlueEdit"), QStringLiteral("243"));
    // The swatch reached is read out by its colour.
    EXPECT_TRUE(picker.Grid()->accessibleDescription().startsWith(QStringLiteral("#0C00F3"))) <<
        picker.Grid()->accessibleDescription().toStdString();
    EXPECT_EQ(picker.Patch()->accessibleName(), QStringLiteral("Current color"));

    QTest::keyClick(picker.Grid(), Qt::Key_Return);
    ASSERT_EQ(inserted.count(), 1);
    EXPECT_EQ(inserted[0][0].toString(), QStringLiteral("#0C00F3"));
    QTest::keyClick(picker.Grid(), Qt::Key_End);
    EXPECT_EQ(picker.SelectedSwatch(), 240);
    picker.Patch()->setFocus();
    QTest::keyClick(picker.Patch(), Qt::Key_Space);
    ASSERT_EQ(inserted.count(), 2);
}

}  // namespace
