// The main window's link-check unit: "Check &Links" of the Project menu
// checks every link of every built page of the open project and lists the
// broken ones; a listed link opens its source page at its line.
#pragma once

#include "app/units/FeatureUnit.h"

#include <QObject>
#include <QPointer>

#include <string>

namespace vlr {

class ShellServices;
class TFrmLinkCheck;

class TLinkCheckUnit : public QObject, public FeatureUnit {
    Q_OBJECT
public:
    explicit TLinkCheckUnit(ShellServices& shell);
    ~TLinkCheckUnit() override;

    const char* UnitName() const override { return "linkcheck"; }
    void ConnectCommands() override;
    void Closed() override;

    void CheckLinks1Click();
    // Opens a page in an editor window with the caret on the line.
    void OpenAt(const std::string& path, int line);
    // The results window (nullptr until the first check).
    TFrmLinkCheck* Window() const;

private:
    ShellServices& shell_;
    QPointer<TFrmLinkCheck> window_;
};

}  // namespace vlr
