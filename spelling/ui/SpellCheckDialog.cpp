#include "spelling/ui/SpellCheckDialog.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlr::spelling {

TSpellCheckDialog::TSpellCheckDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Check Spelling"));
    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Not in dictionary:")), 0, 0, 1, 2);
    SentenceLabel = new QLabel;
    SentenceLabel->setTextFormat(Qt::RichText);
    SentenceLabel->setWordWrap(true);
    SentenceLabel->setFrameShape(QFrame::StyledPanel);
    SentenceLabel->setMinimumWidth(360);
    SentenceLabel->setMinimumHeight(48);
    grid->addWidget(SentenceLabel, 1, 0);
    auto* changeLabel = new QLabel(QStringLiteral("Change &to:"));
    grid->addWidget(changeLabel, 2, 0);
    ChangeToEdit = new QLineEdit;
    changeLabel->setBuddy(ChangeToEdit);
    grid->addWidget(ChangeToEdit, 3, 0);
    auto* listLabel = new QLabel(QStringLiteral("&Suggestions:"));
    grid->addWidget(listLabel, 4, 0);
    SuggestionList = new QListWidget;
    listLabel->setBuddy(SuggestionList);
    grid->addWidget(SuggestionList, 5, 0);

    auto* buttons = new QVBoxLayout;
    const auto button = [&](const char* text, SpellAction a) {
        auto* b = new QPushButton(QString::fromUtf8(text));
        buttons->addWidget(b);
        connect(b, &QPushButton::clicked, this, [this, a] { answer(a); });
        return b;
    };
    IgnoreButton = button("&Ignore", SpellAction::Ignore);
    IgnoreAllButton = button("I&gnore All", SpellAction::IgnoreAll);
    ChangeButton = button("&Change", SpellAction::Change);
    ChangeAllButton = button("Change A&ll", SpellAction::ChangeAll);
    AddButton = button("&Add to dictionary", SpellAction::Add);
    buttons->addStretch();
    OptionsButton = new QPushButton(QStringLiteral("&Options..."));
    buttons->addWidget(OptionsButton);
    connect(OptionsButton, &QPushButton::clicked, this, [this] {
        if (onOptions)
            onOptions();
    });
    CancelButton = button("Cancel", SpellAction::Cancel);
    grid->addLayout(buttons, 1, 1, 5, 1);

    ChangeButton->setDefault(true);
    connect(SuggestionList, &QListWidget::currentTextChanged, ChangeToEdit, &QLineEdit::setText);
    connect(SuggestionList, &QListWidget::itemDoubleClicked, this, [this] { answer(SpellAction::Change); });
    connect(ChangeToEdit, &QLineEdit::textChanged, this, [this](const QString& t) {
        ChangeButton->setEnabled(!t.isEmpty());
        ChangeAllButton->setEnabled(!t.isEmpty());
    });
}

void TSpellCheckDialog::Fill(SpellQuestion q) {
    q.Suggest();
    const QString before = QString::fromUtf8(q.sentence.substr(0, q.wordOffset)).toHtmlEscaped();
    const QString word = QString::fromUtf8(q.word).toHtmlEscaped();
    const QString after =
        QString::fromUtf8(q.sentence.size() > q.wordOffset + q.word.size() ? q.sentence.substr(q.wordOffset + q.word.size())
                                                                             : std::string())
            .toHtmlEscaped();
    SentenceLabel->setText(before + QStringLiteral("<b><font color=\"#c00000\">") + word + QStringLiteral("</font></b>") +
                           after);
    SuggestionList->clear();
    for (const std::string& s : q.suggestions)
        SuggestionList->addItem(QString::fromUtf8(s));
    if (SuggestionList->count() > 0) {
        SuggestionList->setCurrentRow(0);
    } else {
        ChangeToEdit->setText(word.isEmpty() ? QString() : QString::fromUtf8(q.word));
    }
    ChangeToEdit->setFocus();
}

SpellDecision TSpellCheckDialog::Ask(SpellQuestion q) {
    Fill(std::move(q));
    action_ = SpellAction::Cancel;
    exec();
    SpellDecision d;
    d.action = action_;
    d.replacement = ChangeToEdit->text().toStdString();
    return d;
}

void TSpellCheckDialog::answer(SpellAction a) {
    action_ = a;
    if (a == SpellAction::Cancel)
        reject();
    else
        accept();
}

}  // namespace vlr::spelling
