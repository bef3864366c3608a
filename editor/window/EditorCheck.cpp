// The editor window's check as the user types.
#include "editor/window/EditorCheck.h"

#include "editor/window/FrmEditor.h"
#include "memo/widget/SyntaxMemo.h"
#include "platform/Record.h"
#include "platform/System.h"
#include "platform/Window.h"
#include "project/build/SystemEnvironment.h"
#include "project/build/TrustedProjects.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>

namespace vlr {
namespace {

// The end of a mark starting at `p`: the word or tag there, to the next blank
// or just past the next ">", within its line and at least one character.
velora::memo::Pos markEnd(const velora::memo::TextStore& store, velora::memo::Pos p) {
    const velora::memo::LineNo line = store.lineFromPos(p);
    const velora::memo::Pos end = store.lineEnd(line);
    velora::memo::Pos q = p;
    while (q < end) {
        const char c = store.charAt(q);
        if (c == ' ' || c == '\t')
            break;
        ++q;
        if (c == '>')
            break;
    }
    return q > p ? q : std::min(p + 1, store.length());
}

// Pages are checked; style sheets, scripts and other texts are not.
bool isPage(const std::string& path) {
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || path.find('/', dot) != std::string::npos)
        return false;
    std::string ext = path.substr(dot + 1);
    for (char& c : ext)
        c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return ext == "hts" || ext == "htm" || ext == "html" || ext == "shtml" || ext == "xhtml";
}

}  // namespace

velora::memo::Pos PositionOfLineColumn(const velora::memo::TextStore& store, int line, int column) {
    const velora::memo::LineNo l = std::max(0, line - 1);
    if (l >= store.lineCount())
        return store.length();
    const std::string text = store.lineText(l);
    std::size_t at = 0;
    for (int c = 1; c < column && at < text.size(); ++c) {
        ++at;
        while (at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80)
            ++at;
    }
    return store.lineStart(l) + static_cast<velora::memo::Pos>(at);
}

EditorCheck::EditorCheck(TFrmEditor& editor)
    : QWidget(editor.memo().viewport()), editor_(editor), memo_(editor.memo()) {
    setObjectName(QStringLiteral("CheckMarks"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(memo_.viewport()->rect());
    memo_.viewport()->installEventFilter(this);
    pause_.setSingleShot(true);
    pause_.setInterval(kPauseMs);
    connect(&pause_, &QTimer::timeout, this, [this] { CheckNow(); });
    connect(&memo_, &velora::memo::TSyntaxMemo::OnTextChange, this, [this] { pause_.start(); });
    show();
}

void EditorCheck::CheckNow() {
    pause_.stop();
    std::vector<Mark> marks;
    const std::string project = editor_.ProjectFile();
    const std::string& page = editor_.FileName;
    // Only a saved page of an open project has includes and variables to build with.
    if (!project.empty() && !page.empty() && page.front() == '/' && isPage(page)) {
        check::CheckRequest request;
        request.projectFile = project;
        request.pages = {page};
        request.unsaved[page] = memo_.engine().store().text();
        request.cache = &cache_;
        request.environment = build::SystemBuildEnvironment();
        const bool trusted = build::TrustedProjects(WritablePath(build::kTrustedProjectsName)).Contains(project);
        request.allowOutside = [trusted](const std::string&) { return trusted; };
        const check::CheckResult result = check::CheckSite(request);
        const velora::memo::TextStore& store = memo_.engine().store();
        for (const check::Problem& p : result.problems) {
            if (p.file != page || p.line < 1)
                continue;
            const velora::memo::Pos start = PositionOfLineColumn(store, p.line, std::max(1, p.column));
            marks.push_back({start, markEnd(store, start), p.severity == check::Severity::Error,
                             QString::fromStdString(p.message + " [" + p.rule + "]")});
        }
    }
    marks_ = std::move(marks);
    update();
}

QString EditorCheck::HintAt(velora::memo::Pos p) const {
    QString hint;
    for (const Mark& m : marks_)
        if (p >= m.start && p < m.end)
            hint += (hint.isEmpty() ? QString() : QStringLiteral("\n")) + m.message;
    return hint;
}

bool EditorCheck::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget()) {
        if (event->type() == QEvent::Resize) {
            setGeometry(parentWidget()->rect());
        } else if (event->type() == QEvent::ToolTip && !marks_.empty()) {
            auto* help = static_cast<QHelpEvent*>(event);
            const QString hint = HintAt(memo_.positionAt(help->pos()));
            if (!hint.isEmpty()) {
                QToolTip::showText(help->globalPos(), hint, parentWidget());
                return true;
            }
        }
    }
    return false;
}

void EditorCheck::paintEvent(QPaintEvent*) {
    if (marks_.empty())
        return;
    QPainter g(this);
    g.setClipRect(QRect(memo_.textLeft(), 0, width(), height()));
    g.setRenderHint(QPainter::Antialiasing);
    const velora::memo::Pos length = memo_.engine().store().length();
    for (const Mark& m : marks_) {
        if (m.end > length)
            continue;
        const QPoint pa = memo_.pointAt(m.start);
        const QPoint pb = memo_.pointAt(m.end);
        if (pb.y() != pa.y() || pb.x() <= pa.x() || pa.y() > height())
            continue;
        g.setPen(QPen(m.error ? QColor(220, 0, 0) : QColor(230, 150, 0), 1));
        // Below the spelling marks' wave, so that both show on one word.
        const int y = pa.y() + memo_.lineHeight() - 1;
        QPainterPath wave(QPointF(pa.x(), y));
        bool up = true;
        for (int x = pa.x() + 2; x <= pb.x(); x += 2, up = !up)
            wave.lineTo(x, up ? y - 2 : y);
        g.drawPath(wave);
    }
}

}  // namespace vlr
