// The main window's window-level commands as a unit: new, save, close and
// exit, the arrangement of the child windows, help and the about box, the
// preferences, the colour picker, printing and opening from the web.
#pragma once

#include "app/units/FeatureUnit.h"

#include <QObject>
#include <QString>

namespace vlr {

class ShellServices;

// The message the frame posts to itself once Close All has closed every window.
inline constexpr unsigned kClosedAllMessage = 3083;

class TWindowUnit : public QObject, public FeatureUnit {
    Q_OBJECT
public:
    explicit TWindowUnit(ShellServices& shell);

    const char* UnitName() const override { return "window"; }
    void ConnectCommands() override;

    void NewFileClick();
    void SaveClick();
    void SaveAsClick();
    void SaveAllClick();
    void CloseClick();
    void CloseAllClick();
    void ExitClick();
    void TileClick();
    void CascadeClick();
    void ArrangeAllClick();
    void HelpContentsClick();
    void HelpKeywordClick();
    void HelpOnHelpClick();
    void AboutClick();
    void OpenVendorPage(const QString& page);
    void PreferencesClick();
    void ColorPickerClick();
    void PrinterSetupClick();
    void PrintClick();
    void OpenFromTheWebClick();

    static const char* VendorSite();

private:
    void OpenHelpPage(const QString& page);

    ShellServices& shell_;
};

}  // namespace vlr
