// TFrmNewProject: the new-project dialog. It asks for the project's name and
// folder and its source, output and image directories, creates the folders
// and writes the project file, with the folders inside the project's folder
// written relative to it.
#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

namespace vlr::sys {

// The line edits are named "name", "location", "src", "out", "img" and
// "img_prep"; the buttons "okButton" and "cancelButton".
class TFrmNewProject : public QDialog {
    Q_OBJECT
public:
    explicit TFrmNewProject(QWidget* parent = nullptr);

    // The project file written on OK: location/name/name.vlr.
    const std::string& projectFile() const { return projectFile_; }
    // The project folder the fields stand for now.
    std::string projectFolder() const;

    void accept() override;

private:
    QLineEdit* name_;
    QLineEdit* location_;
    QLineEdit* src_;
    QLineEdit* out_;
    QLineEdit* img_;
    QLineEdit* prefix_;
    std::string projectFile_;
};

// Writes a new project file with the given directories, image prefix, every
// build switch on, and no files or variables. False when it cannot be written.
bool WriteNewProjectFile(const std::string& path, const std::string& src, const std::string& out,
                         const std::string& img, const std::string& imgPrefix);

}  // namespace vlr::sys
