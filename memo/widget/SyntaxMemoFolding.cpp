// TSyntaxMemo: the fold margin, tag matching and their commands.
#include <QAction>
#include <QKeyEvent>
#include <QKeySequence>

#include "memo/widget/FoldMargin.h"
#include "memo/widget/SyntaxMemo.h"
#include "memo/widget/TagMatch.h"

namespace velora::memo {

void TSyntaxMemo::installFolding() {
  foldMargin_ = std::make_unique<FoldMargin>(*this);
  tagMatch_ = std::make_unique<TagMatch>(*this);
  auto command = [this](const char* name, const QString& caption, const char* keys, auto run) {
    auto* a = new QAction(caption, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcut(QKeySequence(QString::fromLatin1(keys), QKeySequence::PortableText));
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(a, &QAction::triggered, this, [this, run] { guarded(run); });
    addAction(a);
    foldingActions_.append(a);
  };
  // Keys the key table and the main window's menus leave free.
  command("FoldCurrent", tr("Fold/Unfold &Current"), "Ctrl+Alt+[", [this] { foldMargin_->toggleAtCaret(); });
  command("FoldAll", tr("&Fold All"), "Ctrl+Alt+-", [this] { foldMargin_->foldAll(); });
  command("UnfoldAll", tr("&Unfold All"), "Ctrl+Alt+=", [this] { foldMargin_->unfoldAll(); });
  command("GoToMatch", tr("Go to &Matching Tag or Bracket"), "Ctrl+]", [this] {
    if (engine_->hasAid(smaMatching)) tagMatch_->jumpToPartner();
  });
}

bool TSyntaxMemo::runFoldingShortcut(const QKeyEvent& ev) {
  // The keys reach here when no shortcut handling took them first (a window that is not active).
  const QKeySequence pressed(ev.keyCombination());
  for (QAction* a : foldingActions_)
    if (a->isEnabled() && a->shortcut() == pressed) {
      a->trigger();
      return true;
    }
  return false;
}

}  // namespace velora::memo
