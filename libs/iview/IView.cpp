// The picture module: shows pictures in viewer windows of the main window.
#include "libs/EntryPoints.h"
#include "libs/common/ModuleSupport.h"
#include "libs/iview/ImageCanvas.h"
#include "libs/iview/ImageViewWindow.h"
#include "platform/Prompter.h"

#include <QApplication>
#include <QFileInfo>
#include <QImageReader>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>

#include <type_traits>

namespace {

using vlr::iview::TFrmImageView;

// Reads the picture by its contents, not its name, turned upright as its
// orientation tag says. A null image and the reader's reason on failure.
QImage ReadPicture(const QString& path, QString* error) {
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    reader.setAutoTransform(true);
    QImage image = reader.read();
    if (image.isNull())
        *error = reader.errorString();
    return image;
}

// A viewer already showing this file, in the document area or on its own.
TFrmImageView* OpenViewerOf(const QString& path, QMdiArea* area) {
    if (area) {
        for (QMdiSubWindow* w : area->subWindowList())
            if (auto* view = qobject_cast<TFrmImageView*>(w->widget()); view && view->path() == path)
                return view;
        return nullptr;
    }
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* view = qobject_cast<TFrmImageView*>(w); view && view->path() == path && view->isVisible())
            return view;
    return nullptr;
}

// The first size of a viewer: the picture at 100% when there is room, else
// as much of the room as is sensible (the picture is then reduced to fit).
QSize FirstSize(TFrmImageView* view, QSize room) {
    QSize wanted = view->sizeHint().expandedTo(QSize(320, 240));
    if (room.isValid() && !room.isEmpty())
        wanted = wanted.boundedTo(room * 0.9);
    return wanted;
}

}  // namespace

// Shows the picture at imagePath in a viewer window of the main window's
// document area (a window of its own when the main window has none). A file
// already shown is read again and its viewer brought to the front. A file
// that cannot be read as a picture is reported and no window is opened.
VLR_ENTRY_POINT void IViewDisp(vlr::Handle, const char* imagePath, vlr::Handle mainWindow) {
    if (!vlr::modules::HaveWidgetApplication())
        return;
    const QString path = QFileInfo(vlr::modules::PathFrom(imagePath)).absoluteFilePath();
    QString error;
    QImage image = ReadPicture(path, &error);
    if (image.isNull()) {
        std::string text = "Unable to display " + vlr::modules::TextFrom(imagePath);
        if (!error.isEmpty())
            text += "\n" + error.toStdString();
        vlr::ShowMessage(vlr::MessageKind::Error, "", text);
        return;
    }
    QWidget* main = vlr::WindowWidget(mainWindow);
    QMdiArea* area = main ? main->findChild<QMdiArea*>() : nullptr;
    if (TFrmImageView* open = OpenViewerOf(path, area)) {
        open->setImage(image);
        open->reveal();
        return;
    }
    auto* view = new TFrmImageView(path, image, mainWindow);
    if (area) {
        QMdiSubWindow* sub = area->addSubWindow(view);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        if (!view->windowIcon().isNull())
            sub->setWindowIcon(view->windowIcon());
        view->attachTo(sub);
        sub->resize(FirstSize(view, area->viewport()->size()));
        sub->show();
        area->setActiveSubWindow(sub);
    } else {
        view->setParent(main, Qt::Window);
        view->setAttribute(Qt::WA_DeleteOnClose);
        QRect screen = view->screen() ? view->screen()->availableGeometry() : QRect();
        view->resize(FirstSize(view, screen.size()));
        view->show();
        view->raise();
        view->activateWindow();
    }
}

static_assert(std::is_same_v<decltype(&IViewDisp), IViewDispFn>);
