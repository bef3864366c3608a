// The hyperlink, table, Active-X control and Java applet dialogs.
#include "libs/extdlgs/InsertDialogs.h"

#include "libs/extdlgs/DialogParts.h"
#include "platform/Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vlr::extdlgs {
namespace {

std::string Text(const QLineEdit* e) { return e->text().toStdString(); }
std::string Trimmed(const QLineEdit* e) { return e->text().trimmed().toStdString(); }

QComboBox* AddCombo(QFormLayout* form, const char* label, const char* name, const QStringList& items,
                    bool editable) {
    auto* box = new QComboBox;
    box->setObjectName(QLatin1String(name));
    box->setEditable(editable);
    box->addItems(items);
    form->addRow(QString::fromUtf8(label), box);
    return box;
}

}  // namespace

// ---- hyperlink

TFrmHyperlink::TFrmHyperlink(const std::vector<std::string>& projectFiles, const std::string& text, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("FrmHyperlink"));
    setWindowTitle(QStringLiteral("Insert Hyperlink"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    QStringList files;
    for (const std::string& f : projectFiles)
        files << QString::fromStdString(f);
    address_ = AddCombo(form, "&Address:", "address", files, true);
    address_->setCurrentIndex(-1);
    address_->setEditText(QString());
    address_->setMinimumWidth(320);
    address_->setToolTip(QStringLiteral("A web address, or one of the project's pages"));
    text_ = AddLine(form, "&Text:", "text", QString::fromStdString(text));
    text_->setToolTip(QStringLiteral("Left empty, the link is put around the selected text"));
    target_ = AddCombo(form, "Tar&get frame:", "target",
                       {QString(), QStringLiteral("_blank"), QStringLiteral("_self"), QStringLiteral("_parent"),
                        QStringLiteral("_top")},
                       true);
    title_ = AddLine(form, "T&itle:", "title");
    layout->addLayout(form);
    QPushButton* ok = AddOkCancel(this, layout);
    connect(ok, &QPushButton::clicked, this, [this] {
        if (address_->currentText().trimmed().isEmpty()) {
            ShowMessage(MessageKind::Error, "Insert Hyperlink", "Please enter the address of the link.");
            address_->setFocus();
            return;
        }
        accept();
    });
}

LinkSpec TFrmHyperlink::Link() const {
    return {address_->currentText().trimmed().toStdString(), Text(text_),
            target_->currentText().trimmed().toStdString(), Text(title_)};
}

// ---- table

TFrmTable::TFrmTable(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmTable"));
    setWindowTitle(QStringLiteral("Insert Table"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    rows_ = AddSpin(form, "&Rows:", "rows", 1, 500, 2);
    columns_ = AddSpin(form, "&Columns:", "columns", 1, 100, 2);
    border_ = AddSpin(form, "&Border:", "border", 0, 50, 1);
    width_ = new QSpinBox;
    width_->setObjectName(QStringLiteral("width"));
    width_->setRange(0, 9999);
    width_->setSpecialValueText(QStringLiteral("not set"));
    widthUnit_ = new QComboBox;
    widthUnit_->setObjectName(QStringLiteral("widthUnit"));
    widthUnit_->setAccessibleName(QStringLiteral("Width unit"));
    widthUnit_->addItems({QStringLiteral("pixels"), QStringLiteral("percent")});
    auto* widthRow = new QHBoxLayout;
    widthRow->addWidget(width_, 1);
    widthRow->addWidget(widthUnit_);
    AddLayoutRow(form, "&Width:", widthRow, width_);
    padding_ = AddSpin(form, "Cell &padding:", "cellPadding", -1, 100, -1);
    padding_->setSpecialValueText(QStringLiteral("not set"));
    spacing_ = AddSpin(form, "Cell &spacing:", "cellSpacing", -1, 100, -1);
    spacing_->setSpecialValueText(QStringLiteral("not set"));
    header_ = new QCheckBox(QStringLiteral("First row is a &header row"));
    header_->setObjectName(QStringLiteral("headerRow"));
    form->addRow(QString(), header_);
    caption_ = AddLine(form, "C&aption:", "caption");
    layout->addLayout(form);
    connect(AddOkCancel(this, layout), &QPushButton::clicked, this, &QDialog::accept);
}

TableSpec TFrmTable::Table() const {
    TableSpec t;
    t.rows = rows_->value();
    t.columns = columns_->value();
    t.border = border_->value();
    t.width = width_->value();
    t.widthPercent = widthUnit_->currentIndex() == 1;
    t.cellPadding = padding_->value();
    t.cellSpacing = spacing_->value();
    t.headerRow = header_->isChecked();
    t.caption = Text(caption_);
    return t;
}

// ---- Active-X control

TFrmActiveX::TFrmActiveX(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmActiveX"));
    setWindowTitle(QStringLiteral("Insert Active-X Control"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    classId_ = AddLine(form, "C&lass ID:", "classId", QStringLiteral("clsid:"));
    classId_->setMinimumWidth(320);
    id_ = AddLine(form, "&ID:", "id");
    codeBase_ = AddLine(form, "Code &base:", "codeBase");
    width_ = AddSpin(form, "&Width:", "width", 0, 9999, 100);
    height_ = AddSpin(form, "&Height:", "height", 0, 9999, 100);
    layout->addLayout(form);
    parameters_ = new ParameterList(this);
    parameters_->table()->setAccessibleName(QStringLiteral("Parameters"));
    layout->addWidget(parameters_);
    connect(AddOkCancel(this, layout), &QPushButton::clicked, this, [this] {
        const QString id = classId_->text().trimmed();
        if (id.isEmpty() || id.compare(QLatin1String("clsid:"), Qt::CaseInsensitive) == 0) {
            ShowMessage(MessageKind::Error, "Insert Active-X Control", "Please enter the class ID of the control.");
            classId_->setFocus();
            return;
        }
        accept();
    });
}

ObjectSpec TFrmActiveX::Object() const {
    return {Trimmed(classId_), Trimmed(id_), Trimmed(codeBase_), width_->value(), height_->value(),
            parameters_->parameters()};
}

// ---- Java applet

TFrmJavaApplet::TFrmJavaApplet(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmJavaApplet"));
    setWindowTitle(QStringLiteral("Insert Java Applet"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    code_ = AddLine(form, "&Class file:", "code");
    code_->setMinimumWidth(320);
    codeBase_ = AddLine(form, "Code &base:", "codeBase");
    archive_ = AddLine(form, "&Archive:", "archive");
    name_ = AddLine(form, "&Name:", "name");
    alt_ = AddLine(form, "Alternative &text:", "alt");
    width_ = AddSpin(form, "&Width:", "width", 0, 9999, 200);
    height_ = AddSpin(form, "&Height:", "height", 0, 9999, 100);
    layout->addLayout(form);
    parameters_ = new ParameterList(this);
    parameters_->table()->setAccessibleName(QStringLiteral("Parameters"));
    layout->addWidget(parameters_);
    connect(AddOkCancel(this, layout), &QPushButton::clicked, this, [this] {
        if (RequireText(code_, "Insert Java Applet", "Please enter the class file of the applet."))
            accept();
    });
}

AppletSpec TFrmJavaApplet::Applet() const {
    return {Trimmed(code_), Trimmed(codeBase_), Trimmed(archive_), Trimmed(name_), Text(alt_), width_->value(),
            height_->value(), parameters_->parameters()};
}

}  // namespace vlr::extdlgs
