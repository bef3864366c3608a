// The site link check window.
#include "project/linkcheck/FrmLinkCheck.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace vlr {

namespace {
constexpr int kPathRole = Qt::UserRole;
constexpr int kLineRole = Qt::UserRole + 1;
}  // namespace

TFrmLinkCheck::TFrmLinkCheck(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmLinkCheck"));
    setWindowTitle(QStringLiteral("Check Links"));
    auto* layout = new QVBoxLayout(this);
    StatusLabel = new QLabel(this);
    StatusLabel->setObjectName(QStringLiteral("StatusLabel"));
    layout->addWidget(StatusLabel);
    Progress = new QProgressBar(this);
    Progress->setObjectName(QStringLiteral("Progress"));
    layout->addWidget(Progress);
    Results = new QTreeWidget(this);
    Results->setObjectName(QStringLiteral("Results"));
    Results->setRootIsDecorated(false);
    Results->setHeaderLabels({QStringLiteral("Page"), QStringLiteral("Line"), QStringLiteral("Link"),
                              QStringLiteral("Problem")});
    Results->header()->setStretchLastSection(true);
    layout->addWidget(Results, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    CancelButton = new QPushButton(QStringLiteral("&Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CloseButton = new QPushButton(QStringLiteral("C&lose"), this);
    CloseButton->setObjectName(QStringLiteral("CloseButton"));
    buttons->addWidget(CancelButton);
    buttons->addWidget(CloseButton);
    layout->addLayout(buttons);
    resize(720, 420);

    timer_ = new QTimer(this);
    timer_->setInterval(0);
    connect(timer_, &QTimer::timeout, this, [this] { step(); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { Cancel(); });
    connect(CloseButton, &QPushButton::clicked, this, [this] {
        Cancel();
        hide();
    });
    connect(Results, &QTreeWidget::itemActivated, this, [this](QTreeWidgetItem* item) { rowActivated(item); });
}

TFrmLinkCheck::~TFrmLinkCheck() = default;

bool TFrmLinkCheck::Running() const { return timer_->isActive(); }

void TFrmLinkCheck::Start(const std::string& outputDir, const std::string& sourceDir, validate::ProbeOptions options) {
    Cancel();
    Results->clear();
    check_ = std::make_unique<validate::SiteLinkCheck>(outputDir, sourceDir, options);
    check_->start();
    Progress->setRange(0, int(std::max<std::size_t>(check_->total(), 1)));
    Progress->setValue(int(check_->checked()));
    CancelButton->setEnabled(true);
    showResults();
    timer_->start();
}

void TFrmLinkCheck::Cancel() {
    if (!check_ || !timer_->isActive())
        return;
    check_->cancel();
    timer_->stop();
    CancelButton->setEnabled(false);
    showResults();
    Q_EMIT Finished();
}

// One slice of the web checks; the window stays responsive between slices.
void TFrmLinkCheck::step() {
    const bool more = check_->step(std::chrono::milliseconds(30));
    Progress->setValue(int(check_->checked()));
    if (!more) {
        timer_->stop();
        CancelButton->setEnabled(false);
    }
    showResults();
    if (!more)
        Q_EMIT Finished();
}

void TFrmLinkCheck::showResults() {
    const std::vector<validate::BrokenLink> broken = check_->broken();
    if (Results->topLevelItemCount() != int(broken.size())) {
        Results->clear();
        for (const validate::BrokenLink& b : broken) {
            const bool haveSource = !b.sourcePage.empty();
            auto* item = new QTreeWidgetItem(Results);
            item->setText(0, QString::fromStdString(haveSource ? b.sourcePage : b.page));
            item->setText(1, QString::number(haveSource ? b.sourceLine : b.line));
            item->setText(2, QString::fromStdString(b.target));
            item->setText(3, QString::fromStdString(b.reason));
            item->setData(0, kPathRole, QString::fromStdString(haveSource ? b.sourcePage : b.page));
            item->setData(0, kLineRole, haveSource ? b.sourceLine : b.line);
        }
        for (int column = 0; column < 3; ++column)
            Results->resizeColumnToContents(column);
    }
    QString state;
    if (check_->cancelled())
        state = QStringLiteral("Cancelled: ");
    else if (Running())
        state = QStringLiteral("Checking: ");
    else
        state = QStringLiteral("Done: ");
    StatusLabel->setText(state + QStringLiteral("%1 of %2 links checked on %3 pages, %4 broken")
                                     .arg(check_->checked())
                                     .arg(check_->total())
                                     .arg(check_->pages())
                                     .arg(broken.size()));
}

void TFrmLinkCheck::rowActivated(QTreeWidgetItem* item) {
    if (!item)
        return;
    Q_EMIT OpenAt(item->data(0, kPathRole).toString(), item->data(0, kLineRole).toInt());
}

}  // namespace vlr
