#include "libs/vlrsys/ProjectOptionsDialog.h"

#include "platform/IniFile.h"
#include "platform/Prompter.h"

#include <QCheckBox>
#include <QCompleter>
#include <QDialogButtonBox>
#include <QFileSystemModel>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlr::sys {
namespace {

QString Utf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

QCheckBox* Check(const char* text, const char* key, bool checked) {
    auto* box = new QCheckBox(QString::fromUtf8(text));
    box->setObjectName(QLatin1String(key));
    box->setChecked(checked);
    return box;
}

}  // namespace

QLineEdit* FolderEdit(const char* objectName, const std::string& text) {
    auto* edit = new QLineEdit(Utf8(text));
    edit->setObjectName(QLatin1String(objectName));
    auto* model = new QFileSystemModel(edit);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    model->setRootPath(QString());
    auto* completer = new QCompleter(model, edit);
    edit->setCompleter(completer);
    edit->setMinimumWidth(320);
    return edit;
}

ProjectOptions ReadProjectOptions(const std::string& path) {
    const IniFile ini(path);
    ProjectOptions o;
    o.src = ini.ReadString("dirs", "src", "");
    o.out = ini.ReadString("dirs", "out", "");
    o.img = ini.ReadString("dirs", "img", "");
    o.imgPrefix = ini.ReadString("dirs", "img_prep", "");
    o.vars = ini.ReadBool("compiler", "vars", true);
    o.db = ini.ReadBool("compiler", "db", true);
    o.scripts = ini.ReadBool("compiler", "scripts", true);
    o.ext = ini.ReadBool("compiler", "ext", true);
    o.inc = ini.ReadBool("compiler", "inc", true);
    return o;
}

bool WriteProjectOptions(const std::string& path, const ProjectOptions& o) {
    IniFile ini(path);
    return ini.WriteString("dirs", "img", o.img) && ini.WriteString("dirs", "src", o.src) &&
           ini.WriteString("dirs", "out", o.out) && ini.WriteString("dirs", "img_prep", o.imgPrefix) &&
           ini.WriteBool("compiler", "vars", o.vars) && ini.WriteBool("compiler", "db", o.db) &&
           ini.WriteBool("compiler", "scripts", o.scripts) && ini.WriteBool("compiler", "ext", o.ext) &&
           ini.WriteBool("compiler", "inc", o.inc);
}

TFrmProjectOptions::TFrmProjectOptions(std::string path, QWidget* parent) : QDialog(parent), path_(std::move(path)) {
    setObjectName(QStringLiteral("TFrmProjectOptions"));
    setWindowTitle(QStringLiteral("Project Options"));
    setModal(true);
    const ProjectOptions o = ReadProjectOptions(path_);

    auto* dirs = new QGroupBox(QStringLiteral("Directories"));
    src_ = FolderEdit("src", o.src);
    out_ = FolderEdit("out", o.out);
    img_ = FolderEdit("img", o.img);
    prefix_ = new QLineEdit(Utf8(o.imgPrefix));
    prefix_->setObjectName(QStringLiteral("img_prep"));
    prefix_->setToolTip(QStringLiteral("Put before the file name of every image inserted into a page"));
    auto* form = new QFormLayout(dirs);
    form->addRow(QStringLiteral("&Source files:"), src_);
    form->addRow(QStringLiteral("&Output:"), out_);
    form->addRow(QStringLiteral("&Images:"), img_);
    form->addRow(QStringLiteral("Image &prefix:"), prefix_);

    auto* build = new QGroupBox(QStringLiteral("Build"));
    vars_ = Check("Replace &variables", "vars", o.vars);
    db_ = Check("&Database access", "db", o.db);
    scripts_ = Check("Run &scripts", "scripts", o.scripts);
    ext_ = Check("&External applications", "ext", o.ext);
    inc_ = Check("&Include files", "inc", o.inc);
    auto* buildLayout = new QVBoxLayout(build);
    for (QCheckBox* b : {vars_, db_, scripts_, ext_, inc_})
        buildLayout->addWidget(b);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFrmProjectOptions::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(dirs);
    layout->addWidget(build);
    layout->addWidget(buttons);
}

ProjectOptions TFrmProjectOptions::values() const {
    ProjectOptions o;
    o.src = src_->text().trimmed().toStdString();
    o.out = out_->text().trimmed().toStdString();
    o.img = img_->text().trimmed().toStdString();
    o.imgPrefix = prefix_->text().toStdString();
    o.vars = vars_->isChecked();
    o.db = db_->isChecked();
    o.scripts = scripts_->isChecked();
    o.ext = ext_->isChecked();
    o.inc = inc_->isChecked();
    return o;
}

void TFrmProjectOptions::accept() {
    const ProjectOptions o = values();
    for (const std::string* text : {&o.src, &o.out, &o.img, &o.imgPrefix})
        if (text->find_first_of("\r\n") != std::string::npos) {
            ShowMessage(MessageKind::Error, "Project Options", "A directory may not contain a line break.");
            return;
        }
    if (!WriteProjectOptions(path_, o)) {
        ShowMessage(MessageKind::Error, "Project Options", "The options could not be saved to " + path_ + ".");
        return;
    }
    QDialog::accept();
}

}  // namespace vlr::sys
