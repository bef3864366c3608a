// TAuthoringUnit: the style items of the "Cascading Style Sheets" submenu.
#include "authoring/AuthoringUnit.h"

#include "app/commands/MainCommands.h"
#include "app/units/ShellServices.h"
#include "platform/System.h"
#include "app/units/UnitCommands.h"
#include "authoring/FrmStylePick.h"
#include "authoring/styles/StyleForms.h"

#include <QAction>
#include <QMenu>

namespace vlr {

std::string TAuthoringUnit::stylesPath() const { return vlr::WritablePath("styles.dat"); }

QMenu* TAuthoringUnit::stylesMenu() const { return shell_.Commands().menu(QStringLiteral("CascadingStyleSheets1")); }

void TAuthoringUnit::FillStyles() {
    QMenu* menu = stylesMenu();
    if (!menu)
        return;
    // Read first: a file that cannot be read leaves the submenu as it was.
    authoring::TCSSList list;
    const authoring::StylesError e = list.LoadFromFile(stylesPath());
    if (!e.ok())
        throw EReadError(e.message);

    // The first two items are "Organize..." and the separator before the styles.
    const QList<QAction*> items = menu->actions();
    for (qsizetype i = 2; i < items.size(); ++i) {
        menu->removeAction(items[i]);
        items[i]->deleteLater();
    }
    if (items.size() > 1)
        items[1]->setVisible(list.Count() > 0);
    for (int i = 0; i < list.Count(); ++i) {
        // Plain text: an "&" in a style's name is part of the name, not an accelerator.
        QString caption = QString::fromStdString(list.Items(i)->Name());
        caption.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* item = menu->addAction(caption);
        item->setData(QString::fromStdString(list.Items(i)->Name()));
        connect(item, &QAction::triggered, this,
                [this, item] { RunGuarded(shell_, item, "StyleClick", [this, item] { StyleClick(item); }); });
    }
}

void TAuthoringUnit::StyleClick(QAction* item) {
    authoring::TCSSList list;
    const authoring::StylesError e = list.LoadFromFile(stylesPath());
    if (!e.ok())
        throw EReadError(e.message);
    const std::string name = item->data().toString().toStdString();
    const std::optional<authoring::StyleForm> form = TFrmStylePick::Ask();
    if (!form)
        return;
    SendStringsEx(authoring::StyleTextByName(list, name, *form, shell_.LowerTags(), ModernHtml()), "", "no");
}

}  // namespace vlr
