// WpPostA: the upload wizard as the main window starts it, with the open
// project asked of the owner window and the two optional texts.
#include "ModuleTestSupport.h"

#include "libs/EntryPoints.h"
#include "platform/Record.h"
#include "platform/ScriptedPrompter.h"

#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

using namespace vlrtest;

namespace {

// Answers the project file query (3085) as the main window does.
class ProjectWindow : public vlr::MessageHandler {
public:
    explicit ProjectWindow(std::string project) : project_(std::move(project)) {
        handle_ = vlr::RegisterWindow(this, "TFrmMainVLR");
    }
    ~ProjectWindow() override { vlr::UnregisterWindow(handle_); }
    vlr::LResult handleMessage(unsigned msg, vlr::WParam, vlr::LParam lParam) override {
        vlr::AdoptRecord(lParam);
        ++queries;
        if (msg != 3085)
            return 0;
        return reinterpret_cast<vlr::LResult>(vlr::MakeRecord(project_).release());
    }
    vlr::Handle handle() const { return handle_; }
    int queries = 0;

private:
    std::string project_;
    vlr::Handle handle_;
};

TEST(UploadEntryPoint, ShowsTheWizardForTheOpenProjectAndTakesTheGivenTexts) {
    App();
    TempAppDir appDir;
    ScopedEnv shown("VELORA_PROMPTS", "show");
    const std::string project = appDir.file("site.vlr");
    std::ofstream(project) << "[directories]\nout=" << appDir.path() << "built\n";
    ProjectWindow main(project);
    QString folder, destination;
    ModalDriver driver([&](QWidget* w) {
        EXPECT_EQ(w->objectName(), QStringLiteral("TFrmUpload"));
        folder = w->findChild<QLineEdit*>(QStringLiteral("LocalFolder"))->text();
        destination = w->findChild<QComboBox*>(QStringLiteral("Destination"))->currentText();
        w->close();
    });
    char first[261] = "";
    char second[261] = "";
    std::int32_t length = 0;
    auto post = Entry<WpPostAFn>("webpost", "WpPostA");
    EXPECT_EQ(post(main.handle(), 0, first, &length, second, 0, 0, 0), 1);
    EXPECT_TRUE(driver.acted());
    EXPECT_EQ(main.queries, 1);
    EXPECT_EQ(folder.toStdString(), appDir.path() + "built");

    std::strcpy(first, "/srv/site");
    std::strcpy(second, "ftp://127.0.0.1/www/");
    length = static_cast<std::int32_t>(std::strlen(second));
    ModalDriver again([&](QWidget* w) {
        folder = w->findChild<QLineEdit*>(QStringLiteral("LocalFolder"))->text();
        destination = w->findChild<QComboBox*>(QStringLiteral("Destination"))->currentText();
        w->close();
    });
    EXPECT_EQ(post(main.handle(), 1, first, &length, second, 0, 0, 0), 1);
    EXPECT_EQ(folder, QStringLiteral("/srv/site"));
    EXPECT_EQ(destination, QStringLiteral("ftp://127.0.0.1/www/"));
}

TEST(UploadEntryPoint, UnderLoggedPromptsNothingIsShownAndNothingFails) {
    App();
    TempAppDir appDir;
    ScopedEnv logged("VELORA_PROMPTS", "log");
    ModalDriver driver([](QWidget* w) { w->close(); });
    char first[261] = "";
    char second[261] = "";
    std::int32_t length = 0;
    EXPECT_EQ(Entry<WpPostAFn>("webpost", "WpPostA")(0, 0, first, &length, second, 0, 0, 0), 1);
    Settle();
    EXPECT_FALSE(driver.acted());
}

}  // namespace
