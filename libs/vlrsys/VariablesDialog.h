// TFrmVariables: the project variables dialog. It edits the name/value
// exchange file in place: the table shows the file's entries, OK writes them
// back in table order.
#pragma once

#include "libs/vlrsys/NameValueFile.h"

#include <QDialog>

#include <string>

class QTableWidget;
class QPushButton;

namespace vlr::sys {

// The table is named "variables"; the buttons "addButton", "removeButton",
// "upButton", "downButton", "okButton" and "cancelButton".
class TFrmVariables : public QDialog {
    Q_OBJECT
public:
    TFrmVariables(std::string path, NameValues entries, QWidget* parent = nullptr);

    NameValues entries() const;
    QTableWidget* table() const { return table_; }

    // Refuses entries the project file could not hold (the user is told which),
    // otherwise writes the file and closes; a failed write keeps it open.
    void accept() override;

private:
    void AddRow(const std::string& name, const std::string& value);
    void MoveRow(int delta);
    void UpdateButtons();

    std::string path_;
    QTableWidget* table_;
    QPushButton* remove_;
    QPushButton* up_;
    QPushButton* down_;
};

}  // namespace vlr::sys
