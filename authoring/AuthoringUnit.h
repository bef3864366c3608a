// The main window's authoring unit: every command that inserts markup into
// the active editor window (Insert menu, quick-codes popup, Text Options,
// Tags and Form Elements toolbars, character and list-style menus), the
// insertion dialogs of the dialogs module, and the user's style sheets in
// the "Cascading Style Sheets" submenu.
#pragma once

#include "app/units/CoreLibraries.h"
#include "app/units/FeatureUnit.h"
#include "authoring/markup/Insertions.h"

#include <QObject>

#include <stdexcept>
#include <string>

class QAction;
class QMenu;

namespace vlr {

class ShellServices;

// A style file that cannot be read, as the exception report shows it.
class EReadError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class TAuthoringUnit : public QObject, public FeatureUnit {
    Q_OBJECT
public:
    explicit TAuthoringUnit(ShellServices& shell);
    ~TAuthoringUnit() override;

    const char* UnitName() const override { return "authoring"; }
    void ConnectCommands() override;

    // Markup in the tag case of LowerTags, sent with message 2029 to the
    // active child when it is an editor window; otherwise nothing happens.
    void SendStrings(const std::string& start, const std::string& end, const std::string& flag);
    // The same without any case conversion.
    void SendStringsEx(const std::string& start, const std::string& end, const std::string& flag);

    // The "Write modern HTML" preference (Environment/ModernHTML, default off).
    [[nodiscard]] bool ModernHtml() const;

    // Code of the last character-entity choice (60 at start).
    [[nodiscard]] int LastCharCode() const { return lastCharCode_; }
    // The list type chosen in the list-style menu ("regular" at start).
    [[nodiscard]] const std::string& ListType() const { return listType_; }

    // Rebuilds the style items of the "Cascading Style Sheets" submenu from
    // "styles.dat"; runs each time the Insert menu opens. A damaged file is
    // reported (EReadError) and the submenu stays as it was.
    void FillStyles();
    // Inserts the style named by the item's caption in the form the user picks.
    void StyleClick(QAction* item);

    // The address the advert banner links to.
    static const char* AdvertSite();

private:
    void insertRow(const authoring::Insertion& row);
    void charSetClick(QAction* item);
    void insertList();
    void menu2Click(QAction* item);
    // Table, Active-X control or Java applet: the module inserts into the active child itself.
    void callInsertDialog(InsertDialogFn CoreEntryPoints::*entry, const char* name);
    std::string stylesPath() const;
    QMenu* stylesMenu() const;

    ShellServices& shell_;
    int lastCharCode_;
    std::string listType_ = "regular";
};

}  // namespace vlr
