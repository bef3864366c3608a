// The suggestions dialog of the modal check: the word in its sentence, the
// replacement and up to 50 suggestions, and the six answers.
#pragma once

#include "spelling/engine/SpellCheck.h"

#include <QDialog>

#include <functional>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vlr::spelling {

class TSpellCheckDialog : public QDialog {
    Q_OBJECT
public:
    explicit TSpellCheckDialog(QWidget* parent = nullptr);
    // Shows the question modally and returns the answer (Cancel when closed).
    SpellDecision Ask(SpellQuestion q);
    // Fills the dialog without showing it (screenshots, tests).
    void Fill(SpellQuestion q);

    QLabel* SentenceLabel;
    QLineEdit* ChangeToEdit;
    QListWidget* SuggestionList;
    QPushButton* ChangeButton;
    QPushButton* ChangeAllButton;
    QPushButton* IgnoreButton;
    QPushButton* IgnoreAllButton;
    QPushButton* AddButton;
    QPushButton* CancelButton;
    QPushButton* OptionsButton;
    // Opens the spell checker's configuration (the Options button).
    std::function<void()> onOptions;

private:
    void answer(SpellAction a);
    SpellAction action_ = SpellAction::Cancel;
};

}  // namespace vlr::spelling
