#include "app/units/CommandGate.h"

#include <QAction>
#include <QMenu>
#include <QToolBar>

namespace vlr {
namespace {
void collectMenu(QMenu* menu, QList<QAction*>& out) {
    if (!menu)
        return;
    for (QAction* a : menu->actions()) {
        if (a->isSeparator())
            continue;
        if (a->menu())
            collectMenu(a->menu(), out);
        out << a;
    }
}
}  // namespace

CommandGate::CommandGate(MainCommands& commands) : commands_(commands) {
    available_.insert(static_cast<int>(CommandGroup::Shell));
}

void CommandGate::makeAvailable(CommandGroup group) {
    available_.insert(static_cast<int>(group));
    for (QAction* a : commands_.actionsOfGroup(group))
        a->setEnabled(true);
}

bool CommandGate::available(const QAction* action) const {
    for (int g : available_)
        if (commands_.actionsOfGroup(static_cast<CommandGroup>(g)).contains(const_cast<QAction*>(action)))
            return true;
    return false;
}

void CommandGate::setEnabled(QAction* action, bool enabled) {
    if (action)
        action->setEnabled(enabled && available(action));
}

void CommandGate::setEnabled(const QString& objectName, bool enabled) {
    setEnabled(commands_.action(objectName), enabled);
}

QList<QAction*> CommandGate::editorDependentCommands() const {
    QList<QAction*> out;
    for (const char* menu : {"Edit1", "Search1", "Insert1"})
        collectMenu(commands_.menu(menu), out);
    // Find in files works on files, not on the active document.
    out.removeAll(commands_.action("FindInFiles1"));
    for (const char* bar : {"TlbHTML", "TlbText", "TLBForms"})
        if (QToolBar* t = commands_.toolbar(bar))
            for (QAction* a : t->actions())
                if (!a->isSeparator())
                    out << a;
    for (const char* name : {"ToolbarButton9729", "Findonthispage1", "SaveAll1", "CloseAll1"})
        if (QAction* a = commands_.action(name))
            out << a;
    return out;
}

}  // namespace vlr
