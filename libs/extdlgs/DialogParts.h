// Parts the insertion dialogs share: the OK/Cancel row, labelled controls
// with object names, and the parameter list of objects and applets.
#pragma once

#include "libs/extdlgs/ElementMarkup.h"

#include <QWidget>

class QDialog;
class QFormLayout;
class QLayout;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QTableWidget;
class QVBoxLayout;

namespace vlr::extdlgs {

// Adds "OK" (objectName "okButton", default) and "Cancel" ("cancelButton")
// to the layout; Cancel rejects, OK is left for the dialog to connect.
QPushButton* AddOkCancel(QDialog* dialog, QVBoxLayout* layout);

QLineEdit* AddLine(QFormLayout* form, const char* label, const char* name, const QString& text = QString());
// A row whose field is a layout: the label's accelerator goes to `buddy`.
void AddLayoutRow(QFormLayout* form, const char* label, QLayout* field, QWidget* buddy);
QSpinBox* AddSpin(QFormLayout* form, const char* label, const char* name, int minimum, int maximum, int value);

// Shows an error box through the program's prompter when `edit` is empty and
// puts the focus on it; true when it holds text.
bool RequireText(QLineEdit* edit, const char* caption, const char* message);

// Name/value rows with Add and Remove buttons (objectNames "parameters",
// "addParameter", "removeParameter").
class ParameterList : public QWidget {
    Q_OBJECT
public:
    explicit ParameterList(QWidget* parent = nullptr);
    // The rows with a name, in order.
    [[nodiscard]] Parameters parameters() const;
    void addRow(const QString& name = QString(), const QString& value = QString());
    QTableWidget* table() const { return table_; }

private:
    QTableWidget* table_;
};

}  // namespace vlr::extdlgs
