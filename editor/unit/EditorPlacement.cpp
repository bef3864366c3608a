// Where editor windows go in the document area: a new window is placed in
// the visible part of the area, cascading from the windows already there,
// and a file that is already open is shown in its own window rather than
// opened a second time.
#include "editor/unit/EditorUnit.h"

#include "app/units/ShellServices.h"
#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"

#include <QFileInfo>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QStyle>

#include <algorithm>

namespace vlr {
namespace {

// The size a window gets when the area cannot tell (it is not laid out yet).
constexpr QSize kFallbackSize(520, 380);

// The form of a path two windows are compared by: the file's real path with
// links followed; the absolute path of a file that does not exist.
QString SameFileKey(const std::string& path) {
    const QFileInfo info(QString::fromStdString(path));
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? info.absoluteFilePath() : canonical;
}

}  // namespace

QRect EditorWindowPlace(const QRect& visible, int existing, int step) {
    if (visible.width() < 200 || visible.height() < 150)
        return QRect(QPoint(existing * step, existing * step), kFallbackSize);
    // Two thirds of the visible area in each direction, never smaller than a
    // window one can work in nor larger than the area.
    const int w = std::min(visible.width(), std::max(visible.width() * 2 / 3, std::min(480, visible.width())));
    const int h = std::min(visible.height(), std::max(visible.height() * 2 / 3, std::min(320, visible.height())));
    // Each window steps down and right by a title bar; the cascade starts
    // again at the corner before a window would leave the visible area.
    const int fits = std::max(1, 1 + std::min((visible.width() - w) / step, (visible.height() - h) / step));
    const int k = existing % fits;
    return QRect(visible.topLeft() + QPoint(k * step, k * step), QSize(w, h));
}

QMdiSubWindow* TEditorUnit::AddEditorWindow(QWidget* editor) {
    QMdiArea* area = shell_.MdiArea();
    int existing = 0;
    for (QMdiSubWindow* sub : area->subWindowList())
        if (sub->isVisible() && !sub->isMinimized())
            ++existing;
    QMdiSubWindow* sub = area->addSubWindow(editor);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    const int step = std::max(16, sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub));
    // The area's coordinates are those of its viewport: what the user sees.
    sub->setGeometry(EditorWindowPlace(area->viewport()->rect(), existing, step));
    return sub;
}

TFrmEditor* TEditorUnit::OpenEditorOf(const std::string& path) const {
    const QString key = SameFileKey(path);
    // A closed window waits hidden for its deletion: it no longer holds the file.
    for (QMdiSubWindow* sub : shell_.MdiArea()->subWindowList())
        if (auto* editor = qobject_cast<TFrmEditor*>(sub->widget()); editor && !sub->isHidden())
            if (editor->FileName != kUntitled && SameFileKey(editor->FileName) == key)
                return editor;
    return nullptr;
}

void TEditorUnit::ActivateEditor(TFrmEditor& editor) {
    QMdiSubWindow* sub = editor.subWindow();
    if (!sub)
        return;
    if (sub->isMinimized())
        sub->showNormal();
    if (QMdiArea* area = sub->mdiArea())
        area->setActiveSubWindow(sub);
    editor.memo().setFocus();
}

bool TEditorUnit::OpenEditorAtLine(const std::string& path, int line) {
    shell_.Enter("OpenEditorAtLine");
    TFrmEditor* editor = OpenEditorForFile(path);
    if (!editor)
        return false;
    editor->memo().goToLineColumn(line, 1);
    editor->memo().setFocus();
    return true;
}

}  // namespace vlr
