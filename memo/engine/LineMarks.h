// The control's mark lists, each kept on its lines through edits, undo and redo by the control's
// MarkTracker:
//   TCustomBookmarks   numbered bookmarks (positions); the control's ten, or an owner's own set;
//   TLineMarks         marks on whole lines, each with a kind, a colour and a hint text, drawn
//                      in the gutter (the owner may draw them itself through OnDrawMark);
//   TLineTrackManager  tracked lines: numbers that follow a line wherever edits move it.
// A bookmark whose line is deleted moves to the place of the deletion; a line mark or a tracked
// line is released (OnMarkFree, OnTrackFree), and comes back (OnMarkChange, OnTrackAdd) when undo
// restores its line. Events raised by an edit come after the edit is complete.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "memo/engine/MarkTracker.h"
#include "memo/engine/Types.h"

namespace velora::memo {

class TextStore;

class TCustomBookmarks final : private MarkClient {
 public:
  // `count` bookmarks, numbered 0 .. count - 1.
  TCustomBookmarks(MarkTracker& tracker, const TextStore& store, int count);
  ~TCustomBookmarks() override;
  TCustomBookmarks(const TCustomBookmarks&) = delete;
  TCustomBookmarks& operator=(const TCustomBookmarks&) = delete;

  [[nodiscard]] int count() const noexcept { return count_; }
  // An index outside 0 .. count - 1 raises ESyntaxMemo "Bookmark index range error".
  void set(int index, Pos p);  // OnBookmarkSet
  void clear(int index);       // OnBookmarkClear, when it was set
  [[nodiscard]] std::optional<Pos> get(int index) const;
  // The bookmarks in [from, to) as (index, position), in the order of their positions.
  [[nodiscard]] std::vector<std::pair<int, Pos>> between(Pos from, Pos to) const;

  // Events for the widget that shows these marks (it raises them as the control's own signals):
  // the engine has no Qt, so its events are plain callbacks, like MemoEngine's.
  std::function<void(int)> onBookmarkSet, onBookmarkClear;

 private:
  void check(int index) const;
  [[nodiscard]] bool releasedWithLine() const noexcept override { return false; }
  void anchorReleased(int key) override;  // only when the whole document goes
  void anchorRevived(int) override {}
  void anchorForgotten(int) override {}

  MarkTracker& tracker_;
  const TextStore& store_;
  int count_;
};

// One line mark. `kind` and `data` are the owner's; `color` is what the control draws it in.
struct LineMark {
  int id = 0;
  int kind = 0;
  Color color = rgb(0, 128, 0);
  std::string hint;
  std::intptr_t data = 0;
};

class TLineMarks final : private MarkClient {
 public:
  TLineMarks(MarkTracker& tracker, const TextStore& store);
  ~TLineMarks() override;
  TLineMarks(const TLineMarks&) = delete;
  TLineMarks& operator=(const TLineMarks&) = delete;

  // Adds a mark on a zero-based line (clamped to the document); returns its id (never 0).
  int add(LineNo line, int kind = 0, Color color = rgb(0, 128, 0), std::string hint = {}, std::intptr_t data = 0);
  // Removes a mark (OnMarkFree); false when there is none with that id.
  bool remove(int id);
  // Removes every mark (OnMarkFree for each), or every mark of one kind.
  void clear();
  void clearKind(int kind);
  // Moves a mark to another line, or changes its look (OnMarkChange).
  bool moveTo(int id, LineNo line);
  bool update(const LineMark& mark);
  [[nodiscard]] const LineMark* find(int id) const;
  [[nodiscard]] std::optional<LineNo> lineOf(int id) const;
  // The marks on the lines [first, last], as (line, mark) ordered by line.
  [[nodiscard]] std::vector<std::pair<LineNo, const LineMark*>> onLines(LineNo first, LineNo last) const;
  [[nodiscard]] std::size_t count() const noexcept { return live_.size(); }

  // OnMarkChange and OnMarkFree for the widget, which raises them as signals (the engine has no Qt).
  std::function<void(const LineMark&)> onMarkChange, onMarkFree;

 private:
  [[nodiscard]] bool releasedWithLine() const noexcept override { return true; }
  void anchorReleased(int key) override;
  void anchorRevived(int key) override;
  void anchorForgotten(int key) override { parked_.erase(key); }
  void anchorMerged(int key) override;
  void raiseChange(int id);

  MarkTracker& tracker_;
  const TextStore& store_;
  std::map<int, LineMark> live_;
  std::map<int, LineMark> parked_;  // released by an edit; undo may bring them back
  int nextId_ = 1;
};

class TLineTrackManager final : private MarkClient {
 public:
  TLineTrackManager(MarkTracker& tracker, const TextStore& store);
  ~TLineTrackManager() override;
  TLineTrackManager(const TLineTrackManager&) = delete;
  TLineTrackManager& operator=(const TLineTrackManager&) = delete;

  // Starts tracking a zero-based line (clamped); returns the TrackID (never 0). OnTrackAdd.
  int add(LineNo line);
  // Stops tracking (OnTrackFree); false when the id is not tracked.
  bool free(int id);
  void clear();
  // The line the track is on now, or none when its line was deleted.
  [[nodiscard]] std::optional<LineNo> lineOf(int id) const;
  [[nodiscard]] std::vector<int> ids() const;

  // OnTrackAdd and OnTrackFree for the widget, which raises them as signals (the engine has no Qt).
  std::function<void(int)> onTrackAdd, onTrackFree;

 private:
  [[nodiscard]] bool releasedWithLine() const noexcept override { return true; }
  void anchorReleased(int key) override;
  void anchorRevived(int key) override;
  void anchorForgotten(int) override {}

  MarkTracker& tracker_;
  const TextStore& store_;
  std::vector<int> live_;
  int nextId_ = 1;
};

}  // namespace velora::memo
