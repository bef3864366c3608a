// Searching an editor window's document: find next and show all over the control's search
// engines, the search-highlight marks, and the control's find and replace dialog as the
// editor window uses it (its failures go to the window's messages).
#pragma once

#include "memo/widget/SearchDialogs.h"
#include "memo/widget/SearchMarks.h"
#include "memo/widget/SyntaxMemo.h"

namespace vlr {

class TFrmEditor;

// The control's search-highlight marks of the window's document.
class SearchMarks : public velora::memo::TSearchMarks {
    Q_OBJECT
public:
    explicit SearchMarks(velora::memo::TSyntaxMemo& memo) : TSearchMarks(memo) {}
};

// The control's find and replace dialog. Every search it runs becomes the control's search
// text and options of the window; "not found" and expression errors are the window's messages.
class TFindDialog : public velora::memo::TSearchDialog {
    Q_OBJECT
public:
    TFindDialog(TFrmEditor& editor, QWidget* parent);

protected:
    void searched(const std::string& text, unsigned options) override;
    void notFound(const std::string& text) override;
    void expressionError(const velora::memo::ERegExprError& error) override;

private:
    TFrmEditor& editor_;
};

}  // namespace vlr
