// TFrmEditor: the live preview pane beside the source.
#include "editor/window/EditorHost.h"
#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"
#include "editor/window/LivePreview.h"

#include "platform/Record.h"
#include "platform/System.h"
#include "project/build/TrustedProjects.h"

#include <QAction>
#include <QSplitter>

#include <filesystem>

namespace vlr {
namespace {

constexpr unsigned kProjectFileQuery = 3085;

}  // namespace

std::string TFrmEditor::ProjectFile() const {
    if (!IsWindow(MainWnd))
        return {};
    RecordPtr answer = AdoptRecord(SendMessage(MainWnd, kProjectFileQuery, 0, 0));
    std::string file = FirstText(answer);
    return file == "none" ? std::string() : file;
}

std::string TFrmEditor::PagePath() const {
    std::error_code ec;
    if (FileName != kUntitled && !FileName.empty())
        return std::filesystem::absolute(FileName, ec).lexically_normal().string();
    const std::string folder = SrcDir.empty() || SrcDir == "none" ? std::string(".") : SrcDir;
    return (std::filesystem::absolute(folder, ec) / (std::string(kUntitled) + ".html")).lexically_normal().string();
}

void TFrmEditor::ToggleLivePreview() {
    if (!livePreview_) {
        LivePreviewPane::Context context;
        context.projectFile = [this] { return ProjectFile(); };
        context.pagePath = [this] { return PagePath(); };
        context.allowOutside = [this](const std::string&) {
            const std::string project = ProjectFile();
            return !project.empty() &&
                   build::TrustedProjects(WritablePath(build::kTrustedProjectsName)).Contains(project);
        };
        context.openFile = [this](const std::string& file, int line) { host_.OpenSourceAtLine(file, line); };
        livePreview_ = new LivePreviewPane(*SyntaxMemo1, std::move(context), SourceSplit);
        SourceSplit->addWidget(livePreview_);
        livePreview_->hide();
    }
    const bool show = !livePreview_->isVisible();
    if (show) {
        livePreview_->show();
        // Source and page side by side, half each.
        const int half = std::max(1, SourceSplit->width() / 2);
        SourceSplit->setSizes({half, half});
    } else {
        livePreview_->hide();
        SyntaxMemo1->setFocus();
    }
    LivePreview1->setChecked(show);
}

}  // namespace vlr
