// The main window's spelling unit: the Spelling toolbar button checks the
// active editor window's document, and the commands of the web and the store
// of reusable documents (served by the outside dialogs module) are offered.
#pragma once

#include "app/units/FeatureUnit.h"

#include <QObject>

namespace vlr {

class ShellServices;

class TSpellingUnit : public QObject, public FeatureUnit {
    Q_OBJECT
public:
    explicit TSpellingUnit(ShellServices& shell);

    const char* UnitName() const override { return "spelling"; }
    void ConnectCommands() override;

    // Checks the active editor window's document; nothing when the active
    // child is not an editor window.
    void CheckSpelling1Click();

private:
    ShellServices& shell_;
};

}  // namespace vlr
