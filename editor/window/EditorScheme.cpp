// Attaching the HTML scheme to an editor window's control, and the options
// dialog of the control's settings.
#include "editor/window/EditorScheme.h"

#include "platform/System.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QSpinBox>

#include <iostream>

namespace vlr {

using namespace velora::memo;

std::unique_ptr<TokenScanner> AttachHtmlScheme(TSyntaxMemo& memo, const std::string& appDir) {
    (void)appDir;  // "sedprop.dat" is the scheme component's stored form, read by the component
    // No scheme component is linked into this build: slot 1 stays empty and
    // the control draws plain text.
    memo.engine().setParser(1, nullptr);
    memo.engine().setActiveParser(1);
    return nullptr;
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
        form->addRow("Font", font_);
        form->addRow("Size", size_);
        form->addRow("Tab width", tab_);
        form->addRow("Right margin", margin_);
        form->addRow(indent_);
        form->addRow(gutter_);
        form->addRow(rmargin_);
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
};

}  // namespace

bool RunEditorOptions(TSyntaxMemo& memo, TokenScanner* scheme, QWidget* parent, const std::string& appDir) {
    (void)appDir;   // the settings are stored by the scheme component
    (void)scheme;   // none in this build: the control's own settings are edited
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
