// The user's manual against the program: every command of the menus, the
// toolbars and the context menus is described and has an index entry, every
// tag the program inserts can be looked up, every editing command of the key
// table is listed, and every link and picture of the pages exists.
#include "ManualText.h"
#include "ShellFixture.h"

#include "app/commands/CommandTable.h"
#include "authoring/markup/Insertions.h"
#include "authoring/markup/SpecialMarkup.h"
#include "editor/image/ImageElement.h"
#include "editor/window/FrmEditor.h"
#include "editor/window/HelpKeyword.h"
#include "libs/extdlgs/ElementMarkup.h"
#include "memo/engine/keys/KeyTable.h"
#include "project/unit/ProjectFileList.h"

#include <QAction>
#include <QMenu>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>

namespace fs = std::filesystem;

namespace vlrtest {
namespace {

const std::string kHelp = HELP_SOURCE_DIR;

std::string Plain(const std::string& caption) {
    std::string s = vlr::HelpKey(caption);
    return s;
}

// A command as the user meets it: where it is and what it says.
struct Command {
    std::string where, text;
};

std::vector<Command> TableCommands() {
    using namespace vlr::commands;
    std::vector<Command> out;
    for (const CommandEntry& e : menuBarEntries())
        if (*e.caption)
            out.push_back({std::string("menu bar ") + e.name, e.caption});
    for (const PopupTable& t : popupTables())
        for (const CommandEntry& e : t.entries)
            if (*e.caption)
                out.push_back({std::string(t.name) + " " + e.name, e.caption});
    for (const ToolbarTable& t : toolbarTables())
        for (const CommandEntry& e : t.entries)
            if (*e.hint && e.kind != EntryKind::Separator)
                out.push_back({std::string(t.caption) + " toolbar " + e.name, e.hint});
    return out;
}

// The context menus that are built with their windows: the editor window's
// and the project file list's.
std::vector<Command> WindowCommands(vlr::TFrmMainVLR& w) {
    std::vector<Command> out;
    w.action(QStringLiteral("NewFile1"))->trigger();
    auto* editor = w.findChild<vlr::TFrmEditor*>();
    EXPECT_NE(editor, nullptr);
    if (editor)
        for (QAction* a : editor->PopupMenu1->actions())
            if (!a->isSeparator())
                out.push_back({"editor context menu " + a->objectName().toStdString(), a->text().toStdString()});
    for (QAction* a : w.projectUnit().projectFileList().contextMenu()->actions())
        if (!a->isSeparator())
            out.push_back({"file list menu " + a->objectName().toStdString(), a->text().toStdString()});
    return out;
}

std::string ManualText() {
    std::string all;
    for (const auto& [name, html] : ManualPages(kHelp))
        if (name != "keywords.html")  // the index alone does not describe a command
            all += ReadableText(html) + "\n";
    return all;
}

bool IsIndexPage(const std::string& address) {
    return address.find("/keywords.html") != std::string::npos;
}

TEST_F(ShellTest, EveryCommandIsDescribedInTheManualAndFoundByItsName) {
    auto w = NewMainWindow();
    ASSERT_FALSE(w->fatal());
    std::vector<Command> commands = TableCommands();
    for (Command& c : WindowCommands(*w))
        commands.push_back(std::move(c));
    ASSERT_GT(commands.size(), 200u);
    const std::string text = ManualText();
    for (const Command& c : commands) {
        const std::string words = Plain(c.text);
        EXPECT_NE(text.find(words), std::string::npos) << c.where << ": \"" << c.text << "\" is not in the manual";
        // Single characters of the character menu are described in a table, not indexed.
        if (words.size() > 2) {
            EXPECT_FALSE(IsIndexPage(vlr::HelpPageFor(c.text, kHelp)))
                << c.where << ": \"" << c.text << "\" has no index entry";
        }
    }
}

TEST(Manual, EveryEditingCommandOfTheKeyTableIsListedWithItsKeys) {
    const std::string text = ManualText();
    const vlr::TKeyTable keys = vlr::DefaultKeyTable();
    int listed = 0;
    for (const std::string& description : keys.descriptions) {
        if (description.empty())
            continue;
        ++listed;
        EXPECT_NE(text.find(Plain(description)), std::string::npos) << description;
    }
    EXPECT_EQ(listed, 44);
    for (const char* key : {"ctrl+k then i", "ctrl+q then 9", "ctrl+shift+z", "ctrl+backspace", "ctrl+y"})
        EXPECT_NE(text.find(key), std::string::npos) << key;
}

TEST(Manual, EveryTagTheProgramInsertsHasAnIndexEntry) {
    std::string markup;
    for (const vlr::authoring::Insertion& row : vlr::authoring::Insertions())
        for (bool modern : {false, true}) {
            const vlr::authoring::Markup m = vlr::authoring::MarkupOf(row, modern, "Arial", "2");
            markup += m.start + m.end;
        }
    markup += vlr::authoring::ListMarkup("circle", true) + vlr::authoring::ListMarkup("1", true) +
              vlr::authoring::AdvertMarkup("http://x", true);
    vlr::extdlgs::TableSpec table;
    table.headerRow = true;
    table.caption = "c";
    const vlr::extdlgs::MarkupPair t = vlr::extdlgs::TableMarkup(table, true);
    const vlr::extdlgs::MarkupPair link = vlr::extdlgs::LinkMarkup({"a.html", "a", "", ""}, true);
    vlr::extdlgs::ObjectSpec object;
    object.parameters = {{"n", "v"}};
    vlr::extdlgs::AppletSpec applet;
    applet.parameters = {{"n", "v"}};
    markup += t.start + t.end + link.start + link.end + vlr::extdlgs::ObjectMarkup(object, true) +
              vlr::extdlgs::AppletMarkup(applet, true) +
              vlr::image::ImageElement("images/", "/pics/a.gif", vlr::image::ImageSize{88, 31});

    std::set<std::string> tags;
    const std::regex tag("</?([a-z][a-z0-9]*)");
    for (auto it = std::sregex_iterator(markup.begin(), markup.end(), tag); it != std::sregex_iterator(); ++it)
        tags.insert((*it)[1].str());
    EXPECT_GT(tags.size(), 35u);
    for (const std::string& name : tags) {
        const std::string page = vlr::HelpPageFor("<" + name + ">", kHelp);
        EXPECT_FALSE(IsIndexPage(page)) << "<" << name << "> has no index entry";
        EXPECT_EQ(vlr::HelpPageFor(name, kHelp), page) << name;
    }
}

TEST(Manual, EveryLinkPictureAndAnchorOfThePagesExists) {
    const auto pages = ManualPages(kHelp);
    ASSERT_GT(pages.size(), 12u);
    std::set<std::string> pictures;
    for (const auto& [name, html] : pages) {
        for (const std::string& ref : PageReferences(html)) {
            if (ref.rfind("http://", 0) == 0 || ref.rfind("https://", 0) == 0 || ref.rfind("mailto:", 0) == 0)
                continue;
            const std::size_t hash = ref.find('#');
            const std::string file = hash == std::string::npos ? ref : ref.substr(0, hash);
            const std::string target = file.empty() ? name : file;
            ASSERT_TRUE(fs::is_regular_file(kHelp + target)) << name << " refers to " << ref;
            if (target.size() > 4 && target.substr(target.size() - 4) == ".png")
                pictures.insert(target);
            if (hash != std::string::npos) {
                const std::vector<std::string> ids = PageIds(pages.at(target));
                EXPECT_NE(std::find(ids.begin(), ids.end(), ref.substr(hash + 1)), ids.end())
                    << name << " refers to the missing place " << ref;
            }
        }
    }
    // The contents page reaches every page.
    for (const auto& [name, html] : pages)
        if (name != "index.html") {
            EXPECT_NE(pages.at("index.html").find("href=\"" + name), std::string::npos) << name;
        }
    // The pictures shown are the ones the program draws, and each is shown.
    EXPECT_GE(pictures.size(), 8u);
    for (const auto& entry : fs::directory_iterator(kHelp + "images"))
        EXPECT_TRUE(pictures.count("images/" + entry.path().filename().string()))
            << entry.path().filename() << " is not shown on any page";
}

// The width and height a page gives a picture are the picture's own, so a
// picture drawn again at another size is noticed and the page updated.
TEST(Manual, PicturesAreShownAtTheirOwnSize) {
    const std::regex img("<img [^>]*>");
    const std::regex attr("(src|width|height)=\"([^\"]*)\"");
    int checked = 0;
    for (const auto& [name, html] : ManualPages(kHelp)) {
        for (auto it = std::sregex_iterator(html.begin(), html.end(), img); it != std::sregex_iterator(); ++it) {
            const std::string tag = (*it)[0].str();
            std::map<std::string, std::string> a;
            for (auto at = std::sregex_iterator(tag.begin(), tag.end(), attr); at != std::sregex_iterator(); ++at)
                a[(*at)[1].str()] = (*at)[2].str();
            ASSERT_TRUE(a.count("width") && a.count("height")) << name << ": " << tag;
            std::ifstream png(kHelp + a["src"], std::ios::binary);
            unsigned char header[24] = {};
            ASSERT_TRUE(png.read(reinterpret_cast<char*>(header), sizeof header)) << a["src"];
            ASSERT_EQ(std::string(reinterpret_cast<char*>(header) + 1, 3), "PNG") << a["src"];
            auto be = [&](int at) {
                return (unsigned(header[at]) << 24) | (unsigned(header[at + 1]) << 16) | (unsigned(header[at + 2]) << 8) |
                       unsigned(header[at + 3]);
            };
            EXPECT_EQ(a["width"], std::to_string(be(16))) << name << ": " << a["src"];
            EXPECT_EQ(a["height"], std::to_string(be(20))) << name << ": " << a["src"];
            ++checked;
        }
    }
    EXPECT_GE(checked, 13);
}

}  // namespace
}  // namespace vlrtest
