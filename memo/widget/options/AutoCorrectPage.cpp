// The Auto correct page.
#include "memo/widget/options/AutoCorrectPage.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "memo/engine/MacroKeywords.h"
#include "memo/widget/TextDecoding.h"

namespace velora::memo {

TAutoCorrectPage::TAutoCorrectPage(vlr::TSchemeTables& tables, QWidget* parent) : QWidget(parent), tables_(tables) {
  auto* entry = new QGroupBox(QStringLiteral("Replacement"), this);
  ReplaceText = new QLineEdit(entry);
  WithText = new QLineEdit(entry);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&Replace:"), ReplaceText);
  form->addRow(QStringLiteral("&With:"), WithText);
  AddButton = new QPushButton(QStringLiteral("&Add"), entry);
  ReplaceButton = new QPushButton(QStringLiteral("Re&place"), entry);
  DeleteButton = new QPushButton(QStringLiteral("&Delete"), entry);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(AddButton);
  buttons->addWidget(ReplaceButton);
  buttons->addWidget(DeleteButton);
  auto* entryBox = new QVBoxLayout(entry);
  entryBox->addLayout(form);
  entryBox->addLayout(buttons);

  PairList = new QTreeWidget(this);
  PairList->setColumnCount(2);
  PairList->setHeaderLabels({QStringLiteral("Replace"), QStringLiteral("With")});
  PairList->setRootIsDecorated(false);
  PairList->setUniformRowHeights(true);
  PairList->header()->setSectionResizeMode(QHeaderView::Stretch);

  auto* keys = new QGroupBox(QStringLiteral("Act keys"), this);
  ActKeys = new QLineEdit(QString::fromStdString(tables.actKeys), keys);
  ActKeys->setToolTip(QStringLiteral("Characters and key names (\\{Return}, \\{Tab}, \\{Space}, ...) that trigger a "
                                     "replacement"));
  auto* keysForm = new QFormLayout(keys);
  keysForm->addRow(QStringLiteral("Replace when &typing:"), ActKeys);

  ErrorLabel = new QLabel(this);
  ErrorLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
  ErrorLabel->setWordWrap(true);

  auto* box = new QVBoxLayout(this);
  box->addWidget(entry);
  box->addWidget(PairList, 1);
  box->addWidget(keys);
  box->addWidget(ErrorLabel);

  connect(PairList, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    ReplaceButton->setEnabled(item != nullptr);
    DeleteButton->setEnabled(item != nullptr);
    if (!item) return;
    ReplaceText->setText(item->text(0));
    WithText->setText(item->text(1));
  });
  connect(AddButton, &QPushButton::clicked, this, [this] { addPair(); });
  connect(ReplaceButton, &QPushButton::clicked, this, [this] { replacePair(); });
  connect(DeleteButton, &QPushButton::clicked, this, [this] { deletePair(); });
  fillList();
}

void TAutoCorrectPage::fillList() {
  PairList->clear();
  QList<QTreeWidgetItem*> items;
  for (const vlr::TReplaceEntry& e : tables_.autoReplace)
    items << new QTreeWidgetItem({decodeBytes(e.item), decodeBytes(e.replacement)});
  PairList->addTopLevelItems(items);
  ReplaceButton->setEnabled(false);
  DeleteButton->setEnabled(false);
}

int TAutoCorrectPage::find(const std::string& item) const {
  for (std::size_t i = 0; i < tables_.autoReplace.size(); ++i)
    if (tables_.autoReplace[i].item == item) return int(i);
  return -1;
}

void TAutoCorrectPage::selectItem(const std::string& item) {
  const int i = find(item);
  if (i >= 0) PairList->setCurrentItem(PairList->topLevelItem(i));
}

bool TAutoCorrectPage::refuse(const QString& error) {
  ErrorLabel->setText(error);
  ReplaceText->setFocus();
  return false;
}

bool TAutoCorrectPage::addPair() {
  const std::string item = encodeText(ReplaceText->text());
  if (item.empty()) return refuse(QStringLiteral("Type the text to replace."));
  if (find(item) >= 0)
    return refuse(QStringLiteral("\"%1\" is already in the list: change it with Replace.").arg(ReplaceText->text()));
  tables_.autoReplace.push_back({item, encodeText(WithText->text())});
  ErrorLabel->clear();
  fillList();
  selectItem(item);
  return true;
}

bool TAutoCorrectPage::replacePair() {
  const QTreeWidgetItem* current = PairList->currentItem();
  if (!current) return false;
  const int at = PairList->indexOfTopLevelItem(const_cast<QTreeWidgetItem*>(current));
  const std::string item = encodeText(ReplaceText->text());
  if (item.empty()) return refuse(QStringLiteral("Type the text to replace."));
  if (const int other = find(item); other >= 0 && other != at)
    return refuse(QStringLiteral("\"%1\" is already in the list.").arg(ReplaceText->text()));
  tables_.autoReplace[std::size_t(at)] = {item, encodeText(WithText->text())};
  ErrorLabel->clear();
  fillList();
  selectItem(item);
  return true;
}

bool TAutoCorrectPage::deletePair() {
  QTreeWidgetItem* current = PairList->currentItem();
  if (!current) return false;
  const int at = PairList->indexOfTopLevelItem(current);
  tables_.autoReplace.erase(tables_.autoReplace.begin() + at);
  ErrorLabel->clear();
  fillList();
  if (PairList->topLevelItemCount() > 0)
    PairList->setCurrentItem(PairList->topLevelItem(std::min(at, PairList->topLevelItemCount() - 1)));
  return true;
}

QString TAutoCorrectPage::apply() {
  const std::string text = ActKeys->text().toStdString();
  try {
    (void)TAutoReplace::ParseActKeys(text);
  } catch (const ESyntaxMemo& e) {
    const QString error = QStringLiteral("Act keys: %1").arg(QString::fromStdString(e.what()));
    ErrorLabel->setText(error);
    ActKeys->setFocus();
    return error;
  }
  tables_.actKeys = text;
  ErrorLabel->clear();
  return {};
}

}  // namespace velora::memo
