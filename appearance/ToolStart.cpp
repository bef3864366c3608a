#include "appearance/ToolStart.h"

#include "platform/System.h"

#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QStringList>

namespace vlr {
namespace {

bool IsAddress(const std::string& target) {
    const std::size_t scheme = target.find("://");
    return (scheme != std::string::npos && scheme > 0) || target.rfind("mailto:", 0) == 0;
}

// The program file a command names: a path with a "/" must be an executable
// file; a bare name is looked up on the search path. Empty when there is none.
QString ProgramFile(const QString& program) {
    if (program.contains(QLatin1Char('/'))) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable() ? info.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(program);
}

}  // namespace

bool StartTool(const std::string& target) {
    if (target.empty())
        return false;
    if (IsAddress(target))
        return ShellOpen(target);
    const QString text = QString::fromStdString(target);
    const QFileInfo info(text);
    if (info.exists()) {
        // An executable file is started as a program, with no arguments and
        // no shell in between; documents and folders go to their program.
        if (info.isFile() && info.isExecutable())
            return QProcess::startDetached(info.absoluteFilePath(), {});
        return ShellOpen(target);
    }
    // Not a file: a program, by path or by name, followed by its arguments,
    // split as a command line is ("quoted words" stay whole) and handed over
    // as a list, so nothing in them is interpreted by a shell. A file that is
    // not there is never handed to the desktop, which would report success
    // and fail later on its own.
    QStringList arguments = QProcess::splitCommand(text);
    if (arguments.isEmpty())
        return false;
    const QString program = ProgramFile(arguments.takeFirst());
    if (program.isEmpty())
        return false;
    return QProcess::startDetached(program, arguments);
}

}  // namespace vlr
