#include "plugins/AboutPlugins.h"

#include "platform/System.h"
#include "plugins/PlugInText.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <cstring>

namespace vlr {
namespace {

QLabel* Line(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

}  // namespace

std::string AboutField(const char (&field)[VLR_ABOUT_FIELD]) {
    const void* end = std::memchr(field, 0, VLR_ABOUT_FIELD);
    const std::size_t length = end ? static_cast<const char*>(end) - field : VLR_ABOUT_FIELD;
    return std::string(field, length);
}

TFrmAboutPlugins::TFrmAboutPlugins(const TPlugInAbout& info, QWidget* parent) : QDialog(parent) {
    setObjectName("FrmAboutPlugins");
    url_ = AboutField(info.AboutUrl);
    const std::string title = AboutField(info.AboutTitle);
    const std::string comment = AboutField(info.AboutComment);
    setWindowTitle("About " + PlugInString(title));

    auto* icon = new QLabel(this);
    icon->setObjectName("Image1");
    icon->setPixmap(QIcon(":/plugins/plugin.svg").pixmap(32, 32));
    icon->setFixedSize(32, 32);

    auto* lines = new QVBoxLayout;
    lines->addWidget(Line(this, "LblTitle", PlugInString(title)));
    lines->addWidget(Line(this, "LblCopyright",
                          "Copyright " + PlugInString(AboutField(info.AboutDate)) + " " +
                              PlugInString(AboutField(info.AboutHolder))));
    lines->addWidget(Line(this, "LblRights", "All Rights Reserved"));
    QLabel* commentLine = Line(this, "LblComment", PlugInString(comment));
    commentLine->setVisible(!comment.empty());
    lines->addWidget(commentLine);

    auto* top = new QHBoxLayout;
    top->addWidget(icon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(lines, 1);

    auto* webSite = new QPushButton("&Web Site", this);
    webSite->setObjectName("BtnWebSite");
    webSite->setVisible(!url_.empty());
    auto* ok = new QPushButton("&OK", this);
    ok->setObjectName("BtnOK");
    ok->setDefault(true);
    connect(webSite, &QPushButton::clicked, this, [this] { WebSiteClick(); });
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(webSite);
    buttons->addWidget(ok);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    // Centred on the screen, not on the window that asked for it.
    adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

void TFrmAboutPlugins::WebSiteClick() {
    ShellOpen(url_);
    accept();
}

bool DispAbout(const TPlugInAbout* info, QWidget* parent) {
    if (info == nullptr)
        return false;
    TFrmAboutPlugins dialog(*info, parent);
    dialog.exec();
    return true;
}

}  // namespace vlr
