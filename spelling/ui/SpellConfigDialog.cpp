#include "spelling/ui/SpellConfigDialog.h"

#include "platform/Prompter.h"
#include "spelling/ui/Speller.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace vlr::spelling {

TSpellConfigDialog::TSpellConfigDialog(Speller& speller, QWidget* parent) : QDialog(parent), speller_(speller) {
    setWindowTitle(QStringLiteral("Spelling Options"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    LanguageBox = new QComboBox;
    for (const std::string& l : InstalledLanguages(speller.DictionaryFolder()))
        LanguageBox->addItem(QString::fromStdString(l));
    const int at = LanguageBox->findText(QString::fromStdString(speller.Options().language));
    if (at >= 0)
        LanguageBox->setCurrentIndex(at);
    form->addRow(QStringLiteral("&Main dictionary:"), LanguageBox);
    layout->addLayout(form);

    auto* wordsLabel = new QLabel(QStringLiteral("&User dictionary (double-click a word to edit it):"));
    layout->addWidget(wordsLabel);
    auto* words = new QHBoxLayout;
    UserWordList = new QListWidget;
    wordsLabel->setBuddy(UserWordList);
    try {
        for (const std::string& w : speller.Dictionary().UserWords()) {
            auto* item = new QListWidgetItem(QString::fromUtf8(w));
            item->setFlags(item->flags() | Qt::ItemIsEditable);
            UserWordList->addItem(item);
        }
    } catch (const ESpellError&) {
        // Without a main dictionary the user words cannot be read here; the
        // language can still be changed.
        UserWordList->setEnabled(false);
    }
    words->addWidget(UserWordList);
    RemoveButton = new QPushButton(QStringLiteral("&Remove"));
    connect(RemoveButton, &QPushButton::clicked, this, [this] { delete UserWordList->currentItem(); });
    auto* side = new QVBoxLayout;
    side->addWidget(RemoveButton);
    side->addStretch();
    words->addLayout(side);
    layout->addLayout(words);

    const SpellOptions& o = speller.Options();
    BackgroundCheck = new QCheckBox(QStringLiteral("Check spelling as you &type"));
    BackgroundCheck->setChecked(o.background);
    CapitalsCheck = new QCheckBox(QStringLiteral("Skip words in &capitals"));
    CapitalsCheck->setChecked(o.skipCapitals);
    DigitsCheck = new QCheckBox(QStringLiteral("Skip words with &digits"));
    DigitsCheck->setChecked(o.skipDigits);
    for (QCheckBox* c : {BackgroundCheck, CapitalsCheck, DigitsCheck})
        layout->addWidget(c);

    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(box, &QDialogButtonBox::accepted, this, [this] {
        if (Apply())
            accept();
    });
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box);
}

bool TSpellConfigDialog::Apply() {
    SpellOptions o = speller_.Options();
    if (LanguageBox->currentIndex() >= 0)
        o.language = LanguageBox->currentText().toStdString();
    o.background = BackgroundCheck->isChecked();
    o.skipCapitals = CapitalsCheck->isChecked();
    o.skipDigits = DigitsCheck->isChecked();
    try {
        std::vector<std::string> words;
        for (int i = 0; i < UserWordList->count(); ++i) {
            const std::string w = UserWordList->item(i)->text().trimmed().toStdString();
            if (!w.empty())
                words.push_back(w);
        }
        if (UserWordList->isEnabled())
            speller_.Dictionary().SetUserWords(words);
        speller_.SetOptions(o);
    } catch (const ESpellError& e) {
        ShowMessage(MessageKind::Error, "", e.what());
        return false;
    }
    return true;
}

}  // namespace vlr::spelling
