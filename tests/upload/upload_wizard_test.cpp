// The upload wizard driven through its controls: dry run, upload with
// progress, the remembered destination, confirmed deletions, cancel and
// wrong credentials.
#include "FtpServer.h"
#include "UploadTestSupport.h"

#include "libs/webpost/UploadWizard.h"
#include "platform/ScriptedPrompter.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>

#include <gtest/gtest.h>

#include <filesystem>

using namespace uploadtest;
using vlr::webpost::TFrmUpload;

namespace {

QApplication& App() {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "upload_gui_tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

template <typename W>
W* Control(QWidget* w, const char* name) {
    W* c = w->findChild<W*>(QLatin1String(name));
    EXPECT_NE(c, nullptr) << name;
    return c;
}

bool WaitFor(const std::function<bool()>& done, int ms = 20000) {
    QElapsedTimer t;
    t.start();
    while (!done() && t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

void Finish(TFrmUpload& wizard) { ASSERT_TRUE(WaitFor([&] { return !wizard.running(); })); }

// Saves a picture of the window when VELORA_SCREENSHOT_DIR names a folder.
void Screenshot(QWidget* w, const char* name) {
    if (const char* dir = std::getenv("VELORA_SCREENSHOT_DIR"))
        w->grab().save(QString::fromUtf8(dir) + QLatin1Char('/') + QLatin1String(name));
}

class UploadWizard : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        // Passwords are typed in these tests, never looked up.
        ::setenv("VELORA_NO_SECRET_STORE", "1", 1);
    }
    Site site;
    vlr::ScriptedPrompter prompter;
};

TEST_F(UploadWizard, DryRunThenUploadToAFolderAndTheDestinationIsOfferedNextTime) {
    site.put("index.html", "<p>1</p>");
    site.put("img/a.gif", "GIF");
    {
        TFrmUpload wizard(site.project(), "", "");
        EXPECT_EQ(Control<QLineEdit>(&wizard, "LocalFolder")->text().toStdString() + "/", site.out());
        Control<QComboBox>(&wizard, "Destination")->setEditText(QString::fromStdString(site.dest()));
        Control<QPushButton>(&wizard, "DryRun")->click();
        EXPECT_TRUE(wizard.logText().contains(QStringLiteral("would send    img/a.gif (3 bytes)")));
        EXPECT_TRUE(wizard.logText().contains(QStringLiteral("Dry run: 2 files would be sent (11 bytes), 0 unchanged")));
        EXPECT_FALSE(Exists(site.dest()));

        Control<QPushButton>(&wizard, "Upload")->click();
        Finish(wizard);
        EXPECT_TRUE(wizard.lastResult().ok()) << wizard.lastResult().error;
        EXPECT_TRUE(wizard.logText().contains(QStringLiteral("sent     index.html")));
        EXPECT_TRUE(wizard.logText().endsWith(QStringLiteral("2 files sent, 0 unchanged")));
        EXPECT_EQ(Control<QProgressBar>(&wizard, "Progress")->value(), Control<QProgressBar>(&wizard, "Progress")->maximum());
        EXPECT_EQ(ReadFile(site.dest("img/a.gif")), "GIF");
    }
    TFrmUpload again(site.project(), "", "");
    EXPECT_EQ(Control<QComboBox>(&again, "Destination")->currentText().toStdString(), site.dest());
    Control<QPushButton>(&again, "Upload")->click();
    Finish(again);
    EXPECT_TRUE(again.logText().endsWith(QStringLiteral("0 files sent, 2 unchanged")));
    EXPECT_TRUE(prompter.messages().empty());
}

TEST_F(UploadWizard, DeletionsAreListedAndConfirmedBeforeAnythingIsDeleted) {
    site.put("a.html", "a");
    site.put("old.html", "o");
    TFrmUpload wizard(site.project(), "", site.dest());
    Control<QPushButton>(&wizard, "Upload")->click();
    Finish(wizard);
    std::filesystem::remove(site.out("old.html"));
    Control<QCheckBox>(&wizard, "DeleteRemoved")->setChecked(true);

    prompter.QueueAnswer(vlr::ModalResult::No);
    Control<QPushButton>(&wizard, "Upload")->click();
    Finish(wizard);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].kind, vlr::MessageKind::Confirmation);
    EXPECT_NE(prompter.messages()[0].text.find("\nold.html\n"), std::string::npos);
    EXPECT_TRUE(Exists(site.dest("old.html")));

    prompter.QueueAnswer(vlr::ModalResult::Yes);
    Control<QPushButton>(&wizard, "Upload")->click();
    Finish(wizard);
    EXPECT_FALSE(Exists(site.dest("old.html")));
    EXPECT_TRUE(wizard.logText().contains(QStringLiteral("deleted  old.html")));
}

TEST_F(UploadWizard, ShowsTheCurrentFileAndBytesAndCancelStopsCleanly) {
    std::filesystem::create_directories(site.root() + "server");
    FtpServer server(site.root() + "server", "web", "pw", 128 * 1024);
    ASSERT_TRUE(server.running());
    site.put("index.html", "i");
    // Larger than the socket buffers, so the progress shows bytes still on the way.
    site.put("video.bin", std::string(16 * 1024 * 1024, 'v'));
    TFrmUpload wizard(site.project(), "", server.url("www"));
    wizard.resize(640, 480);
    wizard.show();
    Control<QLineEdit>(&wizard, "User")->setText(QStringLiteral("web"));
    Control<QLineEdit>(&wizard, "Password")->setText(QStringLiteral("pw"));
    Control<QPushButton>(&wizard, "Upload")->click();
    ASSERT_TRUE(WaitFor([&] {
        return Control<QLabel>(&wizard, "Bytes")->text().startsWith(QStringLiteral("video.bin")) &&
               Control<QProgressBar>(&wizard, "Progress")->value() > 50;
    }));
    EXPECT_TRUE(Control<QLabel>(&wizard, "CurrentFile")->text().startsWith(QStringLiteral("Sending video.bin (2 of 2)")));
    EXPECT_FALSE(Control<QPushButton>(&wizard, "Upload")->isEnabled());
    Screenshot(&wizard, "upload-wizard.png");
    // Closing while sending only asks the transfer to stop.
    wizard.close();
    EXPECT_TRUE(wizard.isVisible());
    Finish(wizard);
    EXPECT_TRUE(wizard.lastResult().cancelled);
    EXPECT_TRUE(wizard.logText().contains(QStringLiteral("Cancelled: 1 files sent, 0 unchanged")));
    EXPECT_FALSE(Exists(site.root() + "server/www/video.bin"));
    EXPECT_TRUE(prompter.messages().empty());
    EXPECT_TRUE(Control<QPushButton>(&wizard, "Upload")->isEnabled());
}

TEST_F(UploadWizard, WrongCredentialsAndBadDestinationsAreReported) {
    std::filesystem::create_directories(site.root() + "server");
    FtpServer server(site.root() + "server", "web", "pw");
    site.put("index.html", "i");
    TFrmUpload wizard(site.project(), "", server.url());
    Control<QLineEdit>(&wizard, "User")->setText(QStringLiteral("web"));
    Control<QLineEdit>(&wizard, "Password")->setText(QStringLiteral("wrong"));
    Control<QPushButton>(&wizard, "Upload")->click();
    Finish(wizard);
    ASSERT_EQ(prompter.messages().size(), 1u);
    EXPECT_EQ(prompter.messages()[0].kind, vlr::MessageKind::Error);
    EXPECT_NE(prompter.messages()[0].text.find("refused the user name or password"), std::string::npos);

    Control<QComboBox>(&wizard, "Destination")->setEditText(QStringLiteral("gopher://127.0.0.1/"));
    Control<QPushButton>(&wizard, "Upload")->click();
    EXPECT_FALSE(wizard.running());
    ASSERT_EQ(prompter.messages().size(), 2u);
    EXPECT_NE(prompter.messages()[1].text.find("gopher://"), std::string::npos);
}

}  // namespace
