#include "editor/findfiles/FindInFilesDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vlr {

TFindInFilesDialog::TFindInFilesDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("FindInFilesDialog");
    setWindowTitle("Find in Files");
    setModal(false);
    resize(720, 520);

    find_ = new QLineEdit(this);
    find_->setObjectName("FindText");
    replace_ = new QLineEdit(this);
    replace_->setObjectName("ReplaceText");
    replace_->setPlaceholderText("(only for Replace All)");
    auto* form = new QFormLayout;
    form->addRow("Fi&nd what:", find_);
    form->addRow("Re&place with:", replace_);

    matchCase_ = new QCheckBox("Match &case", this);
    wholeWords_ = new QCheckBox("&Whole words only", this);
    regex_ = new QCheckBox("Regular e&xpression", this);
    auto* options = new QHBoxLayout;
    options->addWidget(matchCase_);
    options->addWidget(wholeWords_);
    options->addWidget(regex_);
    options->addStretch(1);

    auto* where = new QGroupBox("Look in", this);
    projectScope_ = new QRadioButton("Files of the open &project", where);
    folderScope_ = new QRadioButton("&Folder:", where);
    folder_ = new QLineEdit(where);
    folder_->setAccessibleName("Folder");
    browse_ = new QPushButton("&Browse...", where);
    mask_ = new QLineEdit("*.hts;*.htm;*.html", where);
    subfolders_ = new QCheckBox("Include &subfolders", where);
    subfolders_->setChecked(true);
    auto* folderRow = new QHBoxLayout;
    folderRow->addWidget(folderScope_);
    folderRow->addWidget(folder_, 1);
    folderRow->addWidget(browse_);
    auto* maskRow = new QHBoxLayout;
    maskRow->addSpacing(24);
    // The label names the mask field, so its access key reaches it (and the
    // "&" is drawn as an underline, not as itself).
    auto* maskLabel = new QLabel("File &types:", where);
    maskLabel->setBuddy(mask_);
    maskRow->addWidget(maskLabel);
    maskRow->addWidget(mask_, 1);
    maskRow->addWidget(subfolders_);
    auto* whereLayout = new QVBoxLayout(where);
    whereLayout->addWidget(projectScope_);
    whereLayout->addLayout(folderRow);
    whereLayout->addLayout(maskRow);

    results_ = new QTreeWidget(this);
    results_->setObjectName("FindInFilesResults");
    results_->setAccessibleName("Matches");
    results_->setHeaderLabels({"File", "Line", "Text"});
    results_->setRootIsDecorated(false);
    results_->setUniformRowHeights(true);
    results_->setAlternatingRowColors(true);
    results_->header()->setStretchLastSection(true);
    results_->setColumnWidth(0, 260);
    results_->setColumnWidth(1, 60);
    summary_ = new QLabel(this);

    findButton_ = new QPushButton("&Find", this);
    findButton_->setDefault(true);
    replaceButton_ = new QPushButton("&Replace All...", this);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->addButton(findButton_, QDialogButtonBox::ActionRole);
    buttons->addButton(replaceButton_, QDialogButtonBox::ActionRole);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(options);
    layout->addWidget(where);
    layout->addWidget(results_, 1);
    layout->addWidget(summary_);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);
    connect(findButton_, &QPushButton::clicked, this, &TFindInFilesDialog::searchRequested);
    connect(replaceButton_, &QPushButton::clicked, this, &TFindInFilesDialog::replaceRequested);
    connect(browse_, &QPushButton::clicked, this, &TFindInFilesDialog::chooseFolder);
    connect(find_, &QLineEdit::textChanged, this, &TFindInFilesDialog::updateButtons);
    connect(projectScope_, &QRadioButton::toggled, this, &TFindInFilesDialog::updateButtons);
    connect(results_, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item, int) {
        const int index = results_->indexOfTopLevelItem(item);
        if (index >= 0 && index < int(rows_.size()))
            Q_EMIT openRequested(rows_[std::size_t(index)]);
    });
    folderScope_->setChecked(true);
    updateButtons();
}

void TFindInFilesDialog::chooseFolder() {
    const QString dir = QFileDialog::getExistingDirectory(this, "Folder to search", folder_->text());
    if (!dir.isEmpty())
        folder_->setText(dir);
}

void TFindInFilesDialog::updateButtons() {
    const bool folder = folderScope_->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{folder_, browse_, mask_, subfolders_})
        w->setEnabled(folder);
    const bool any = !find_->text().isEmpty();
    findButton_->setEnabled(any);
    replaceButton_->setEnabled(any);
}

FindInFilesRequest TFindInFilesDialog::request() const {
    FindInFilesRequest r;
    r.text = find_->text();
    r.replacement = replace_->text();
    r.matchCase = matchCase_->isChecked();
    r.wholeWords = wholeWords_->isChecked();
    r.regularExpression = regex_->isChecked();
    r.projectFiles = projectScope_->isChecked();
    r.folder = folder_->text();
    r.mask = mask_->text();
    r.subfolders = subfolders_->isChecked();
    return r;
}

void TFindInFilesDialog::setRequest(const FindInFilesRequest& r) {
    find_->setText(r.text);
    replace_->setText(r.replacement);
    matchCase_->setChecked(r.matchCase);
    wholeWords_->setChecked(r.wholeWords);
    regex_->setChecked(r.regularExpression);
    (r.projectFiles && projectScope_->isEnabled() ? projectScope_ : folderScope_)->setChecked(true);
    folder_->setText(r.folder);
    mask_->setText(r.mask);
    subfolders_->setChecked(r.subfolders);
    updateButtons();
}

void TFindInFilesDialog::setProjectAvailable(bool available) {
    projectScope_->setEnabled(available);
    if (available)
        projectScope_->setChecked(true);
    else
        folderScope_->setChecked(true);
}

void TFindInFilesDialog::showResults(const std::vector<FindInFilesRow>& rows, int fileCount,
                                     const QStringList& problems) {
    rows_ = rows;
    results_->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(qsizetype(rows.size()));
    for (const FindInFilesRow& row : rows) {
        auto* item = new QTreeWidgetItem({QFileInfo(row.file).fileName(), QString::number(row.line),
                                          row.lineText.trimmed()});
        item->setToolTip(0, row.file);
        item->setTextAlignment(1, Qt::AlignRight | Qt::AlignVCenter);
        items << item;
    }
    results_->addTopLevelItems(items);
    QString text = QString("%1 %2 in %3 %4")
                       .arg(rows.size())
                       .arg(rows.size() == 1 ? "match" : "matches")
                       .arg(fileCount)
                       .arg(fileCount == 1 ? "file" : "files");
    if (!problems.isEmpty())
        text += QString("; %1 files could not be read: %2").arg(problems.size()).arg(problems.join(", "));
    summary_->setText(text);
}

void TFindInFilesDialog::showMessage(const QString& text) { summary_->setText(text); }

int TFindInFilesDialog::resultCount() const { return int(rows_.size()); }

FindInFilesRow TFindInFilesDialog::resultAt(int index) const { return rows_.at(std::size_t(index)); }

QString TFindInFilesDialog::summary() const { return summary_->text(); }

}  // namespace vlr
