// TFrmEditor: the context menu of the editor control and its enabling rules.
#include "editor/window/EditorLinks.h"
#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"

#include "platform/Record.h"

#include <QAction>
#include <QMenu>

namespace vlr {

void TFrmEditor::buildPopupMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName("PopupMenu1");
    auto item = [this](const char* name, const char* caption, const char* shortcut, auto handler) {
        QAction* a = PopupMenu1->addAction(QString::fromUtf8(caption));
        a->setObjectName(name);
        if (shortcut)
            a->setShortcut(QKeySequence(QString::fromUtf8(shortcut)));
        connect(a, &QAction::triggered, this, [this, name, handler] { guarded(name, handler); });
        return a;
    };
    velora::memo::TSyntaxMemo* m = SyntaxMemo1;
    Undo1 = item("Undo1", "&Undo", "Ctrl+Z", [m] { m->undo(); });
    Redo1 = item("Redo1", "&Redo", nullptr, [m] { m->redo(); });
    PopupMenu1->addSeparator();
    Cut1 = item("Cut1", "Cu&t", "Ctrl+X", [m] { m->cut(); });
    Copy1 = item("Copy1", "&Copy", "Ctrl+C", [m] { m->copy(); });
    Paste1 = item("Paste1", "&Paste", "Ctrl+V", [m] { m->paste(); });
    Delete1 = item("Delete1", "&Delete", "Ctrl+Del", [m] {
        if (!m->selection().empty())
            m->setSelText(QByteArray());
    });
    SelectAll1 = item("SelectAll1", "&Select All", nullptr, [m] { m->selectAll(); });
    PopupMenu1->addSeparator();
    IndentSelection1 = item("IndentSelection1", "&Indent Selection", nullptr, [m] { m->blockIndent(); });
    UnindentSelection1 = item("UnindentSelection1", "Unind&ent Selection", nullptr, [m] { m->blockUnindent(); });
    ChangeCase1 = item("ChangeCase1", "Ch&ange Case...", nullptr, [this] { ChangeCase(); });
    ToggleComment1 = item("ToggleComment1", "Toggle Co&mment", nullptr, [this] { ToggleComment(); });
    // Its key (Desktop scheme) works whenever the window has the focus, not only in the menu.
    ToggleComment1->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(ToggleComment1);
    VisitLink1 = item("VisitLink1", "Visit &Link", nullptr, [this] { Links->VisitLink1Click(); });
    VisitLink1->setEnabled(false);
    // Folding and matching, with the control's own keys.
    PopupMenu1->addSeparator();
    PopupMenu1->addActions(m->foldingActions());
    PopupMenu1->addSeparator();
    // The live preview beside the source; its key works anywhere in the window.
    LivePreview1 = item("LivePreview1", "Live Pre&view", "F12", [this] { ToggleLivePreview(); });
    LivePreview1->setCheckable(true);
    LivePreview1->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    addAction(LivePreview1);
    PopupMenu1->addSeparator();
    EditorOptions1 = item("EditorOptions1", "&Editor Options", nullptr, [this] { ModifyOptions(); });
    CheckSpelling1 = item("CheckSpelling1", "&Check Spelling", nullptr,
                          [this] { guarded("CheckSpelling1Click", [this] { CheckSpelling1Click(); }); });
    AddToRepository1 = item("AddToRepository1", "&Add To Repository...", nullptr, [this] {
        RecordPtr r = MakeRecord(FileName);
        Report(MW_ADD_TO_REPOSITORY, std::move(r));
    });

    connect(PopupMenu1, &QMenu::aboutToShow, this, [this] { guarded("PopupMenu1Popup", [this] { PopupMenu1Popup(); }); });
    SyntaxMemo1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(PopupMenu1, &QMenu::aboutToHide, this, [this] { Links->MenuClosed(); });
    connect(SyntaxMemo1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& at) {
                guarded("OfferSpelling", [&] { OfferSpelling(at); });
                guarded("PopupMenu1Popup", [&] { Links->MenuOpening(at); });
                PopupMenu1->popup(SyntaxMemo1->viewport()->mapToGlobal(at));
            });
}

void TFrmEditor::PopupMenu1Popup() {
    velora::memo::TSyntaxMemo& m = *SyntaxMemo1;
    Undo1->setEnabled(m.canUndo());
    Redo1->setEnabled(m.canRedo());
    Paste1->setEnabled(ClipboardHasText());
    const bool selected = m.selLength() > 0;
    for (QAction* a : {Cut1, Copy1, Delete1, IndentSelection1, UnindentSelection1, ChangeCase1})
        a->setEnabled(selected);
    ToggleComment1->setEnabled(!m.engine().readOnly);
    AddToRepository1->setEnabled(FileName != kUntitled);
}

}  // namespace vlr
