// Builds the main window's menus and toolbars from the command tables.
#include "app/commands/MainCommands.h"

#include "app/commands/CommandTable.h"
#include "app/commands/DropDownComboBox.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QFontComboBox>
#include <QIcon>
#include <QKeySequence>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <stdexcept>

// The icons are compiled into this static library; registering them here keeps the linker
// from dropping the resource object. Q_INIT_RESOURCE must be used outside any namespace.
static void registerIconResources() {
    Q_INIT_RESOURCE(icons);
}

namespace vlr {

using commands::CommandEntry;
using commands::DropDown;
using commands::EntryKind;

namespace {

QString utf8(const char* text) {
    return QString::fromUtf8(text);
}

// The freedesktop icon when the running theme has it, otherwise our own drawing.
QIcon iconFor(const CommandEntry& entry) {
    const QString own = utf8(entry.icon);
    const QString theme = utf8(entry.theme);
    const QIcon fallback = own.isEmpty() ? QIcon() : QIcon(QStringLiteral(":/icons/%1.svg").arg(own));
    if (theme.isEmpty())
        return fallback;
    return QIcon::fromTheme(theme, fallback);
}

// The font sizes of HTML, 1 to 7 (3 is the normal size). The box starts at 2,
// the size the relative "-1" gives on a page of normal size; any size can
// still be typed, a relative one too.
constexpr const char* kFontSizes[] = {"1", "2", "3", "4", "5", "6", "7"};

}  // namespace

MainCommands::MainCommands(QMainWindow* window) : QObject(window), window_(window) {
    registerIconResources();
    buildMenuBar();
    buildPopups();
    buildToolbars();
}

MainCommands::~MainCommands() = default;

QAction* MainCommands::action(const QString& objectName) const {
    return actions_.value(objectName, nullptr);
}

QToolBar* MainCommands::toolbar(const QString& objectName) const {
    return toolbars_.value(objectName, nullptr);
}

QMenu* MainCommands::menu(const QString& objectName) const {
    return menus_.value(objectName, nullptr);
}

QActionGroup* MainCommands::radioGroup(const QString& name) const {
    return radioGroups_.value(name, nullptr);
}

QList<QAction*> MainCommands::actionsOfGroup(CommandGroup group) const {
    QList<QAction*> result;
    for (const auto& [action, actionGroup] : grouped_) {
        if (actionGroup == group)
            result.append(action);
    }
    return result;
}

std::optional<CommandGroup> MainCommands::groupOf(const QAction* action) const {
    const auto found = groupOf_.constFind(action);
    if (found == groupOf_.constEnd())
        return std::nullopt;
    return *found;
}

void MainCommands::setGroupEnabled(CommandGroup group, bool enabled) {
    for (QAction* action : actionsOfGroup(group))
        action->setEnabled(enabled);
}

QList<QAction*> MainCommands::commandActions() const {
    QList<QAction*> result;
    result.reserve(static_cast<qsizetype>(grouped_.size()));
    for (const auto& entry : grouped_)
        result.append(entry.first);
    return result;
}

void MainCommands::registerAction(QAction* action, const QString& name) {
    if (name.isEmpty())
        return;
    if (actions_.contains(name))
        throw std::logic_error("duplicate command name: " + name.toStdString());
    action->setObjectName(name);
    actions_.insert(name, action);
}

void MainCommands::registerGrouped(QAction* action, CommandGroup group) {
    grouped_.emplace_back(action, group);
    groupOf_.insert(action, group);
    action->setEnabled(group == CommandGroup::Shell);
}

QMenu* MainCommands::registerMenu(QMenu* menu, const CommandEntry& entry, bool grouped) {
    const QString name = utf8(entry.name);
    if (menus_.contains(name))
        throw std::logic_error("duplicate menu name: " + name.toStdString());
    menu->setObjectName(name);
    menus_.insert(name, menu);
    QAction* opener = menu->menuAction();
    registerAction(opener, name);
    const QString hint = utf8(entry.hint);
    if (!hint.isEmpty())
        opener->setStatusTip(hint);
    if (entry.hidden)
        opener->setVisible(false);
    if (grouped)
        registerGrouped(opener, entry.group);
    return menu;
}

QAction* MainCommands::createAction(const CommandEntry& entry) {
    auto* action = new QAction(this);
    const QString caption = utf8(entry.caption);
    const QString hint = utf8(entry.hint);
    action->setText(caption.isEmpty() ? hint : caption);
    if (!hint.isEmpty()) {
        action->setToolTip(hint);
        action->setStatusTip(hint);
    }
    if (*entry.shortcut != '\0')
        action->setShortcut(QKeySequence(utf8(entry.shortcut), QKeySequence::PortableText));
    action->setIcon(iconFor(entry));
    if (*entry.data != '\0')
        action->setData(utf8(entry.data));
    if (entry.kind == EntryKind::Check || entry.kind == EntryKind::Radio) {
        action->setCheckable(true);
        action->setChecked(entry.checked);
    }
    if (entry.kind == EntryKind::Radio) {
        const QString groupName = utf8(entry.radioGroup);
        QActionGroup*& group = radioGroups_[groupName];
        if (group == nullptr) {
            group = new QActionGroup(this);
            group->setObjectName(groupName);
            group->setExclusive(true);
        }
        group->addAction(action);
    }
    if (entry.hidden)
        action->setVisible(false);
    registerAction(action, utf8(entry.name));
    registerGrouped(action, entry.group);
    return action;
}

const CommandEntry* MainCommands::fillMenu(QMenu* menu, const CommandEntry* it,
                                           const CommandEntry* end) {
    while (it != end) {
        const CommandEntry& entry = *it;
        switch (entry.kind) {
        case EntryKind::EndSubmenu:
            return it + 1;
        case EntryKind::Separator: {
            QAction* separator = menu->addSeparator();
            registerAction(separator, utf8(entry.name));
            if (entry.hidden)
                separator->setVisible(false);
            ++it;
            break;
        }
        case EntryKind::Submenu: {
            QMenu* submenu = registerMenu(menu->addMenu(utf8(entry.caption)), entry, true);
            submenu->menuAction()->setIcon(iconFor(entry));
            it = fillMenu(submenu, it + 1, end);
            break;
        }
        case EntryKind::Widget:
            throw std::logic_error("input boxes belong on toolbars");
        case EntryKind::Command:
        case EntryKind::Check:
        case EntryKind::Radio:
            menu->addAction(createAction(entry));
            ++it;
            break;
        }
    }
    return end;
}

void MainCommands::buildMenuBar() {
    const auto entries = commands::menuBarEntries();
    QMenuBar* bar = window_->menuBar();
    // The menu bar is named like the docking bars, under its own caption.
    bar->setObjectName(QStringLiteral("TlbMainMenu"));
    bar->setWindowTitle(QStringLiteral("Menu Bar"));
    bar->setAccessibleName(QStringLiteral("Menu Bar"));
    const CommandEntry* it = entries.data();
    const CommandEntry* end = it + entries.size();
    while (it != end) {
        if (it->kind != EntryKind::Submenu)
            throw std::logic_error("the menu bar holds menus only");
        QMenu* top = registerMenu(bar->addMenu(utf8(it->caption)), *it, false);
        topLevelMenus_.append(top);
        it = fillMenu(top, it + 1, end);
    }
}

void MainCommands::buildPopups() {
    for (const commands::PopupTable& table : commands::popupTables()) {
        auto* popup = new QMenu(window_);
        popup->setObjectName(utf8(table.name));
        if (menus_.contains(popup->objectName()))
            throw std::logic_error("duplicate menu name: " + popup->objectName().toStdString());
        menus_.insert(popup->objectName(), popup);
        const CommandEntry* end = table.entries.data() + table.entries.size();
        if (fillMenu(popup, table.entries.data(), end) != end)
            throw std::logic_error("unbalanced pop-up menu table");
    }
}

QAction* MainCommands::createWidgetAction(QToolBar* bar, const CommandEntry& entry) {
    const QString name = utf8(entry.name);
    const QString hint = utf8(entry.hint);
    QWidget* box = nullptr;
    if (name == QLatin1String("FontNameBox1")) {
        fontNameBox_ = new QFontComboBox(bar);
        fontNameBox_->setEditable(true);
        fontNameBox_->setCurrentText(QStringLiteral("Arial"));
        fontNameBox_->setMinimumContentsLength(14);
        fontNameBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box = fontNameBox_;
    } else if (name == QLatin1String("FontSizeBox1")) {
        fontSizeBox_ = new QComboBox(bar);
        fontSizeBox_->setEditable(true);
        for (const char* size : kFontSizes)
            fontSizeBox_->addItem(utf8(size));
        fontSizeBox_->setCurrentText(QStringLiteral("2"));
        fontSizeBox_->setMinimumContentsLength(3);
        fontSizeBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box = fontSizeBox_;
    } else if (name == QLatin1String("VariablesBox1")) {
        variablesBox_ = new DropDownComboBox(bar);
        variablesBox_->setEditable(true);
        variablesBox_->lineEdit()->setPlaceholderText(QStringLiteral("Variables"));
        variablesBox_->setMinimumContentsLength(12);
        variablesBox_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
        box = variablesBox_;
    } else {
        throw std::logic_error("unknown toolbar input box: " + name.toStdString());
    }
    box->setObjectName(name.chopped(1));
    box->setToolTip(hint);
    box->setStatusTip(hint);
    QAction* action = bar->addWidget(box);
    action->setText(hint);
    action->setToolTip(hint);
    action->setStatusTip(hint);
    registerAction(action, name);
    registerGrouped(action, entry.group);
    return action;
}

void MainCommands::buildToolbars() {
    for (const commands::ToolbarTable& table : commands::toolbarTables()) {
        auto* bar = new QToolBar(utf8(table.caption), window_);
        const QString name = utf8(table.name);
        bar->setObjectName(name);
        bar->setIconSize(QSize(16, 16));
        bar->setToolButtonStyle(Qt::ToolButtonIconOnly);
        bar->setAllowedAreas(Qt::TopToolBarArea | Qt::BottomToolBarArea | Qt::RightToolBarArea);
        if (table.rowBreak)
            window_->addToolBarBreak(Qt::TopToolBarArea);
        window_->addToolBar(Qt::TopToolBarArea, bar);
        toolbars_.insert(name, bar);
        toolbarOrder_.append(bar);

        for (const CommandEntry& entry : table.entries) {
            switch (entry.kind) {
            case EntryKind::Separator: {
                QAction* separator = bar->addSeparator();
                registerAction(separator, utf8(entry.name));
                break;
            }
            case EntryKind::Widget:
                createWidgetAction(bar, entry);
                break;
            case EntryKind::Command:
            case EntryKind::Check:
            case EntryKind::Radio: {
                QAction* action = createAction(entry);
                bar->addAction(action);
                if (entry.dropDown == DropDown::None)
                    break;
                QMenu* dropDown = menu(utf8(entry.menu));
                auto* button = qobject_cast<QToolButton*>(bar->widgetForAction(action));
                if (dropDown == nullptr || button == nullptr)
                    throw std::logic_error("missing drop-down menu: " + std::string(entry.menu));
                button->setMenu(dropDown);
                button->setPopupMode(entry.dropDown == DropDown::Split
                                         ? QToolButton::MenuButtonPopup
                                         : QToolButton::InstantPopup);
                break;
            }
            case EntryKind::Submenu:
            case EntryKind::EndSubmenu:
                throw std::logic_error("toolbars hold no submenus");
            }
        }
    }
}

}  // namespace vlr
