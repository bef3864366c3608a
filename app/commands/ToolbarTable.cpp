// The main window's five docking toolbars and their buttons, in docking order.
#include "app/commands/CommandTable.h"

namespace vlr::commands {
namespace {

using G = CommandGroup;
using K = EntryKind;

constexpr CommandEntry kMainBar[] = {
    {.name = "NewFile1", .hint = "New File", .group = G::EditorFile, .icon = "new-file",
     .theme = "document-new"},
    {.name = "OpenFile1", .hint = "Open File", .group = G::OpenByType, .icon = "open-file",
     .theme = "document-open"},
    {.kind = K::Separator},
    {.name = "NewProject2", .hint = "New Project", .group = G::Project, .icon = "new-project",
     .theme = "folder-new"},
    {.name = "SaveProject2", .hint = "Save Project", .group = G::Project, .icon = "save-project"},
    {.name = "ProjectOptions1", .hint = "Project Options", .group = G::Project,
     .icon = "project-options"},
    {.name = "ProjectVariables1", .hint = "Project Variables", .group = G::Project,
     .icon = "project-variables"},
    {.kind = K::Separator},
    {.name = "BuildAll2", .hint = "Build All", .group = G::Build, .icon = "build-all"},
    {.name = "Upload2", .hint = "Upload", .group = G::Upload, .icon = "upload"},
    {.kind = K::Separator},
    {.name = "PrinterSetup2", .hint = "Printer Setup", .group = G::Printing,
     .icon = "printer-setup", .theme = "document-page-setup"},
    {.name = "Preferences2", .hint = "Preferences", .icon = "preferences",
     .theme = "preferences-system"},
    {.name = "HelpContents1", .hint = "Help Contents", .icon = "help-contents",
     .theme = "help-contents"},
};

// The editor windows keep Save, Cut, Copy, Paste, Delete, Undo and Redo current.
constexpr CommandEntry kEditorBar[] = {
    {.name = "Save2", .hint = "Save", .group = G::EditorFile, .icon = "save",
     .theme = "document-save"},
    {.name = "PrintDocument1", .hint = "Print Document", .group = G::Printing, .icon = "print",
     .theme = "document-print"},
    {.kind = K::Separator},
    {.name = "Cut2", .hint = "Cut", .group = G::EditForward, .icon = "cut", .theme = "edit-cut"},
    {.name = "Copy2", .hint = "Copy", .group = G::EditForward, .icon = "copy",
     .theme = "edit-copy"},
    {.name = "Paste2", .hint = "Paste", .group = G::EditForward, .icon = "paste",
     .theme = "edit-paste"},
    {.name = "Delete2", .hint = "Delete", .group = G::EditForward, .icon = "delete",
     .theme = "edit-delete"},
    {.kind = K::Separator},
    {.name = "Undo2", .hint = "Undo", .group = G::EditForward, .icon = "undo",
     .theme = "edit-undo"},
    {.name = "Redo2", .hint = "Redo", .group = G::EditForward, .icon = "redo",
     .theme = "edit-redo"},
    {.kind = K::Separator},
    {.name = "Findonthispage1", .hint = "Find on this page", .group = G::EditForward,
     .icon = "find", .theme = "edit-find"},
    {.name = "ToolbarButton9729", .hint = "Color Picker", .group = G::Palette,
     .icon = "color-picker"},
};

constexpr CommandEntry kFormsBar[] = {
    {.name = "ToolbarButton9740", .hint = "Insert Button", .group = G::Authoring,
     .icon = "form-button"},
    {.name = "ToolbarButton9741", .hint = "Insert Combobox", .group = G::Authoring,
     .icon = "form-combobox"},
    {.name = "ToolbarButton9742", .hint = "Insert CheckBox", .group = G::Authoring,
     .icon = "form-checkbox"},
    {.name = "ToolbarButton9743", .hint = "Insert Memo", .group = G::Authoring,
     .icon = "form-memo"},
    {.name = "ToolbarButton9744", .hint = "Insert EditBox", .group = G::Authoring,
     .icon = "form-editbox"},
    {.name = "ToolbarButton9738", .hint = "Insert RadioButton", .group = G::Authoring,
     .icon = "form-radiobutton"},
};

constexpr CommandEntry kTextBar[] = {
    {.name = "ToolbarButton9723", .hint = "Bold", .group = G::Authoring, .icon = "bold",
     .theme = "format-text-bold"},
    {.name = "ToolbarButton9725", .hint = "Italic", .group = G::Authoring, .icon = "italic",
     .theme = "format-text-italic"},
    {.name = "ToolbarButton9724", .hint = "Underline", .group = G::Authoring,
     .icon = "underline", .theme = "format-text-underline"},
    {.name = "ToolbarButton9726", .hint = "Strikethrough", .group = G::Authoring,
     .icon = "strikethrough", .theme = "format-text-strikethrough"},
    {.kind = K::Separator},
    {.name = "ToolbarButton9720", .hint = "Align Left", .group = G::Authoring,
     .icon = "align-left", .theme = "format-justify-left"},
    {.name = "ToolbarButton9721", .hint = "Center", .group = G::Authoring,
     .icon = "align-center", .theme = "format-justify-center"},
    {.name = "ToolbarButton9722", .hint = "Align Right", .group = G::Authoring,
     .icon = "align-right", .theme = "format-justify-right"},
    {.kind = K::Separator},
    {.kind = K::Widget, .name = "FontNameBox1", .hint = "Choose Font", .group = G::Authoring},
    {.kind = K::Widget, .name = "FontSizeBox1", .hint = "Font Size", .group = G::Authoring},
    {.name = "ToolbarButton9735", .hint = "Insert Font Information", .group = G::Authoring,
     .icon = "font"},
    // The spell check button and the separator before it.
    {.kind = K::Separator, .name = "SpellingSeparator1"},
    {.name = "CheckSpelling1", .hint = "Check Spelling", .group = G::Spelling,
     .icon = "spelling", .theme = "tools-check-spelling"},
};

constexpr CommandEntry kTagsBar[] = {
    {.name = "QuickHTMLCodes1", .hint = "Quick HTML Codes", .group = G::Authoring,
     .icon = "quick-codes", .menu = "QuickCodesMenu1", .dropDown = DropDown::Instant},
    {.kind = K::Separator},
    {.name = "SpeedButton7", .hint = "Line Break", .group = G::Authoring, .icon = "line-break"},
    {.name = "SpeedButton6", .hint = "Insert Paragraph", .group = G::Authoring,
     .icon = "paragraph"},
    {.name = "ToolbarButton974", .hint = "Insert Comment", .group = G::Authoring,
     .icon = "comment"},
    {.kind = K::Separator},
    {.name = "InsertImage1", .hint = "Insert Image", .group = G::Authoring, .icon = "image",
     .theme = "insert-image"},
    {.name = "InsertHyperlink1", .hint = "Insert Hyperlink", .group = G::Authoring,
     .icon = "hyperlink", .theme = "insert-link"},
    {.name = "ToolbarButton9718", .hint = "Bullets", .group = G::Authoring, .icon = "bullets",
     .menu = "ListStyleMenu1", .dropDown = DropDown::Split},
    {.name = "ToolbarButton9734", .hint = "Extended Ascii Characters", .group = G::Authoring,
     .icon = "entity", .menu = "CharacterMenu1", .dropDown = DropDown::Split},
    {.kind = K::Separator},
    // Second buttons for the form elements; they run the Form Elements toolbar's commands.
    {.name = "InsertButton1", .hint = "Insert Button", .group = G::Authoring,
     .icon = "form-button"},
    {.name = "InsertCombobox1", .hint = "Insert Combobox", .group = G::Authoring,
     .icon = "form-combobox"},
    {.name = "InsertCheckBox1", .hint = "Insert CheckBox", .group = G::Authoring,
     .icon = "form-checkbox"},
    {.name = "InsertMemo1", .hint = "Insert Memo", .group = G::Authoring, .icon = "form-memo"},
    {.name = "InsertEditBox1", .hint = "Insert EditBox", .group = G::Authoring,
     .icon = "form-editbox"},
    {.name = "InsertRadioButton1", .hint = "Insert RadioButton", .group = G::Authoring,
     .icon = "form-radiobutton"},
    {.kind = K::Separator},
    {.kind = K::Widget, .name = "VariablesBox1", .hint = "Choose a variable",
     .group = G::Variables},
    {.name = "ToolbarButton9736", .hint = "Insert Variable", .group = G::Variables,
     .icon = "variable"},
};

// Rows of the top dock: 1 Main; 2 Editor Options then Form Elements; 3 Text Options; 4 Tags.
constexpr ToolbarTable kToolbars[] = {
    {"TlbMain", "Main", false, kMainBar},
    {"TLBEditor", "Editor Options", true, kEditorBar},
    {"TLBForms", "Form Elements", false, kFormsBar},
    {"TlbText", "Text Options", true, kTextBar},
    {"TlbHTML", "Tags", true, kTagsBar},
};

}  // namespace

std::span<const ToolbarTable> toolbarTables() {
    return kToolbars;
}

}  // namespace vlr::commands
