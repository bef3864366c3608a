#include "project/vars/InternalVariables.h"

#include "platform/System.h"
#include "platform/Version.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <vector>

namespace {

// A fixed moment, written with the C locale and explicit formats, so the
// expected texts do not depend on the machine's locale or clock.
vlr::TSystemVarSource fixedSystem(QTime time = QTime(14, 7, 9)) {
    vlr::TSystemVarSource s;
    s.Now = QDateTime(QDate(2024, 3, 5), time);
    s.Locale = QLocale::c();
    s.TimeFormat = QStringLiteral("HH:mm");
    s.DateFormat = QStringLiteral("dd/MM/yyyy");
    s.AppDir = "/opt/velora/";
    s.SystemDir = "/usr/lib";
    s.WinDir = "/usr";
    s.BuildNum = "1.0.0.7";
    return s;
}

vlr::TProjectVarSource siteProject() {
    vlr::TProjectVarSource p;
    p.ProjectFile = "/home/ann/sites/site.beta.vlr";
    p.SourceDir = "/home/ann/sites/src/";
    p.OutputDir = "/home/ann/sites/out/";
    p.ImageDir = "/home/ann/sites/img/";
    p.ImgPrefix = "images/";
    return p;
}

std::vector<std::pair<std::string, std::string>> entries(const vlr::TUserSettingList& list) {
    std::vector<std::pair<std::string, std::string>> out;
    for (int i = 0; i < list.Count(); ++i)
        out.emplace_back(list.Items(i)->Name, list.Items(i)->Value);
    return out;
}

TEST(InternalVars, FourteenEntriesInOrderWithProjectValues) {
    vlr::TUserSettingList list;
    vlr::InternalVars(list, siteProject(), fixedSystem());
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Header", "<!-- VLR1.0::site.beta.vlr::14:07::05/03/2024 -->"},
        {"SourceDir", "/home/ann/sites/src/"},
        {"OutputDir", "/home/ann/sites/out/"},
        {"ImageDir", "/home/ann/sites/img/"},
        {"ImgPrefix", "images/"},
        {"TimeNow", "14:07"},
        {"DateNow", "05/03/2024"},
        {"ProjectPath", "/home/ann/sites/"},
        {"VLRRootDir", "/opt/velora/"},
        {"SystemDir", "/usr/lib"},
        {"WinDir", "/usr"},
        {"BuildNum", "1.0.0.7"},
        {"ProjFile", "site.beta.vlr"},
        {"SnippetsDir", "/opt/velora/snippets/"},
    };
    EXPECT_EQ(entries(list), expected);
}

TEST(InternalVars, NoProjectUsesNoneAndAnEmptyProjectPath) {
    vlr::TUserSettingList list;
    vlr::InternalVars(list, vlr::TProjectVarSource{}, fixedSystem());
    ASSERT_EQ(list.Count(), 14);
    EXPECT_EQ(list.FindSetting("Header")->Value, "<!-- VLR1.0::none::14:07::05/03/2024 -->");
    EXPECT_EQ(list.FindSetting("ProjFile")->Value, "none");
    EXPECT_EQ(list.FindSetting("ProjectPath")->Value, "");
    EXPECT_EQ(list.FindSetting("SourceDir")->Value, "");
}

TEST(InternalVars, RebuildReplacesTheListAndFollowsTheClock) {
    vlr::TUserSettingList list;
    list.Add("Stale", "left over");
    vlr::InternalVars(list, siteProject(), fixedSystem(QTime(9, 1)));
    vlr::InternalVars(list, siteProject(), fixedSystem(QTime(9, 2)));
    ASSERT_EQ(list.Count(), 14);
    EXPECT_EQ(list.FindSetting("Stale"), nullptr);
    EXPECT_EQ(list.FindSetting("TimeNow")->Value, "09:02");
    EXPECT_EQ(list.FindSetting("Header")->Value, "<!-- VLR1.0::site.beta.vlr::09:02::05/03/2024 -->");
}

TEST(InternalVars, TimesAndDatesFollowTheLocaleShortFormats) {
    const QLocale german(QLocale::German, QLocale::Germany);
    vlr::TSystemVarSource s = fixedSystem();
    s.Locale = german;
    s.TimeFormat = german.timeFormat(QLocale::ShortFormat);
    s.DateFormat = german.dateFormat(QLocale::ShortFormat);
    vlr::TUserSettingList list;
    vlr::InternalVars(list, siteProject(), s);
    const std::string time = german.toString(QTime(14, 7, 9), QLocale::ShortFormat).toStdString();
    const std::string date = german.toString(QDate(2024, 3, 5), QLocale::ShortFormat).toStdString();
    EXPECT_EQ(list.FindSetting("TimeNow")->Value, time);
    EXPECT_EQ(list.FindSetting("DateNow")->Value, date);
    EXPECT_EQ(list.FindSetting("Header")->Value,
              std::string(vlr::kHeaderMarker) + "site.beta.vlr::" + time + "::" + date + " -->");
}

TEST(InternalVars, CurrentSourceReadsTheRunningSystem) {
    ::setenv("VELORA_APPDIR", "/opt/velora", 1);
    const QDateTime before = QDateTime::currentDateTime();
    const vlr::TSystemVarSource s = vlr::CurrentSystemVarSource();
    ::unsetenv("VELORA_APPDIR");
    EXPECT_EQ(s.AppDir, "/opt/velora/");
    EXPECT_EQ(s.SystemDir, vlr::SystemDir());
    EXPECT_EQ(s.WinDir, vlr::WindowsDir());
    EXPECT_EQ(s.BuildNum, vlr::GetBuildNum());
    EXPECT_LE(before.secsTo(s.Now), 5);
    EXPECT_GE(before.secsTo(s.Now), 0);
    EXPECT_FALSE(s.TimeFormat.isEmpty());
    EXPECT_FALSE(s.DateFormat.isEmpty());
}

TEST(VariableValue, InternalShadowsProjectThenProjectThenEmpty) {
    vlr::TUserSettingList internal;
    vlr::InternalVars(internal, siteProject(), fixedSystem());
    vlr::TUserSettingList project;
    project.Add("DateNow", "someday");
    project.Add("Author", "Ann");
    project.Add("Author", "Bob");
    EXPECT_EQ(vlr::VariableValue("DateNow", internal, project), "05/03/2024");
    EXPECT_EQ(vlr::VariableValue("Author", internal, project), "Ann");
    EXPECT_EQ(vlr::VariableValue("author", internal, project), "");
    EXPECT_EQ(vlr::VariableValue("datenow", internal, project), "");
    EXPECT_EQ(vlr::VariableValue("Missing", internal, project), "");
}

TEST(BuildNum, ComesFromTheVersionResource) {
    EXPECT_EQ(vlr::GetBuildNum(), VELORA_FILE_VERSION);
    EXPECT_TRUE(std::regex_match(vlr::GetBuildNum(), std::regex(R"(\d+\.\d+\.\d+\.\d+)")));
    EXPECT_EQ(vlr::BuildNumFromResource(0, ""), "0.0.0.0");
    EXPECT_EQ(vlr::BuildNumFromResource(120, ""), "");
    EXPECT_EQ(vlr::BuildNumFromResource(120, "1.0.0.7"), "1.0.0.7");
}

}  // namespace
