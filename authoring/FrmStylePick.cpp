// The "Insert Style" dialog.
#include "authoring/FrmStylePick.h"

#include "platform/System.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

#include <iostream>

namespace vlr {

TFrmStylePick* FrmStylePick = nullptr;

namespace {

QRadioButton* AddRadio(QWidget* owner, QVBoxLayout* layout, const char* name, const char* caption) {
    auto* button = new QRadioButton(QString::fromUtf8(caption), owner);
    button->setObjectName(QString::fromLatin1(name));
    layout->addWidget(button);
    return button;
}

}  // namespace

TFrmStylePick::TFrmStylePick(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("FrmStylePick"));
    setWindowTitle(QStringLiteral("Insert Style"));
    setModal(true);
    // A fixed dialog border: no resizing, no minimise or maximise.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    auto* choices = new QVBoxLayout;
    RadioButton1 = AddRadio(this, choices, "RadioButton1", "Full Style Tag");
    RadioButton2 = AddRadio(this, choices, "RadioButton2", "Style Definition");
    RadioButton3 = AddRadio(this, choices, "RadioButton3", "Style Attribute");
    RadioButton1->setChecked(true);
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
}

TFrmStylePick::~TFrmStylePick() {
    if (FrmStylePick == this)
        FrmStylePick = nullptr;
}

authoring::StyleForm TFrmStylePick::Form() const {
    if (RadioButton3->isChecked())
        return authoring::StyleForm::StyleAttribute;
    if (RadioButton2->isChecked())
        return authoring::StyleForm::StyleDefinition;
    return authoring::StyleForm::FullStyleTag;
}

void TFrmStylePick::SetForm(authoring::StyleForm form) {
    switch (form) {
    case authoring::StyleForm::FullStyleTag: RadioButton1->setChecked(true); break;
    case authoring::StyleForm::StyleDefinition: RadioButton2->setChecked(true); break;
    case authoring::StyleForm::StyleAttribute: RadioButton3->setChecked(true); break;
    }
}

std::optional<authoring::StyleForm> TFrmStylePick::Ask() {
    if (PromptsAreLogged()) {
        std::cerr << "[dialog] Insert Style" << std::endl;
        return std::nullopt;
    }
    TFrmStylePick dialog;
    FrmStylePick = &dialog;
    const bool ok = dialog.exec() == QDialog::Accepted;
    FrmStylePick = nullptr;
    if (!ok)
        return std::nullopt;
    return dialog.Form();
}

void TFrmStylePick::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    // Centred on the screen, not on a window.
    QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    if (screen) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

}  // namespace vlr
