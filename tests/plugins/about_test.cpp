// The plug-in about box and its 780-byte record.
#include "plugins/AboutPlugins.h"
#include "platform/System.h"

#include <QLabel>
#include <QPushButton>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>

namespace {

TPlugInAbout About(const char* title, const char* url, const char* comment) {
    TPlugInAbout a;
    std::memset(&a, 0, sizeof a);
    std::strcpy(a.AboutTitle, title);
    std::strcpy(a.AboutUrl, url);
    std::strcpy(a.AboutComment, comment);
    std::strcpy(a.AboutDate, "1999");
    std::strcpy(a.AboutHolder, "Some Holder");
    return a;
}

QString Label(const QDialog& d, const char* name) {
    auto* l = d.findChild<QLabel*>(name);
    return l && !l->isHidden() ? l->text() : QStringLiteral("<hidden>");
}

TEST(AboutPlugIns, TheRecordHasFiveFieldsOf156BytesInOrder) {
    static_assert(sizeof(TPlugInAbout) == 780);
    EXPECT_EQ(offsetof(TPlugInAbout, AboutHolder), 156u);
    EXPECT_EQ(offsetof(TPlugInAbout, AboutTitle), 312u);
    EXPECT_EQ(offsetof(TPlugInAbout, AboutDate), 468u);
    EXPECT_EQ(offsetof(TPlugInAbout, AboutComment), 624u);
}

TEST(AboutPlugIns, AFieldWithoutZeroByteIsTakenWholeAndNoFurther) {
    TPlugInAbout a = About("", "", "");
    std::memset(a.AboutTitle, 'T', sizeof a.AboutTitle);  // runs straight into AboutDate "1999"
    EXPECT_EQ(vlr::AboutField(a.AboutTitle), std::string(156, 'T'));
    vlr::TFrmAboutPlugins d(a);
    EXPECT_EQ(d.windowTitle(), "About " + QString(156, 'T'));
}

TEST(AboutPlugIns, ShowsItsLinesAndHidesWhatIsEmpty) {
    vlr::TFrmAboutPlugins full(About("Counter", "https://example.invalid/", "Counts things."));
    full.show();
    EXPECT_EQ(full.windowTitle(), "About Counter");
    EXPECT_EQ(Label(full, "LblTitle"), "Counter");
    EXPECT_TRUE(Label(full, "LblCopyright").contains("1999"));
    EXPECT_TRUE(Label(full, "LblCopyright").endsWith("Some Holder"));
    EXPECT_EQ(Label(full, "LblRights"), "All Rights Reserved");
    EXPECT_EQ(Label(full, "LblComment"), "Counts things.");
    EXPECT_FALSE(full.findChild<QPushButton*>("BtnWebSite")->isHidden());

    vlr::TFrmAboutPlugins bare(About("Bare", "", ""));
    bare.show();
    EXPECT_EQ(Label(bare, "LblComment"), "<hidden>");
    EXPECT_TRUE(bare.findChild<QPushButton*>("BtnWebSite")->isHidden());
    EXPECT_EQ(bare.findChild<QPushButton*>("BtnOK")->text(), "&OK");
}

TEST(AboutPlugIns, TheWebSiteButtonOpensTheAddressAndCloses) {
    std::vector<std::string> opened;
    vlr::SetShellOpenHook([&](const std::string& s) {
        opened.push_back(s);
        return true;
    });
    vlr::TFrmAboutPlugins d(About("Web", "https://example.invalid/page", ""));
    d.show();
    d.findChild<QPushButton*>("BtnWebSite")->click();
    vlr::SetShellOpenHook(nullptr);
    EXPECT_EQ(opened, std::vector<std::string>{"https://example.invalid/page"});
    EXPECT_FALSE(d.isVisible());
    EXPECT_FALSE(vlr::DispAbout(nullptr, nullptr));
}

}  // namespace
