// Attaching the HTML scheme to an editor window's control, and the options
// dialog of the scheme's settings with the file it saves them in.
#include "editor/window/EditorScheme.h"

#include "app/commands/KeySchemeCommands.h"
#include "memo/engine/keys/KeyScheme.h"
#include "memo/engine/scheme/Appearance.h"
#include "memo/engine/scheme/ControlSettings.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/HtmlScanners.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/DesktopPalette.h"
#include "memo/widget/options/OptionsDialog.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/System.h"

#include <fstream>
#include <iostream>
#include <iterator>
#include <optional>

namespace vlr {

using namespace velora::memo;

namespace {

constexpr const char* kSchemeName = "SyntaxMemoParser1";
constexpr const char* kShippedScheme = "schemes/VLR_HTML.scm";
constexpr const char* kSavedSettings = "sedprop.dat";
constexpr const char* kPreferences = "preferences.dat";

bool ReadWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

// The compiled HTML scheme that comes with the program. A missing or damaged
// file leaves the parser without tables (plain text) and says so once.
void LoadShippedScheme(TSyntaxMemoParser& parser, const std::string& appDir) {
    static bool reported = false;
    std::string data;
    const std::string path = appDir + kShippedScheme;
    std::string problem;
    if (!ReadWholeFile(path, data))
        problem = "cannot read " + path;
    else if (const TStoredFormResult r = parser.LoadParserData(data, kSchemeName); !r.Ok())
        problem = path + ": " + r.message;
    if (!problem.empty() && !reported) {
        reported = true;
        std::cerr << "Velora: no syntax highlighting: " << problem << std::endl;
    }
}

// The key scheme of the preferences given to the tables: the keys of the commands the schemes
// differ in, and typing runs (on with Desktop). Nothing changes while no scheme was chosen or
// the tables follow it already.
void FollowKeyScheme(TSyntaxMemoParser& parser) {
    const std::optional<KeySchemeChoice> choice = ReadKeySchemeChoice(WritablePath(kPreferences));
    if (!choice || !parser.HasTables())
        return;
    const TKeyScheme scheme = *choice == KeySchemeChoice::Desktop ? TKeyScheme::Desktop : TKeyScheme::Classic;
    if (KeySchemeOf(parser.Tables().keys) == scheme)
        return;
    TSchemeTables edited = parser.Tables();
    ApplyKeyScheme(edited.keys, scheme);
    std::uint32_t& aids = edited.settings.editingAids;
    aids = scheme == TKeyScheme::Desktop ? (aids | smaTypingRuns) : (aids & ~std::uint32_t(smaTypingRuns));
    parser.ReplaceSettings(edited);
}

}  // namespace

std::unique_ptr<TSyntaxMemoParser> AttachHtmlScheme(TSyntaxMemo& memo, const std::string& appDir,
                                                    const std::function<void()>& windowSettings) {
    // The dark styles are taken when the desktop is dark (and the appearance follows it).
    SetDesktopDark(DesktopPaletteIsDark());
    auto parser = std::make_unique<TSyntaxMemoParser>();
    parser->Name = kSchemeName;
    parser->Script = "VLR_HTML.txt";
    UseHtmlScanners(*parser);
    // The settings saved from the options dialog take the place of the shipped
    // scheme. One that cannot be used is reported and the shipped scheme is
    // loaded instead, so a damaged file never leaves the editor without
    // highlighting.
    std::string saved;
    bool fromSaved = false;
    if (ReadWholeFile(ReadablePath(kSavedSettings), saved)) {
        const TStoredFormResult r = parser->LoadParserData(saved, kSchemeName);
        fromSaved = r.Ok();
        if (!fromSaved)
            ShowMessage(r.versionMismatch ? MessageKind::Warning : MessageKind::Error, "Velora",
                        r.versionMismatch ? r.message : ReadablePath(kSavedSettings) + ": " + r.message, BtnOk);
    }
    if (!fromSaved)
        LoadShippedScheme(*parser, appDir);
    // Before any control uses the tables, so that the precedence below holds.
    FollowKeyScheme(*parser);
    // Precedence of the control's settings, lowest first:
    // 1. the scheme's settings, given to the control when it first uses the
    //    component (AttachHighlighter);
    AttachHighlighter(memo.engine(), *parser, 1);
    // 2. the window's own initial control settings;
    if (windowSettings)
        windowSettings();
    // 3. the settings saved from the options dialog ("sedprop.dat"), given
    //    again so that they override the window's, with the appearance's
    //    colours (the light or dark background, selection and gutter); the
    //    shipped scheme's appearance over the window's colours otherwise;
    if (fromSaved)
        parser->ApplySettings();
    else if (parser->HasTables())
        ApplyAppearance(memo.engine(), parser->Tables());
    // 4. the preferences font, when the window is shown (FormShow) and on
    //    message 3084 (TFrmEditor::ReadEditorFont).
    return parser;
}

namespace {

// The parser holds new tables: the control's text is scanned and drawn with
// them from the top.
void RehighlightWith(TSyntaxMemo& memo, TSyntaxMemoParser& parser) {
    MemoEngine& e = memo.engine();
    AttachHighlighter(e, parser, 1).Restart();
    if (e.highlightPending() && e.onBackgroundPending)
        e.onBackgroundPending();
    memo.Perform(msg::kSettingsChanged);
}

}  // namespace

void FollowDesktopAppearance(TSyntaxMemo& memo, TSyntaxMemoParser* parser) {
    SetDesktopDark(DesktopPaletteIsDark());
    if (!parser || !parser->HasTables() || AppearanceOf(parser->Tables().settings) != TAppearance::FollowDesktop)
        return;
    // The control's background tells which set it draws with: white only in the light one.
    const bool drawnDark = memo.engine().defBackColor != rgb(255, 255, 255);
    if (UsesDarkStyles(parser->Tables()) == drawnDark)
        return;
    parser->ResolveStyles();
    ApplyAppearance(memo.engine(), parser->Tables());
    memo.viewport()->update();
}

void TakeSchemeSettings(TSyntaxMemo& memo, TSyntaxMemoParser& target, const TSyntaxMemoParser& source) {
    if (&target == &source || !target.HasTables() || !source.HasTables())
        return;
    target.ReplaceSettings(source.Tables());
    RehighlightWith(memo, target);
}

bool ModifySchemeOptions(TSyntaxMemo& memo, TSyntaxMemoParser* scheme, QWidget* parent) {
    if (!scheme || !scheme->HasTables()) {
        // Saving a parser without a scheme would replace every later window's
        // highlighting by plain text.
        ShowMessage(MessageKind::Error, "Velora", "The editor options cannot be changed: no syntax scheme is loaded.",
                    BtnOk);
        return false;
    }
    TSyntaxMemoParser& parser = *scheme;
    if (PromptsAreLogged() && !parser.OnModifyProperties && !HasOptionsDialogDriver()) {
        std::cerr << "[dialog] Editor options" << std::endl;
        return false;
    }
    const TKeyScheme schemeBefore = KeySchemeOf(parser.Tables().keys);
    if (!EditProperties(parser, parent, memo.engine().visiblePropEdPages))
        return false;
    RehighlightWith(memo, parser);
    // A scheme chosen on the Key Assignments page is the program's from now on.
    if (const TKeyScheme scheme = KeySchemeOf(parser.Tables().keys); scheme != schemeBefore)
        WriteKeySchemeChoice(WritablePath(kPreferences),
                             scheme == TKeyScheme::Desktop ? KeySchemeChoice::Desktop : KeySchemeChoice::Classic);

    const std::string path = WritablePath(kSavedSettings);
    std::string error;
    if (!WriteFileAtomically(path, parser.ParserData(), &error))
        ShowMessage(MessageKind::Error, "Velora",
                    "The editor options could not be saved to " + path + ": " + error +
                        "\nThey apply to this window until it is closed; the saved options are unchanged.",
                    BtnOk);
    return true;
}

}  // namespace vlr
