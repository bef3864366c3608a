// The main-window messages of projects, files, builds and hints, sent through
// the platform's SendMessage as editor windows and outside modules send them.
#include "ProjectFixture.h"

#include "app/shell/StatusLine.h"
#include "platform/IniFile.h"
#include "platform/Record.h"

#include <QDate>
#include <QLocale>
#include <QProgressBar>

namespace vlrtest {
namespace {

class MessagesTest : public ProjectShellTest {
protected:
    void SetUp() override {
        ProjectShellTest::SetUp();
        w = NewProjectWindow();
        AddRecordingChild(*w, "TFrmEditor");
    }
    void TearDown() override {
        w.reset();
        ProjectShellTest::TearDown();
    }
    vlr::LResult Send(unsigned msg, const std::string& first = {}, const std::string& second = {}) {
        vlr::RecordPtr r = vlr::MakeRecord(first, second, "");
        return vlr::SendMessage(w->handle(), msg, 0, reinterpret_cast<vlr::LParam>(r.release()));
    }
    vlr::LResult SendPlain(unsigned msg) { return vlr::SendMessage(w->handle(), msg, 0, 0); }
    std::string OpenProject() {
        src = projectDir + "/src";
        img = projectDir + "/img";
        const std::string vlr = projectDir + "/site.vlr";
        vlr::IniFile ini(vlr);
        ini.WriteString("directories", "src", src);
        ini.WriteString("directories", "img", img);
        ini.WriteString("variables", "DateNow", "never");
        ini.WriteString("variables", "Title", "Home");
        w->projectUnit().ParseToOpen(vlr);
        return vlr;
    }
    // The hint replies (3030) the editor window received.
    std::vector<std::string> Hints() const {
        std::vector<std::string> out;
        for (const ChildRecord& r : childRecords)
            if (r.msg == 3030)
                out.push_back(r.first);
        return out;
    }
    std::unique_ptr<vlr::TFrmMainVLR> w;
    std::string src, img;
};

TEST_F(MessagesTest, VariableValuesPreferInternalVariablesAndAreCurrent) {
    Send(3031, "Header");
    ASSERT_EQ(Hints().size(), 1u);
    const std::string date = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat).toStdString();
    const std::string header = Hints()[0];
    EXPECT_EQ(header.rfind("<!-- VLR1.0::none::", 0), 0u) << header;
    EXPECT_NE(header.find("::" + date + " -->|"), std::string::npos) << header;

    OpenProject();
    childRecords.clear();
    Send(3031, "DateNow");
    Send(3031, "Title");
    Send(3031, "Nobody");
    Send(3031, "ProjFile", "ignored");
    EXPECT_EQ(Hints(), (std::vector<std::string>{date + "|", "Home|", "|", "site.vlr|"}));
}

TEST_F(MessagesTest, FileHintsLookInTheImageOrSourceDirectoryByExactExtension) {
    OpenProject();
    MakeFile("src/page.hts");
    MakeFile("img/logo.gif");
    MakeFile("img/logo.GIF");  // only in the image directory
    Send(3032, "page.hts");
    Send(3032, "logo.gif");
    Send(3032, "logo.GIF");  // looked for in the source directory: no reply
    Send(3032, "missing.hts");
    ASSERT_EQ(Hints().size(), 2u);
    for (const std::string& h : Hints()) {
        EXPECT_EQ(h.rfind("Last Accessed: ", 0), 0u) << h;
        EXPECT_GT(h.size(), std::string("Last Accessed: |").size()) << h;
    }
}

TEST_F(MessagesTest, OpenMessagesOpenByTypeOrSayTheFileIsMissing) {
    OpenProject();
    const std::string page = MakeFile("src/page.hts");
    const std::string logo = MakeFile("img/logo.gif");
    Send(3035, "page.hts");
    Send(3035, "logo.gif");
    Send(3035, "gone.hts");
    Send(3037, page);
    Send(3037, projectDir + "/nowhere.htm");
    Send(3057, "");
    Send(3057, page);
    EXPECT_EQ(editorOpened, (std::vector<std::string>{page, page, page}));
    EXPECT_EQ(Outside().viewed, std::vector<std::string>{logo});
    EXPECT_EQ(MessageTexts(), (std::vector<std::string>{"Cannot find file " + src + "/gone.hts",
                                                        "Cannot find file " + projectDir + "/nowhere.htm"}));
    EXPECT_EQ(prompter->messages()[0].kind, vlr::MessageKind::Information);
}

TEST_F(MessagesTest, TheOpenListOpensOnlyPiecesFollowedByAComma) {
    const std::string a = MakeFile("a.htm");
    const std::string b = MakeFile("b.htm");
    Send(3041, a + "," + b);
    EXPECT_EQ(editorOpened, std::vector<std::string>{a});
    editorOpened.clear();
    Send(3041, a + "," + b + ",");
    EXPECT_EQ(editorOpened, (std::vector<std::string>{a, b}));
    editorOpened.clear();
    Send(3041, "");
    EXPECT_TRUE(editorOpened.empty());
    EXPECT_TRUE(prompter->messages().empty());
}

TEST_F(MessagesTest, BuildMessagesCallTheBuildAndAnswerItsResult) {
    const std::string vlr = OpenProject();
    Outside().buildResult = 1;
    EXPECT_EQ(Send(3039, "/s/a.hts", "true"), 1);
    Outside().buildResult = 2;
    EXPECT_EQ(Send(3039, "/s/a.hts", "yes"), 0);
    ASSERT_EQ(Outside().builds.size(), 2u);
    EXPECT_EQ(Outside().builds[0].project, vlr);
    EXPECT_EQ(Outside().builds[0].path, "/s/a.hts");
    EXPECT_EQ(Outside().builds[0].window, w->handle());
    EXPECT_EQ(Outside().builds[0].flag, -1);
    EXPECT_EQ(Outside().builds[1].flag, 0);

    Send(3062, "/s/b.hts");
    ASSERT_EQ(Outside().builds.size(), 3u);
    EXPECT_EQ(Outside().builds[2].path, "/s/b.hts");
    EXPECT_EQ(Outside().builds[2].flag, 0);
    ASSERT_FALSE(childRecords.empty());
    EXPECT_EQ(childRecords.back().msg, 3040u);
}

TEST_F(MessagesTest, ProgressAndStatusMessagesDriveTheStatusLine) {
    QProgressBar* bar = w->statusLine().progressBar();
    Send(3058, "120");
    EXPECT_EQ(bar->maximum(), 120);
    SendPlain(3059);
    SendPlain(3059);
    EXPECT_EQ(bar->value(), 2);
    SendPlain(3060);
    EXPECT_EQ(bar->value(), 0);
    Send(3061, "Building index.hts");
    EXPECT_EQ(w->Status().panelText(1), "Building index.hts");
    SendPlain(3033);
    EXPECT_EQ(w->Status().panelText(1), "Internet Connection Active...");
    EXPECT_TRUE(w->Status().connectionActive());
    SendPlain(3034);
    EXPECT_EQ(w->Status().panelText(1), "");
    EXPECT_FALSE(w->Status().connectionActive());

    // A maximum that is not a number reaches the exception report.
    EXPECT_EQ(Send(3058, "12x"), 0);
    ASSERT_EQ(Reports().size(), 1u);
    EXPECT_EQ(Reports()[0].className, "EConvertError");
    EXPECT_EQ(Reports()[0].method, "TFrmMainVLR.ProgressMax");
    EXPECT_EQ(Reports()[0].message, "'12x' is not a valid integer value");
    EXPECT_EQ(bar->maximum(), 120);
}

TEST_F(MessagesTest, TheProjectFileQueryAnswersANewRecord) {
    auto ask = [&] {
        vlr::RecordPtr r = vlr::AdoptRecord(SendPlain(3085));
        return r ? vlr::RecordText(r->first) : std::string("(no record)");
    };
    EXPECT_EQ(ask(), "none");
    const std::string vlr = OpenProject();
    EXPECT_EQ(ask(), vlr);
    EXPECT_EQ(w->projectUnit().GetProj(), vlr);
    // The ignored numbers do nothing and answer 0.
    EXPECT_EQ(SendPlain(3042), 0);
    EXPECT_EQ(SendPlain(3405), 0);
    EXPECT_TRUE(prompter->messages().empty());
}

}  // namespace
}  // namespace vlrtest
