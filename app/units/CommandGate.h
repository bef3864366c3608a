// Enabling of the main window's commands. A command can only be enabled when
// its feature is available in this build of the program; the rules of the
// main window (editor windows open, printers present) decide within that.
#pragma once

#include "app/commands/MainCommands.h"

#include <QList>
#include <QSet>

class QAction;

namespace vlr {

class CommandGate {
public:
    explicit CommandGate(MainCommands& commands);

    // Makes a feature's commands available and enables them.
    void makeAvailable(CommandGroup group);
    bool available(CommandGroup group) const { return available_.contains(static_cast<int>(group)); }
    bool available(const QAction* action) const;

    void setEnabled(QAction* action, bool enabled);
    void setEnabled(const QString& objectName, bool enabled);

    // The commands that need an editor window: the items of the Edit, Search
    // and Insert menus, the HTML, Text and Forms toolbars, and the Color
    // Picker, Find on this page, Save All and Close All commands.
    QList<QAction*> editorDependentCommands() const;

private:
    MainCommands& commands_;
    QSet<int> available_;
};

}  // namespace vlr
