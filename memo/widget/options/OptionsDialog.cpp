// The options dialog and how it is run.
#include "memo/widget/options/OptionsDialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "memo/engine/scheme/SyntaxMemoParser.h"
#include "memo/widget/options/AutoCorrectPage.h"
#include "memo/widget/options/HighlightPage.h"
#include "memo/widget/options/KeysPage.h"
#include "memo/widget/options/OptionsPage.h"
#include "memo/widget/options/TemplatesPage.h"

namespace velora::memo {

namespace {

TOptionsDialogDriver& Driver() {
  static TOptionsDialogDriver driver;
  return driver;
}

}  // namespace

TOptionsDialog::TOptionsDialog(const vlr::TSchemeTables& tables, unsigned pages, QWidget* parent)
    : QDialog(parent), tables_(tables) {
  setWindowTitle(QStringLiteral("Editor options"));
  Pages = new QTabWidget(this);
  if (pages & ppOPTIONS) Pages->addTab(OptionsPage = new TOptionsPage(tables_), QStringLiteral("Options"));
  if (pages & ppHIGHLIGHTING)
    Pages->addTab(HighlightPage = new THighlightPage(tables_), QStringLiteral("Highlighting"));
  if (pages & ppKEYS) Pages->addTab(KeysPage = new TKeysPage(tables_), QStringLiteral("Key Assignments"));
  // Choosing a key scheme sets typing runs: the Options page's box shows it (and writes it back).
  if (KeysPage && OptionsPage)
    connect(KeysPage, &TKeysPage::schemeChosen, this, [this] {
      if (QCheckBox* box = OptionsPage->aidBox(smaTypingRuns))
        box->setChecked((tables_.settings.editingAids & smaTypingRuns) != 0);
    });
  if (pages & ppAUTOCORRECT)
    Pages->addTab(AutoCorrectPage = new TAutoCorrectPage(tables_), QStringLiteral("Auto correct"));
  if (pages & ppTEMPLATES)
    Pages->addTab(TemplatesPage = new TTemplatesPage(tables_), QStringLiteral("Code templates"));

  auto* buttons = new QDialogButtonBox(this);
  OkButton = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  CancelButton = buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
  OkButton->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &TOptionsDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TOptionsDialog::reject);

  auto* box = new QVBoxLayout(this);
  box->addWidget(Pages, 1);
  box->addWidget(buttons);
  resize(760, 580);
}

TOptionsDialog::~TOptionsDialog() = default;

void TOptionsDialog::accept() {
  // Pages with fields that are written only once they are checked.
  const auto check = [this](QWidget* page, const QString& error) {
    if (error.isEmpty()) return true;
    Pages->setCurrentWidget(page);
    return false;
  };
  if (OptionsPage && !check(OptionsPage, OptionsPage->apply())) return;
  if (AutoCorrectPage && !check(AutoCorrectPage, AutoCorrectPage->apply())) return;
  if (TemplatesPage && !check(TemplatesPage, TemplatesPage->apply())) return;
  QDialog::accept();
}

bool ExecuteOptionsDialog(vlr::TSyntaxMemoParser& parser, unsigned pages, QWidget* parent) {
  TOptionsDialog dialog(parser.Tables(), pages, parent);
  bool confirmed = false;
  if (const TOptionsDialogDriver driver = Driver()) {
    dialog.show();
    driver(dialog);
    confirmed = dialog.result() == QDialog::Accepted && !dialog.isVisible();
    dialog.hide();
  } else {
    confirmed = dialog.exec() == QDialog::Accepted;
  }
  if (confirmed) {
    parser.ReplaceSettings(dialog.edited());  // and every control using it follows
    if (parser.UseRegistry && !parser.RegistryKey.empty()) parser.SaveToRegistry();
  }
  return confirmed;
}

bool EditProperties(vlr::TSyntaxMemoParser& parser, QWidget* parent, unsigned pages) {
  if (parser.OnModifyProperties) return parser.OnModifyProperties(parser);
  return ExecuteOptionsDialog(parser, pages, parent);
}

void SetOptionsDialogDriver(TOptionsDialogDriver driver) { Driver() = std::move(driver); }

bool HasOptionsDialogDriver() { return static_cast<bool>(Driver()); }

}  // namespace velora::memo
