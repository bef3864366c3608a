// The command set of the main window: its menu bar, pop-up menus and five docking toolbars,
// every command a named QAction that belongs to one feature group.
#pragma once

#include "app/commands/CommandGroup.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>
#include <utility>
#include <vector>

class QAction;
class QActionGroup;
class QComboBox;
class QFontComboBox;
class QMainWindow;
class QMenu;
class QToolBar;

namespace vlr {

class DropDownComboBox;

namespace commands {
struct CommandEntry;
}

class MainCommands : public QObject {
    Q_OBJECT
public:
    // Builds the menu bar of `window`, its pop-up menus and its toolbars (docked at the top in
    // their rows). Every action starts disabled except those of group Shell. The object is a
    // child of `window`.
    explicit MainCommands(QMainWindow* window);
    ~MainCommands() override;

    MainCommands(const MainCommands&) = delete;
    MainCommands& operator=(const MainCommands&) = delete;

    // nullptr when nothing of that name exists. A submenu's own action is found under the
    // submenu's name.
    [[nodiscard]] QAction* action(const QString& objectName) const;
    [[nodiscard]] QToolBar* toolbar(const QString& objectName) const;
    [[nodiscard]] QMenu* menu(const QString& objectName) const;

    // The actions of one group in creation order (menu bar, pop-up menus, toolbars).
    [[nodiscard]] QList<QAction*> actionsOfGroup(CommandGroup group) const;
    // The group of an action built here; none for top-level menus, separators and foreign actions.
    [[nodiscard]] std::optional<CommandGroup> groupOf(const QAction* action) const;
    void setGroupEnabled(CommandGroup group, bool enabled);

    // Every grouped action in creation order.
    [[nodiscard]] QList<QAction*> commandActions() const;
    // The top-level menus in menu-bar order.
    [[nodiscard]] QList<QMenu*> topLevelMenus() const { return topLevelMenus_; }
    // The five toolbars in docking order.
    [[nodiscard]] QList<QToolBar*> toolbars() const { return toolbarOrder_; }

    // The exclusive groups of radio items: "animation" (menu animation kinds), "chars"
    // (character entities) and "lists" (list styles); nullptr for other names.
    [[nodiscard]] QActionGroup* radioGroup(const QString& name) const;

    // Input boxes of the toolbars: font name and font size (Text Options), variable (Tags).
    [[nodiscard]] QFontComboBox* fontNameBox() const { return fontNameBox_; }
    [[nodiscard]] QComboBox* fontSizeBox() const { return fontSizeBox_; }
    [[nodiscard]] DropDownComboBox* variablesBox() const { return variablesBox_; }

private:
    void buildMenuBar();
    void buildPopups();
    void buildToolbars();
    // Adds the entries from `begin` up to the EndSubmenu that closes `menu` and returns the
    // entry after it (or `end`).
    const commands::CommandEntry* fillMenu(QMenu* menu, const commands::CommandEntry* begin,
                                           const commands::CommandEntry* end);
    QAction* createAction(const commands::CommandEntry& entry);
    QAction* createWidgetAction(QToolBar* bar, const commands::CommandEntry& entry);
    QMenu* registerMenu(QMenu* menu, const commands::CommandEntry& entry, bool grouped);
    void registerAction(QAction* action, const QString& name);
    void registerGrouped(QAction* action, CommandGroup group);

    QMainWindow* window_;
    QHash<QString, QAction*> actions_;
    QHash<QString, QMenu*> menus_;
    QHash<QString, QToolBar*> toolbars_;
    QHash<QString, QActionGroup*> radioGroups_;
    std::vector<std::pair<QAction*, CommandGroup>> grouped_;  // creation order
    QHash<const QAction*, CommandGroup> groupOf_;
    QList<QMenu*> topLevelMenus_;
    QList<QToolBar*> toolbarOrder_;
    QFontComboBox* fontNameBox_ = nullptr;
    QComboBox* fontSizeBox_ = nullptr;
    DropDownComboBox* variablesBox_ = nullptr;
};

}  // namespace vlr
