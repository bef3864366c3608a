// The key schemes as the menus show them. "Classic" keeps the keys of the command tables;
// "Desktop" follows the desktop convention: Ctrl+N, Ctrl+O, Ctrl+W, Ctrl+Q, Ctrl+A select all,
// Ctrl+Y and Ctrl+Shift+Z redo, Ctrl+G go to line, with the Insert menu's keys moved out of
// the way and Ctrl+Delete left to the editor (it deletes the next word there).
// The choice is kept in the preferences ("Scheme" in section "Keys"); a file without it has
// not been asked yet.
#pragma once

#include <QKeySequence>
#include <QList>
#include <QString>

class QMdiArea;

#include <optional>
#include <string>

namespace vlr {

class MainCommands;

enum class KeySchemeChoice { Classic, Desktop };

// The scheme recorded in the preferences file, or nothing when none was chosen yet.
[[nodiscard]] std::optional<KeySchemeChoice> ReadKeySchemeChoice(const std::string& preferencesPath);
// Records the scheme; false when the file could not be written.
bool WriteKeySchemeChoice(const std::string& preferencesPath, KeySchemeChoice scheme);

// The keys of a main window command under a scheme: the table's own `tableShortcut` (portable
// text) unless the scheme gives the command other keys.
[[nodiscard]] QList<QKeySequence> SchemeShortcuts(const QString& actionName, KeySchemeChoice scheme,
                                                  const char* tableShortcut);
// Gives every command of the menu bar the keys of the scheme.
void ApplyKeySchemeChoice(MainCommands& commands, KeySchemeChoice scheme);
// The child windows' own menus (Qt's Close, Minimize... with their keys, Ctrl+W among them) give
// up the keys a menu bar command holds: a key two actions hold runs neither. A key comes back
// to them when the menu bar no longer holds it.
void YieldChildMenuKeys(QMdiArea& area, const MainCommands& commands);

// Asks the first-start question when the preferences record no scheme yet, records the
// answer and gives the menus its keys; with a scheme recorded, does nothing. The program asks
// before its window is shown, so that the first editor window follows the answer.
void AskKeySchemeOnce(MainCommands& commands, const std::string& preferencesPath);

// The first-start question: "Yes" chooses Desktop; any other answer (and a box that is not
// shown) keeps Classic.
inline constexpr const char* kKeySchemeCaption = "Keyboard";
inline constexpr const char* kKeySchemeQuestion =
    "Which keys should the editor use?\n\n"
    "Yes: the desktop's usual keys (Ctrl+A select all, Ctrl+Y redo, Ctrl+N, Ctrl+O, Ctrl+W, Ctrl+Q, "
    "Ctrl+G go to line, Ctrl+/ toggle comment).\n"
    "No: the classic keys of this program.\n\n"
    "You can change this later on the Key Assignments page of the editor options.";

}  // namespace vlr
