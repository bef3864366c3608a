#include "libs/vlrsys/RepositoryDialogs.h"

#include "platform/Prompter.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <filesystem>

namespace vlr::sys {

namespace {
constexpr unsigned kNewFromTemplate = 3063;
constexpr qint64 kPreviewBytes = 64 * 1024;
constexpr int kPathRole = Qt::UserRole + 1;
}  // namespace

TAddToRepositoryDialog::TAddToRepositoryDialog(const std::vector<std::string>& categories, const std::string& name,
                                               QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Add To Repository"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    NameEdit = new QLineEdit(QString::fromStdString(name));
    form->addRow(QStringLiteral("&Name:"), NameEdit);
    CategoryBox = new QComboBox;
    CategoryBox->setEditable(true);
    for (const std::string& c : categories)
        CategoryBox->addItem(QString::fromStdString(c));
    if (categories.empty())
        CategoryBox->addItem(QStringLiteral("Documents"));
    form->addRow(QStringLiteral("&Category:"), CategoryBox);
    DescriptionEdit = new QPlainTextEdit;
    form->addRow(QStringLiteral("&Description:"), DescriptionEdit);
    layout->addLayout(form);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
}

TRepositoryDialog::TRepositoryDialog(const std::vector<RepositoryItem>& items, QWidget* parent)
    : QDialog(parent), items_(items) {
    setWindowTitle(QStringLiteral("New"));
    resize(640, 400);
    auto* layout = new QVBoxLayout(this);
    auto* row = new QHBoxLayout;
    ItemTree = new QTreeWidget;
    ItemTree->setHeaderHidden(true);
    QTreeWidgetItem* group = nullptr;
    for (const RepositoryItem& i : items_) {
        if (!group || group->text(0) != QString::fromStdString(i.category)) {
            group = new QTreeWidgetItem(ItemTree, {QString::fromStdString(i.category)});
            group->setFlags(Qt::ItemIsEnabled);
            group->setExpanded(true);
        }
        auto* item = new QTreeWidgetItem(group, {QString::fromStdString(i.name)});
        item->setData(0, kPathRole, QString::fromStdString(i.path));
    }
    row->addWidget(ItemTree, 1);
    auto* side = new QVBoxLayout;
    DescriptionLabel = new QLabel;
    DescriptionLabel->setWordWrap(true);
    side->addWidget(DescriptionLabel);
    Preview = new QPlainTextEdit;
    Preview->setReadOnly(true);
    Preview->setLineWrapMode(QPlainTextEdit::NoWrap);
    side->addWidget(Preview, 1);
    row->addLayout(side, 2);
    layout->addLayout(row);
    Buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(Buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(Buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(ItemTree, &QTreeWidget::itemDoubleClicked, this, [this] {
        if (!SelectedPath().empty())
            accept();
    });
    layout->addWidget(Buttons);
    connect(ItemTree, &QTreeWidget::currentItemChanged, this, [this] { showSelected(); });
    showSelected();
}

std::string TRepositoryDialog::SelectedPath() const {
    const QTreeWidgetItem* c = ItemTree->currentItem();
    return c ? c->data(0, kPathRole).toString().toStdString() : std::string();
}

void TRepositoryDialog::Select(const std::string& path) {
    for (QTreeWidgetItemIterator it(ItemTree); *it; ++it)
        if ((*it)->data(0, kPathRole).toString().toStdString() == path)
            ItemTree->setCurrentItem(*it);
}

void TRepositoryDialog::showSelected() {
    const std::string path = SelectedPath();
    Buttons->button(QDialogButtonBox::Ok)->setEnabled(!path.empty());
    Preview->clear();
    DescriptionLabel->clear();
    if (path.empty())
        return;
    for (const RepositoryItem& i : items_)
        if (i.path == path)
            DescriptionLabel->setText(QString::fromStdString(i.description));
    QFile f(QString::fromStdString(path));
    if (f.open(QIODevice::ReadOnly))
        Preview->setPlainText(QString::fromUtf8(f.read(kPreviewBytes)));
    else
        Preview->setPlainText(QStringLiteral("(The file cannot be read.)"));
}

void OpenNewFrom(Handle mainWindow, const std::string& path) {
    const std::filesystem::path p(path);
    std::string dir = p.parent_path().string();
    if (!dir.empty() && dir.back() != '/')
        dir += '/';
    RecordPtr r = MakeRecord(dir, p.filename().string());
    SendMessage(mainWindow, kNewFromTemplate, 0, reinterpret_cast<LParam>(r.release()));
}

void RunAddToRepository(const std::string& appDir, const std::string& path, QWidget* owner) {
    Repository repo(appDir, vlr::UserDataDir());
    TAddToRepositoryDialog dialog(repo.Categories(), std::filesystem::path(path).stem().string(), owner);
    for (;;) {
        if (dialog.exec() != QDialog::Accepted)
            return;
        const std::string name = dialog.NameEdit->text().trimmed().toStdString();
        const std::string category = dialog.CategoryBox->currentText().trimmed().toStdString();
        try {
            if (IsPlainName(name) && IsPlainName(category) && repo.Exists(category, name, path) &&
                ShowMessage(MessageKind::Confirmation, "Add To Repository",
                            "\"" + name + "\" is already in the repository. Replace it?", BtnYesNo) != ModalResult::Yes)
                continue;
            repo.Add(path, name, dialog.DescriptionEdit->toPlainText().toStdString(), category);
            return;
        } catch (const ERepositoryError& e) {
            ShowMessage(MessageKind::Error, "Add To Repository", e.what());
        }
    }
}

void RunNewFromRepository(const std::string& appDir, Handle mainWindow, QWidget* owner) {
    TRepositoryDialog dialog(Repository(appDir, vlr::UserDataDir()).Items(), owner);
    if (dialog.exec() == QDialog::Accepted && !dialog.SelectedPath().empty())
        OpenNewFrom(mainWindow, dialog.SelectedPath());
}

}  // namespace vlr::sys
