// Feature groups of the main window's commands: each group is enabled as a whole once
// the feature behind it is available.
#pragma once

#include <QString>

namespace vlr {

enum class CommandGroup {
    Shell,        // window arrangement, help, vendor web site, exit, view, closing files
    EditorFile,   // new untitled document, save, save as, save all
    Repository,   // new document from the store of reusable documents
    OpenByType,   // open a file, reopen a recent file
    WebOpen,      // open a document from the web
    Project,      // project file commands and the recent-projects list
    Build,        // build the project, preview a built page
    Upload,       // site upload
    EditForward,  // Edit and Search commands forwarded to the active editor window
    Authoring,    // markup insertion: Insert menu, Tags, Text Options and Form Elements
    Styles,       // cascading style sheets
    Plugins,      // plug-in menu and plug-in about boxes
    Palette,      // colour picker
    Tools,        // user tools customisation
    Spelling,     // spell check of the active document
    Printing,     // printing and printer set-up
    Variables,    // the Variables list and Insert Variable
    FileSearch,   // find and replace in the files of a project or folder
};

inline constexpr int kCommandGroupCount = static_cast<int>(CommandGroup::FileSearch) + 1;

// The enumerator's name, e.g. "EditForward".
[[nodiscard]] QString commandGroupName(CommandGroup group);

}  // namespace vlr
