// The find-in-files unit of the main window: "Find in &Files..." in the Search
// menu searches the project's files or a folder's with the control's plain or
// expression search, lists the matches, opens a match in an editor window,
// and replaces in every file: in the editor window for an open document (one
// undoable step each), on disk (each file written whole) for the others.
#pragma once

#include "app/units/FeatureUnit.h"
#include "editor/findfiles/FindInFilesDialog.h"

#include <QObject>
#include <QPointer>

#include <string>
#include <vector>

namespace vlr {

class ShellServices;
class TFrmEditor;

class TFindInFilesUnit : public QObject, public FeatureUnit {
    Q_OBJECT
public:
    explicit TFindInFilesUnit(ShellServices& shell);
    ~TFindInFilesUnit() override;

    const char* UnitName() const override { return "find in files"; }
    void ConnectCommands() override;

    // FindInFiles1Click: shows the window, its scope set from the open project.
    void FindInFilesClick();
    TFindInFilesDialog* dialog() const { return dialog_; }

    // The steps behind the window's buttons.
    void Search();
    void ReplaceAll();
    void OpenMatch(const FindInFilesRow& row);

private:
    std::vector<std::string> FilesToSearch(const FindInFilesRequest& r) const;
    // The editor window showing a file, or nullptr.
    TFrmEditor* EditorOf(const std::string& file) const;

    ShellServices& shell_;
    QPointer<TFindInFilesDialog> dialog_;
};

}  // namespace vlr
