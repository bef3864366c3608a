// ExceptCenter and the error report: the report reaches stderr with every
// field, never blocks a headless run, and the dialog shows and copies it.
#include "ModuleTestSupport.h"

#include "libs/EntryPoints.h"
#include "libs/vlrsys/ErrorReport.h"
#include "libs/vlrsys/ErrorReportDialog.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

using namespace vlrtest;

namespace {

bool Contains(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

TEST(ExceptCenter, WritesTheWholeReportToStderrWithoutShowingADialogOffscreen) {
    App();
    FakeMainWindow main;
    ModalDriver driver([](QWidget* w) { w->close(); });
    VlrExceptionInfo info{"EConvertError", "'abc' is not a valid integer value"};
    testing::internal::CaptureStderr();
    Entry<ExceptCenterFn>("vlrsys", "ExceptCenter")(0, main.handle(), nullptr, &info, "/opt/velora/preferences.dat",
                                                    "TFrmMainVLR.FormResize", "1.0.0.7", "velora");
    std::string err = testing::internal::GetCapturedStderr();
    Settle();

    EXPECT_FALSE(driver.acted());
    EXPECT_TRUE(Contains(err, "Velora Error Report")) << err;
    EXPECT_TRUE(Contains(err, "TFrmMainVLR.FormResize")) << err;
    EXPECT_TRUE(Contains(err, "EConvertError")) << err;
    EXPECT_TRUE(Contains(err, "'abc' is not a valid integer value")) << err;
    EXPECT_TRUE(Contains(err, "1.0.0.7")) << err;
    EXPECT_TRUE(Contains(err, "velora\n")) << err;
    EXPECT_TRUE(Contains(err, "/opt/velora/preferences.dat")) << err;
}

TEST(ExceptCenter, MissingArgumentsAreReportedAsNone) {
    App();
    testing::internal::CaptureStderr();
    Entry<ExceptCenterFn>("vlrsys", "ExceptCenter")(0, 0, nullptr, nullptr, nullptr, "TFrmMainVLR.FormShow",
                                                    nullptr, nullptr);
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_TRUE(Contains(err, "TFrmMainVLR.FormShow")) << err;
    EXPECT_TRUE(Contains(err, "Exception:   (none)")) << err;
    EXPECT_TRUE(Contains(err, "Version:     (none)")) << err;
}

TEST(ErrorReport, MultiLineMessagesStayUnderTheirLabel) {
    VlrExceptionInfo info{"EInOutError", "first line\r\nsecond line"};
    vlr::sys::ErrorReport report =
        vlr::sys::MakeErrorReport(&info, "/p/preferences.dat", "TFrmMainVLR.Open1Click", "1.0.0.2", "velora");
    std::string text = vlr::sys::FormatErrorReport(report);
    EXPECT_TRUE(Contains(text, "Message:     first line\n             second line\nVersion:")) << text;
    EXPECT_EQ(text.back(), '\n');
}

TEST(ErrorReportDialog, ShowsEveryFieldAndCopiesTheReport) {
    App();
    VlrExceptionInfo info{"EAccessViolation", "Access violation at address 0"};
    vlr::sys::ErrorReport report =
        vlr::sys::MakeErrorReport(&info, "/p/preferences.dat", "TFrmMainVLR.Paste1Click", "1.0.0.3", "velora");
    vlr::sys::TFrmErrorReport dialog(report);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Velora Error Report"));
    auto field = [&](const char* name) {
        auto* label = dialog.findChild<QLabel*>(QLatin1String(name));
        return label ? label->text().toStdString() : std::string("<missing>");
    };
    EXPECT_EQ(field("method"), "TFrmMainVLR.Paste1Click");
    EXPECT_EQ(field("exceptionClass"), "EAccessViolation");
    EXPECT_EQ(field("message"), "Access violation at address 0");
    EXPECT_EQ(field("fileVersion"), "1.0.0.3");
    EXPECT_EQ(field("fileName"), "velora");
    EXPECT_EQ(field("preferencesPath"), "/p/preferences.dat");

    QApplication::clipboard()->clear();
    auto* copy = dialog.findChild<QPushButton*>(QStringLiteral("copyButton"));
    ASSERT_NE(copy, nullptr);
    copy->click();
    EXPECT_EQ(QApplication::clipboard()->text().toStdString(), dialog.reportText());
    EXPECT_TRUE(Contains(dialog.reportText(), "TFrmMainVLR.Paste1Click"));
}

}  // namespace
