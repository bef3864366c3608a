#include "spelling/ui/SpellMarks.h"

#include "memo/engine/Messages.h"
#include "spelling/ui/Speller.h"

#include <QEvent>
#include <QPainter>
#include <QPainterPath>

#include <algorithm>
#include <chrono>

namespace vlr::spelling {

using velora::memo::LineRecord;
using velora::memo::Pos;
using velora::memo::RecordRef;
using velora::memo::TextStore;

namespace {
constexpr std::size_t kCacheLimit = 100000;
}

TSpellMarks::TSpellMarks(velora::memo::TSyntaxMemo& memo, Speller& speller)
    : QWidget(memo.viewport()), memo_(memo), speller_(speller) {
    setObjectName(QStringLiteral("SpellMarks"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(memo.viewport()->rect());
    memo.viewport()->installEventFilter(this);
    // A reader at a marked word hears that it is misspelt.
    memo.addMarkDescriber(this, [this](velora::memo::Pos p) {
        const FoundWord w = MarkedWordAt(p);
        return w.found() ? QStringLiteral("Misspelt word: %1").arg(QString::fromStdString(w.text)) : QString();
    });
    timer_.setSingleShot(true);
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, [this] {
        velora::memo::MemoEngine& e = memo_.engine();
        e.perform(velora::memo::msg::kSpellLineLimit, 0, kSliceLines + 1);
        if (e.perform(velora::memo::msg::kSpellStep))
            Schedule();
    });
    memo.engine().onSpellStep = [this] { return std::intptr_t(Step() ? 1 : 0); };
    // Typing only flags; the checking waits for the idle slices.
    connect(&memo, &velora::memo::TSyntaxMemo::OnTextChange, this, [this] { FlagVisible(); });
    show();
    FlagVisible();
}

TSpellMarks::~TSpellMarks() { memo_.engine().onSpellStep = nullptr; }

bool TSpellMarks::eventFilter(QObject* watched, QEvent* event) {
    if (watched == parentWidget()) {
        if (event->type() == QEvent::Resize)
            setGeometry(parentWidget()->rect());
        else if (event->type() == QEvent::Paint)
            FlagVisible();  // scrolled or repainted: lines new on screen wait for a slice
    }
    return false;
}

void TSpellMarks::SyncGeneration() const {
    if (generation_ != speller_.Generation()) {
        cache_.clear();
        generation_ = speller_.Generation();
    }
}

std::vector<TSpellMarks::Visible> TSpellMarks::VisibleRecords() const {
    std::vector<Visible> out;
    const TextStore& s = memo_.engine().store();
    const velora::memo::LineNo first = memo_.engine().firstVisibleLine();
    const velora::memo::LineNo last = std::min<velora::memo::LineNo>(
        s.lineCount() - 1, first + memo_.viewport()->height() / std::max(1, memo_.lineHeight()) + 1);
    const Pos to = s.lineEnd(last);
    const velora::memo::Location loc = s.locate(s.lineStart(first));
    RecordRef ref = loc.ref;
    Pos start = loc.recordStart;
    for (;;) {
        out.push_back({ref, start});
        start += Pos(s.record(ref).text.size());
        if (start > to || !s.next(ref))
            break;
    }
    return out;
}

std::uint64_t TSpellMarks::KeyOf(const LineRecord& rec) const {
    std::uint64_t h = 1469598103934665603ull;
    const auto mix = [&h](unsigned char c) {
        h ^= c;
        h *= 1099511628211ull;
    };
    for (char c : rec.text)
        mix(static_cast<unsigned char>(c));
    mix(0xff);
    if (ProseScanner(memo_.engine()))
        for (std::uint8_t t : rec.tokens)
            mix(t);
    return h;
}

bool TSpellMarks::Ready(const LineRecord& rec) const {
    // With a scheme the words wait for the record's token values.
    return !ProseScanner(memo_.engine()) || rec.tokens.size() == rec.text.size();
}

void TSpellMarks::FlagVisible() {
    if (!speller_.Options().background)
        return;
    SyncGeneration();
    TextStore& s = memo_.engine().store();
    bool waiting = false;
    for (const Visible& v : VisibleRecords()) {
        LineRecord& rec = s.record(v.ref);
        if (!cache_.count(KeyOf(rec))) {
            rec.flags |= velora::memo::kRecSpellPending;
            waiting = true;
        }
    }
    if (waiting)
        Schedule();
}

void TSpellMarks::Schedule() {
    if (!timer_.isActive())
        timer_.start();
}

bool TSpellMarks::Step() {
    using Clock = std::chrono::steady_clock;
    const auto begin = Clock::now();
    if (!speller_.Options().background)
        return false;
    SyncGeneration();
    SpellDictionary* dict = nullptr;
    try {
        dict = &speller_.Dictionary();
    } catch (const ESpellError&) {
        return false;  // no dictionary: nothing is marked; the modal check reports it
    }
    const SpellOptions& options = speller_.Options();
    const velora::memo::TokenScanner* scanner = ProseScanner(memo_.engine());
    TextStore& s = memo_.engine().store();
    const std::int64_t limit = memo_.engine().spellLineLimit > 0 ? memo_.engine().spellLineLimit : kSliceLines;
    std::int64_t lines = 0;
    bool waiting = false;
    bool changed = false;
    for (const Visible& v : VisibleRecords()) {
        LineRecord& rec = s.record(v.ref);
        if (!(rec.flags & velora::memo::kRecSpellPending))
            continue;
        if (!Ready(rec) || lines >= limit ||
            std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - begin).count() > kSliceMicros) {
            waiting = true;
            continue;
        }
        Offsets bad;
        const bool tok = rec.tokens.size() == rec.text.size();
        ForEachWord(rec.text, tok ? rec.tokens.data() : nullptr, tok ? scanner : nullptr, options,
                    [&](std::size_t off, std::size_t len) {
                        if (!dict->Check(std::string_view(rec.text).substr(off, len)))
                            bad.emplace_back(std::uint16_t(off), std::uint16_t(len));
                    });
        if (cache_.size() > kCacheLimit)
            cache_.clear();
        cache_[KeyOf(rec)] = std::move(bad);
        rec.flags &= std::uint16_t(~velora::memo::kRecSpellPending);
        ++lines;
        changed = true;
    }
    if (changed)
        update();
    longest_ = std::max<std::int64_t>(
        longest_, std::chrono::duration_cast<std::chrono::microseconds>(Clock::now() - begin).count());
    return waiting;
}

void TSpellMarks::Settle() {
    FlagVisible();
    for (int i = 0; i < 1000 && Step(); ++i) {
    }
    timer_.stop();
}

std::vector<std::pair<Pos, Pos>> TSpellMarks::Marks() const {
    std::vector<std::pair<Pos, Pos>> out;
    if (!speller_.Options().background)
        return out;
    SyncGeneration();
    const TextStore& s = memo_.engine().store();
    for (const Visible& v : VisibleRecords()) {
        const LineRecord& rec = s.record(v.ref);
        const auto it = cache_.find(KeyOf(rec));
        if (it == cache_.end())
            continue;
        for (const auto& [off, len] : it->second)
            out.emplace_back(v.start + off, v.start + off + len);
    }
    return out;
}

FoundWord TSpellMarks::MarkedWordAt(Pos p) const {
    for (const auto& [a, b] : Marks())
        if (p >= a && p <= b) {
            FoundWord w;
            w.start = a;
            w.end = b;
            w.text = memo_.engine().store().text(a, b);
            return w;
        }
    return {};
}

void TSpellMarks::paintEvent(QPaintEvent*) {
    const auto marks = Marks();
    if (marks.empty())
        return;
    QPainter g(this);
    g.setClipRect(QRect(memo_.textLeft(), 0, width(), height()));
    g.setRenderHint(QPainter::Antialiasing);
    g.setPen(QPen(QColor(220, 0, 0), 1));
    for (const auto& [a, b] : marks) {
        const QPoint pa = memo_.pointAt(a);
        const QPoint pb = memo_.pointAt(b);
        if (pb.y() != pa.y() || pb.x() <= pa.x())
            continue;
        const int y = pa.y() + memo_.lineHeight() - 2;
        QPainterPath wave(QPointF(pa.x(), y));
        bool up = true;
        for (int x = pa.x() + 2; x <= pb.x(); x += 2, up = !up)
            wave.lineTo(x, up ? y - 2 : y);
        g.drawPath(wave);
    }
}

}  // namespace vlr::spelling
