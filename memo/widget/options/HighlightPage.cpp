// The Highlighting page.
#include "memo/widget/options/HighlightPage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <cstdlib>

#include "memo/engine/scheme/Appearance.h"
#include "memo/engine/scheme/HighlightDriver.h"
#include "memo/widget/SyntaxMemo.h"
#include "memo/widget/options/ColorBox.h"
#include "memo/widget/TextDecoding.h"

namespace velora::memo {

const int THighlightPage::kFontSizes[13] = {8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 30};

namespace {

constexpr int kStyleRole = Qt::UserRole;
// Clicks closer than this to the previous one (in pixels, each direction) are the same click.
constexpr int kClickSlack = 5;

}  // namespace

THighlightPage::THighlightPage(vlr::TSchemeTables& tables, QWidget* parent) : QWidget(parent), tables_(tables) {
  const vlr::TSchemeSettings& s = tables.settings;
  LanguageName = new QLabel(decodeBytes(s.name), this);
  QFont bold = LanguageName->font();
  bold.setBold(true);
  LanguageName->setFont(bold);

  StyleList = new QListWidget(this);
  for (const vlr::TEditableStyle& st : s.editableStyles) {
    auto* item = new QListWidgetItem(decodeBytes(st.name), StyleList);
    item->setData(kStyleRole, int(st.style));
  }
  StyleList->setMinimumWidth(150);
  auto* styles = new QGroupBox(QStringLiteral("&Styles"), this);
  (new QVBoxLayout(styles))->addWidget(StyleList);

  auto* look = new QGroupBox(QStringLiteral("Style"), this);
  Bold = new QCheckBox(QStringLiteral("&Bold"), look);
  Italic = new QCheckBox(QStringLiteral("&Italic"), look);
  Underline = new QCheckBox(QStringLiteral("&Underline"), look);
  auto* fontStyle = new QHBoxLayout;
  fontStyle->addWidget(Bold);
  fontStyle->addWidget(Italic);
  fontStyle->addWidget(Underline);
  fontStyle->addStretch(1);
  Foreground = new TColorBox(look);
  Background = new TColorBox(look);
  auto* colors = new QFormLayout;
  colors->addRow(QStringLiteral("&Foreground:"), Foreground);
  colors->addRow(QStringLiteral("Bac&kground:"), Background);
  auto* defaults = new QGroupBox(QStringLiteral("Use defaults for"), look);
  DefaultForeground = new QCheckBox(QStringLiteral("F&oreground"), defaults);
  DefaultBackground = new QCheckBox(QStringLiteral("B&ackground"), defaults);
  auto* defaultsBox = new QHBoxLayout(defaults);
  defaultsBox->addWidget(DefaultForeground);
  defaultsBox->addWidget(DefaultBackground);
  defaultsBox->addStretch(1);
  auto* lookBox = new QVBoxLayout(look);
  lookBox->addLayout(fontStyle);
  lookBox->addLayout(colors);
  lookBox->addWidget(defaults);

  auto* font = new QGroupBox(QStringLiteral("Font"), this);
  FontName = new QFontComboBox(font);
  FontName->setCurrentFont(QFont(QString::fromStdString(s.fontName)));
  FontSize = new QComboBox(font);
  for (int size : kFontSizes) FontSize->addItem(QString::number(size), size);
  if (int at = FontSize->findData(s.fontSize); at >= 0) FontSize->setCurrentIndex(at);
  else {
    FontSize->addItem(QString::number(s.fontSize), s.fontSize);
    FontSize->setCurrentIndex(FontSize->count() - 1);
  }
  auto* fontForm = new QFormLayout(font);
  fontForm->addRow(QStringLiteral("&Name:"), FontName);
  fontForm->addRow(QStringLiteral("Si&ze:"), FontSize);

  auto* editor = new QGroupBox(QStringLiteral("Editor"), this);
  CurrentLine = new TColorBox(editor);
  CurrentLine->setColor(s.currentLineColor.useDefault ? 0xF0F0F0 : s.currentLineColor.color);
  DefaultCurrentLine = new QCheckBox(QStringLiteral("Use &default"), editor);
  DefaultCurrentLine->setChecked(s.currentLineColor.useDefault);
  auto* currentLine = new QHBoxLayout;
  currentLine->addWidget(CurrentLine, 1);
  currentLine->addWidget(DefaultCurrentLine);
  auto* editorForm = new QFormLayout(editor);
  editorForm->addRow(QStringLiteral("&Current line:"), currentLine);
  // Light or dark styles: the styles above are those of the appearance in use.
  auto* appearance = new QGroupBox(QStringLiteral("Appearance"), this);
  Appearance = new QComboBox(appearance);
  Appearance->addItem(QStringLiteral("Light"), int(vlr::TAppearance::Light));
  Appearance->addItem(QStringLiteral("Dark"), int(vlr::TAppearance::Dark));
  Appearance->addItem(QStringLiteral("Follow the desktop"), int(vlr::TAppearance::FollowDesktop));
  Appearance->setCurrentIndex(Appearance->findData(int(vlr::AppearanceOf(s))));
  Appearance->setEnabled(vlr::HasDarkStyles(tables));
  (new QFormLayout(appearance))->addRow(QStringLiteral("&Colours:"), Appearance);

  auto* right = new QVBoxLayout;
  right->addWidget(look);
  right->addWidget(font);
  right->addWidget(editor);
  right->addWidget(appearance);
  right->addStretch(1);

  Preview = new TSyntaxMemo(this);
  Preview->setReadOnly(true);
  Preview->setMinimumHeight(150);
  Preview->engine().options &= ~std::uint32_t(smoShowGutter);
  // No line numbers in the preview; its caret's line shows the current line's colour.
  Preview->engine().editingAids = (Preview->engine().editingAids & ~std::uint32_t(smaLineNumbers)) | smaCurrentLine;
  Preview->setText(QByteArray::fromStdString(s.exampleText));
  driver_ = &vlr::AttachHighlighter(Preview->engine(), previewParser_, 1);
  Preview->viewport()->installEventFilter(this);
  auto* preview = new QGroupBox(QStringLiteral("Preview (click text to select its style)"), this);
  (new QVBoxLayout(preview))->addWidget(Preview);

  auto* language = new QHBoxLayout;
  language->addWidget(new QLabel(QStringLiteral("Language:"), this));
  language->addWidget(LanguageName);
  language->addStretch(1);

  auto* grid = new QGridLayout(this);
  grid->addLayout(language, 0, 0, 1, 2);
  grid->addWidget(styles, 1, 0);
  grid->addLayout(right, 1, 1);
  grid->addWidget(preview, 2, 0, 1, 2);
  grid->setColumnStretch(1, 1);
  grid->setRowStretch(2, 1);

  connect(StyleList, &QListWidget::currentRowChanged, this, [this] { showStyle(); });
  for (QCheckBox* box : {Bold, Italic, Underline, DefaultForeground, DefaultBackground})
    connect(box, &QCheckBox::toggled, this, [this] { styleEdited(); });
  connect(Foreground, &TColorBox::colorChosen, this, [this] {
    DefaultForeground->setChecked(false);
    styleEdited();
  });
  connect(Background, &TColorBox::colorChosen, this, [this] {
    DefaultBackground->setChecked(false);
    styleEdited();
  });
  connect(CurrentLine, &TColorBox::colorChosen, this, [this] {
    DefaultCurrentLine->setChecked(false);
    currentLineEdited();
  });
  connect(DefaultCurrentLine, &QCheckBox::toggled, this, [this] { currentLineEdited(); });
  // Each field writes only its own part: a font the system substitutes in the list keeps the
  // name the settings give until another font is chosen.
  connect(FontName, &QFontComboBox::currentFontChanged, this, [this](const QFont& f) {
    tables_.settings.fontName = f.family().toStdString();
    refreshPreview();
  });
  connect(Appearance, &QComboBox::currentIndexChanged, this, [this] {
    tables_.settings.appearance = std::uint8_t(Appearance->currentData().toInt());
    showStyle();
    refreshPreview();
  });
  connect(FontSize, &QComboBox::currentIndexChanged, this, [this] {
    tables_.settings.fontSize = FontSize->currentData().toInt();
    refreshPreview();
  });

  refreshPreview();
  if (StyleList->count() > 0) StyleList->setCurrentRow(0);
  else showStyle();
}

THighlightPage::~THighlightPage() {
  // The preview control outlives this page's members: it lets go of the private parser first.
  vlr::DetachHighlighter(Preview->engine(), 1);
}

int THighlightPage::selectedStyle() const {
  const QListWidgetItem* item = StyleList->currentItem();
  return item ? item->data(kStyleRole).toInt() : -1;
}

bool THighlightPage::selectStyle(int style) {
  for (int i = 0; i < StyleList->count(); ++i) {
    if (StyleList->item(i)->data(kStyleRole).toInt() == style) {
      StyleList->setCurrentRow(i);
      return true;
    }
  }
  return false;
}

void THighlightPage::showStyle() {
  const int style = selectedStyle();
  loading_ = true;
  for (QWidget* w : std::initializer_list<QWidget*>{Bold, Italic, Underline, Foreground, Background,
                                                    DefaultForeground, DefaultBackground})
    w->setEnabled(style >= 0);
  if (style >= 0) {
    const vlr::TSchemeEffect& fx = vlr::ActiveEffects(tables_)[std::size_t(style)];
    Bold->setChecked(fx.fontStyle & 1u);
    Italic->setChecked(fx.fontStyle & 2u);
    Underline->setChecked(fx.fontStyle & 4u);
    DefaultForeground->setChecked(!fx.present || fx.defaultForeground);
    DefaultBackground->setChecked(!fx.present || fx.defaultBackground);
    Foreground->setColor(fx.present ? fx.foreground : 0x000000);
    Background->setColor(fx.present ? fx.background : 0xFFFFFF);
  }
  loading_ = false;
}

void THighlightPage::styleEdited() {
  const int style = selectedStyle();
  if (loading_ || style < 0) return;
  vlr::TSchemeEffect& fx = vlr::ActiveEffects(tables_)[std::size_t(style)];
  fx.present = true;
  std::uint8_t bits = std::uint8_t(fx.fontStyle & ~7u);
  if (Bold->isChecked()) bits |= 1u;
  if (Italic->isChecked()) bits |= 2u;
  if (Underline->isChecked()) bits |= 4u;
  fx.fontStyle = bits;
  fx.foreground = Foreground->color();
  fx.background = Background->color();
  fx.defaultForeground = DefaultForeground->isChecked();
  fx.defaultBackground = DefaultBackground->isChecked();
  refreshPreview();
}

void THighlightPage::currentLineEdited() {
  vlr::TSchemeColor& c = tables_.settings.currentLineColor;
  c.useDefault = DefaultCurrentLine->isChecked();
  c.color = CurrentLine->color();
  refreshPreview();
}

void THighlightPage::refreshPreview() {
  previewParser_.SetTables(tables_);
  const vlr::TSchemeColor& line = tables_.settings.currentLineColor;
  Preview->engine().currentLineColor.reset();
  if (!line.useDefault) Preview->engine().currentLineColor = line.color;
  Preview->viewport()->update();
  Preview->setFontName(QString::fromStdString(tables_.settings.fontName));
  Preview->setFontSize(tables_.settings.fontSize);
  driver_->Restart();
}

void THighlightPage::previewClicked(QPoint at) {
  if (std::abs(at.x() - lastClick_.x()) <= kClickSlack && std::abs(at.y() - lastClick_.y()) <= kClickSlack) return;
  lastClick_ = at;
  const MemoEngine& e = Preview->engine();
  Pos p = Preview->positionAt(at);
  if (p >= e.store().length()) p = e.store().length() - 1;
  if (p < 0) return;
  const std::vector<std::uint8_t> values = e.tokens(p, p + 1);
  if (values.empty()) return;
  selectStyle(tables_.map[values[0]]);
}

bool THighlightPage::eventFilter(QObject* watched, QEvent* event) {
  if (watched == Preview->viewport() && event->type() == QEvent::MouseButtonPress) {
    const auto* m = static_cast<QMouseEvent*>(event);
    if (m->button() == Qt::LeftButton) previewClicked(m->position().toPoint());
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace velora::memo
