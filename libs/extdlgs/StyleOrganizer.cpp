// The style organizer dialog.
#include "libs/extdlgs/StyleOrganizer.h"

#include "libs/extdlgs/DialogParts.h"
#include "platform/Prompter.h"

#include <QColorDialog>
#include <QComboBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include <set>

namespace vlr::extdlgs {
namespace {

constexpr const char* kCaption = "Style Organizer";

// Text indices (see StyleSheets.h).
enum : int {
    kName = 0, kNote = 1, kFamily = 2, kSize = 3, kLineHeight = 5, kFontStyle = 7, kDecoration = 8,
    kElementDecoration = 9, kWeight = 10, kIndent = 11, kMarginLeft = 13, kMarginRight = 15, kColour = 18,
    kBackground = 20,
};

const QStringList kUnits = {QString(), QStringLiteral("pt"), QStringLiteral("px"), QStringLiteral("em"),
                            QStringLiteral("%"), QStringLiteral("ex"), QStringLiteral("cm"), QStringLiteral("mm"),
                            QStringLiteral("in"), QStringLiteral("pc")};

QString Q(const std::string& s) { return QString::fromStdString(s); }

}  // namespace

std::string SampleCss(const StyleTexts& s) {
    const std::pair<const char*, std::string> declarations[] = {
        {"font-family", s[kFamily]},        {"font-size", s[kSize] + s[kSize + 1]},
        {"line-height", s[kLineHeight] + s[kLineHeight + 1]}, {"font-style", s[kFontStyle]},
        {"text-decoration", s[kDecoration]}, {"font-weight", s[kWeight]},
        {"text-indent", s[kIndent] + s[kIndent + 1]},         {"margin-left", s[kMarginLeft] + s[kMarginLeft + 1]},
        {"margin-right", s[kMarginRight] + s[kMarginRight + 1]}, {"color", s[kColour]},
        {"background-color", s[kBackground]},
    };
    std::string out;
    for (const auto& [property, value] : declarations) {
        if (value.empty())
            continue;
        if (!out.empty())
            out += "; ";
        out += std::string(property) + ": " + value;
    }
    return out;
}

TFrmStyleOrganizer::TFrmStyleOrganizer(const authoring::TCSSList& list, std::string fileName, QWidget* parent)
    : QDialog(parent), fileName_(std::move(fileName)) {
    setObjectName(QStringLiteral("FrmStyleOrganizer"));
    setWindowTitle(QString::fromLatin1(kCaption));
    for (int i = 0; i < list.Count(); ++i)
        styles_.push_back(list.Items(i)->S);

    auto* layout = new QVBoxLayout(this);
    auto* columns = new QHBoxLayout;
    layout->addLayout(columns, 1);

    auto* left = new QVBoxLayout;
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("styles"));
    list_->setMinimumWidth(170);
    left->addWidget(list_, 1);
    auto button = [this, left](const char* caption, const char* name) {
        auto* b = new QPushButton(QString::fromUtf8(caption), this);
        b->setObjectName(QLatin1String(name));
        left->addWidget(b);
        return b;
    };
    connect(button("&New", "newStyle"), &QPushButton::clicked, this, [this] { newStyle(); });
    connect(button("&Delete", "deleteStyle"), &QPushButton::clicked, this, [this] { deleteStyle(); });
    connect(button("Move &Up", "moveUp"), &QPushButton::clicked, this, [this] { moveStyle(-1); });
    connect(button("Move Do&wn", "moveDown"), &QPushButton::clicked, this, [this] { moveStyle(1); });
    columns->addLayout(left);

    auto* right = new QVBoxLayout;
    editor_ = new QWidget(this);
    auto* form = new QFormLayout(editor_);
    form->setContentsMargins(0, 0, 0, 0);
    buildEditor(form);
    right->addWidget(editor_);
    sample_ = new QLabel(this);
    sample_->setObjectName(QStringLiteral("sample"));
    sample_->setTextFormat(Qt::RichText);
    sample_->setMinimumHeight(90);
    sample_->setFrameShape(QFrame::StyledPanel);
    sample_->setAutoFillBackground(true);
    sample_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    sample_->setWordWrap(true);
    right->addWidget(new QLabel(QStringLiteral("Sample:"), this));
    right->addWidget(sample_, 1);
    columns->addLayout(right, 1);

    connect(AddOkCancel(this, layout), &QPushButton::clicked, this, [this] { save(); });

    for (const StyleTexts& s : styles_)
        list_->addItem(Q(s[kName]));
    connect(list_, &QListWidget::currentRowChanged, this, [this](int row) { showStyle(row); });
    if (!styles_.empty())
        list_->setCurrentRow(0);
    else
        showStyle(-1);
}

QLineEdit* TFrmStyleOrganizer::addLine(int index, const char* name) {
    auto* edit = new QLineEdit(editor_);
    edit->setObjectName(QLatin1String(name));
    fields_.push_back({index, edit, nullptr});
    const Field field = fields_.back();
    connect(edit, &QLineEdit::textChanged, this, [this, field] { storeField(field); });
    return edit;
}

QComboBox* TFrmStyleOrganizer::addCombo(int index, const char* name, const QStringList& items) {
    auto* box = new QComboBox(editor_);
    box->setObjectName(QLatin1String(name));
    box->setEditable(true);
    box->addItems(items);
    fields_.push_back({index, nullptr, box});
    const Field field = fields_.back();
    connect(box, &QComboBox::currentTextChanged, this, [this, field] { storeField(field); });
    return box;
}

void TFrmStyleOrganizer::addMeasure(QFormLayout* form, const char* label, int number, const char* name) {
    auto* row = new QHBoxLayout;
    QLineEdit* value = addLine(number, name);
    // A number, possibly signed or with a fraction; the unit is chosen beside it.
    value->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("-?[0-9]*\\.?[0-9]*")),
                                                        value));
    row->addWidget(value, 1);
    row->addWidget(addCombo(number + 1, (std::string(name) + "Unit").c_str(), kUnits));
    AddLayoutRow(form, label, row, value);
}

void TFrmStyleOrganizer::addColour(QFormLayout* form, const char* label, int index, const char* name) {
    auto* row = new QHBoxLayout;
    QLineEdit* value = addLine(index, name);
    value->setPlaceholderText(QStringLiteral("#RRGGBB or a colour name"));
    row->addWidget(value, 1);
    auto* pick = new QPushButton(QStringLiteral("..."), editor_);
    pick->setObjectName(QLatin1String(name) + QStringLiteral("Button"));
    pick->setToolTip(QStringLiteral("Choose the colour"));
    row->addWidget(pick);
    connect(pick, &QPushButton::clicked, this, [this, value] {
        const QColor initial(value->text());
        const QColor chosen = QColorDialog::getColor(initial.isValid() ? initial : QColor(Qt::black), this,
                                                     QStringLiteral("Select Color"));
        if (chosen.isValid())
            value->setText(chosen.name(QColor::HexRgb).toUpper());
    });
    AddLayoutRow(form, label, row, value);
}

void TFrmStyleOrganizer::buildEditor(QFormLayout* form) {
    form->addRow(QStringLiteral("&Name:"), addLine(kName, "name"));
    form->addRow(QStringLiteral("N&ote:"), addLine(kNote, "note"));
    auto* family = new QFontComboBox(editor_);
    family->setObjectName(QStringLiteral("fontFamily"));
    family->setEditable(true);
    family->setCurrentIndex(-1);
    fields_.push_back({kFamily, nullptr, family});
    const Field familyField = fields_.back();
    connect(family, &QComboBox::currentTextChanged, this, [this, familyField] { storeField(familyField); });
    form->addRow(QStringLiteral("Font &family:"), family);
    addMeasure(form, "Font &size:", kSize, "fontSize");
    form->addRow(QStringLiteral("Font s&tyle:"),
                 addCombo(kFontStyle, "fontStyle",
                          {QString(), QStringLiteral("normal"), QStringLiteral("italic"), QStringLiteral("oblique")}));
    QStringList weights = {QString(), QStringLiteral("normal"), QStringLiteral("bold"), QStringLiteral("bolder"),
                           QStringLiteral("lighter")};
    for (int w = 100; w <= 900; w += 100)
        weights << QString::number(w);
    form->addRow(QStringLiteral("Font &weight:"), addCombo(kWeight, "fontWeight", weights));
    form->addRow(QStringLiteral("&Decoration:"),
                 addCombo(kDecoration, "textDecoration",
                          {QString(), QStringLiteral("none"), QStringLiteral("underline"), QStringLiteral("overline"),
                           QStringLiteral("line-through")}));
    addMeasure(form, "&Line height:", kLineHeight, "lineHeight");
    addMeasure(form, "Text &indent:", kIndent, "textIndent");
    addMeasure(form, "&Left margin:", kMarginLeft, "marginLeft");
    addMeasure(form, "&Right margin:", kMarginRight, "marginRight");
    addColour(form, "&Colour:", kColour, "color");
    addColour(form, "&Background:", kBackground, "background");
}

int TFrmStyleOrganizer::Current() const { return list_->currentRow(); }

void TFrmStyleOrganizer::SelectStyle(int index) { list_->setCurrentRow(index); }

void TFrmStyleOrganizer::showStyle(int index) {
    const bool valid = index >= 0 && index < static_cast<int>(styles_.size());
    editor_->setEnabled(valid);
    loading_ = true;
    for (const Field& f : fields_) {
        const QString text = valid ? Q(styles_[static_cast<std::size_t>(index)][static_cast<std::size_t>(f.index)])
                                   : QString();
        if (f.line)
            f.line->setText(text);
        else
            f.combo->setCurrentText(text);
    }
    loading_ = false;
    updateSample();
}

void TFrmStyleOrganizer::storeField(const Field& field) {
    const int row = Current();
    if (loading_ || row < 0 || row >= static_cast<int>(styles_.size()))
        return;
    StyleTexts& s = styles_[static_cast<std::size_t>(row)];
    const std::string text = (field.line ? field.line->text() : field.combo->currentText()).toStdString();
    s[static_cast<std::size_t>(field.index)] = text;
    if (field.index == kDecoration)
        s[kElementDecoration] = text;
    if (field.index == kName)
        list_->item(row)->setText(Q(text));
    updateSample();
}

void TFrmStyleOrganizer::updateSample() {
    const int row = Current();
    if (row < 0 || row >= static_cast<int>(styles_.size())) {
        sample_->setText(QString());
        return;
    }
    const QString css = Q(SampleCss(styles_[static_cast<std::size_t>(row)])).toHtmlEscaped();
    sample_->setText(QStringLiteral("<p style=\"%1\">The quick brown fox jumps over the lazy dog.</p>").arg(css));
}

void TFrmStyleOrganizer::newStyle() {
    std::set<std::string> names;
    for (const StyleTexts& s : styles_)
        names.insert(s[kName]);
    std::string name = "New Style";
    for (int n = 2; names.count(name); ++n)
        name = "New Style " + std::to_string(n);
    StyleTexts s{};
    s[kName] = name;
    styles_.push_back(s);
    list_->addItem(Q(name));
    list_->setCurrentRow(static_cast<int>(styles_.size()) - 1);
    if (auto* edit = editor_->findChild<QLineEdit*>(QStringLiteral("name"))) {
        edit->setFocus();
        edit->selectAll();
    }
}

void TFrmStyleOrganizer::deleteStyle() {
    const int row = Current();
    if (row < 0 || row >= static_cast<int>(styles_.size()))
        return;
    styles_.erase(styles_.begin() + row);
    delete list_->takeItem(row);
    showStyle(Current());
}

void TFrmStyleOrganizer::moveStyle(int step) {
    const int row = Current();
    const int to = row + step;
    if (row < 0 || to < 0 || to >= static_cast<int>(styles_.size()))
        return;
    std::swap(styles_[static_cast<std::size_t>(row)], styles_[static_cast<std::size_t>(to)]);
    list_->item(row)->setText(Q(styles_[static_cast<std::size_t>(row)][kName]));
    list_->item(to)->setText(Q(styles_[static_cast<std::size_t>(to)][kName]));
    list_->setCurrentRow(to);
}

bool TFrmStyleOrganizer::validate() {
    std::set<std::string> names;
    for (std::size_t i = 0; i < styles_.size(); ++i) {
        const std::string& name = styles_[i][kName];
        if (QString::fromStdString(name).trimmed().isEmpty()) {
            list_->setCurrentRow(static_cast<int>(i));
            ShowMessage(MessageKind::Error, kCaption, "Every style needs a name.");
            return false;
        }
        // The menu finds a style by its name, so a second style of the same name could never be inserted.
        if (!names.insert(name).second) {
            list_->setCurrentRow(static_cast<int>(i));
            ShowMessage(MessageKind::Error, kCaption,
                        "There are two styles called \"" + name + "\". Please give each style its own name.");
            return false;
        }
    }
    return true;
}

void TFrmStyleOrganizer::save() {
    if (!validate())
        return;
    authoring::TCSSList list;
    for (const StyleTexts& s : styles_)
        list.Add()->S = s;
    const authoring::StylesError e = list.SaveToFile(fileName_);
    if (!e.ok()) {
        ShowMessage(MessageKind::Error, kCaption, e.message + ".\nYour styles were not saved.");
        return;
    }
    accept();
}

}  // namespace vlr::extdlgs
