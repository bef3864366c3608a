#include "app/window/AboutBox.h"

#include "platform/System.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace vlr {

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
    setObjectName("AboutBox");
    setWindowTitle("About Velora");
    auto* layout = new QVBoxLayout(this);
    auto* top = new QHBoxLayout;
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(":/shell/velora.svg").pixmap(64, 64));
    icon->setAlignment(Qt::AlignTop);
    top->addWidget(icon);
    auto* text = new QLabel(this);
    text->setObjectName("AboutText");
    text->setTextFormat(Qt::RichText);
    text->setText(QStringLiteral("<h2>Velora</h2><p>Version %1</p>"
                                 "<p>A desktop authoring environment for web sites: edit HTML pages with "
                                 "syntax highlighting, keep them in projects, build, preview and upload "
                                 "your site.</p>")
                      .arg(QString::fromStdString(VersionValue("FileVersion"))));
    text->setWordWrap(true);
    top->addWidget(text, 1);
    layout->addLayout(top);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);
    setFixedWidth(420);
}

}  // namespace vlr
