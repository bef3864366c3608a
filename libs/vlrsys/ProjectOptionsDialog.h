// TFrmProjectOptions: the project options dialog. It edits the options
// exchange file in place: section "dirs" (src, out, img, img_prep) and section
// "compiler" (vars, db, scripts, ext, inc), keeping every other key.
#pragma once

#include <QDialog>

#include <string>

class QCheckBox;
class QLineEdit;

namespace vlr::sys {

struct ProjectOptions {
    std::string src, out, img, imgPrefix;
    bool vars = true, db = true, scripts = true, ext = true, inc = true;
};

ProjectOptions ReadProjectOptions(const std::string& path);
bool WriteProjectOptions(const std::string& path, const ProjectOptions& options);

// The controls carry the key names as object names ("src", "out", "img",
// "img_prep", "vars", "db", "scripts", "ext", "inc"); the buttons are
// "okButton" and "cancelButton".
class TFrmProjectOptions : public QDialog {
    Q_OBJECT
public:
    explicit TFrmProjectOptions(std::string path, QWidget* parent = nullptr);

    ProjectOptions values() const;
    // Writes the values; a failed write tells the user and keeps the dialog open.
    void accept() override;

private:
    std::string path_;
    QLineEdit* src_;
    QLineEdit* out_;
    QLineEdit* img_;
    QLineEdit* prefix_;
    QCheckBox* vars_;
    QCheckBox* db_;
    QCheckBox* scripts_;
    QCheckBox* ext_;
    QCheckBox* inc_;
};

// A line edit that completes folder names as they are typed.
QLineEdit* FolderEdit(const char* objectName, const std::string& text);

}  // namespace vlr::sys
