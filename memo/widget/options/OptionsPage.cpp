// The Options page.
#include "memo/widget/options/OptionsPage.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <optional>

#include "memo/engine/Options.h"
#include "memo/engine/keys/TabStops.h"

namespace velora::memo {

namespace {

// Widest default tab stop taken (the width must fit the control's column arithmetic).
constexpr long long kMaxTabWidth = 1024;

QSpinBox* Spin(QWidget* parent, int lo, int hi, int value) {
  auto* s = new QSpinBox(parent);
  s->setRange(lo, hi);
  s->setValue(value);
  s->setMinimumWidth(70);
  return s;
}

// A whole decimal number, or nothing.
std::optional<long long> WholeNumber(const QString& text) {
  bool ok = false;
  const long long v = text.trimmed().toLongLong(&ok);
  return ok ? std::optional<long long>(v) : std::nullopt;
}

}  // namespace

TOptionsPage::TOptionsPage(vlr::TSchemeTables& tables, QWidget* parent) : QWidget(parent), tables_(tables) {
  const vlr::TSchemeSettings& s = tables.settings;

  auto* general = new QGroupBox(QStringLiteral("General options"), this);
  auto* generalGrid = new QGridLayout(general);
  const std::pair<const char*, std::uint32_t> kGeneral[] = {
      {"&Word wrap", smoWordWrap},          {"&Auto-indent", smoAutoIndent},
      {"S&mart tabs", smoTabToColumn},      {"&Override wrapping", smoWrapOverride},
      {"Wo&rd select", smoWordSelect},      {"S&yntax highlighting", smoSyntaxHighlight},
      {"T&itle as filename", smoTitleAsFilename}, {"&Block cursor for overwrite", smoBlockOverwriteCursor},
      {"Mark wra&pped lines", smoShowWrapGlyph},  {"Smart &fill", smoSmartFill},
      {"Use TAB c&haracter", smoUseTAB},    {"Show word-wrap &column", smoShowWrapColumn},
  };
  int i = 0;
  for (const auto& [caption, bit] : kGeneral) {
    generalGrid->addWidget(addOption(caption, bit), i % 6, i / 6);
    ++i;
  }

  auto* print = new QGroupBox(QStringLiteral("Print options"), this);
  auto* printBox = new QVBoxLayout(print);
  const std::pair<const char*, std::uint32_t> kPrint[] = {
      {"Wrap &long lines", smoPrintWrap}, {"Line &numbers", smoPrintLineNos},
      {"&Title in header", smoPrintFilename}, {"&Date in header", smoPrintDate},
      {"&Page numbers", smoPrintPageNos},
  };
  for (const auto& [caption, bit] : kPrint) printBox->addWidget(addOption(caption, bit));
  printBox->addStretch(1);

  auto* tabs = new QGroupBox(QStringLiteral("Tabs and indenting"), this);
  auto* tabForm = new QFormLayout(tabs);
  IndentStep = Spin(tabs, 1, 32, std::clamp(s.indentStep, 1, 32));
  IndentStep->setMaximumWidth(70);
  TabColumns = new QLineEdit(QString::fromStdString(s.tabColumns), tabs);
  TabColumns->setToolTip(QStringLiteral("Columns of the tab stops in order, for example 5 9 13"));
  DefaultTab = new QLineEdit(QString::number(s.tabDefault), tabs);
  DefaultTab->setMaximumWidth(70);
  tabForm->addRow(QStringLiteral("Block &indent step size:"), IndentStep);
  tabForm->addRow(QStringLiteral("Tab &columns:"), TabColumns);
  tabForm->addRow(QStringLiteral("D&efault tab stop:"), DefaultTab);

  auto* margins = new QGroupBox(QStringLiteral("Margins"), this);
  auto* marginGrid = new QGridLayout(margins);
  WrapColumn = Spin(margins, 0, 1024, std::clamp(s.wordWrapColumn, 0, 1024));
  ShowRightMargin = addOption("&Visible right margin", smoShowRMargin);
  RightMargin = Spin(margins, 1, 1024, std::clamp(s.rightMargin, 1, 1024));
  RightMargin->setAccessibleName(QStringLiteral("Right margin column"));
  ShowGutter = addOption("Visible &gutter", smoShowGutter);
  GutterWidth = new QLineEdit(QString::number(s.gutterWidth), margins);
  GutterWidth->setAccessibleName(QStringLiteral("Gutter width"));
  GutterWidth->setMaximumWidth(70);
  auto* wrapLabel = new QLabel(QStringLiteral("Word-wrap colu&mn:"), margins);
  wrapLabel->setBuddy(WrapColumn);
  marginGrid->addWidget(wrapLabel, 0, 0);
  marginGrid->addWidget(WrapColumn, 0, 1);
  marginGrid->addWidget(ShowRightMargin, 1, 0);
  marginGrid->addWidget(RightMargin, 1, 1);
  marginGrid->addWidget(ShowGutter, 2, 0);
  marginGrid->addWidget(GutterWidth, 2, 1);
  marginGrid->setColumnStretch(2, 1);
  connect(ShowRightMargin, &QCheckBox::toggled, RightMargin, &QWidget::setEnabled);
  connect(ShowGutter, &QCheckBox::toggled, GutterWidth, &QWidget::setEnabled);
  RightMargin->setEnabled(ShowRightMargin->isChecked());
  GutterWidth->setEnabled(ShowGutter->isChecked());

  auto* aids = new QGroupBox(QStringLiteral("Editing aids"), this);
  auto* aidGrid = new QGridLayout(aids);
  const std::pair<const char*, std::uint32_t> kAids[] = {
      {"Line n&umbers", smaLineNumbers},
      {"Highlight current line", smaCurrentLine},
      {"Code folding", smaFolding},
      {"Matching tags and brac&kets", smaMatching},
      {"Rename end tag with &start tag", smaLinkedEditing},
      {"Close tags automatically", smaAutoCloseTags},
      {"Close &quotes and brackets", smaAutoClosePairs},
      {"Completion list", smaCompletion},
      {"Undo typing by runs", smaTypingRuns},
      {"Keep the undo history after saving", smaKeepUndoAfterSave},
  };
  i = 0;
  for (const auto& [caption, bit] : kAids) {
    aidGrid->addWidget(addAid(caption, bit), i % 5, i / 5);
    ++i;
  }

  ErrorLabel = new QLabel(this);
  ErrorLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
  ErrorLabel->setWordWrap(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(general, 0, 0);
  grid->addWidget(print, 0, 1);
  grid->addWidget(tabs, 1, 0);
  grid->addWidget(margins, 1, 1);
  grid->addWidget(aids, 2, 0, 1, 2);
  grid->addWidget(ErrorLabel, 3, 0, 1, 2);
  grid->setRowStretch(4, 1);
  grid->setColumnStretch(0, 3);
  grid->setColumnStretch(1, 2);
}

QCheckBox* TOptionsPage::addOption(const char* caption, std::uint32_t bit) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), this);
  box->setChecked((tables_.settings.options & bit) != 0);
  options_.emplace_back(box, bit);
  return box;
}

QCheckBox* TOptionsPage::addAid(const char* caption, std::uint32_t bit) {
  auto* box = new QCheckBox(QString::fromUtf8(caption), this);
  box->setChecked((tables_.settings.editingAids & bit) != 0);
  aids_.emplace_back(box, bit);
  return box;
}

QCheckBox* TOptionsPage::aidBox(std::uint32_t bit) const {
  for (const auto& [box, b] : aids_)
    if (b == bit) return box;
  return nullptr;
}

QCheckBox* TOptionsPage::optionBox(std::uint32_t bit) const {
  for (const auto& [box, b] : options_)
    if (b == bit) return box;
  return nullptr;
}

QString TOptionsPage::fail(QWidget* field, const QString& error) {
  ErrorLabel->setText(error);
  field->setFocus();
  if (auto* edit = qobject_cast<QLineEdit*>(field)) edit->selectAll();
  return error;
}

QString TOptionsPage::apply() {
  std::array<int, vlr::kMaxTabStops> stops{};
  try {
    stops = vlr::ParseTabStops(TabColumns->text().toStdString());
  } catch (const ESyntaxMemo& e) {
    return fail(TabColumns, QString::fromStdString(e.what()));
  }
  const std::optional<long long> tab = WholeNumber(DefaultTab->text());
  try {
    vlr::CheckDefaultTab(tab.value_or(0));
  } catch (const ESyntaxMemo& e) {
    return fail(DefaultTab, QString::fromStdString(e.what()));
  }
  const std::optional<long long> gutter = WholeNumber(GutterWidth->text());
  if (!gutter || *gutter < 0 || *gutter > 199) return fail(GutterWidth, QStringLiteral("0-199 only"));
  if (*tab > kMaxTabWidth) return fail(DefaultTab, QStringLiteral("Default tab stop too large (at most 1024)"));

  vlr::TSchemeSettings& s = tables_.settings;
  for (const auto& [box, bit] : options_) s.options = box->isChecked() ? (s.options | bit) : (s.options & ~bit);
  for (const auto& [box, bit] : aids_) s.editingAids = box->isChecked() ? (s.editingAids | bit) : (s.editingAids & ~bit);
  s.indentStep = IndentStep->value();
  s.wordWrapColumn = WrapColumn->value();
  s.tabColumns = TabColumns->text().trimmed().toStdString();
  s.tabStops = stops;
  s.tabDefault = int(*tab);
  s.rightMargin = RightMargin->value();
  s.gutterWidth = int(*gutter);
  ErrorLabel->clear();
  return {};
}

}  // namespace velora::memo
