// The insertion dialogs of the dialogs module: hyperlink, table, Active-X
// control and Java applet. Each only collects what the user chose; the entry
// points turn that into markup and send it to the editor window.
#pragma once

#include "libs/extdlgs/ElementMarkup.h"

#include <QDialog>

#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace vlr::extdlgs {

class ParameterList;

// Address (an editable list offering the project's pages), text, target and
// title. OK needs an address.
class TFrmHyperlink : public QDialog {
    Q_OBJECT
public:
    TFrmHyperlink(const std::vector<std::string>& projectFiles, const std::string& text, QWidget* parent = nullptr);
    [[nodiscard]] LinkSpec Link() const;

private:
    QComboBox* address_;
    QLineEdit* text_;
    QComboBox* target_;
    QLineEdit* title_;
};

// Rows, columns, border, width in pixels or percent, cell padding and
// spacing, a header row and a caption.
class TFrmTable : public QDialog {
    Q_OBJECT
public:
    explicit TFrmTable(QWidget* parent = nullptr);
    [[nodiscard]] TableSpec Table() const;

private:
    QSpinBox* rows_;
    QSpinBox* columns_;
    QSpinBox* border_;
    QSpinBox* width_;
    QComboBox* widthUnit_;
    QSpinBox* padding_;
    QSpinBox* spacing_;
    QCheckBox* header_;
    QLineEdit* caption_;
};

// Class identifier, id, code base, size and parameters. OK needs the class
// identifier.
class TFrmActiveX : public QDialog {
    Q_OBJECT
public:
    explicit TFrmActiveX(QWidget* parent = nullptr);
    [[nodiscard]] ObjectSpec Object() const;

private:
    QLineEdit* classId_;
    QLineEdit* id_;
    QLineEdit* codeBase_;
    QSpinBox* width_;
    QSpinBox* height_;
    ParameterList* parameters_;
};

// Class file, code base, archive, name, alternative text, size and
// parameters. OK needs the class file.
class TFrmJavaApplet : public QDialog {
    Q_OBJECT
public:
    explicit TFrmJavaApplet(QWidget* parent = nullptr);
    [[nodiscard]] AppletSpec Applet() const;

private:
    QLineEdit* code_;
    QLineEdit* codeBase_;
    QLineEdit* archive_;
    QLineEdit* name_;
    QLineEdit* alt_;
    QSpinBox* width_;
    QSpinBox* height_;
    ParameterList* parameters_;
};

}  // namespace vlr::extdlgs
