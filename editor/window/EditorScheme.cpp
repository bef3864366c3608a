// Attaching the HTML scheme to an editor window's control, and the options
// dialog of the control's settings.
#include "editor/window/EditorScheme.h"

#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "platform/Prompter.h"
#include "platform/System.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QSpinBox>

#include <fstream>
#include <iostream>
#include <iterator>

namespace vlr {

using namespace velora::memo;

namespace {

constexpr const char* kSchemeName = "SyntaxMemoParser1";
constexpr const char* kShippedScheme = "schemes/VLR_HTML.scm";
constexpr const char* kSavedSettings = "sedprop.dat";

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

}  // namespace

std::unique_ptr<TSyntaxMemoParser> AttachHtmlScheme(TSyntaxMemo& memo, const std::string& appDir,
                                                    const std::function<void()>& windowSettings) {
    auto parser = std::make_unique<TSyntaxMemoParser>();
    parser->Name = kSchemeName;
    parser->Script = "VLR_HTML.txt";
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
    // Precedence of the control's settings, lowest first:
    // 1. the scheme's settings, given to the control when it first uses the
    //    component (AttachHighlighter);
    AttachHighlighter(memo.engine(), *parser, 1);
    // 2. the window's own initial control settings;
    if (windowSettings)
        windowSettings();
    // 3. the settings saved from the options dialog ("sedprop.dat"), given
    //    again so that they override the window's;
    if (fromSaved)
        parser->ApplySettings();
    // 4. the preferences font, when the window is shown (FormShow) and on
    //    message 3084 (TFrmEditor::ReadEditorFont).
    return parser;
}

namespace {

// The control settings that the options dialog edits.
class EditorOptionsDialog : public QDialog {
public:
    EditorOptionsDialog(TSyntaxMemo& memo, QWidget* parent) : QDialog(parent), memo_(memo) {
        setWindowTitle("Editor Options");
        auto* form = new QFormLayout(this);
        MemoEngine& e = memo.engine();
        font_ = new QFontComboBox(this);
        font_->setCurrentFont(QFont(memo.fontName()));
        size_ = spin(memo.fontSize(), 4, 72);
        tab_ = spin(e.tabDefault, 1, 32);
        margin_ = spin(e.rightMargin, 0, 999);
        indent_ = check("Auto indent", e.hasOption(smoAutoIndent));
        gutter_ = check("Show gutter", e.hasOption(smoShowGutter));
        rmargin_ = check("Show right margin", e.hasOption(smoShowRMargin));
        wrap_ = check("Word wrap", memo.wordWrap());
        form->addRow("Font", font_);
        form->addRow("Size", size_);
        form->addRow("Tab width", tab_);
        form->addRow("Right margin", margin_);
        form->addRow(indent_);
        form->addRow(gutter_);
        form->addRow(rmargin_);
        form->addRow(wrap_);
        auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
        connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
        connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
        form->addRow(buttons);
    }

    void apply() {
        MemoEngine& e = memo_.engine();
        e.tabDefault = tab_->value();
        e.rightMargin = margin_->value();
        setOption(e, smoAutoIndent, indent_->isChecked());
        setOption(e, smoShowGutter, gutter_->isChecked());
        setOption(e, smoShowRMargin, rmargin_->isChecked());
        memo_.setFontName(font_->currentFont().family());
        memo_.setFontSize(size_->value());
        memo_.setWordWrap(wrap_->isChecked());
    }

private:
    QSpinBox* spin(int value, int lo, int hi) {
        auto* s = new QSpinBox(this);
        s->setRange(lo, hi);
        s->setValue(value);
        return s;
    }
    QCheckBox* check(const char* caption, bool on) {
        auto* c = new QCheckBox(caption, this);
        c->setChecked(on);
        return c;
    }
    static void setOption(MemoEngine& e, SyntaxMemoOption o, bool on) {
        e.options = on ? (e.options | o) : (e.options & ~SyntaxMemoOptions(o));
    }

    TSyntaxMemo& memo_;
    QFontComboBox* font_;
    QSpinBox* size_;
    QSpinBox* tab_;
    QSpinBox* margin_;
    QCheckBox* indent_;
    QCheckBox* gutter_;
    QCheckBox* rmargin_;
    QCheckBox* wrap_;
};

}  // namespace

bool RunEditorOptions(TSyntaxMemo& memo, QWidget* parent) {
    if (PromptsAreLogged()) {
        std::cerr << "[dialog] Editor Options" << std::endl;
        return false;
    }
    EditorOptionsDialog dialog(memo, parent);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.apply();
    return true;
}

}  // namespace vlr
