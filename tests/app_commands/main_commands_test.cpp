// Structure of the main window's command set: menus, radio groups, toolbars, icons, names.
#include "app/commands/CommandTable.h"
#include "app/commands/DropDownComboBox.h"
#include "app/commands/MainCommands.h"

#include <gtest/gtest.h>

#include "../shell/UserInput.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontComboBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QSet>
#include <QStatusBar>
#include <QSvgRenderer>
#include <QToolBar>
#include <QToolButton>
#include <QWidgetAction>

#include <memory>
#include <ostream>

// Lets assertion messages and failure reports show Qt strings.
std::ostream& operator<<(std::ostream& out, const QString& text) {
    return out << text.toStdString();
}

using vlr::CommandGroup;
using vlr::MainCommands;

namespace {

struct Window {
    std::unique_ptr<QMainWindow> window = std::make_unique<QMainWindow>();
    MainCommands* commands = new MainCommands(window.get());

    QAction* action(const char* name) const {
        QAction* found = commands->action(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
    QMenu* menu(const char* name) const {
        QMenu* found = commands->menu(QString::fromLatin1(name));
        EXPECT_NE(found, nullptr) << name;
        return found;
    }
};

// Captions of a menu's items, separators as "-".
QStringList captions(const QMenu* menu) {
    QStringList result;
    for (const QAction* item : menu->actions())
        result.append(item->isSeparator() ? QStringLiteral("-") : item->text());
    return result;
}

QStringList names(const QList<QAction*>& actions) {
    QStringList result;
    for (const QAction* item : actions)
        result.append(item->objectName());
    return result;
}

int opaquePixels(const QIcon& icon) {
    const QImage image = icon.pixmap(16, 16).toImage().convertToFormat(QImage::Format_ARGB32);
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) > 128 ? 1 : 0;
    return count;
}

QList<QAction*> buttons(const QToolBar* bar) {
    QList<QAction*> result;
    for (QAction* item : bar->actions()) {
        if (!item->isSeparator())
            result.append(item);
    }
    return result;
}

}  // namespace

TEST(MainCommandsMenus, TopLevelMenusInMenuBarOrder) {
    Window w;
    const QStringList expected = {"&File", "&Edit", "&View", "&Search", "&Insert", "&Project",
                                  "&Tools", "Pl&ugins", "&Window", "&Help"};
    QStringList shown;
    for (const QAction* item : w.window->menuBar()->actions())
        shown.append(item->text());
    EXPECT_EQ(shown, expected);
    EXPECT_EQ(w.window->menuBar()->objectName(), "TlbMainMenu");
    EXPECT_EQ(w.window->menuBar()->windowTitle(), "Menu Bar");
    EXPECT_EQ(names(w.window->menuBar()->actions()),
              QStringList({"File1", "Edit1", "View1", "Search1", "Insert1", "Project1", "Tools1",
                           "Plugins1", "Window1", "Help1"}));
    // Plug-ins appear only once a plug-in asks for a command; the menus themselves are usable.
    EXPECT_FALSE(w.action("Plugins1")->isVisible());
    EXPECT_TRUE(w.action("File1")->isEnabled());
    EXPECT_TRUE(w.action("Insert1")->isEnabled());
}

TEST(MainCommandsMenus, EditAndSearchMenusForwardInTheirOrder) {
    Window w;
    EXPECT_EQ(captions(w.menu("Edit1")),
              QStringList({"&Undo", "&Redo", "-", "Cu&t", "&Copy", "&Paste", "&Delete", "-",
                           "&Select All", "-", "&Indent Selected Text", "Uninde&nt Selected Text",
                           "Chan&ge Case"}));
    EXPECT_EQ(captions(w.menu("Search1")),
              QStringList({"&Find", "Find &Next", "&Replace", "&Show All", "Find in &Files...", "-",
                           "&Go To Line...", "-", "Regular E&xpressions"}));
    EXPECT_TRUE(w.action("RegularExpressions1")->isCheckable());
    EXPECT_FALSE(w.action("RegularExpressions1")->isChecked());
    for (QAction* item : w.menu("Edit1")->actions()) {
        if (!item->isSeparator()) {
            EXPECT_EQ(w.commands->groupOf(item), CommandGroup::EditForward) << item->objectName();
        }
    }
}

TEST(MainCommandsMenus, SubmenusAndPluginHooks) {
    Window w;
    EXPECT_EQ(w.menu("RecentProjects1")->title(), "&Recent Projects");
    EXPECT_EQ(w.menu("ReopenFile1")->title(), "Reopen &File");
    EXPECT_EQ(w.menu("RecentProjects1")->menuAction(), w.action("RecentProjects1"));
    EXPECT_EQ(w.commands->groupOf(w.action("ReopenFile1")), CommandGroup::OpenByType);
    EXPECT_EQ(w.commands->groupOf(w.action("RecentProjects1")), CommandGroup::Project);

    // "About &Plugins" sits just above "&About..." and starts hidden.
    const QList<QAction*> help = w.menu("Help1")->actions();
    ASSERT_GE(help.size(), 2);
    EXPECT_EQ(help.at(help.size() - 2), w.action("AboutPlugins1"));
    EXPECT_EQ(help.last(), w.action("About1"));
    EXPECT_FALSE(w.action("AboutPlugins1")->isVisible());

    EXPECT_EQ(captions(w.menu("Plugins1")), QStringList({"&Download...", "-"}));
    EXPECT_EQ(w.action("Download1")->statusTip(), "Download Additional Plugins");

    // The style submenu: "&Organize..." and a separator hidden while there are no styles.
    const QList<QAction*> styles = w.menu("CascadingStyleSheets1")->actions();
    ASSERT_EQ(styles.size(), 2);
    EXPECT_EQ(styles.at(0), w.action("Define1"));
    EXPECT_TRUE(styles.at(1)->isSeparator());
    EXPECT_FALSE(styles.at(1)->isVisible());

    EXPECT_EQ(captions(w.menu("Tools1")),
              QStringList({"&Upload...", "&Upload Wizard...", "-", "&Customize..."}));
    EXPECT_EQ(w.action("Velora1")->data().toString(), "");
    EXPECT_EQ(w.action("Search2")->data().toString(), "/search.html");
    EXPECT_EQ(w.commands->action("NoSuchCommand"), nullptr);
    EXPECT_EQ(w.commands->menu("NoSuchMenu"), nullptr);
    EXPECT_EQ(w.commands->toolbar("NoSuchToolbar"), nullptr);
}

TEST(MainCommandsMenus, MenuAnimationRadioItems) {
    Window w;
    EXPECT_EQ(captions(w.menu("MenuAnimation1")),
              QStringList({"&None", "-", "&Horizontal Slide", "&Random", "&Popup", "&Smart",
                           "&Unfold", "&Vertical Slide", "-", "&Double Speed"}));
    const QActionGroup* group = w.commands->radioGroup(QStringLiteral("animation"));
    ASSERT_NE(group, nullptr);
    EXPECT_TRUE(group->isExclusive());
    EXPECT_EQ(names(group->actions()),
              QStringList({"None1", "HorizontalSlide1", "Random1", "popup1", "Smart1", "Unfold1",
                           "VerticalSlide1"}));
    const QStringList stored = {"none", "hslide", "random", "popup", "smart", "unfold", "vslide"};
    for (int i = 0; i < stored.size(); ++i)
        EXPECT_EQ(group->actions().at(i)->data().toString(), stored.at(i));

    // Built-in setting before any preference is read: no animation, double speed on.
    EXPECT_EQ(group->checkedAction(), w.action("None1"));
    QAction* doubleSpeed = w.action("DoubleSpeed1");
    EXPECT_TRUE(doubleSpeed->isCheckable());
    EXPECT_TRUE(doubleSpeed->isChecked());
    EXPECT_EQ(doubleSpeed->actionGroup(), nullptr);

    // View, Menu Animation, Smart: by their keys, as the user chooses it.
    w.window->show();
    vlrtest::ChooseFromMenuBar(w.window.get(), Qt::Key_V, {Qt::Key_M, Qt::Key_S});
    EXPECT_EQ(group->checkedAction(), w.action("Smart1"));
    EXPECT_FALSE(w.action("None1")->isChecked());
    EXPECT_TRUE(doubleSpeed->isChecked());
}

TEST(MainCommandsMenus, ToolbarTogglesNameTheirToolbars) {
    Window w;
    EXPECT_EQ(captions(w.menu("Toolbars1")),
              QStringList({"&Main Toolbar", "&Edit Toolbar", "&HTML Toolbar", "&Forms Toolbar",
                           "Text Toolbar"}));
    EXPECT_EQ(captions(w.menu("PopupMenu981")),
              QStringList({"&Main Toolbar", "&Edit Toolbar", "&HTML Toolbar", "&Forms Toolbar",
                           "&Text Toolbar"}));
    QList<QAction*> toggles = w.menu("Toolbars1")->actions() + w.menu("PopupMenu981")->actions();
    for (const QAction* toggle : toggles) {
        EXPECT_TRUE(toggle->isCheckable()) << toggle->objectName();
        EXPECT_NE(w.commands->toolbar(toggle->data().toString()), nullptr) << toggle->objectName();
    }
    EXPECT_TRUE(w.action("FileList1")->isCheckable());
}

TEST(MainCommandsToolbars, FiveToolbarsInTheirRows) {
    Window w;
    const QStringList expectedNames = {"TlbMain", "TLBEditor", "TLBForms", "TlbText", "TlbHTML"};
    const QStringList expectedCaptions = {"Main", "Editor Options", "Form Elements",
                                          "Text Options", "Tags"};
    QStringList shownNames;
    QStringList shownCaptions;
    for (const QToolBar* bar : w.commands->toolbars()) {
        shownNames.append(bar->objectName());
        shownCaptions.append(bar->windowTitle());
        EXPECT_EQ(w.window->toolBarArea(bar), Qt::TopToolBarArea);
        EXPECT_EQ(w.commands->toolbar(bar->objectName()), bar);
    }
    EXPECT_EQ(shownNames, expectedNames);
    EXPECT_EQ(shownCaptions, expectedCaptions);

    w.window->resize(1100, 700);
    w.window->show();
    QApplication::processEvents();
    auto top = [&](const char* name) { return w.commands->toolbar(QString::fromLatin1(name))->y(); };
    EXPECT_GT(top("TLBEditor"), top("TlbMain"));
    EXPECT_EQ(top("TLBForms"), top("TLBEditor"));
    EXPECT_GT(top("TlbText"), top("TLBEditor"));
    EXPECT_GT(top("TlbHTML"), top("TlbText"));
    EXPECT_GT(w.commands->toolbar(QStringLiteral("TLBForms"))->x(),
              w.commands->toolbar(QStringLiteral("TLBEditor"))->x());
}

TEST(MainCommandsToolbars, EveryButtonHasAnIconAndItsHint) {
    Window w;
    int checked = 0;
    for (const QToolBar* bar : w.commands->toolbars()) {
        for (const QAction* button : buttons(bar)) {
            const QString where = bar->objectName() + "/" + button->objectName();
            EXPECT_FALSE(button->objectName().isEmpty()) << where;
            EXPECT_FALSE(button->toolTip().isEmpty()) << where;
            EXPECT_EQ(button->statusTip(), button->toolTip()) << where;
            if (qobject_cast<const QWidgetAction*>(button) != nullptr)
                continue;
            EXPECT_FALSE(button->icon().isNull()) << where;
            EXPECT_GT(opaquePixels(button->icon()), 12) << where;
            ++checked;
        }
    }
    EXPECT_GE(checked, 45);
    EXPECT_EQ(w.action("ToolbarButton9723")->toolTip(), "Bold");
    EXPECT_EQ(w.action("ToolbarButton9741")->toolTip(), "Insert Combobox");
    EXPECT_EQ(w.action("ToolbarButton9729")->toolTip(), "Color Picker");
    EXPECT_EQ(w.action("ToolbarButton9734")->toolTip(), "Extended Ascii Characters");
    EXPECT_EQ(w.commands->fontNameBox()->toolTip(), "Choose Font");
}

TEST(MainCommandsToolbars, OwnIconsExistAndRender) {
    // Every own drawing a command refers to must be compiled in and be valid SVG, so that no
    // button depends on an installed icon theme.
    Window w;
    QSet<QString> icons;
    auto collect = [&](std::span<const vlr::commands::CommandEntry> entries) {
        for (const auto& entry : entries) {
            if (*entry.icon != '\0')
                icons.insert(QString::fromUtf8(entry.icon));
        }
    };
    collect(vlr::commands::menuBarEntries());
    for (const auto& table : vlr::commands::popupTables())
        collect(table.entries);
    for (const auto& table : vlr::commands::toolbarTables()) {
        collect(table.entries);
        for (const auto& entry : table.entries) {
            if (entry.kind == vlr::commands::EntryKind::Command) {
                EXPECT_NE(*entry.icon, '\0') << entry.name << " has no own icon";
            }
        }
    }
    EXPECT_GE(icons.size(), 40);
    for (const QString& icon : icons) {
        const QString path = QStringLiteral(":/icons/%1.svg").arg(icon);
        EXPECT_TRUE(QFile::exists(path)) << path.toStdString();
        QSvgRenderer renderer(path);
        EXPECT_TRUE(renderer.isValid()) << path.toStdString();
        EXPECT_EQ(renderer.viewBox(), QRect(0, 0, 16, 16)) << path.toStdString();
        EXPECT_GT(opaquePixels(QIcon(path)), 12) << path.toStdString();
    }
}

TEST(MainCommandsToolbars, DropDownButtonsAndTheirMenus) {
    Window w;
    auto buttonOf = [&](const char* name) {
        QAction* item = w.action(name);
        QToolButton* button = nullptr;
        for (QToolBar* bar : w.commands->toolbars()) {
            if (bar->actions().contains(item))
                button = qobject_cast<QToolButton*>(bar->widgetForAction(item));
        }
        return button;
    };
    QToolButton* bullets = buttonOf("ToolbarButton9718");
    ASSERT_NE(bullets, nullptr);
    EXPECT_EQ(bullets->menu(), w.menu("ListStyleMenu1"));
    EXPECT_EQ(bullets->popupMode(), QToolButton::MenuButtonPopup);
    QToolButton* quick = buttonOf("QuickHTMLCodes1");
    ASSERT_NE(quick, nullptr);
    EXPECT_EQ(quick->menu(), w.menu("QuickCodesMenu1"));
    EXPECT_EQ(quick->popupMode(), QToolButton::InstantPopup);
    QToolButton* chars = buttonOf("ToolbarButton9734");
    ASSERT_NE(chars, nullptr);
    EXPECT_EQ(chars->menu(), w.menu("CharacterMenu1"));

    const QStringList quickCodes = captions(w.menu("QuickCodesMenu1"));
    ASSERT_EQ(quickCodes.size(), 24);
    EXPECT_EQ(quickCodes.first(), "Line Break");
    EXPECT_EQ(quickCodes.at(19), "&&nbsp");
    EXPECT_EQ(quickCodes.last(), "Body");

    const QList<QAction*> characters = w.menu("CharacterMenu1")->actions();
    ASSERT_EQ(characters.size(), 30);
    EXPECT_EQ(characters.first()->text(), "<");
    EXPECT_TRUE(characters.first()->isChecked());
    EXPECT_EQ(characters.at(2)->text(), QString::fromUtf8("\u00a9"));
    EXPECT_EQ(characters.at(2)->data().toString(), "169");
    EXPECT_EQ(characters.last()->text(), QString::fromUtf8("\u00c1"));

    EXPECT_EQ(captions(w.menu("ListStyleMenu1")),
              QStringList({"&Regular", "Circl&e", "S&quare", "&Numbers", "Small &Letters",
                           "Capital Le&tters", "Roman Numerals (&Small)",
                           "Roman Numerals (&Capital)"}));
    EXPECT_EQ(w.action("CapitalLetters1")->data().toString(), "A");
    EXPECT_TRUE(w.action("Regular1")->isChecked());

    EXPECT_EQ(w.commands->fontSizeBox()->currentText(), "2");
    EXPECT_EQ(w.commands->fontSizeBox()->count(), 7);
    EXPECT_EQ(w.commands->fontNameBox()->currentText(), "Arial");
    EXPECT_EQ(w.commands->variablesBox()->lineEdit()->placeholderText(), "Variables");
}

TEST(MainCommandsGroups, OnlyShellStartsEnabledAndGroupsSwitchAsAWhole) {
    Window w;
    const QList<QAction*> all = w.commands->commandActions();
    ASSERT_GT(all.size(), 150);
    QSet<QAction*> seen;
    for (QAction* item : all) {
        EXPECT_FALSE(seen.contains(item)) << item->objectName().toStdString();
        seen.insert(item);
        const auto group = w.commands->groupOf(item);
        ASSERT_TRUE(group.has_value());
        EXPECT_EQ(item->isEnabled(), *group == CommandGroup::Shell)
            << item->objectName().toStdString();
    }
    int total = 0;
    for (int g = 0; g < vlr::kCommandGroupCount; ++g) {
        const auto group = static_cast<CommandGroup>(g);
        const auto members = w.commands->actionsOfGroup(group);
        EXPECT_FALSE(members.isEmpty()) << vlr::commandGroupName(group).toStdString();
        total += static_cast<int>(members.size());
    }
    EXPECT_EQ(total, all.size());

    EXPECT_FALSE(w.commands->fontNameBox()->isEnabled());
    w.commands->setGroupEnabled(CommandGroup::Authoring, true);
    EXPECT_TRUE(w.commands->fontNameBox()->isEnabled());
    EXPECT_FALSE(w.commands->variablesBox()->isEnabled());
    w.commands->setGroupEnabled(CommandGroup::Variables, true);
    EXPECT_TRUE(w.commands->variablesBox()->isEnabled());
    EXPECT_TRUE(w.action("ToolbarButton9740")->isEnabled());
    EXPECT_TRUE(w.action("LineBreak2")->isEnabled());
    EXPECT_FALSE(w.action("Save1")->isEnabled());
    w.commands->setGroupEnabled(CommandGroup::Shell, false);
    EXPECT_FALSE(w.action("Exit1")->isEnabled());

    EXPECT_EQ(w.commands->groupOf(w.action("Save1")), CommandGroup::EditorFile);
    EXPECT_EQ(w.commands->groupOf(w.action("BuildAll2")), CommandGroup::Build);
    EXPECT_EQ(w.commands->groupOf(w.action("ToolbarButton9729")), CommandGroup::Palette);
    EXPECT_EQ(w.commands->groupOf(w.action("CheckSpelling1")), CommandGroup::Spelling);
    EXPECT_EQ(w.commands->groupOf(w.action("PrinterSetup2")), CommandGroup::Printing);
    EXPECT_EQ(w.commands->groupOf(w.action("File1")), std::nullopt);
}

TEST(MainCommandsGroups, NamesAndShortcutsAreUnique) {
    Window w;
    QSet<QString> names;
    QSet<QString> keys;
    for (const QAction* item : w.window->findChildren<QAction*>()) {
        if (!item->objectName().isEmpty()) {
            EXPECT_FALSE(names.contains(item->objectName())) << item->objectName().toStdString();
            names.insert(item->objectName());
        }
        for (const QKeySequence& key : item->shortcuts()) {
            const QString text = key.toString(QKeySequence::PortableText);
            EXPECT_FALSE(keys.contains(text)) << text.toStdString();
            keys.insert(text);
        }
    }
    EXPECT_GT(names.size(), 200);
    const std::pair<const char*, const char*> shortcuts[] = {
        {"Save1", "Ctrl+S"},    {"Undo1", "Ctrl+Z"},      {"Cut1", "Ctrl+X"},
        {"Copy1", "Ctrl+C"},    {"Paste1", "Ctrl+V"},     {"Delete1", "Ctrl+Del"},
        {"Find1", "Ctrl+F"},    {"FindNext1", "F3"},      {"Replace1", "Ctrl+R"},
        {"Image1", "Ctrl+I"},   {"Hyperlink1", "Ctrl+A"}, {"BuildAll1", "Ctrl+F9"},
        {"FindInFiles1", "Ctrl+Shift+F"}, {"NextWindow1", "Ctrl+F6"}, {"PreviousWindow1", "Ctrl+Shift+F6"},
        {"SwitchPane1", "F6"},
    };
    for (const auto& [name, key] : shortcuts)
        EXPECT_EQ(w.action(name)->shortcut().toString(QKeySequence::PortableText), key) << name;
    EXPECT_EQ(keys.size(), 16);
}

TEST(MainCommandsScreenshot, LooksLikeTheFinishedWindow) {
    Window w;
    w.window->setWindowTitle(QStringLiteral("Velora"));
    auto* area = new QMdiArea(w.window.get());
    w.window->setCentralWidget(area);
    auto* page = new QPlainTextEdit;
    page->setPlainText(QStringLiteral("<html>\n<head>\n  <title>Untitled</title>\n</head>\n"
                                      "<body>\n  <p>Hello</p>\n</body>\n</html>\n"));
    QMdiSubWindow* child = area->addSubWindow(page);
    child->setWindowTitle(QStringLiteral("Untitled Web Page"));
    child->resize(640, 380);
    w.window->statusBar()->addWidget(new QLabel(QStringLiteral("Ready")));
    for (int g = 0; g < vlr::kCommandGroupCount; ++g)
        w.commands->setGroupEnabled(static_cast<CommandGroup>(g), true);
    w.window->resize(1100, 700);
    w.window->show();
    QApplication::processEvents();
    const QPixmap shot = w.window->grab();
    ASSERT_FALSE(shot.isNull());
    EXPECT_EQ(shot.size(), QSize(1100, 700));
    EXPECT_TRUE(shot.save(QDir::current().filePath(QStringLiteral("main_commands.png"))));
}

int main(int argc, char** argv) {
    // These tests never need a display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
