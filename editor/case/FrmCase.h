// The modal "Change Case" dialog: four radio buttons choosing a conversion,
// OK and Cancel.
#pragma once

#include "editor/case/CaseConversion.h"

#include <QDialog>

#include <optional>

class QPushButton;
class QRadioButton;

namespace vlr {

class TFrmCase : public QDialog {
    Q_OBJECT
public:
    explicit TFrmCase(QWidget* parent = nullptr);
    ~TFrmCase() override;

    // The selected conversion. Buttons are tested in the order Title, UPPER,
    // lower, tOGGLE and the first checked one wins.
    [[nodiscard]] CaseChoice Choice() const;
    void SetChoice(CaseChoice choice);

    // The choice after the dialog was closed with OK; nothing after Cancel,
    // Escape, closing the window or while it is still open.
    [[nodiscard]] std::optional<CaseChoice> Result() const;

    // Runs a fresh dialog modally and returns the choice made with OK. Under
    // logged prompts nothing is shown and the answer is Cancel.
    static std::optional<CaseChoice> Ask(QWidget* parent);

    QRadioButton* RadioButton1;  // "&lower case"
    QRadioButton* RadioButton2;  // "&UPPER CASE"
    QRadioButton* RadioButton3;  // "tO&GGLE cASE"
    QRadioButton* RadioButton4;  // "&Title Case"
    QPushButton* Button1;        // "&OK"
    QPushButton* Button2;        // "&Cancel"

protected:
    void showEvent(QShowEvent* event) override;
};

// The dialog while it exists, otherwise null.
extern TFrmCase* FrmCase;

}  // namespace vlr
