// Shared parts of the insertion dialogs.
#include "libs/extdlgs/DialogParts.h"

#include "platform/Prompter.h"

#include <QDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vlr::extdlgs {

QPushButton* AddOkCancel(QDialog* dialog, QVBoxLayout* layout) {
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    auto* ok = new QPushButton(QStringLiteral("OK"), dialog);
    ok->setObjectName(QStringLiteral("okButton"));
    ok->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), dialog);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    row->addWidget(ok);
    row->addWidget(cancel);
    layout->addLayout(row);
    return ok;
}

QLineEdit* AddLine(QFormLayout* form, const char* label, const char* name, const QString& text) {
    auto* edit = new QLineEdit(text);
    edit->setObjectName(QLatin1String(name));
    form->addRow(QString::fromUtf8(label), edit);
    return edit;
}

void AddLayoutRow(QFormLayout* form, const char* label, QLayout* field, QWidget* buddy) {
    auto* text = new QLabel(QString::fromUtf8(label));
    text->setBuddy(buddy);
    form->addRow(text, field);
}

QSpinBox* AddSpin(QFormLayout* form, const char* label, const char* name, int minimum, int maximum, int value) {
    auto* spin = new QSpinBox;
    spin->setObjectName(QLatin1String(name));
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    form->addRow(QString::fromUtf8(label), spin);
    return spin;
}

bool RequireText(QLineEdit* edit, const char* caption, const char* message) {
    if (!edit->text().trimmed().isEmpty())
        return true;
    ShowMessage(MessageKind::Error, caption, message);
    edit->setFocus();
    return false;
}

ParameterList::ParameterList(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    table_ = new QTableWidget(0, 2, this);
    table_->setObjectName(QStringLiteral("parameters"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->hide();
    table_->setMinimumHeight(110);
    layout->addWidget(table_);
    auto* buttons = new QHBoxLayout;
    auto* add = new QPushButton(QStringLiteral("&Add Parameter"), this);
    add->setObjectName(QStringLiteral("addParameter"));
    auto* remove = new QPushButton(QStringLiteral("&Remove Parameter"), this);
    remove->setObjectName(QStringLiteral("removeParameter"));
    buttons->addWidget(add);
    buttons->addWidget(remove);
    buttons->addStretch(1);
    layout->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, [this] {
        addRow();
        table_->setCurrentCell(table_->rowCount() - 1, 0);
        table_->editItem(table_->item(table_->rowCount() - 1, 0));
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int row = table_->currentRow();
        if (row >= 0)
            table_->removeRow(row);
    });
}

void ParameterList::addRow(const QString& name, const QString& value) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, new QTableWidgetItem(name));
    table_->setItem(row, 1, new QTableWidgetItem(value));
}

Parameters ParameterList::parameters() const {
    Parameters out;
    for (int r = 0; r < table_->rowCount(); ++r) {
        auto text = [&](int c) {
            const QTableWidgetItem* item = table_->item(r, c);
            return item ? item->text().toStdString() : std::string();
        };
        const std::string name = QString::fromStdString(text(0)).trimmed().toStdString();
        if (!name.empty())
            out.emplace_back(name, text(1));
    }
    return out;
}

}  // namespace vlr::extdlgs
