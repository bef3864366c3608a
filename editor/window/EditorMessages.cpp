// TFrmEditor: the editor-window messages. Command records are released here
// before the handler returns; query answers are new records that belong to
// the sender. An error in a handler goes to the program's exception report.
#include "editor/window/EditorMessages.h"

#include "editor/case/FrmCase.h"
#include "editor/window/EditorImage.h"
#include "editor/window/EditorLinks.h"
#include "editor/window/FrmEditor.h"
#include "libs/EntryPoints.h"
#include "memo/engine/LineBreaks.h"
#include "platform/Convert.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <QDir>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>

#include <iostream>
#include <stdexcept>

namespace vlr {

using namespace velora::memo;

namespace {

LResult answer(const std::string& first, const std::string& second = {}) {
    return reinterpret_cast<LResult>(MakeRecord(first, second).release());
}


bool isCommand(unsigned msg) {
    switch (msg) {
    case EM_INSERT_MARKUP: case EM_SAVE_AS: case EM_SAVE: case EM_HINT: case EM_VALIDATE:
    case EM_PATH_PROCESSED: case EM_COPY: case EM_CUT: case EM_PASTE: case EM_SELECT_ALL:
    case EM_UNINDENT: case EM_INDENT: case EM_DELETE: case EM_UNDO: case EM_REDO: case EM_FIND:
    case EM_FIND_NEXT: case EM_REPLACE: case EM_SHOW_ALL: case EM_PRINT: case EM_CHANGE_CASE:
    case EM_OPTIONS: case EM_SET_TEXT: case EM_SET_SEL_TEXT: case EM_SET_SEL_START:
    case EM_SET_SEL_LENGTH: case EM_GO_TO_LINE: case EM_INSERT_IMAGE: case EM_READ_FONT:
        return true;
    default:
        return false;
    }
}

const char* methodFor(unsigned msg) {
    switch (msg) {
    case EM_INSERT_MARKUP: return "InsertMarkup";
    case EM_SAVE_AS: return "SaveAs";
    case EM_SAVE: return "SaveIt";
    case EM_FIND: case EM_REPLACE: return "FindDialog";
    case EM_FIND_NEXT: return "FindNext";
    case EM_SHOW_ALL: return "ShowAll";
    case EM_SET_SEL_START: return "SetSelStart";
    case EM_SET_SEL_LENGTH: return "SetSelLength";
    case EM_GO_TO_LINE: return "GoToLine";
    default: return "WndProc";
    }
}

}  // namespace

LResult TFrmEditor::handleMessage(unsigned msg, WParam, LParam lParam) {
    LResult result = 0;
    guarded(methodFor(msg), [&] { result = dispatch(msg, lParam); });
    return result;
}

LResult TFrmEditor::dispatch(unsigned msg, LParam lParam) {
    TSyntaxMemo& m = *SyntaxMemo1;
    switch (msg) {
    // ---- queries: the answer belongs to the sender
    case EM_GET_TEXT:
        return answer(m.textCRLF().toStdString());
    case EM_GET_SEL_TEXT:
        return answer(m.selText().toStdString());
    case EM_GET_CARET:
        return answer(std::to_string(m.caretColumn()), std::to_string(m.caretLine()));
    case EM_GET_TEXT_SIZE:
        return answer(std::to_string(m.Perform(msg::kGetTextLength)));
    case EM_GET_SEL_TEXT_SIZE:
        return answer(std::to_string(m.selLength()));
    default:
        break;
    }
    // Only the window's own commands carry a record it may release.
    if (!isCommand(msg))
        return 0;

    // ---- commands: the record is released however the handler ends
    RecordPtr r = AdoptRecord(lParam);
    switch (msg) {
    case EM_INSERT_MARKUP: {
        std::string s = FirstText(r), e = SecondText(r), f = ThirdText(r);
        r.reset();
        InsertMarkup(s, e, f);
        break;
    }
    case EM_SAVE_AS: SaveAs(); break;
    case EM_SAVE: SaveIt(); break;
    case EM_HINT: Links->ReceiveHint(FirstText(r)); break;
    case EM_VALIDATE: {
        const std::string address = FirstText(r);
        r.reset();
        Links->Validate(address);
        break;
    }
    case EM_PATH_PROCESSED: break;
    case EM_COPY: m.copy(); break;
    case EM_CUT: m.cut(); break;
    case EM_PASTE: m.paste(); break;
    case EM_SELECT_ALL: m.selectAll(); break;
    case EM_UNINDENT: m.blockUnindent(); break;
    case EM_INDENT: m.blockIndent(); break;
    case EM_DELETE:
        if (!m.selection().empty())
            m.setSelText(QByteArray());
        break;
    case EM_UNDO: m.undo(); break;
    case EM_REDO: m.redo(); break;
    case EM_FIND:
    case EM_REPLACE: {
        const unsigned options = FirstText(r) == "true" ? unsigned(kSearchRegExp) : 0u;
        r.reset();
        OpenFindDialog(options, msg == EM_REPLACE);
        break;
    }
    case EM_FIND_NEXT: {
        const bool regex = FirstText(r) == "true";
        r.reset();
        FindNext(regex);
        break;
    }
    case EM_SHOW_ALL: ShowAll(); break;
    case EM_PRINT: Print(); break;
    case EM_CHANGE_CASE: ChangeCase(); break;
    case EM_OPTIONS: ModifyOptions(); break;
    case EM_SET_TEXT: {
        // Replacing through the selection keeps the change undoable and the document modified.
        const std::string t = FirstText(r);
        MemoEngine::UpdateBracket bracket(m.engine());
        m.selectAll();
        m.setSelText(QByteArray(t.data(), qsizetype(t.size())));
        break;
    }
    case EM_SET_SEL_TEXT: {
        const std::string t = FirstText(r);
        m.setSelText(QByteArray(t.data(), qsizetype(t.size())));
        break;
    }
    case EM_SET_SEL_START: m.setSelStart(StrToInt64(FirstText(r))); break;
    case EM_SET_SEL_LENGTH: m.setSelLength(StrToInt64(FirstText(r))); break;
    case EM_GO_TO_LINE: {
        const long long line = StrToInt64(FirstText(r));
        m.goToLineColumn(int(std::clamp<long long>(line, -1, 1LL << 30)), m.caretColumn());
        break;
    }
    case EM_INSERT_IMAGE:
        r.reset();
        Images->InsertImage();
        break;
    case EM_READ_FONT: ReadEditorFont(); break;
    default: break;
    }
    return 0;
}

void TFrmEditor::InsertMarkup(const std::string& start, const std::string& end, const std::string& flag) {
    const bool caretBetween = flag != "no";
    TSyntaxMemo& m = *SyntaxMemo1;
    MemoEngine& e = m.engine();
    const Selection sel = e.selection();
    const std::string selected = e.store().text(sel.start(), sel.end());
    MemoEngine::UpdateBracket bracket(e);
    if (!selected.empty()) {
        e.replaceSelection(start + selected + end);
        return;
    }
    e.replaceSelection(start + end);
    if (caretBetween) {
        const Pos back = Pos(normalisedLength(end));
        const Pos c = e.selection().caret - back;
        e.setSelection(c, c);
    }
}

void TFrmEditor::ChangeCase() {
    std::optional<CaseChoice> choice = askCase ? askCase(this) : TFrmCase::Ask(this);
    if (!choice)
        return;
    MemoEngine& e = SyntaxMemo1->engine();
    MemoEngine::UpdateBracket bracket(e);
    const Selection sel = e.selection();
    e.replaceSelection(ConvertCase(e.store().text(sel.start(), sel.end()), *choice));
}

void TFrmEditor::Print() {
    SyntaxMemo1->setTitle(QString::fromStdString(FileName));
    if (PromptsAreLogged()) {
        std::cerr << "[print] " << FileName << std::endl;
        return;
    }
    // Printing starts from the printer and settings chosen in Printer Setup.
    QPrinter& printer = host_.Printer();
    printer.setDocName(QString::fromStdString(FileName));
    // With no printer queue the page goes into a PDF file, beside the
    // document and named after it, unless a file was chosen before.
    if (QPrinterInfo::availablePrinterNames().isEmpty() && printer.outputFileName().isEmpty()) {
        const QFileInfo document(QString::fromStdString(FileName));
        const QString folder = FileName.empty() ? QDir::homePath() : document.absolutePath();
        const QString name = FileName.empty() ? QStringLiteral("Untitled") : document.completeBaseName();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QDir(folder).filePath(name + QStringLiteral(".pdf")));
    }
    QPrintDialog dialog(&printer, this);
    // The dialog always offers Qt's PDF writer beside the real printers.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    if (dialog.exec() == QDialog::Accepted)
        SyntaxMemo1->print(printer);
}

}  // namespace vlr
