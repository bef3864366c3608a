// TFrmEditor: the document's own settings for its control. New indentation
// follows the document's .editorconfig, else the indentation its text already
// has, else the options; the .editorconfig's tab width, break style and
// charset apply as well.
#include "editor/document/DocumentIndent.h"
#include "editor/window/FrmEditor.h"

#include "platform/Prompter.h"

namespace vlr {

using velora::memo::MemoEngine;

void TFrmEditor::applyDocumentSettings(bool loaded) {
    DocConfig = ReadEditorConfig(FileName);
    MemoEngine& e = SyntaxMemo1->engine();
    if (DocConfig.tabWidth)
        e.tabDefault = *DocConfig.tabWidth;
    else if (DocConfig.indentWithTabs.value_or(false) && DocConfig.indentSize)
        e.tabDefault = *DocConfig.indentSize;
    const QByteArray text = SyntaxMemo1->text();
    e.indentStyle = ChooseIndentation(DocConfig, std::string_view(text.constData(), std::size_t(text.size())),
                                      e.tabDefault);
    if (DocConfig.endOfLine)
        Breaks = *DocConfig.endOfLine;
    if (!loaded)
        return;
    std::string warning = DocConfig.error.empty() ? std::string()
                                                  : "The .editorconfig settings for " + FileName +
                                                        " cannot be read: " + DocConfig.error;
    if (warning.empty())
        warning = CheckCharset(std::string_view(text.constData(), std::size_t(text.size())), DocConfig, FileName);
    if (!warning.empty())
        ShowMessage(MessageKind::Warning, "Velora", warning, BtnOk);
}

}  // namespace vlr
