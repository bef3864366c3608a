// The modal "Insert Style" dialog: how a chosen style is inserted (whole
// style element, style rule or style attribute), OK and Cancel.
#pragma once

#include "authoring/styles/StyleForms.h"

#include <QDialog>

#include <optional>

class QPushButton;
class QRadioButton;

namespace vlr {

class TFrmStylePick : public QDialog {
    Q_OBJECT
public:
    explicit TFrmStylePick(QWidget* parent = nullptr);
    ~TFrmStylePick() override;

    [[nodiscard]] authoring::StyleForm Form() const;
    void SetForm(authoring::StyleForm form);

    // Runs a fresh dialog, owned by the application and centred on the
    // screen, and returns the form chosen with OK. Under logged prompts
    // nothing is shown and the answer is Cancel.
    static std::optional<authoring::StyleForm> Ask();

    QRadioButton* RadioButton1;  // "Full Style Tag"
    QRadioButton* RadioButton2;  // "Style Definition"
    QRadioButton* RadioButton3;  // "Style Attribute"
    QPushButton* Button1;        // "&OK"
    QPushButton* Button2;        // "&Cancel"

protected:
    void showEvent(QShowEvent* event) override;
};

// The dialog while it is shown, otherwise null.
extern TFrmStylePick* FrmStylePick;

}  // namespace vlr
