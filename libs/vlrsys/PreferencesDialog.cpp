// The preferences dialog.
#include "libs/vlrsys/PreferencesDialog.h"

#include "platform/Prompter.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>

namespace vlr::sys {
namespace {

QCheckBox* Check(const char* text, const char* key, bool checked, const char* tip) {
    auto* box = new QCheckBox(QString::fromUtf8(text));
    box->setObjectName(QLatin1String(key));
    box->setChecked(checked);
    box->setToolTip(QString::fromUtf8(tip));
    return box;
}

QString Utf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }

}  // namespace

TFrmPreferences::TFrmPreferences(std::string path, QWidget* parent) : QDialog(parent), path_(std::move(path)) {
    setObjectName(QStringLiteral("TFrmPreferences"));
    setWindowTitle(QStringLiteral("Preferences"));
    setModal(true);
    const PreferenceValues v = ReadPreferences(IniFile(path_));

    auto* environment = new QGroupBox(QStringLiteral("Environment"));
    lowerTags_ = Check("Write inserted HTML tags in &lower case", "LowerTags", v.lowerTags,
                       "Tags inserted from the menus and toolbars are written as <b> rather than <B>.");
    lastProject_ = Check("Reopen the last &project at start-up", "LastProject", v.lastProject,
                         "When Velora starts without files to open, the most recent project is opened again.");
    newEditor_ = Check("Open a new &document at start-up", "NewEditor", v.newEditor,
                       "When Velora starts without files to open, an untitled page is opened.");
    insImg_ = Check("Build image references from the project's &image prefix", "InsImg", v.insImg,
                    "When a project is open, inserted images refer to the project's image folder; "
                    "otherwise they use file:// addresses.");
    modernHtml_ = Check("Write &modern HTML", "ModernHTML", v.modernHtml,
                        "Bold, italic, strikethrough, alignment, font and style commands write today's markup "
                        "(<strong>, <em>, <s>, style attributes) instead of the older tags.");
    auto* envLayout = new QVBoxLayout(environment);
    envLayout->addWidget(lowerTags_);
    envLayout->addWidget(lastProject_);
    envLayout->addWidget(newEditor_);
    envLayout->addWidget(insImg_);
    envLayout->addWidget(modernHtml_);

    auto* editor = new QGroupBox(QStringLiteral("Editor windows"));
    fontName_ = new QFontComboBox;
    fontName_->setObjectName(QStringLiteral("FontNm"));
    fontName_->setEditable(true);
    // The stored name is shown as written, even when the font system knows the
    // family under another name, so OK never changes a name nobody touched.
    fontName_->setCurrentText(Utf8(v.fontName));
    fontSize_ = new QSpinBox;
    fontSize_->setObjectName(QStringLiteral("FontSz"));
    fontSize_->setRange(kMinFontSize, kMaxFontSize);
    fontSize_->setSuffix(QStringLiteral(" pt"));
    fontSize_->setValue(v.fontSize);
    maximize_ = Check("Open new editor windows &maximised", "Maximize", v.maximize,
                      "New editor windows fill the main window's document area.");
    sample_ = new QLabel(QStringLiteral("<p class=\"intro\">Hello, web!</p>"));
    sample_->setObjectName(QStringLiteral("sample"));
    sample_->setTextFormat(Qt::PlainText);
    sample_->setFrameShape(QFrame::StyledPanel);
    sample_->setFrameShadow(QFrame::Sunken);
    sample_->setAutoFillBackground(true);
    sample_->setBackgroundRole(QPalette::Base);
    sample_->setMargin(8);
    sample_->setMinimumHeight(56);

    auto* fontRow = new QHBoxLayout;
    fontRow->addWidget(fontName_, 1);
    auto* sizeLabel = new QLabel(QStringLiteral("&Size:"));
    sizeLabel->setBuddy(fontSize_);
    fontRow->addWidget(sizeLabel);
    fontRow->addWidget(fontSize_);
    auto* form = new QFormLayout(editor);
    auto* fontLabel = new QLabel(QStringLiteral("&Font:"));
    fontLabel->setBuddy(fontName_);
    form->addRow(fontLabel, fontRow);
    form->addRow(QStringLiteral("Sample:"), sample_);
    form->addRow(maximize_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("cancelButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &TFrmPreferences::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    connect(fontName_, &QComboBox::currentTextChanged, this, [this] { UpdateSample(); });
    connect(fontSize_, &QSpinBox::valueChanged, this, [this] { UpdateSample(); });
    UpdateSample();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(environment);
    layout->addWidget(editor);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setMinimumWidth(460);
}

PreferenceValues TFrmPreferences::values() const {
    PreferenceValues v;
    v.lowerTags = lowerTags_->isChecked();
    v.lastProject = lastProject_->isChecked();
    v.newEditor = newEditor_->isChecked();
    v.insImg = insImg_->isChecked();
    v.modernHtml = modernHtml_->isChecked();
    v.fontName = fontName_->currentText().trimmed().toStdString();
    if (v.fontName.empty())
        v.fontName = PreferenceValues().fontName;
    v.fontSize = fontSize_->value();
    v.maximize = maximize_->isChecked();
    return v;
}

void TFrmPreferences::accept() {
    IniFile file(path_);
    if (!WritePreferences(file, values())) {
        ShowMessage(MessageKind::Error, "Preferences", "The preferences could not be saved to " + path_ + ".");
        return;
    }
    QDialog::accept();
}

void TFrmPreferences::UpdateSample() {
    QFont font(fontName_->currentText());
    font.setPointSize(fontSize_->value());
    sample_->setFont(font);
}

}  // namespace vlr::sys
