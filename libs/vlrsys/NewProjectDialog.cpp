#include "libs/vlrsys/NewProjectDialog.h"

#include "libs/vlrsys/ProjectOptionsDialog.h"
#include "platform/IniFile.h"
#include "platform/Prompter.h"
#include "project/build/ProjectPaths.h"
#include "project/build/RelativeFolder.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstdio>

namespace vlr::sys {
namespace {

constexpr const char* kTitle = "New Project";

void Error(const std::string& text) { ShowMessage(MessageKind::Error, kTitle, text); }

// The folders proposed for a new project, relative to its folder. Pictures go
// inside the output folder: that folder is what is uploaded.
constexpr const char* kSourceFolder = "source";
constexpr const char* kOutputFolder = "output";
constexpr const char* kImageFolder = "output/images";

}  // namespace

bool WriteNewProjectFile(const std::string& path, const std::string& src, const std::string& out,
                         const std::string& img, const std::string& imgPrefix) {
    IniFile ini(path);
    bool ok = ini.WriteString("directories", "src", src) && ini.WriteString("directories", "out", out) &&
              ini.WriteString("directories", "img", img) && ini.WriteString("directories", "search", "") &&
              ini.WriteString("other", "imgprep", imgPrefix);
    for (const char* key : {"vars", "db", "scripts", "extapps", "includes"})
        ok = ok && ini.WriteBool("Compiler", key, true);
    return ok;
}

TFrmNewProject::TFrmNewProject(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("TFrmNewProject"));
    setWindowTitle(QString::fromLatin1(kTitle));
    setModal(true);

    auto* where = new QGroupBox(QStringLiteral("Project"));
    name_ = new QLineEdit;
    name_->setObjectName(QStringLiteral("name"));
    name_->setPlaceholderText(QStringLiteral("mysite"));
    location_ = FolderEdit("location", QDir::homePath().toStdString());
    auto* whereForm = new QFormLayout(where);
    whereForm->addRow(QStringLiteral("&Name:"), name_);
    whereForm->addRow(QStringLiteral("&Create in:"), location_);

    auto* dirs = new QGroupBox(QStringLiteral("Directories"));
    src_ = FolderEdit("src", kSourceFolder);
    out_ = FolderEdit("out", kOutputFolder);
    img_ = FolderEdit("img", kImageFolder);
    prefix_ = new QLineEdit(QStringLiteral("images/"));
    prefix_->setObjectName(QStringLiteral("img_prep"));
    auto* dirForm = new QFormLayout(dirs);
    dirForm->addRow(QStringLiteral("&Source files:"), src_);
    dirForm->addRow(QStringLiteral("&Output:"), out_);
    dirForm->addRow(QStringLiteral("&Images:"), img_);
    dirForm->addRow(QStringLiteral("Image &prefix:"), prefix_);
    auto* note = new QLabel(QStringLiteral("Missing folders are created. A relative folder is taken from the "
                                           "project's folder, so the project can be moved as a whole."));
    note->setWordWrap(true);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFrmNewProject::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(where);
    layout->addWidget(dirs);
    layout->addWidget(note);
    layout->addWidget(buttons);
}

std::string TFrmNewProject::projectFolder() const {
    QString location = location_->text().trimmed();
    while (location.size() > 1 && location.endsWith(QLatin1Char('/')))
        location.chop(1);
    return (location + QLatin1Char('/') + name_->text().trimmed()).toStdString();
}

void TFrmNewProject::accept() {
    const QString name = name_->text().trimmed();
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String("..") || name.contains(QLatin1Char('/'))) {
        Error("Please give the project a name (without \"/\").");
        return;
    }
    const QString location = location_->text().trimmed();
    if (!QDir::isAbsolutePath(location)) {
        Error("Please choose the folder to create the project in as a full path.");
        return;
    }
    const std::string folder = build::LexicallyNormal(projectFolder());
    // Each folder as it is created (full) and as the project file keeps it:
    // relative to the project's folder when it lies inside it, so the project
    // can be moved or copied as a whole.
    std::string full[3], stored[3];
    QLineEdit* const edits[] = {src_, out_, img_};
    for (int i = 0; i < 3; ++i) {
        const std::string given = edits[i]->text().trimmed().toStdString();
        if (given.empty()) {
            Error("Please give every directory.");
            return;
        }
        full[i] = build::ResolveProjectPath(folder, given);
        stored[i] = build::StoredProjectPath(folder, full[i], build::KeepsRelative(folder, full[i], true));
    }
    const std::string dirs[] = {folder, full[0], full[1], full[2]};
    const std::string file = folder + "/" + name.toStdString() + ".vlr";
    if (QFileInfo::exists(QString::fromStdString(file)) &&
        ShowMessage(MessageKind::Confirmation, kTitle, "The project file " + file + " already exists. Replace it?",
                    BtnYesNo) != ModalResult::Yes)
        return;
    for (const std::string& d : dirs)
        if (!QDir().mkpath(QString::fromStdString(d))) {
            Error("The folder " + d + " could not be created.");
            return;
        }
    // Written beside the target and renamed over it, so a failed write never
    // costs the project file being replaced.
    const std::string fresh = file + ".new";
    std::remove(fresh.c_str());
    if (!WriteNewProjectFile(fresh, stored[0], stored[1], stored[2], prefix_->text().toStdString()) ||
        std::rename(fresh.c_str(), file.c_str()) != 0) {
        std::remove(fresh.c_str());
        Error("The project file " + file + " could not be written.");
        return;
    }
    projectFile_ = file;
    QDialog::accept();
}

}  // namespace vlr::sys
