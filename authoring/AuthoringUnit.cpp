// TAuthoringUnit: the insertion commands and the two sending routines.
#include "authoring/AuthoringUnit.h"

#include "app/commands/MainCommands.h"
#include "app/units/CommandGate.h"
#include "app/units/CoreLibraries.h"
#include "app/units/ShellServices.h"
#include "app/units/UnitCommands.h"
#include "authoring/markup/SpecialMarkup.h"
#include "authoring/markup/TagCase.h"
#include "platform/IniFile.h"
#include "platform/Record.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QMenu>

namespace vlr {
namespace {

constexpr unsigned kInsertMarkup = 2029;
constexpr unsigned kInsertImage = 3079;

}  // namespace

TAuthoringUnit::TAuthoringUnit(ShellServices& shell)
    : QObject(nullptr), shell_(shell), lastCharCode_(authoring::kInitialCharCode) {}

TAuthoringUnit::~TAuthoringUnit() = default;

const char* TAuthoringUnit::AdvertSite() { return "https://www.ardenne-websites.example"; }

bool TAuthoringUnit::ModernHtml() const {
    return IniFile(shell_.PreferencesPath()).ReadBool("Environment", "ModernHTML", false);
}

void TAuthoringUnit::SendStrings(const std::string& start, const std::string& end, const std::string& flag) {
    const bool lower = shell_.LowerTags();
    SendStringsEx(authoring::TagCase(start, lower), authoring::TagCase(end, lower), flag);
}

void TAuthoringUnit::SendStringsEx(const std::string& start, const std::string& end, const std::string& flag) {
    const Handle child = shell_.ActiveChildHandle();
    // Class names are at most 260 characters; an editor window's is exactly this one.
    if (GetClassName(child).substr(0, 260) != "TFrmEditor")
        return;
    RecordPtr r = MakeRecord(start, end, flag);
    SendMessage(child, kInsertMarkup, 0, reinterpret_cast<LParam>(r.release()));
}

void TAuthoringUnit::insertRow(const authoring::Insertion& row) {
    std::string face, size;
    if (row.kind == authoring::InsertionKind::Font) {
        if (QFontComboBox* box = shell_.Commands().fontNameBox())
            face = box->currentText().toStdString();
        if (QComboBox* box = shell_.Commands().fontSizeBox())
            size = box->currentText().toStdString();
    }
    const authoring::Markup m = authoring::MarkupOf(row, ModernHtml(), face, size);
    SendStrings(m.start, m.end, m.flag);
}

void TAuthoringUnit::charSetClick(QAction* item) {
    const std::optional<int> code = authoring::EntityCodeOfCaption(item->text().toStdString());
    if (!code)
        return;
    lastCharCode_ = *code;
    SendStrings(authoring::EntityMarkup(lastCharCode_), "", "no");
    item->setChecked(true);
}

void TAuthoringUnit::insertList() {
    // The whole list as the start markup, with empty end and flag: the caret
    // ends after it, and selected text stays and follows it.
    const Handle child = shell_.ActiveChildHandle();
    if (GetClassName(child) != "TFrmEditor")
        return;
    RecordPtr r = MakeRecord(authoring::ListMarkup(listType_, shell_.LowerTags()), "", "");
    SendMessage(child, kInsertMarkup, 0, reinterpret_cast<LParam>(r.release()));
}

void TAuthoringUnit::menu2Click(QAction* item) {
    if (std::optional<std::string> type = authoring::ListTypeForCaption(item->text().toStdString()))
        listType_ = *type;
    item->setChecked(true);
    insertList();
}

void TAuthoringUnit::callInsertDialog(InsertDialogFn CoreEntryPoints::*entry, const char* name) {
    InsertDialogFn fn = shell_.Libraries().entry.*entry;
    if (!fn)
        throw std::runtime_error(std::string("The entry point ") + name + " of extdlgs is missing");
    fn(shell_.MainHandle(), shell_.ActiveChildHandle(), shell_.LowerTags() ? "true" : "false");
}

void TAuthoringUnit::ConnectCommands() {
    MainCommands& commands = shell_.Commands();
    for (const authoring::Insertion& row : authoring::Insertions())
        ConnectCommand(shell_, this, row.command, row.handler, [this, &row] { insertRow(row); });

    if (QActionGroup* chars = commands.radioGroup(QStringLiteral("chars")))
        for (QAction* item : chars->actions())
            ConnectCommand(shell_, this, item->objectName().toLatin1().constData(), "CharSetClick",
                           [this, item] { charSetClick(item); });
    ConnectCommand(shell_, this, "ToolbarButton9734", "ToolbarButton9734Click",
                   [this] { SendStrings(authoring::EntityMarkup(lastCharCode_), "", "no"); });

    if (QActionGroup* lists = commands.radioGroup(QStringLiteral("lists")))
        for (QAction* item : lists->actions())
            ConnectCommand(shell_, this, item->objectName().toLatin1().constData(), "Menu2Click",
                           [this, item] { menu2Click(item); });
    ConnectCommand(shell_, this, "ToolbarButton9718", "ToolbarButton9718Click", [this] { insertList(); });

    ConnectCommand(shell_, this, "Advert2", "Advert2Click",
                   [this] { SendStringsEx(authoring::AdvertMarkup(AdvertSite(), shell_.LowerTags()), "", "no"); });

    auto image = [this] {
        const Handle child = shell_.ActiveChildHandle();
        if (GetClassName(child) == "TFrmEditor")
            SendMessage(child, kInsertImage, 0, 0);
    };
    ConnectCommand(shell_, this, "Image1", "Image1Click", image);
    ConnectCommand(shell_, this, "InsertImage1", "InsertImage1Click", image);

    auto hyperlink = [this] {
        ShowHLinkFn fn = shell_.Libraries().entry.ShowHLink;
        if (!fn)
            throw std::runtime_error("The entry point ShowHLink of extdlgs is missing");
        fn(shell_.ApplicationHandle(), shell_.MainHandle());
    };
    ConnectCommand(shell_, this, "Hyperlink1", "Hyperlink1Click", hyperlink);
    ConnectCommand(shell_, this, "InsertHyperlink1", "InsertHyperlink1Click", hyperlink);
    ConnectCommand(shell_, this, "Table1", "Table1Click",
                   [this] { callInsertDialog(&CoreEntryPoints::InsTable, "InsTable"); });
    ConnectCommand(shell_, this, "ActiveXControl1", "ActiveXControl1Click",
                   [this] { callInsertDialog(&CoreEntryPoints::InsActiveX, "InsActiveX"); });
    ConnectCommand(shell_, this, "JavaApplet1", "JavaApplet1Click",
                   [this] { callInsertDialog(&CoreEntryPoints::InsJavaApp, "InsJavaApp"); });

    ConnectCommand(shell_, this, "Define1", "Define1Click", [this] {
        InsCSSFn fn = shell_.Libraries().entry.InsCSS;
        if (!fn)
            throw std::runtime_error("The entry point InsCSS of extdlgs is missing");
        fn(shell_.MainHandle(), shell_.ActiveChildHandle());
    });
    if (QMenu* insert = commands.menu(QStringLiteral("Insert1")))
        connect(insert, &QMenu::aboutToShow, this,
                [this] { RunGuarded(shell_, this, "FillStyles", [this] { FillStyles(); }); });

    shell_.Gate().makeAvailable(CommandGroup::Authoring);
    shell_.Gate().makeAvailable(CommandGroup::Styles);
}

}  // namespace vlr
