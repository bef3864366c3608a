#include "editor/case/FrmCase.h"

#include "platform/System.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <iostream>

namespace vlr {

TFrmCase* FrmCase = nullptr;

namespace {

QRadioButton* AddRadio(QWidget* owner, QVBoxLayout* layout, const char* name, const char* caption) {
    auto* button = new QRadioButton(QString::fromUtf8(caption), owner);
    button->setObjectName(QString::fromLatin1(name));
    layout->addWidget(button);
    return button;
}

}  // namespace

TFrmCase::TFrmCase(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmCase"));
    setWindowTitle(QStringLiteral("Change Case"));
    setModal(true);
    // A fixed dialog border: no resizing, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* choices = new QVBoxLayout;
    RadioButton1 = AddRadio(this, choices, "RadioButton1", "&lower case");
    RadioButton2 = AddRadio(this, choices, "RadioButton2", "&UPPER CASE");
    RadioButton3 = AddRadio(this, choices, "RadioButton3", "tO&GGLE cASE");
    RadioButton4 = AddRadio(this, choices, "RadioButton4", "&Title Case");
    RadioButton2->setChecked(true);
    layout->addLayout(choices);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    Button1 = new QPushButton(QStringLiteral("&OK"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setDefault(true);
    Button2 = new QPushButton(QStringLiteral("&Cancel"), this);
    Button2->setObjectName(QStringLiteral("Button2"));
    buttons->addWidget(Button1);
    buttons->addWidget(Button2);
    layout->addLayout(buttons);
    connect(Button1, &QPushButton::clicked, this, &QDialog::accept);
    connect(Button2, &QPushButton::clicked, this, &QDialog::reject);

    FrmCase = this;
}

TFrmCase::~TFrmCase() {
    if (FrmCase == this)
        FrmCase = nullptr;
}

CaseChoice TFrmCase::Choice() const {
    if (RadioButton4->isChecked())
        return CaseChoice::Title;
    if (RadioButton2->isChecked())
        return CaseChoice::Upper;
    if (RadioButton1->isChecked())
        return CaseChoice::Lower;
    if (RadioButton3->isChecked())
        return CaseChoice::Toggle;
    // The buttons are exclusive and one starts checked, so this is not reached;
    // falling back to the initial choice keeps the answer defined.
    return CaseChoice::Upper;
}

void TFrmCase::SetChoice(CaseChoice choice) {
    switch (choice) {
    case CaseChoice::Lower: RadioButton1->setChecked(true); break;
    case CaseChoice::Upper: RadioButton2->setChecked(true); break;
    case CaseChoice::Toggle: RadioButton3->setChecked(true); break;
    case CaseChoice::Title: RadioButton4->setChecked(true); break;
    }
}

std::optional<CaseChoice> TFrmCase::Result() const {
    if (isVisible() || result() != QDialog::Accepted)
        return std::nullopt;
    return Choice();
}

std::optional<CaseChoice> TFrmCase::Ask(QWidget* parent) {
    if (PromptsAreLogged()) {
        std::cerr << "[dialog] Change Case" << std::endl;
        return std::nullopt;
    }
    TFrmCase dialog(parent);
    dialog.exec();
    return dialog.Result();
}

void TFrmCase::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen the dialog appears on, not on its parent.
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

}  // namespace vlr
