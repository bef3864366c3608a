// The insertion dialogs module: hyperlink, table, Active-X control, Java
// applet and the style organizer. The insertion dialogs send their markup to
// the editor window themselves (message 2029, or 3075 to replace the
// selection by a whole link); the organizer writes "styles.dat".
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"
#include "libs/extdlgs/EditorTarget.h"
#include "libs/extdlgs/InsertDialogs.h"
#include "libs/extdlgs/StyleOrganizer.h"
#include "platform/Prompter.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <cstdio>
#include <type_traits>

namespace {

constexpr unsigned kSetSelText = 3075;

// A dialog can be shown: there is a widget application and prompts are not
// logged (under logged prompts nobody could answer it).
bool CanRunDialog(const char* title) {
    if (!vlr::modules::HaveWidgetApplication())
        return false;
    if (vlr::PromptsAreLogged()) {
        vlr::modules::LogSkippedDialog(title);
        return false;
    }
    return true;
}

bool IsTrue(const char* text) { return vlr::modules::TextFrom(text) == "true"; }

// No exception may cross back into the program through a C entry point.
template <class Body>
void Guarded(const char* what, Body&& body) {
    try {
        body();
    } catch (const std::exception& e) {
        vlr::ShowMessage(vlr::MessageKind::Error, what, e.what());
    } catch (...) {
        vlr::ShowMessage(vlr::MessageKind::Error, what, "The dialog failed.");
    }
}

}  // namespace

// The hyperlink dialog for the active editor window of the main window. The
// text starts as the selected text; the link replaces the selection, or,
// with no text, is put around the selection (the caret between the tags).
VLR_ENTRY_POINT void ShowHLink(vlr::Handle, vlr::Handle mainWindow) {
    Guarded("Insert Hyperlink", [&] {
        const vlr::Handle editor = vlr::extdlgs::ActiveEditorOf(mainWindow);
        if (!editor || !CanRunDialog("Insert Hyperlink"))
            return;
        vlr::extdlgs::LinkSpec link;
        {
            vlr::extdlgs::TFrmHyperlink dialog(vlr::extdlgs::ProjectPages(mainWindow, vlr::extdlgs::DocumentPath(editor)),
                                               vlr::extdlgs::SelectedText(editor),
                                               vlr::modules::OwnerWidget(mainWindow));
            if (dialog.exec() != QDialog::Accepted)
                return;
            link = dialog.Link();
        }
        const vlr::extdlgs::MarkupPair m = vlr::extdlgs::LinkMarkup(link, vlr::extdlgs::LowerTagsPreference());
        if (link.text.empty()) {
            vlr::extdlgs::SendMarkup(editor, m.start, m.end, "yes");
        } else if (vlr::IsWindow(editor)) {
            vlr::RecordPtr r = vlr::MakeRecord(m.start + m.end);
            vlr::SendMessage(editor, kSetSelText, 0, reinterpret_cast<vlr::LParam>(r.release()));
        }
    });
}

// The table dialog: the table goes into the given editor window with the
// caret (or the selected text) in its first cell.
VLR_ENTRY_POINT void InsTable(vlr::Handle mainWindow, vlr::Handle editorWindow, const char* lowerCase) {
    Guarded("Insert Table", [&] {
        if (!vlr::extdlgs::IsEditorWindow(editorWindow) || !CanRunDialog("Insert Table"))
            return;
        vlr::extdlgs::TableSpec table;
        {
            vlr::extdlgs::TFrmTable dialog(vlr::modules::OwnerWidget(mainWindow));
            if (dialog.exec() != QDialog::Accepted)
                return;
            table = dialog.Table();
        }
        const vlr::extdlgs::MarkupPair m = vlr::extdlgs::TableMarkup(table, IsTrue(lowerCase));
        vlr::extdlgs::SendMarkup(editorWindow, m.start, m.end, "yes");
    });
}

VLR_ENTRY_POINT void InsActiveX(vlr::Handle mainWindow, vlr::Handle editorWindow, const char* lowerCase) {
    Guarded("Insert Active-X Control", [&] {
        if (!vlr::extdlgs::IsEditorWindow(editorWindow) || !CanRunDialog("Insert Active-X Control"))
            return;
        vlr::extdlgs::ObjectSpec object;
        {
            vlr::extdlgs::TFrmActiveX dialog(vlr::modules::OwnerWidget(mainWindow));
            if (dialog.exec() != QDialog::Accepted)
                return;
            object = dialog.Object();
        }
        vlr::extdlgs::SendMarkup(editorWindow, vlr::extdlgs::ObjectMarkup(object, IsTrue(lowerCase)), "", "no");
    });
}

VLR_ENTRY_POINT void InsJavaApp(vlr::Handle mainWindow, vlr::Handle editorWindow, const char* lowerCase) {
    Guarded("Insert Java Applet", [&] {
        if (!vlr::extdlgs::IsEditorWindow(editorWindow) || !CanRunDialog("Insert Java Applet"))
            return;
        vlr::extdlgs::AppletSpec applet;
        {
            vlr::extdlgs::TFrmJavaApplet dialog(vlr::modules::OwnerWidget(mainWindow));
            if (dialog.exec() != QDialog::Accepted)
                return;
            applet = dialog.Applet();
        }
        vlr::extdlgs::SendMarkup(editorWindow, vlr::extdlgs::AppletMarkup(applet, IsTrue(lowerCase)), "", "no");
    });
}

// The style organizer over "styles.dat" in the program folder. A damaged
// file is never overwritten unasked: the user may set it aside (as
// "styles.dat.damaged") and start a new list, or leave everything as it is.
VLR_ENTRY_POINT void InsCSS(vlr::Handle mainWindow, vlr::Handle) {
    Guarded("Style Organizer", [&] {
        if (!CanRunDialog("Style Organizer"))
            return;
        const std::string path = vlr::WritablePath("styles.dat");
        vlr::authoring::TCSSList list;
        const vlr::authoring::StylesError e = list.LoadFromFile(path);
        if (!e.ok()) {
            const std::string aside = path + ".damaged";
            const vlr::ModalResult answer = vlr::ShowMessage(
                vlr::MessageKind::Confirmation, "Style Organizer",
                e.message + "\nStart a new list of styles? The damaged file is kept as \"" + aside + "\".",
                vlr::BtnYesNo);
            if (answer != vlr::ModalResult::Yes)
                return;
            if (std::rename(path.c_str(), aside.c_str()) != 0) {
                vlr::ShowMessage(vlr::MessageKind::Error, "Style Organizer",
                                 "The damaged file could not be set aside; nothing was changed.");
                return;
            }
        }
        vlr::extdlgs::TFrmStyleOrganizer dialog(list, path, vlr::modules::OwnerWidget(mainWindow));
        dialog.exec();
    });
}

static_assert(std::is_same_v<decltype(&ShowHLink), ShowHLinkFn>);
static_assert(std::is_same_v<decltype(&InsTable), InsertDialogFn>);
static_assert(std::is_same_v<decltype(&InsActiveX), InsertDialogFn>);
static_assert(std::is_same_v<decltype(&InsJavaApp), InsertDialogFn>);
static_assert(std::is_same_v<decltype(&InsCSS), InsCSSFn>);
