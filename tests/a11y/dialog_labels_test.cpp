// Every field of the program's dialogs is named for a screen reader: a label it is the buddy
// of, or a name of its own. The fields are walked as a reader walks them.
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextEdit>
#include <memory>

#include "editor/findfiles/FindInFilesDialog.h"
#include "libs/extdlgs/InsertDialogs.h"
#include "libs/vlrsys/NewProjectDialog.h"
#include "libs/vlrsys/PreferencesDialog.h"
#include "libs/vlrsys/ProjectOptionsDialog.h"
#include "libs/vlrsys/RepositoryDialogs.h"
#include "libs/vlrsys/ToolsDialog.h"
#include "libs/webpost/UploadWizard.h"
#include "memo/engine/scheme/SchemeCompiler.h"
#include "memo/widget/SearchDialogs.h"
#include "memo/widget/SyntaxMemo.h"
#include "memo/widget/options/OptionsDialog.h"
#include "spelling/ui/SpellCheckDialog.h"

namespace {

bool IsField(const QWidget* w) {
  if (qobject_cast<const QComboBox*>(w) && qobject_cast<const QComboBox*>(w)->isEditable()) return true;
  // The line edit inside a combo or spin box is part of it.
  if (qobject_cast<const QLineEdit*>(w) && (qobject_cast<const QComboBox*>(w->parentWidget()) ||
                                             qobject_cast<const QAbstractSpinBox*>(w->parentWidget())))
    return false;
  return qobject_cast<const QLineEdit*>(w) || qobject_cast<const QComboBox*>(w) ||
         qobject_cast<const QAbstractSpinBox*>(w) || qobject_cast<const QPlainTextEdit*>(w) ||
         qobject_cast<const QTextEdit*>(w) || qobject_cast<const QAbstractItemView*>(w) ||
         qobject_cast<const velora::memo::TSyntaxMemo*>(w);
}

// The fields a reader reaches (enabled for focus, shown) that have neither a label nor a name.
QStringList Unnamed(QWidget* root) {
  root->show();
  QApplication::processEvents();
  QSet<const QWidget*> labelled;
  for (const QLabel* l : root->findChildren<QLabel*>())
    if (l->buddy()) labelled.insert(l->buddy());
  QStringList out;
  for (QWidget* w : root->findChildren<QWidget*>()) {
    if (!IsField(w) || !w->isVisibleTo(root) || w->focusPolicy() == Qt::NoFocus) continue;
    if (labelled.contains(w) || !w->accessibleName().isEmpty()) continue;
    out << QStringLiteral("%1 %2 in %3")
               .arg(QString::fromLatin1(w->metaObject()->className()), w->objectName(),
                    QString::fromLatin1(root->metaObject()->className()));
  }
  // Buttons name themselves by their text; one with only an icon needs a name.
  for (QAbstractButton* b : root->findChildren<QAbstractButton*>()) {
    if (!b->isVisibleTo(root) || !b->text().remove(QLatin1Char('&')).trimmed().isEmpty()) continue;
    if (!b->accessibleName().isEmpty() || !b->toolTip().isEmpty()) continue;
    out << QStringLiteral("button %1 in %2").arg(b->objectName(), QString::fromLatin1(root->metaObject()->className()));
  }
  return out;
}

TEST(DialogLabels, EveryFieldOfEveryDialogHasALabelOrAName) {
  QTemporaryDir dir;
  const std::string base = QDir(dir.path()).filePath(QStringLiteral("x")).toStdString();
  velora::memo::TSyntaxMemo memo;
  const vlr::TSchemeTables tables = vlr::CompileSchemeFile(VELORA_HTML_SCHEME_SCRIPT);
  std::vector<std::unique_ptr<QDialog>> dialogs;
  dialogs.emplace_back(std::make_unique<vlr::sys::TFrmNewProject>());
  dialogs.emplace_back(std::make_unique<vlr::sys::TFrmProjectOptions>(base + ".vlr"));
  dialogs.emplace_back(std::make_unique<vlr::sys::TFrmTools>(base + ".tools", vlr::sys::NameValues{}));
  dialogs.emplace_back(std::make_unique<vlr::sys::TFrmPreferences>(base + ".ini"));
  dialogs.emplace_back(std::make_unique<vlr::sys::TAddToRepositoryDialog>(std::vector<std::string>{"Pages"}, "page"));
  dialogs.emplace_back(std::make_unique<vlr::extdlgs::TFrmHyperlink>(std::vector<std::string>{"index.html"}, "text"));
  dialogs.emplace_back(std::make_unique<vlr::extdlgs::TFrmTable>());
  dialogs.emplace_back(std::make_unique<vlr::extdlgs::TFrmActiveX>());
  dialogs.emplace_back(std::make_unique<vlr::extdlgs::TFrmJavaApplet>());
  dialogs.emplace_back(std::make_unique<vlr::webpost::TFrmUpload>("", dir.path().toStdString(), "", nullptr));
  dialogs.emplace_back(std::make_unique<vlr::TFindInFilesDialog>());
  dialogs.emplace_back(std::make_unique<vlr::spelling::TSpellCheckDialog>());
  dialogs.emplace_back(std::make_unique<velora::memo::TSearchDialog>(memo, nullptr));
  dialogs.emplace_back(std::make_unique<velora::memo::TOptionsDialog>(tables, velora::memo::kAllPropEdPages));
  QStringList unnamed;
  for (const auto& d : dialogs) unnamed << Unnamed(d.get());
  EXPECT_TRUE(unnamed.isEmpty()) << unnamed.join(QStringLiteral("\n")).toStdString();
}

}  // namespace
