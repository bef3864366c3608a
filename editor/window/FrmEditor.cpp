// TFrmEditor: construction, layout, the control's initial settings and the
// reports the window sends to the main window as its document changes.
#include "editor/window/FrmEditor.h"

#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/engine/scheme/SyntaxMemoParser.h"

#include "editor/window/DocumentWatch.h"
#include "editor/window/EditorCheck.h"
#include "editor/window/EditorImage.h"
#include "editor/window/EditorLinks.h"
#include "editor/window/EditorMessages.h"
#include "editor/window/EditorPreview.h"
#include "editor/window/EditorScheme.h"
#include "editor/window/EditorSearch.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QGuiApplication>
#include <QMimeData>
#include <QMdiSubWindow>
#include <QStackedWidget>
#include <QTabBar>
#include <QSplitter>
#include <QVBoxLayout>

namespace vlr {

using namespace velora::memo;

TFrmEditor* FrmEditor = nullptr;

TFrmEditor::TFrmEditor(EditorHost& host, QWidget* parent)
    : QWidget(parent), host_(host), preview_(std::make_unique<EditorPreview>(*this)) {
    setObjectName("FrmEditor");
    setWindowTitle(kUntitled);
    handle_ = RegisterWindow(this, "TFrmEditor", this);
    setProperty("vlrHandle", QVariant::fromValue(handle_));
    buildLayout();
    Links = new EditorLinks(*this);
    Images = std::make_unique<EditorImage>(*this);
    Watch = new DocumentWatch(*this);
    buildPopupMenu();
    applyControlSettings();
    AttachSpelling();
    pageCheck_ = new EditorCheck(*this);
    // FormCreate.
    TempDir = vlr::TempDir();
    TickId = UniqueTickId();
    LastFind.clear();
    LastFindOptions = 0;
    Ready = false;
    SkipUndoRefresh = true;
    CheckSpelling1->setVisible(true);
}

TFrmEditor::~TFrmEditor() {
    // FormDestroy.
    SyntaxMemo1->disconnect(this);
    SyntaxMemo1->disconnect(Links);  // the parts go after the control
    SyntaxMemo1->removeEventFilter(Links);
    DetachHighlighter(SyntaxMemo1->engine(), 1);  // the component goes before the control
    FrmEditor = nullptr;
    if (ValidateLib)
        FreeLibrary(ValidateLib);
    UnregisterWindow(handle_);
}

void TFrmEditor::setSubWindow(QMdiSubWindow* sub) {
    sub_ = sub;
    connect(sub, &QMdiSubWindow::windowStateChanged, this,
            [this](Qt::WindowStates before, Qt::WindowStates now) {
                if ((now & Qt::WindowActive) && !(before & Qt::WindowActive))
                    guarded("FormActivate", [this] { FormActivate(); });
            });
}

void TFrmEditor::buildLayout() {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    Notebook1 = new QStackedWidget(this);
    Notebook1->setObjectName("Notebook1");
    Panel1 = new QFrame;
    Panel1->setObjectName("Panel1");
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    auto* panelLayout = new QVBoxLayout(Panel1);
    panelLayout->setContentsMargins(1, 1, 1, 1);
    SourceSplit = new QSplitter(Qt::Horizontal, Panel1);
    SourceSplit->setObjectName("SourceSplit");
    SourceSplit->setChildrenCollapsible(false);
    SyntaxMemo1 = new TSyntaxMemo(SourceSplit);
    SyntaxMemo1->setObjectName("SyntaxMemo1");
    SyntaxMemo1->setFrameShape(QFrame::NoFrame);
    SourceSplit->addWidget(SyntaxMemo1);
    panelLayout->addWidget(SourceSplit);
    Notebook1->addWidget(Panel1);
    OleContainer1 = new QWidget;
    OleContainer1->setObjectName("OleContainer1");
    Notebook1->addWidget(OleContainer1);
    layout->addWidget(Notebook1, 1);
    TabSet1 = new PreviewTabBar(*this, this);
    TabSet1->setObjectName("TabSet1");
    TabSet1->setShape(QTabBar::RoundedSouth);
    TabSet1->addTab("  Source  ");
    TabSet1->addTab("  Preview  ");
    TabSet1->setCurrentIndex(0);
    connect(TabSet1, &QTabBar::currentChanged, this,
            [this](int index) { guarded("TabSet1Click", [&] { preview_->TabSet1Click(index); }); });
    layout->addWidget(TabSet1);
    marks_ = new SearchMarks(*SyntaxMemo1);

    connect(SyntaxMemo1, &TSyntaxMemo::OnChange, this,
            [this] { guarded("SyntaxMemo1Change", [this] { SyntaxMemo1Change(); }); });
    connect(SyntaxMemo1, &TSyntaxMemo::OnSelectionChange, this,
            [this] { guarded("SyntaxMemo1SelectionChange", [this] { SyntaxMemo1SelectionChange(); }); });
    // Printing the selection uses the printer chosen in Printer Setup and, as Print does, the
    // file's name as the header's title; a failure is shown to the user.
    SyntaxMemo1->setPrinterSource([this] {
        SyntaxMemo1->setTitle(QString::fromStdString(FileName));
        return &host_.Printer();
    });
    connect(SyntaxMemo1, &TSyntaxMemo::OnPrintError, this,
            [](const QString& text) { ShowMessage(MessageKind::Error, "", text.toStdString(), BtnOk); });
}

// The window's own initial control settings. They are set when the window is
// made and again right after the control first uses the HTML scheme, so that
// they override the scheme's settings; "sedprop.dat" and then the preferences
// font override them in turn (see AttachHtmlScheme).
void TFrmEditor::applyControlSettings() {
    TSyntaxMemo& m = *SyntaxMemo1;
    MemoEngine& e = m.engine();
    m.setFontName("Courier New");
    m.setFontSize(10);
    e.tabDefault = 4;
    e.indentStep = 1;
    e.rightMargin = 80;
    e.wrapAtColumn = 0;
    e.margin = 2;
    e.hideSelection = false;
    e.selTextColor = rgb(255, 255, 255);
    e.selTextBack = rgb(0, 0, 128);
    e.clipCopyFormats = smTEXT | smRTF;
    e.saveFormat = SaveFormat::sfTEXT;
    e.options = smoSyntaxHighlight | smoPrintWrap | smoPrintLineNos | smoPrintFilename | smoPrintDate |
                smoPrintPageNos | smoAutoIndent | smoTabToColumn | smoWordSelect | smoShowRMargin |
                smoShowGutter | smoShowWrapColumn | smoTitleAsFilename | smoProcessDroppedFiles |
                smoBlockOverwriteCursor | smoShowWrapGlyph | smoColumnTrack | smoUseTAB | smoSmartFill |
                smoOLEDragSource;
    e.setActiveParser(1);
}

void TFrmEditor::AttachScheme(const std::string& appDir) {
    SyntaxMemoParser1 = AttachHtmlScheme(*SyntaxMemo1, appDir, [this] { applyControlSettings(); });
    // Auto-closing and completion read the HTML scheme's token values.
    SyntaxMemo1->setMarkupAids(true);
    SyntaxMemo1->setCtrlSpaceCompletes(false);  // Ctrl+Space inserts "&nbsp;" here
    SyntaxMemo1->setCompletionSources([this] { return host_.CompletionVariables(); },
                                      [this] { return host_.CompletionIncludes(); });
    applyKeyScheme();
}

std::string TFrmEditor::preferencesPath() const { return WritablePath("preferences.dat"); }

void TFrmEditor::guarded(const char* method, const std::function<void()>& body) {
    try {
        body();
    } catch (...) {
        host_.ReportException(this, std::current_exception(), std::string("TFrmEditor.") + method);
    }
}

void TFrmEditor::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // The desktop turned light or dark while the window is open.
    if (event->type() == QEvent::ApplicationPaletteChange || event->type() == QEvent::PaletteChange)
        FollowDesktopAppearance(*SyntaxMemo1, SyntaxMemoParser1.get());
}

void TFrmEditor::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!shownBefore_) {
        shownBefore_ = true;
        guarded("FormShow", [this] { FormShow(); });
    }
}

void TFrmEditor::FormShow() {
    host_.SetImageEx("editor");
    ReadEditorFont();
}

// The preferences font is the last word on the control's font: it follows the
// scheme's settings, the window's initial settings and "sedprop.dat".
void TFrmEditor::ReadEditorFont() {
    IniFile prefs(preferencesPath());
    SyntaxMemo1->setFontName(QString::fromStdString(prefs.ReadString("EdEnv", "FontNm", "Courier New")));
    SyntaxMemo1->setFontSize(int(prefs.ReadInteger("EdEnv", "FontSz", 10)));
}

void TFrmEditor::FormActivate() {
    if (Ready) {
        ModMessage();
        doundoredomessage();
    }
    CaretPos();
    host_.SetImageEx("editor");
}

QString TFrmEditor::RecoveryDocumentPath() const {
    return FileName == kUntitled ? QString() : QString::fromStdString(FileName);
}

QByteArray TFrmEditor::RecoveryText() const { return SyntaxMemo1->text(); }

void TFrmEditor::SyntaxMemo1Change() {
    CaretPos();
    if (Ready)
        ModMessage();
    if (Ready && SyntaxMemo1->modified())
        host_.DocumentChanged(*this);
    DoEditButtons();
    if (!SkipUndoRefresh)
        doundoredomessage();
    SkipUndoRefresh = false;
    marks_->clear();
}

// Moving the caret or changing the selection keeps the caret panels and the
// clipboard buttons current as well.
void TFrmEditor::SyntaxMemo1SelectionChange() {
    if (!Ready)
        return;
    CaretPos();
    DoEditButtons();
}

void TFrmEditor::Report(unsigned msg, RecordPtr record) {
    // A main window that is gone cannot release the record: it is released here.
    if (IsWindow(MainWnd))
        SendMessage(MainWnd, msg, 0, reinterpret_cast<LParam>(record.release()));
}

void TFrmEditor::ModMessage() {
    RecordPtr r = MakeRecord(SyntaxMemo1->modified() ? "true" : "false");
    Report(MW_EDITOR_MOD_STATE, std::move(r));
}

void TFrmEditor::CaretPos() {
    host_.SetCaretPanels(std::to_string(SyntaxMemo1->caretLine()), std::to_string(SyntaxMemo1->caretColumn()));
}

void TFrmEditor::doundoredomessage() { host_.SetUndoRedoButtons(SyntaxMemo1->canUndo(), SyntaxMemo1->canRedo()); }

void TFrmEditor::DoEditButtons() {
    const bool selected = SyntaxMemo1->selLength() > 0;
    const bool pastable = ClipboardHasText();
    RecordPtr r = MakeRecord(selected ? "true" : "false", pastable ? "true" : "false");
    Report(MW_DO_EDIT_BUTTONS, std::move(r));
}

bool TFrmEditor::ClipboardHasText() {
    // Asked on every caret move: look at the formats, not at the text itself.
    const QMimeData* m = QGuiApplication::clipboard()->mimeData();
    return m && (m->hasText() || m->hasFormat("application/x-velora-text-bytes"));
}

void TFrmEditor::ModifyOptions() {
    if (!ModifySchemeOptions(*SyntaxMemo1, SyntaxMemoParser1.get(), this))
        return;
    // Every editor window has its own scheme component; the confirmed settings
    // reach the windows already open as they reach the ones opened later.
    for (QWidget* w : QApplication::allWidgets())
        if (auto* other = qobject_cast<TFrmEditor*>(w); other && other != this && other->SyntaxMemoParser1) {
            TakeSchemeSettings(*other->SyntaxMemo1, *other->SyntaxMemoParser1, *SyntaxMemoParser1);
            other->applyKeyScheme();
        }
    applyKeyScheme();
    host_.KeySchemeChanged();
}

}  // namespace vlr
