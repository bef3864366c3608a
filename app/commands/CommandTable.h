// Declarative description of the main window's menus, pop-up menus and toolbars,
// from which MainCommands builds the Qt objects.
#pragma once

#include "app/commands/CommandGroup.h"

#include <span>

namespace vlr::commands {

enum class EntryKind {
    Command,     // a plain command
    Check,       // a command with its own check mark
    Radio,       // one of a group of mutually exclusive check items (see radioGroup)
    Separator,
    Submenu,     // opens a submenu; the entries up to the matching EndSubmenu belong to it
    EndSubmenu,
    Widget,      // toolbar only: one of the toolbar's input boxes (name tells which)
};

// How a toolbar button uses its drop-down menu.
enum class DropDown {
    None,
    Split,    // the button runs its own command, the arrow beside it opens the menu
    Instant,  // the whole button opens the menu
};

// All texts are UTF-8. Empty texts mean "none".
struct CommandEntry {
    EntryKind kind = EntryKind::Command;
    const char* name = "";      // objectName of the action (or of the menu, for Submenu)
    const char* caption = "";   // menu caption with its & accelerator
    const char* hint = "";      // tool tip and status-line hint
    const char* shortcut = "";  // key sequence in portable text form, e.g. "Ctrl+S"
    CommandGroup group = CommandGroup::Shell;
    const char* icon = "";      // own SVG in resources/icons, without ".svg"
    const char* theme = "";     // freedesktop icon name preferred over the own SVG
    const char* data = "";      // value handed to the handler through QAction::data()
    bool checked = false;       // initial check mark of Check and Radio entries
    bool hidden = false;        // initially invisible
    const char* radioGroup = "";  // Radio only: entries naming the same group exclude each other
    const char* menu = "";      // toolbar only: objectName of the button's drop-down menu
    DropDown dropDown = DropDown::None;
};

struct ToolbarTable {
    const char* name;     // objectName of the toolbar
    const char* caption;  // window title of the toolbar
    bool rowBreak;        // starts a new row of the top dock
    std::span<const CommandEntry> entries;
};

struct PopupTable {
    const char* name;  // objectName of the menu
    std::span<const CommandEntry> entries;
};

// The menu bar: one Submenu ... EndSubmenu block per top-level menu, in menu-bar order.
[[nodiscard]] std::span<const CommandEntry> menuBarEntries();

// Pop-up menus that are not part of the menu bar: the dock menu and the drop-down menus of
// the Tags toolbar.
[[nodiscard]] std::span<const PopupTable> popupTables();

// The five toolbars in their docking order.
[[nodiscard]] std::span<const ToolbarTable> toolbarTables();

}  // namespace vlr::commands
