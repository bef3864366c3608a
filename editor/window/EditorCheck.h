// The page checked as the user types: a pause in typing builds the page from
// the unsaved text in memory, with the open project's variables and includes,
// and checks it (project/check/SiteCheck.h). The problems placed in this
// page get a wavy underline under their text (red for errors, amber for
// warnings), with the message as the hint under the mouse. Problems of
// include files are theirs, not this page's: they are not marked here.
#pragma once

#include "memo/engine/TextStore.h"
#include "memo/engine/Types.h"
#include "project/check/SiteCheck.h"

#include <QString>
#include <QTimer>
#include <QWidget>

#include <vector>

namespace velora::memo {
class TSyntaxMemo;
}

namespace vlr {

class TFrmEditor;

// The byte position in the document of a 1-based line and column (the
// column counted in characters, as the check and the build's map give it).
velora::memo::Pos PositionOfLineColumn(const velora::memo::TextStore& store, int line, int column);

class EditorCheck : public QWidget {
    Q_OBJECT
public:
    // How long typing must pause before the page is checked.
    static constexpr int kPauseMs = 600;

    struct Mark {
        velora::memo::Pos start;
        velora::memo::Pos end;
        bool error;
        QString message;  // "message [rule]"
    };

    explicit EditorCheck(TFrmEditor& editor);

    // Checks the page now (the pause's end; tests call it directly).
    void CheckNow();
    [[nodiscard]] const std::vector<Mark>& Marks() const { return marks_; }
    // The hint at a document position ("" when no mark is there).
    [[nodiscard]] QString HintAt(velora::memo::Pos p) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    TFrmEditor& editor_;
    velora::memo::TSyntaxMemo& memo_;
    QTimer pause_;
    std::vector<Mark> marks_;
    check::CheckCache cache_;
};

}  // namespace vlr
