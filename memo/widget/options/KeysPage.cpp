// The Key Assignments page.
#include "memo/widget/options/KeysPage.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "memo/engine/Options.h"
#include "memo/engine/keys/KeyScheme.h"
#include "memo/engine/keys/KeyTable.h"
#include "memo/widget/options/KeyCapture.h"
#include "memo/widget/options/ShortcutText.h"
#include "memo/widget/TextDecoding.h"

namespace velora::memo {

namespace {

constexpr int kKey1Role = Qt::UserRole;
constexpr int kKey2Role = Qt::UserRole + 1;

QString CommandText(const vlr::TKeyTable& keys, int code) {
  const std::string& d = keys.descriptions[std::size_t(code)];
  return d.empty() ? QStringLiteral("(command %1)").arg(code) : decodeBytes(d);
}

}  // namespace

TKeysPage::TKeysPage(vlr::TSchemeTables& tables, QWidget* parent) : QWidget(parent), tables_(tables) {
  CommandList = new QListWidget(this);
  for (int code = 0; code < vlr::kEditorCommandCount; ++code) CommandList->addItem(CommandText(tables.keys, code));
  CommandList->setMinimumWidth(220);
  auto* commands = new QGroupBox(QStringLiteral("&Commands"), this);
  (new QVBoxLayout(commands))->addWidget(CommandList);

  SequenceList = new QTreeWidget(this);
  SequenceList->setColumnCount(2);
  SequenceList->setHeaderLabels({QStringLiteral("Key1"), QStringLiteral("Key2")});
  SequenceList->setRootIsDecorated(false);
  SequenceList->header()->setSectionResizeMode(QHeaderView::Stretch);
  auto* sequences = new QGroupBox(QStringLiteral("&Key sequences"), this);
  (new QVBoxLayout(sequences))->addWidget(SequenceList);

  auto* entry = new QGroupBox(QStringLiteral("New key sequence"), this);
  Key1 = new TKeyCapture(entry);
  Key2 = new TKeyCapture(entry);
  Key2->setModifiersAllowed(false);
  Key2->setPlaceholderText(QStringLiteral("Optional second key"));
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("Key&1:"), Key1);
  form->addRow(QStringLiteral("Key&2:"), Key2);
  AddButton = new QPushButton(QStringLiteral("&Add"), entry);
  DeleteButton = new QPushButton(QStringLiteral("&Delete"), entry);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(AddButton);
  buttons->addWidget(DeleteButton);
  auto* entryBox = new QVBoxLayout(entry);
  entryBox->addLayout(form);
  entryBox->addLayout(buttons);

  ErrorLabel = new QLabel(this);
  ErrorLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
  ErrorLabel->setWordWrap(true);

  auto* right = new QVBoxLayout;
  right->addWidget(sequences, 1);
  right->addWidget(entry);
  right->addWidget(ErrorLabel);
  Scheme = new QComboBox(this);
  Scheme->addItem(QString::fromUtf8(vlr::KeySchemeName(vlr::TKeyScheme::Classic)));
  Scheme->addItem(QString::fromUtf8(vlr::KeySchemeName(vlr::TKeyScheme::Desktop)));
  Scheme->setCurrentIndex(int(vlr::KeySchemeOf(tables.keys)));
  Scheme->setToolTip(QStringLiteral("Classic: the editor's own keys. Desktop: Ctrl+A selects all, Ctrl+Y and "
                                    "Ctrl+Shift+Z redo, Ctrl+Delete deletes the next word, typing runs undo "
                                    "as one step."));
  auto* schemeRow = new QFormLayout;
  schemeRow->addRow(QStringLiteral("Key &scheme:"), Scheme);

  auto* grid = new QGridLayout(this);
  grid->addLayout(schemeRow, 0, 0, 1, 2);
  grid->addWidget(commands, 1, 0);
  grid->addLayout(right, 1, 1);
  grid->setColumnStretch(0, 1);
  grid->setColumnStretch(1, 1);

  connect(CommandList, &QListWidget::currentRowChanged, this, [this] {
    ErrorLabel->clear();
    showSequences();
  });
  connect(SequenceList, &QTreeWidget::currentItemChanged, this,
          [this] { DeleteButton->setEnabled(SequenceList->currentItem() != nullptr); });
  connect(AddButton, &QPushButton::clicked, this, [this] { addSequence(); });
  connect(DeleteButton, &QPushButton::clicked, this, [this] { deleteSequence(); });
  connect(Scheme, &QComboBox::activated, this, [this](int index) { chooseScheme(index); });
  CommandList->setCurrentRow(0);
}

int TKeysPage::selectedCommand() const { return CommandList->currentRow(); }

void TKeysPage::showSequences() {
  SequenceList->clear();
  const int code = selectedCommand();
  for (const vlr::TKeyBinding& b : tables_.keys.bindings) {
    if (b.command != code) continue;
    auto* item = new QTreeWidgetItem(SequenceList, {QString::fromStdString(ShortcutText(b.key1)),
                                                    QString::fromStdString(ShortcutText(b.key2))});
    item->setData(0, kKey1Role, int(b.key1));
    item->setData(0, kKey2Role, int(b.key2));
  }
  if (SequenceList->topLevelItemCount() > 0) SequenceList->setCurrentItem(SequenceList->topLevelItem(0));
  DeleteButton->setEnabled(SequenceList->currentItem() != nullptr);
}

bool TKeysPage::addSequence() {
  const int code = selectedCommand();
  if (code < 0) return false;
  if (Key1->key() == 0) {
    ErrorLabel->setText(QStringLiteral("Press the first key of the sequence in Key1."));
    Key1->setFocus();
    return false;
  }
  const vlr::TKeyBinding binding{Key1->key(), std::uint16_t(Key2->key() & 0xFF), std::uint8_t(code)};
  try {
    vlr::AddKeyBinding(tables_.keys, binding);
  } catch (const vlr::EKeyControllerException& e) {
    ErrorLabel->setText(QString::fromStdString(e.what()).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    return false;
  }
  ErrorLabel->clear();
  Key1->setKey(0);
  Key2->setKey(0);
  showSequences();
  for (int i = 0; i < SequenceList->topLevelItemCount(); ++i) {
    QTreeWidgetItem* item = SequenceList->topLevelItem(i);
    if (item->data(0, kKey1Role).toInt() == binding.key1 && item->data(0, kKey2Role).toInt() == binding.key2)
      SequenceList->setCurrentItem(item);
  }
  return true;
}

void TKeysPage::chooseScheme(int index) {
  const auto scheme = index == 1 ? vlr::TKeyScheme::Desktop : vlr::TKeyScheme::Classic;
  vlr::ApplyKeyScheme(tables_.keys, scheme);
  std::uint32_t& aids = tables_.settings.editingAids;
  aids = scheme == vlr::TKeyScheme::Desktop ? (aids | smaTypingRuns) : (aids & ~std::uint32_t(smaTypingRuns));
  if (Scheme->currentIndex() != index) Scheme->setCurrentIndex(index);
  ErrorLabel->clear();
  showSequences();
  Q_EMIT schemeChosen();
}

bool TKeysPage::deleteSequence() {
  const QTreeWidgetItem* item = SequenceList->currentItem();
  if (!item) return false;
  vlr::RemoveKeyBinding(tables_.keys, std::uint16_t(item->data(0, kKey1Role).toInt()),
                        std::uint16_t(item->data(0, kKey2Role).toInt()));
  ErrorLabel->clear();
  showSequences();
  return true;
}

}  // namespace velora::memo
