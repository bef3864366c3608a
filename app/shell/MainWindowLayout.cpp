// Window placement and the toolbar and side-panel layout, kept in section
// "Main" of the preferences file.
#include "app/commands/MainCommands.h"
#include "app/shell/MainWindow.h"
#include "app/shell/SidePanel.h"
#include "platform/IniFile.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSplitter>
#include <QToolBar>

#include <algorithm>
#include <map>
#include <set>
#include <sstream>

namespace vlr {
namespace {

constexpr const char* kSection = "Main";

struct DefaultDock {
    const char* name;
    int row;
    int pos;
};
// Rows as they are at first start: row 0 is the menu bar.
constexpr DefaultDock kDefaults[] = {
    {"TlbMain", 1, 0}, {"TLBEditor", 2, 0}, {"TLBForms", 2, 459}, {"TlbText", 3, 0}, {"TlbHTML", 4, 0}};

Qt::ToolBarArea areaFromDock(long dock) {
    switch (dock) {
    case 1: return Qt::BottomToolBarArea;
    case 2: return Qt::RightToolBarArea;
    default: return Qt::TopToolBarArea;
    }
}

long dockFromArea(Qt::ToolBarArea area) {
    switch (area) {
    case Qt::BottomToolBarArea: return 1;
    case Qt::RightToolBarArea: return 2;
    default: return 0;
    }
}

bool parseRect(const std::string& text, int (&v)[4]) {
    std::istringstream in(text);
    char comma;
    return static_cast<bool>(in >> v[0] >> comma >> v[1] >> comma >> v[2] >> comma >> v[3]);
}

}  // namespace

void TFrmMainVLR::RestoreLayout() {
    Enter("RestoreLayout");
    IniFile ini(PreferencesPath());

    struct Placement {
        QToolBar* bar;
        Qt::ToolBarArea area;
        long row;
        long pos;
        bool visible;
    };
    std::vector<Placement> bars;
    for (const DefaultDock& d : kDefaults) {
        QToolBar* bar = commands_->toolbar(d.name);
        if (!bar)
            continue;
        std::string n = d.name;
        bars.push_back({bar, areaFromDock(ini.ReadInteger(kSection, n + "_Dock", 0)),
                        ini.ReadInteger(kSection, n + "_DockRow", d.row), ini.ReadInteger(kSection, n + "_DockPos", d.pos),
                        ini.ReadBool(kSection, n + "_Visible", true)});
    }
    std::stable_sort(bars.begin(), bars.end(), [](const Placement& a, const Placement& b) {
        if (a.area != b.area)
            return a.area < b.area;
        return a.row != b.row ? a.row < b.row : a.pos < b.pos;
    });
    for (const Placement& p : bars)
        removeToolBar(p.bar);
    std::map<Qt::ToolBarArea, long> lastRow;
    for (const Placement& p : bars) {
        auto it = lastRow.find(p.area);
        if (it != lastRow.end() && it->second != p.row)
            addToolBarBreak(p.area);
        lastRow[p.area] = p.row;
        addToolBar(p.area, p.bar);
        p.bar->setVisible(p.visible);
    }

    // The panel's own key decides for both; the splitter's key is kept for
    // files that expect it.
    SetSidePanelVisible(ini.ReadBool(kSection, "Panel1_Visible", true));
    int panelWidth = static_cast<int>(ini.ReadInteger(kSection, "Panel1_Width", 200));
    if (panelWidth > 0)
        splitter_->setSizes({std::max(200, width() - panelWidth), panelWidth});

    int norm[4];
    if (parseRect(ini.ReadString(kSection, "NormPos", ""), norm) && norm[2] > norm[0] && norm[3] > norm[1]) {
        QRect r(QPoint(norm[0], norm[1]), QPoint(norm[2] - 1, norm[3] - 1));
        if (QScreen* s = QGuiApplication::primaryScreen())
            if (!s->virtualGeometry().intersects(r))
                r.moveTopLeft(s->availableGeometry().topLeft());
        setGeometry(r);
    }
    long show = ini.ReadInteger(kSection, "ShowCmd", 1);
    if (show == 3)
        setWindowState(windowState() | Qt::WindowMaximized);
}

void TFrmMainVLR::SaveLayout() {
    Enter("SaveLayout");
    IniFile ini(PreferencesPath());
    for (const DefaultDock& d : kDefaults) {
        QToolBar* bar = commands_->toolbar(d.name);
        if (!bar)
            continue;
        std::string n = d.name;
        Qt::ToolBarArea area = toolBarArea(bar);
        // The row is the toolbar's line in its dock, counted from the menu bar:
        // one more than the lines of visible bars before it. Bars side by side
        // share a line, so lines are told apart by where they start.
        int y = bar->geometry().top();
        int x = bar->geometry().left();
        bool horizontal = area != Qt::RightToolBarArea;
        std::set<int> linesBefore;
        for (const DefaultDock& o : kDefaults) {
            QToolBar* other = commands_->toolbar(o.name);
            if (!other || other == bar || toolBarArea(other) != area || other->isHidden())
                continue;
            const QRect g = other->geometry();
            if (horizontal ? g.bottom() < y : g.right() < x)
                linesBefore.insert(horizontal ? g.top() : g.left());
        }
        const long row = 1 + static_cast<long>(linesBefore.size());
        ini.WriteBool(kSection, n + "_Visible", !bar->isHidden());
        ini.WriteInteger(kSection, n + "_Dock", dockFromArea(area));
        ini.WriteInteger(kSection, n + "_DockRow", bar->isHidden() ? ini.ReadInteger(kSection, n + "_DockRow", d.row) : row);
        ini.WriteInteger(kSection, n + "_DockPos", horizontal ? x : y);
        ini.WriteInteger(kSection, n + "_Width", bar->width());
        ini.WriteInteger(kSection, n + "_Top", bar->geometry().top());
        ini.WriteInteger(kSection, n + "_Left", bar->geometry().left());
        ini.WriteInteger(kSection, n + "_Height", bar->height());
    }
    ini.WriteBool(kSection, "Panel1_Visible", !side_->isHidden());
    ini.WriteBool(kSection, "RxSplitter1_Visible", SidePanelVisible());
    if (!side_->isHidden())
        ini.WriteInteger(kSection, "Panel1_Width", side_->width());

    QRect n = normalGeometry();
    ini.WriteInteger(kSection, "Flags", 0);
    ini.WriteInteger(kSection, "ShowCmd", isMaximized() ? 3 : (isMinimized() ? 2 : 1));
    ini.WriteString(kSection, "MinMaxPos", "-1,-1,-1,-1");
    ini.WriteString(kSection, "NormPos", std::to_string(n.left()) + "," + std::to_string(n.top()) + "," +
                                             std::to_string(n.right() + 1) + "," + std::to_string(n.bottom() + 1));
}

}  // namespace vlr
