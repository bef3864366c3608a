// The main window's keys under the Classic and Desktop schemes.
#include "app/commands/KeySchemeCommands.h"

#include "app/commands/CommandTable.h"
#include "app/commands/MainCommands.h"
#include "platform/Prompter.h"
#include "platform/IniFile.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QVariant>

#include <cstring>

namespace vlr {

namespace {

constexpr const char* kSection = "Keys";
constexpr const char* kKey = "Scheme";
// The keys a child window's menu action had before any were taken from it.
constexpr const char* kOwnKeys = "vlrOwnKeys";

struct DesktopKeys {
    const char* name;
    const char* keys;  // portable text, several separated by "; "; empty: no keys
};

// Every command whose keys differ under the Desktop scheme.
constexpr DesktopKeys kDesktop[] = {
    {"New1", "Ctrl+N"},
    {"Open1", "Ctrl+O"},
    {"Close1", "Ctrl+W"},
    {"Exit1", "Ctrl+Q"},
    {"Redo1", "Ctrl+Y; Ctrl+Shift+Z"},
    {"Delete1", ""},  // Ctrl+Delete deletes the next word in the editor
    {"SelectAll1", "Ctrl+A"},
    {"GoToLine1", "Ctrl+G"},
    // Ctrl+A and Ctrl+I go to the editor and the text toolbar on the desktop.
    {"Image1", "Ctrl+Shift+I"},
    {"Hyperlink1", "Ctrl+Shift+L"},
};

}  // namespace

std::optional<KeySchemeChoice> ReadKeySchemeChoice(const std::string& preferencesPath) {
    const IniFile ini(preferencesPath);
    if (!ini.ValueExists(kSection, kKey))
        return std::nullopt;
    const QString v = QString::fromStdString(ini.ReadString(kSection, kKey, "")).trimmed();
    return v.compare("Desktop", Qt::CaseInsensitive) == 0 ? KeySchemeChoice::Desktop : KeySchemeChoice::Classic;
}

bool WriteKeySchemeChoice(const std::string& preferencesPath, KeySchemeChoice scheme) {
    return IniFile(preferencesPath)
        .WriteString(kSection, kKey, scheme == KeySchemeChoice::Desktop ? "Desktop" : "Classic");
}

QList<QKeySequence> SchemeShortcuts(const QString& actionName, KeySchemeChoice scheme, const char* tableShortcut) {
    QString keys = QString::fromUtf8(tableShortcut ? tableShortcut : "");
    if (scheme == KeySchemeChoice::Desktop)
        for (const DesktopKeys& d : kDesktop)
            if (actionName == QLatin1String(d.name))
                keys = QString::fromUtf8(d.keys);
    return keys.isEmpty() ? QList<QKeySequence>{} : QKeySequence::listFromString(keys, QKeySequence::PortableText);
}

void ApplyKeySchemeChoice(MainCommands& commands, KeySchemeChoice scheme) {
    for (const commands::CommandEntry& e : commands::menuBarEntries()) {
        if (e.kind != commands::EntryKind::Command && e.kind != commands::EntryKind::Check)
            continue;
        if (QAction* a = commands.action(QString::fromUtf8(e.name)))
            a->setShortcuts(SchemeShortcuts(a->objectName(), scheme, e.shortcut));
    }
}

void YieldChildMenuKeys(QMdiArea& area, const MainCommands& commands) {
    QList<QKeySequence> taken;
    for (const commands::CommandEntry& e : commands::menuBarEntries())
        if (const QAction* a = e.name ? commands.action(QString::fromUtf8(e.name)) : nullptr)
            taken += a->shortcuts();
    for (QMdiSubWindow* child : area.subWindowList()) {
        const QMenu* menu = child->systemMenu();
        if (!menu)
            continue;
        for (QAction* a : menu->actions()) {
            if (!a->property(kOwnKeys).isValid())
                a->setProperty(kOwnKeys, QVariant::fromValue(a->shortcuts()));
            QList<QKeySequence> keys = a->property(kOwnKeys).value<QList<QKeySequence>>();
            keys.removeIf([&taken](const QKeySequence& k) { return taken.contains(k); });
            if (keys != a->shortcuts())
                a->setShortcuts(keys);
        }
    }
}

void AskKeySchemeOnce(MainCommands& commands, const std::string& preferencesPath) {
    if (ReadKeySchemeChoice(preferencesPath))
        return;
    MessageBoxRequest question;
    question.kind = MessageKind::Confirmation;
    question.caption = kKeySchemeCaption;
    question.text = kKeySchemeQuestion;
    question.buttons = BtnYesNo;
    question.defaultAnswer = ModalResult::No;
    const KeySchemeChoice scheme =
        CurrentPrompter().MessageBox(question) == ModalResult::Yes ? KeySchemeChoice::Desktop : KeySchemeChoice::Classic;
    WriteKeySchemeChoice(preferencesPath, scheme);
    ApplyKeySchemeChoice(commands, scheme);
}

}  // namespace vlr
