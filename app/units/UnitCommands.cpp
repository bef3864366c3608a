#include "app/units/UnitCommands.h"

#include "app/commands/MainCommands.h"

#include <QAction>

namespace vlr {

bool ConnectCommand(ShellServices& shell, QObject* context, const char* command, std::string method,
                    std::function<void()> handler) {
    QAction* action = shell.Commands().action(command);
    if (!action)
        return false;
    QObject::connect(action, &QAction::triggered, context,
                     [&shell, action, method = std::move(method), handler = std::move(handler)] {
                         RunGuarded(shell, action, method.c_str(), handler);
                     });
    return true;
}

}  // namespace vlr
