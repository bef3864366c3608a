// Searching an editor window's document: the marks of "Show All" drawn over
// the control, and the control's Find and Replace dialog.
#pragma once

#include "memo/widget/SyntaxMemo.h"

#include <QDialog>
#include <QWidget>

#include <utility>
#include <vector>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace vlr {

class TFrmEditor;

// The search-highlight marks: ranges of the document drawn with a highlight
// over the control's text. They are dropped when the text changes.
class SearchMarks : public QWidget {
    Q_OBJECT
public:
    explicit SearchMarks(velora::memo::TSyntaxMemo& memo);

    void add(velora::memo::Pos start, velora::memo::Pos end);
    void clear();
    const std::vector<std::pair<velora::memo::Pos, velora::memo::Pos>>& ranges() const { return ranges_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    velora::memo::TSyntaxMemo& memo_;
    std::vector<std::pair<velora::memo::Pos, velora::memo::Pos>> ranges_;  // in document order
};

// The control's find dialog; in replace mode it also replaces. It searches
// from the caret with the options chosen in it plus those it was opened with,
// and records the text and options as the control's search text.
class TFindDialog : public QDialog {
    Q_OBJECT
public:
    TFindDialog(TFrmEditor& editor, QWidget* parent);

    void prepare(bool replace, unsigned options, const QString& text);
    // The buttons' actions; each returns whether a match was found.
    bool findNext();
    bool replace();
    int replaceAll();

    QLineEdit* FindText;
    QLineEdit* ReplaceText;
    QCheckBox* MatchCase;
    QCheckBox* WholeWord;
    QCheckBox* Backwards;
    QPushButton* FindButton;
    QPushButton* ReplaceButton;
    QPushButton* ReplaceAllButton;

private:
    unsigned options() const;
    bool selectionMatches() const;

    TFrmEditor& editor_;
    QWidget* replaceLabel_ = nullptr;
    unsigned extraOptions_ = 0;
};

}  // namespace vlr
