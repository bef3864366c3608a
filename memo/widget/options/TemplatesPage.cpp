// The Code templates page.
#include "memo/widget/options/TemplatesPage.h"

#include <QFontDatabase>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <set>

#include "memo/widget/options/KeyCapture.h"
#include "memo/widget/TextDecoding.h"

namespace velora::memo {

TTemplatesPage::TTemplatesPage(vlr::TSchemeTables& tables, QWidget* parent) : QWidget(parent), tables_(tables) {
  TemplateList = new QTreeWidget(this);
  TemplateList->setColumnCount(2);
  TemplateList->setHeaderLabels({QStringLiteral("Name"), QStringLiteral("Description")});
  TemplateList->setRootIsDecorated(false);
  TemplateList->header()->setStretchLastSection(true);
  TemplateList->setColumnWidth(0, 120);
  AddButton = new QPushButton(QStringLiteral("&Add"), this);
  DeleteButton = new QPushButton(QStringLiteral("&Delete"), this);
  auto* listButtons = new QHBoxLayout;
  listButtons->addStretch(1);
  listButtons->addWidget(AddButton);
  listButtons->addWidget(DeleteButton);
  auto* list = new QGroupBox(QStringLiteral("&Templates"), this);
  auto* listBox = new QVBoxLayout(list);
  listBox->addWidget(TemplateList, 1);
  listBox->addLayout(listButtons);

  auto* edit = new QGroupBox(QStringLiteral("Selected template"), this);
  NameText = new QLineEdit(edit);
  DescriptionText = new QLineEdit(edit);
  TemplateText = new QPlainTextEdit(edit);
  TemplateText->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
  TemplateText->setLineWrapMode(QPlainTextEdit::NoWrap);
  TemplateText->setToolTip(QStringLiteral("The first | marks where the caret goes"));
  auto* form = new QFormLayout(edit);
  form->addRow(QStringLiteral("&Name:"), NameText);
  form->addRow(QStringLiteral("D&escription:"), DescriptionText);
  form->addRow(QStringLiteral("Te&xt:"), TemplateText);

  auto* keys = new QGroupBox(QStringLiteral("Expanding"), this);
  HotKey = new TKeyCapture(keys);
  HotKey->setKey(tables.templateHotKey);
  auto* keysForm = new QFormLayout(keys);
  keysForm->addRow(QStringLiteral("&Hot key:"), HotKey);

  ErrorLabel = new QLabel(this);
  ErrorLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
  ErrorLabel->setWordWrap(true);

  auto* grid = new QGridLayout(this);
  grid->addWidget(list, 0, 0, 2, 1);
  grid->addWidget(edit, 0, 1);
  grid->addWidget(keys, 1, 1);
  grid->addWidget(ErrorLabel, 2, 0, 1, 2);
  grid->setColumnStretch(0, 2);
  grid->setColumnStretch(1, 3);
  grid->setRowStretch(0, 1);

  connect(TemplateList, &QTreeWidget::currentItemChanged, this, [this] { showTemplate(); });
  connect(NameText, &QLineEdit::textEdited, this, [this] { edited(); });
  connect(DescriptionText, &QLineEdit::textEdited, this, [this] { edited(); });
  connect(TemplateText, &QPlainTextEdit::textChanged, this, [this] { edited(); });
  connect(AddButton, &QPushButton::clicked, this, [this] { addTemplate(); });
  connect(DeleteButton, &QPushButton::clicked, this, [this] { deleteTemplate(); });
  fillList(0);
}

void TTemplatesPage::fillList(int select) {
  loading_ = true;
  TemplateList->clear();
  for (const vlr::TTemplateEntry& t : tables_.templates)
    new QTreeWidgetItem(TemplateList, {decodeBytes(t.name), decodeBytes(t.description)});
  loading_ = false;
  if (select >= 0 && select < TemplateList->topLevelItemCount())
    TemplateList->setCurrentItem(TemplateList->topLevelItem(select));
  showTemplate();
}

void TTemplatesPage::showTemplate() {
  const QTreeWidgetItem* item = TemplateList->currentItem();
  const int at = item ? TemplateList->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(item)) : -1;
  loading_ = true;
  for (QWidget* w : std::initializer_list<QWidget*>{NameText, DescriptionText, TemplateText, DeleteButton})
    w->setEnabled(at >= 0);
  const vlr::TTemplateEntry none;
  const vlr::TTemplateEntry& t = at >= 0 ? tables_.templates[std::size_t(at)] : none;
  NameText->setText(decodeBytes(t.name));
  DescriptionText->setText(decodeBytes(t.description));
  // Texts keep their breaks as CR (the control's own form); the editor shows them as lines.
  QString text = decodeBytes(t.text);
  text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));
  TemplateText->setPlainText(text);
  loading_ = false;
}

void TTemplatesPage::edited() {
  QTreeWidgetItem* item = TemplateList->currentItem();
  if (loading_ || !item) return;
  const int at = TemplateList->indexOfTopLevelItem(item);
  vlr::TTemplateEntry& t = tables_.templates[std::size_t(at)];
  t.name = encodeText(NameText->text());
  t.description = encodeText(DescriptionText->text());
  // Lines are joined with the break the template had (CR LF for a new one).
  const char* brk = t.text.find("\r\n") != std::string::npos ? "\r\n"
                    : t.text.find('\r') != std::string::npos  ? "\r"
                    : t.text.find('\n') != std::string::npos  ? "\n"
                                                              : "\r\n";
  t.text = encodeText(TemplateText->toPlainText().replace(QLatin1Char('\n'), QString::fromLatin1(brk)));
  item->setText(0, NameText->text());
  item->setText(1, DescriptionText->text());
}

void TTemplatesPage::addTemplate() {
  std::set<std::string> names;
  for (const vlr::TTemplateEntry& t : tables_.templates) names.insert(t.name);
  std::string name = "new";
  for (int n = 2; names.count(name); ++n) name = "new" + std::to_string(n);
  tables_.templates.push_back({name, std::string(), std::string()});
  ErrorLabel->clear();
  fillList(int(tables_.templates.size()) - 1);
  NameText->setFocus();
  NameText->selectAll();
}

bool TTemplatesPage::deleteTemplate() {
  QTreeWidgetItem* item = TemplateList->currentItem();
  if (!item) return false;
  const int at = TemplateList->indexOfTopLevelItem(item);
  tables_.templates.erase(tables_.templates.begin() + at);
  ErrorLabel->clear();
  fillList(std::min(at, int(tables_.templates.size()) - 1));
  return true;
}

QString TTemplatesPage::apply() {
  std::set<std::string> names;
  for (std::size_t i = 0; i < tables_.templates.size(); ++i) {
    const std::string& name = tables_.templates[i].name;
    QString error;
    if (name.empty()) error = QStringLiteral("Template name cannot be blank");
    else if (!names.insert(name).second) error = QStringLiteral("Template \"%1\" is listed twice").arg(decodeBytes(name));
    if (!error.isEmpty()) {
      TemplateList->setCurrentItem(TemplateList->topLevelItem(int(i)));
      ErrorLabel->setText(error);
      NameText->setFocus();
      return error;
    }
  }
  tables_.templateHotKey = HotKey->key();
  ErrorLabel->clear();
  return {};
}

}  // namespace velora::memo
