// The live preview pane.
#include "editor/window/LivePreview.h"

#include "editor/window/EditorCheck.h"
#include "editor/window/EditorPreview.h"
#include "libs/EntryPoints.h"
#include "memo/widget/SyntaxMemo.h"
#include "platform/Library.h"
#include "project/build/RelativeFolder.h"
#include "project/build/SystemEnvironment.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>
#include <cctype>
#include <iterator>
#include <optional>

namespace vlr {
namespace {

// Where the first element of html[from, to) that shows on the page starts:
// the document's frame (html, head, body) and what a head holds are passed
// over. `to` when there is none.
std::size_t firstShownElement(const std::string& html, std::size_t from, std::size_t to) {
    static const char* const kUnseen[] = {"html", "head", "body", "meta", "link", "title", "script", "style", "base"};
    to = std::min(to, html.size());
    for (std::size_t at = html.find('<', from); at != std::string::npos && at + 1 < to; at = html.find('<', at + 1)) {
        std::size_t end = at + 1;
        while (end < to && std::isalnum(static_cast<unsigned char>(html[end])))
            ++end;
        if (end == at + 1 || !std::isalpha(static_cast<unsigned char>(html[at + 1])))
            continue;
        std::string name = html.substr(at + 1, end - at - 1);
        for (char& c : name)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        if (std::none_of(std::begin(kUnseen), std::end(kUnseen), [&](const char* u) { return name == u; }))
            return at;
    }
    return to;
}

template <typename Fn>
Fn entry(const char* name) {
    LibraryHandle module = PreviewModule();
    return module ? reinterpret_cast<Fn>(GetProcAddress(module, name)) : nullptr;
}

constexpr int kZooms[] = {50, 67, 75, 90, 100, 110, 125, 150, 175, 200};

QString escaped(const std::string& text) { return QString::fromStdString(text).toHtmlEscaped(); }

}  // namespace

int LivePreviewPane::PixelsOf(Width width) {
    switch (width) {
    case Width::Phone:
        return 375;
    case Width::Tablet:
        return 768;
    case Width::Desktop:
        break;
    }
    return 0;
}

LivePreviewPane::LivePreviewPane(velora::memo::TSyntaxMemo& memo, Context context, QWidget* parent)
    : QWidget(parent), memo_(memo), context_(std::move(context)) {
    setObjectName(QStringLiteral("LivePreview"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    auto* bar = new QWidget(this);
    bar->setObjectName(QStringLiteral("LivePreviewBar"));
    auto* barLayout = new QHBoxLayout(bar);
    barLayout->setContentsMargins(4, 2, 4, 2);
    auto* widthLabel = new QLabel(tr("&Width:"), bar);
    widthBox_ = new QComboBox(bar);
    widthBox_->setObjectName(QStringLiteral("LivePreviewWidth"));
    widthBox_->addItem(tr("Desktop"));
    widthBox_->addItem(tr("Tablet (768 px)"));
    widthBox_->addItem(tr("Phone (375 px)"));
    widthLabel->setBuddy(widthBox_);
    auto* zoomLabel = new QLabel(tr("&Zoom:"), bar);
    zoomBox_ = new QComboBox(bar);
    zoomBox_->setObjectName(QStringLiteral("LivePreviewZoom"));
    for (int z : kZooms)
        zoomBox_->addItem(QStringLiteral("%1 %").arg(z), z);
    zoomBox_->setCurrentIndex(zoomBox_->findData(100));
    zoomLabel->setBuddy(zoomBox_);
    barLayout->addWidget(widthLabel);
    barLayout->addWidget(widthBox_);
    barLayout->addSpacing(8);
    barLayout->addWidget(zoomLabel);
    barLayout->addWidget(zoomBox_);
    barLayout->addStretch(1);
    layout->addWidget(bar);
    connect(widthBox_, &QComboBox::activated, this, [this](int index) { SetWidth(static_cast<Width>(index)); });
    connect(zoomBox_, &QComboBox::activated, this,
            [this](int index) { SetZoom(zoomBox_->itemData(index).toInt()); });

    problems_ = new QLabel(this);
    problems_->setObjectName(QStringLiteral("LivePreviewProblems"));
    problems_->setWordWrap(true);
    problems_->setTextFormat(Qt::RichText);
    problems_->setTextInteractionFlags(Qt::TextBrowserInteraction);
    problems_->setContentsMargins(6, 4, 6, 4);
    problems_->setAutoFillBackground(true);
    QPalette warn = problems_->palette();
    warn.setColor(QPalette::Window, QColor(255, 236, 236));
    warn.setColor(QPalette::WindowText, QColor(120, 0, 0));
    warn.setColor(QPalette::Link, QColor(120, 0, 0));
    problems_->setPalette(warn);
    problems_->hide();
    layout->addWidget(problems_);
    connect(problems_, &QLabel::linkActivated, this, [this](const QString& link) {
        // "line:FILE#LINE"
        const int hash = int(link.lastIndexOf(QLatin1Char('#')));
        const std::string file = link.mid(5, hash - 5).toStdString();
        const int line = link.mid(hash + 1).toInt();
        if (file == context_.pagePath()) {
            memo_.setFocus();
            const velora::memo::Pos p = PositionOfLineColumn(memo_.engine().store(), line, 1);
            memo_.setSelection(p, p);
        } else if (context_.openFile) {
            context_.openFile(file, line);
        }
    });

    stage_ = new QWidget(this);
    stage_->setObjectName(QStringLiteral("LivePreviewStage"));
    stage_->setAutoFillBackground(true);
    stage_->setBackgroundRole(QPalette::Dark);
    auto* stageLayout = new QHBoxLayout(stage_);
    stageLayout->setContentsMargins(0, 0, 0, 0);
    stageLayout->setSpacing(0);
    frame_ = new QWidget(stage_);
    stageLayout->addWidget(frame_, 1, Qt::AlignHCenter);
    layout->addWidget(stage_, 1);

    if (auto create = entry<PreviewCreateFn>("PreviewCreate"))
        browser_ = create(frame_);
    if (browser_) {
        browser_->setObjectName(QStringLiteral("LivePreviewBrowser"));
        if (auto events = entry<PreviewLiveEventsFn>("PreviewLiveEvents"))
            events(
                browser_, this,
                [](void* self, std::uint64_t offset) { static_cast<LivePreviewPane*>(self)->Pick(offset); },
                [](void* self, int serial) { static_cast<LivePreviewPane*>(self)->shown(serial); });
    } else {
        auto* none = new QLabel(tr("The preview needs the web engine, which is not installed."), frame_);
        none->setAlignment(Qt::AlignCenter);
        none->setWordWrap(true);
        auto* frameLayout = new QVBoxLayout(frame_);
        frameLayout->addWidget(none);
    }
    placeBrowser();

    update_.setSingleShot(true);
    update_.setInterval(kUpdateDelayMs);
    connect(&update_, &QTimer::timeout, this, [this] { Refresh(); });
    reveal_.setSingleShot(true);
    reveal_.setInterval(80);
    connect(&reveal_, &QTimer::timeout, this, [this] { RevealCaret(); });
    // A change the browser never reports painted (the page failed to load)
    // does not hold back the next one for ever.
    stalled_.setSingleShot(true);
    stalled_.setInterval(10000);
    connect(&stalled_, &QTimer::timeout, this, [this] {
        inFlight_ = false;
        if (dirty_) {
            dirty_ = false;
            update_.start();
        }
    });
    connect(&memo_, &velora::memo::TSyntaxMemo::OnTextChange, this, [this] { textChanged(); });
    connect(&memo_, &velora::memo::TSyntaxMemo::OnSelectionChange, this, [this] {
        if (isVisible())
            reveal_.start();
    });
}

void LivePreviewPane::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    update_.start();
}

void LivePreviewPane::textChanged() {
    if (!isVisible())
        return;
    if (inFlight_) {
        dirty_ = true;
        return;
    }
    // Not restarted by further typing: the page follows a run of keys.
    if (!update_.isActive())
        update_.start();
}

void LivePreviewPane::Refresh() {
    update_.stop();
    if (inFlight_) {
        dirty_ = true;
        return;
    }
    build::LivePageRequest request;
    request.projectFile = context_.projectFile ? context_.projectFile() : std::string();
    request.page = context_.pagePath ? context_.pagePath() : std::string();
    request.text = memo_.engine().store().text();
    request.allowOutside = context_.allowOutside;
    request.environment = build::SystemBuildEnvironment();
    build::LivePage page = builder_.Build(request);
    const bool showable = page.ok;
    // What the browser shows now, for the change to it.
    const bool samePage = page.siteFolder == page_.siteFolder && page.pathInSite == page_.pathInSite;
    std::string before = samePage && showable ? std::move(page_.html) : std::string();
    if (showable || page_.html.empty())
        page_ = std::move(page);
    else
        page_.problems = std::move(page.problems);  // the last good page stays, under the message
    showProblems();
    if (!showable || !browser_)
        return;
    auto show = entry<PreviewLiveShowFn>("PreviewLiveShow");
    if (!show || (!before.empty() && before == page_.html))
        return;
    const std::string marked = build::MarkElementOffsets(page_.html);
    std::optional<build::PagePatch> patch;
    if (!before.empty())
        patch = build::PatchBetween(before, page_.html);
    PreviewLivePatch change{};
    if (patch)
        change = {patch->start, patch->oldEnd, patch->newEnd, patch->marked.data(), patch->marked.size()};
    inFlight_ = true;
    dirty_ = false;
    stalled_.start();
    show(browser_, page_.html.data(), page_.html.size(), marked.data(), marked.size(), page_.siteFolder.c_str(),
         page_.pathInSite.c_str(), ++serial_, patch ? &change : nullptr);
}

void LivePreviewPane::shown(int serial) {
    if (serial != serial_)
        return;
    stalled_.stop();
    inFlight_ = false;
    Q_EMIT Shown(serial);
    if (dirty_) {
        dirty_ = false;
        update_.start();
    }
    reveal_.start();
}

void LivePreviewPane::RevealCaret() {
    auto reveal = entry<PreviewLiveRevealFn>("PreviewLiveReveal");
    if (!reveal || !browser_ || page_.map.Empty())
        return;
    const std::string page = build::LexicallyNormal(context_.pagePath());
    const int caretLine = memo_.caretLine();
    // On the caret's line, the output byte of the caret itself (text of the
    // page is copied byte for byte), so that the element the caret is in is
    // marked, not the first one of the line.
    const velora::memo::TextStore& store = memo_.engine().store();
    const velora::memo::Pos caret = memo_.selection().caret;
    const std::size_t into = static_cast<std::size_t>(caret - store.lineStart(store.lineFromPos(caret)));
    // A line that is an include (its own output at most blanks and its line
    // break) shows the first element the include brought in that shows.
    const auto own = page_.map.OutputRange(page, caretLine);
    const bool ownIsBlank =
        !own || std::all_of(page_.html.begin() + std::ptrdiff_t(std::min(own->first, page_.html.size())),
                            page_.html.begin() + std::ptrdiff_t(std::min(own->second, page_.html.size())),
                            [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; });
    if (ownIsBlank) {
        if (auto range = page_.map.IncludedRange(page, caretLine)) {
            const std::size_t shown = firstShownElement(page_.html, range->first, range->second);
            reveal(browser_, shown < range->second ? shown : range->first);
            return;
        }
    }
    if (own) {
        reveal(browser_, std::min(own->first + into, own->second > 0 ? own->second - 1 : 0));
        return;
    }
    // A line that made no output (a blank one) shows the nearest line above that did.
    for (int line = caretLine - 1; line >= 1 && line > caretLine - 200; --line)
        if (auto range = page_.map.OutputRange(page, line)) {
            reveal(browser_, range->first);
            return;
        }
}

void LivePreviewPane::Pick(std::uint64_t offset) {
    const auto where = page_.map.Locate(static_cast<std::size_t>(offset));
    if (!where)
        return;
    const build::SourcePosition& at = where->at;
    if (at.file == build::LexicallyNormal(context_.pagePath())) {
        const velora::memo::Pos p = PositionOfLineColumn(memo_.engine().store(), at.line, std::max(1, at.column));
        memo_.setSelection(p, p);
        memo_.setFocus();
    } else if (context_.openFile) {
        context_.openFile(at.file, at.line);
    }
}

void LivePreviewPane::SetWidth(Width width) {
    width_ = width;
    widthBox_->setCurrentIndex(static_cast<int>(width));
    placeBrowser();
}

void LivePreviewPane::SetZoom(int percent) {
    zoom_ = std::clamp(percent, 25, 500);
    if (const int i = zoomBox_->findData(zoom_); i >= 0)
        zoomBox_->setCurrentIndex(i);
    if (auto zoom = entry<PreviewZoomFn>("PreviewZoom"); zoom && browser_)
        zoom(browser_, zoom_ / 100.0);
    placeBrowser();
}

// A preset's width is in the page's pixels: the browser is that wide times
// the zoom, centred on the stage, so that the page lays out as it would on
// such a screen.
void LivePreviewPane::placeBrowser() {
    const int pixels = PixelsOf(width_);
    if (pixels == 0) {
        frame_->setMinimumWidth(0);
        frame_->setMaximumWidth(QWIDGETSIZE_MAX);
        stage_->layout()->setAlignment(frame_, Qt::Alignment());
    } else {
        frame_->setFixedWidth(pixels * zoom_ / 100);
        stage_->layout()->setAlignment(frame_, Qt::AlignHCenter);
    }
}

QString LivePreviewPane::ProblemText() const {
    QStringList lines;
    for (const build::LiveProblem& p : page_.problems)
        lines << QString::fromStdString(p.Describe());
    return lines.join(QLatin1Char('\n'));
}

void LivePreviewPane::showProblems() {
    if (page_.problems.empty()) {
        problems_->hide();
        return;
    }
    QString html;
    for (const build::LiveProblem& p : page_.problems) {
        const QString where = p.line > 0 ? QStringLiteral("%1:%2").arg(escaped(p.file)).arg(p.line) : escaped(p.file);
        const QString link = QStringLiteral("line:%1#%2").arg(QString::fromStdString(p.file)).arg(std::max(1, p.line));
        html += QStringLiteral("<div><b>%1</b> <a href=\"%2\">%3</a>: %4</div>")
                    .arg(p.error ? tr("Build error") : tr("Build warning"), link.toHtmlEscaped(), where,
                         escaped(p.text));
    }
    problems_->setText(html);
    problems_->show();
}

}  // namespace vlr
