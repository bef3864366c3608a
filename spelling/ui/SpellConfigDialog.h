// The spell checker's configuration: the main dictionary's language, the
// user's words (edit, remove) and the switches.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QListWidget;
class QPushButton;

namespace vlr::spelling {

class Speller;

class TSpellConfigDialog : public QDialog {
    Q_OBJECT
public:
    TSpellConfigDialog(Speller& speller, QWidget* parent = nullptr);

    QComboBox* LanguageBox;
    QListWidget* UserWordList;
    QPushButton* RemoveButton;
    QCheckBox* BackgroundCheck;
    QCheckBox* CapitalsCheck;
    QCheckBox* DigitsCheck;

    // Stores what the dialog shows (OK); an error is shown and the dialog stays open.
    bool Apply();

private:
    Speller& speller_;
};

}  // namespace vlr::spelling
