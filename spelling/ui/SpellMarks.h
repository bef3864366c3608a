// Background spell checking of a control: misspelt words of the lines on
// screen get a wavy underline. Typing only flags the records it touches
// (record flag bit 3); the words are checked later in idle slices run through
// the control's messages 0x1634 (line limit) and 0x1635 (one step), each slice
// bounded in time. Results are kept per line content, so scrolling back and
// undoing cost nothing.
#pragma once

#include "memo/widget/SyntaxMemo.h"
#include "spelling/engine/SpellWords.h"

#include <QTimer>
#include <QWidget>

#include <cstdint>
#include <unordered_map>
#include <utility>
#include <vector>

namespace vlr::spelling {

class Speller;

class TSpellMarks : public QWidget {
    Q_OBJECT
public:
    TSpellMarks(velora::memo::TSyntaxMemo& memo, Speller& speller);
    ~TSpellMarks() override;

    // Longest a slice works, and the lines it checks at most (sent as 0x1634).
    static constexpr std::int64_t kSliceMicros = 4000;
    static constexpr int kSliceLines = 200;

    // The misspelt words of the visible lines checked so far, in document order.
    std::vector<std::pair<velora::memo::Pos, velora::memo::Pos>> Marks() const;
    // The marked word at a document position (found() false when none).
    FoundWord MarkedWordAt(velora::memo::Pos p) const;
    // One slice (the 0x1635 step); true while visible lines still wait.
    bool Step();
    // Runs slices until no visible line waits (tests).
    void Settle();
    // The longest slice so far, in microseconds.
    std::int64_t LongestSliceMicros() const { return longest_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    using Offsets = std::vector<std::pair<std::uint16_t, std::uint16_t>>;
    struct Visible {
        velora::memo::RecordRef ref;
        velora::memo::Pos start;
    };
    std::vector<Visible> VisibleRecords() const;
    std::uint64_t KeyOf(const velora::memo::LineRecord& rec) const;
    bool Ready(const velora::memo::LineRecord& rec) const;
    // Flags the visible records without a result and schedules a slice.
    void FlagVisible();
    void Schedule();
    void SyncGeneration() const;

    velora::memo::TSyntaxMemo& memo_;
    Speller& speller_;
    QTimer timer_;
    mutable std::unordered_map<std::uint64_t, Offsets> cache_;
    mutable std::uint64_t generation_ = 0;
    std::int64_t longest_ = 0;
};

}  // namespace vlr::spelling
