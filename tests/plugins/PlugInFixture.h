// The shell tests' fixture with a plugins/ folder in the program folder:
// fixture plug-ins are copied in under any name before the main window is
// built, and the plug-in menus are read back.
#pragma once

#include "ShellFixture.h"

#include <QStringList>

#include <map>
#include <memory>
#include <string>

class QAction;
class QMenu;

namespace vlrtest {

class PlugInTest : public ShellTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies the fixture plug-in `fixture` ("fx_alpha") to plugins/<relative>.
    void Install(const std::string& fixture, const std::string& relative);
    // Writes a file of the given content to plugins/<relative>.
    void InstallFile(const std::string& relative, const std::string& content);
    void Open();

    QMenu* Menu(const char* name) const;
    // The captions of the plug-in items of a menu, in order.
    QStringList Captions(const char* menu) const;
    QAction* Item(const char* menu, int index) const;
    bool MenuShown(const char* name) const;
    QString StatusText() const;
    // Opens the "Pl&ugins" menu's enabling as the user opening it would.
    void OpenPlugInsMenu();

    std::unique_ptr<vlr::TFrmMainVLR> w;
};

// Closes the next modal dialog that appears (with its "&OK" button) and
// keeps what it showed.
struct ModalCloser {
    ModalCloser();
    QString title, lines;
    bool webSiteShown = false;
    int seen = 0;
};

}  // namespace vlrtest
