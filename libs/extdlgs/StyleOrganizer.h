// The style organizer: creates, edits, deletes and reorders the user's named
// styles and writes them to "styles.dat" (whole or not at all) on OK.
//
// What it stores in the 21 texts of a style: S0 the name; S1 a note about
// the style (shown only here); S8 and S9 both the text-decoration value,
// since a style has one decoration whatever form it is inserted in; S17 and
// S19 are not edited here and keep what the file held (new styles leave them
// empty). The other texts are the CSS values named in StyleSheets.h, numbers
// and units kept apart.
#pragma once

#include "authoring/styles/StyleSheets.h"

#include <QDialog>

#include <array>
#include <string>
#include <vector>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace vlr::extdlgs {

using StyleTexts = std::array<std::string, authoring::kStyleTextCount>;

// The CSS declarations of the values that are set, for the sample.
[[nodiscard]] std::string SampleCss(const StyleTexts& style);

class TFrmStyleOrganizer : public QDialog {
    Q_OBJECT
public:
    // Edits the styles of `list`; OK writes them to `fileName`.
    TFrmStyleOrganizer(const authoring::TCSSList& list, std::string fileName, QWidget* parent = nullptr);

    [[nodiscard]] const std::vector<StyleTexts>& Styles() const { return styles_; }
    [[nodiscard]] int Current() const;
    void SelectStyle(int index);

private:
    struct Field {
        int index;
        QLineEdit* line = nullptr;
        QComboBox* combo = nullptr;
    };

    void buildEditor(QFormLayout* form);
    QLineEdit* addLine(int index, const char* name);
    QComboBox* addCombo(int index, const char* name, const QStringList& items);
    void addMeasure(QFormLayout* form, const char* label, int number, const char* name);
    void addColour(QFormLayout* form, const char* label, int index, const char* name);
    void showStyle(int index);
    void storeField(const Field& field);
    void updateSample();
    void newStyle();
    void deleteStyle();
    void moveStyle(int step);
    bool validate();
    void save();

    std::string fileName_;
    std::vector<StyleTexts> styles_;
    std::vector<Field> fields_;
    QListWidget* list_ = nullptr;
    QWidget* editor_ = nullptr;
    QLabel* sample_ = nullptr;
    bool loading_ = false;
};

}  // namespace vlr::extdlgs
