// Names of the command groups.
#include "app/commands/CommandGroup.h"

namespace vlr {

QString commandGroupName(CommandGroup group) {
    switch (group) {
    case CommandGroup::Shell: return QStringLiteral("Shell");
    case CommandGroup::EditorFile: return QStringLiteral("EditorFile");
    case CommandGroup::Repository: return QStringLiteral("Repository");
    case CommandGroup::OpenByType: return QStringLiteral("OpenByType");
    case CommandGroup::WebOpen: return QStringLiteral("WebOpen");
    case CommandGroup::Project: return QStringLiteral("Project");
    case CommandGroup::Build: return QStringLiteral("Build");
    case CommandGroup::Upload: return QStringLiteral("Upload");
    case CommandGroup::EditForward: return QStringLiteral("EditForward");
    case CommandGroup::Authoring: return QStringLiteral("Authoring");
    case CommandGroup::Styles: return QStringLiteral("Styles");
    case CommandGroup::Plugins: return QStringLiteral("Plugins");
    case CommandGroup::Palette: return QStringLiteral("Palette");
    case CommandGroup::Tools: return QStringLiteral("Tools");
    case CommandGroup::Spelling: return QStringLiteral("Spelling");
    case CommandGroup::Printing: return QStringLiteral("Printing");
    case CommandGroup::Variables: return QStringLiteral("Variables");
    case CommandGroup::FileSearch: return QStringLiteral("FileSearch");
    }
    return QString();
}

}  // namespace vlr
