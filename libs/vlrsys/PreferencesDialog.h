// TFrmPreferences: the preferences dialog. It shows the keys of
// "preferences.dat" that the user edits and writes them when OK is pressed.
#pragma once

#include "libs/vlrsys/PreferenceValues.h"

#include <QDialog>

#include <string>

class QCheckBox;
class QFontComboBox;
class QLabel;
class QSpinBox;

namespace vlr::sys {

// The controls carry the key names as object names ("LowerTags", "FontNm",
// ...), and the OK and Cancel buttons are named "okButton" and "cancelButton".
class TFrmPreferences : public QDialog {
    Q_OBJECT
public:
    // Reads the values to show from the file at path.
    explicit TFrmPreferences(std::string path, QWidget* parent = nullptr);

    // The values the controls show now.
    PreferenceValues values() const;

    // Writes the values; when that fails the user is told and the dialog stays
    // open, so the changes are not lost silently.
    void accept() override;

private:
    void UpdateSample();

    std::string path_;
    QCheckBox* lowerTags_ = nullptr;
    QCheckBox* lastProject_ = nullptr;
    QCheckBox* newEditor_ = nullptr;
    QCheckBox* insImg_ = nullptr;
    QCheckBox* modernHtml_ = nullptr;
    QFontComboBox* fontName_ = nullptr;
    QSpinBox* fontSize_ = nullptr;
    QCheckBox* maximize_ = nullptr;
    QLabel* sample_ = nullptr;
};

}  // namespace vlr::sys
