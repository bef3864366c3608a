#include "libs/vlrsys/VariablesDialog.h"

#include "platform/Prompter.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace vlr::sys {
namespace {

QString Utf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

QPushButton* Button(const char* text, const char* name) {
    auto* b = new QPushButton(QString::fromUtf8(text));
    b->setObjectName(QLatin1String(name));
    return b;
}

}  // namespace

TFrmVariables::TFrmVariables(std::string path, NameValues entries, QWidget* parent)
    : QDialog(parent), path_(std::move(path)) {
    setObjectName(QStringLiteral("TFrmVariables"));
    setWindowTitle(QStringLiteral("Project Variables"));
    setModal(true);

    auto* intro = new QLabel(QStringLiteral("Pages refer to a variable by writing <%name%>. "
                                            "The build replaces the reference with the value."));
    intro->setTextFormat(Qt::PlainText);
    intro->setWordWrap(true);

    table_ = new QTableWidget(0, 2);
    table_->setObjectName(QStringLiteral("variables"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Name"), QStringLiteral("Value")});
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->verticalHeader()->setVisible(false);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setColumnWidth(0, 160);

    auto* add = Button("&Add", "addButton");
    remove_ = Button("&Remove", "removeButton");
    up_ = Button("Move &Up", "upButton");
    down_ = Button("Move &Down", "downButton");
    for (const auto& [name, value] : entries)
        AddRow(name, value);
    connect(add, &QPushButton::clicked, this, [this] {
        AddRow("", "");
        table_->setCurrentCell(table_->rowCount() - 1, 0);
        table_->editItem(table_->item(table_->rowCount() - 1, 0));
    });
    connect(remove_, &QPushButton::clicked, this, [this] {
        if (table_->currentRow() >= 0)
            table_->removeRow(table_->currentRow());
        UpdateButtons();
    });
    connect(up_, &QPushButton::clicked, this, [this] { MoveRow(-1); });
    connect(down_, &QPushButton::clicked, this, [this] { MoveRow(1); });
    connect(table_, &QTableWidget::currentCellChanged, this, [this] { UpdateButtons(); });

    auto* side = new QVBoxLayout;
    for (QPushButton* b : {add, remove_, up_, down_})
        side->addWidget(b);
    side->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(table_, 1);
    middle->addLayout(side);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFrmVariables::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(intro);
    layout->addLayout(middle, 1);
    layout->addWidget(buttons);
    resize(520, 360);
    UpdateButtons();
}

void TFrmVariables::AddRow(const std::string& name, const std::string& value) {
    const int row = table_->rowCount();
    table_->insertRow(row);
    table_->setItem(row, 0, new QTableWidgetItem(Utf8(name)));
    table_->setItem(row, 1, new QTableWidgetItem(Utf8(value)));
    UpdateButtons();
}

void TFrmVariables::MoveRow(int delta) {
    const int row = table_->currentRow();
    const int to = row + delta;
    if (row < 0 || to < 0 || to >= table_->rowCount())
        return;
    for (int c = 0; c < 2; ++c) {
        QTableWidgetItem* a = table_->takeItem(row, c);
        QTableWidgetItem* b = table_->takeItem(to, c);
        table_->setItem(row, c, b);
        table_->setItem(to, c, a);
    }
    table_->setCurrentCell(to, table_->currentColumn() < 0 ? 0 : table_->currentColumn());
}

void TFrmVariables::UpdateButtons() {
    const int row = table_->currentRow();
    remove_->setEnabled(row >= 0);
    up_->setEnabled(row > 0);
    down_->setEnabled(row >= 0 && row + 1 < table_->rowCount());
}

NameValues TFrmVariables::entries() const {
    NameValues out;
    for (int r = 0; r < table_->rowCount(); ++r) {
        auto text = [&](int c) {
            QTableWidgetItem* item = table_->item(r, c);
            return item ? item->text().toStdString() : std::string();
        };
        out.emplace_back(text(0), text(1));
    }
    return out;
}

void TFrmVariables::accept() {
    const NameValues list = entries();
    for (std::size_t i = 0; i < list.size(); ++i) {
        const std::string problem = VariableProblem(list, i);
        if (!problem.empty()) {
            ShowMessage(MessageKind::Error, "Project Variables", problem);
            table_->setCurrentCell(static_cast<int>(i), 0);
            return;
        }
    }
    std::string error;
    if (!WriteNameValues(path_, list, &error)) {
        ShowMessage(MessageKind::Error, "Project Variables", "The variables could not be saved: " + error);
        return;
    }
    QDialog::accept();
}

}  // namespace vlr::sys
