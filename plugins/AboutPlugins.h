// The about box the program offers its plug-ins: icon, title, copyright
// line, "All Rights Reserved", an optional comment, "&Web Site" and "&OK".
#pragma once

#include "sdk/velora_plugin.h"

#include <QDialog>

#include <string>

class QLabel;
class QPushButton;

namespace vlr {

// A field of TPlugInAbout: up to its zero byte, or all 156 characters.
std::string AboutField(const char (&field)[VLR_ABOUT_FIELD]);

class TFrmAboutPlugins : public QDialog {
    Q_OBJECT
public:
    TFrmAboutPlugins(const TPlugInAbout& info, QWidget* parent = nullptr);

    const std::string& Url() const { return url_; }

private:
    void WebSiteClick();

    std::string url_;
};

// Shows the about box modally; false when it could not be made or shown.
bool DispAbout(const TPlugInAbout* info, QWidget* parent);

}  // namespace vlr
