// The editor window's preview page.
#include "editor/window/EditorPreview.h"

#include "editor/window/EditorMessages.h"
#include "editor/window/FrmEditor.h"
#include "libs/EntryPoints.h"
#include "platform/IniFile.h"
#include "platform/Library.h"
#include "platform/Record.h"
#include "platform/System.h"

#include <QPainter>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QStyleOptionTab>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <stdexcept>

namespace vlr {
namespace {

enum PreviewPage { kSourcePage = 0, kPreviewPage = 1 };

// The preview module stays loaded once a browser was made: the web engine
// cannot be unloaded safely while the program runs.
LibraryHandle previewModule() {
    static LibraryHandle module = LoadLibrary("preview.dll");
    return module;
}

void removeFile(const std::string& path) {
    std::error_code ec;
    if (!path.empty() && std::filesystem::exists(path, ec))
        std::filesystem::remove(path, ec);
}

// Writes the preview text whole; a failure reaches the exception report
// through the caller.
void writeWhole(const std::string& path, const QByteArray& text) {
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    std::string error;
    if (!WriteFileAtomically(path, std::string(text.constData(), std::size_t(text.size())), &error))
        throw std::runtime_error("Cannot write the preview page " + path + ": " + error);
}

// A project's folders may be stored relative to the project file, whose
// folder is the current one while the project is open; the preview needs
// them whole, for the folder mapping and for its "file://" address.
std::string absolutePath(const std::string& path) {
    if (path.empty() || path.front() == '/')
        return path;
    std::error_code ec;
    std::filesystem::path whole = std::filesystem::absolute(path, ec);
    return ec ? path : whole.lexically_normal().string();
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash);
}

void toShort(const std::string& text, unsigned char* out) {
    std::size_t n = std::min<std::size_t>(text.size(), 255);
    out[0] = static_cast<unsigned char>(n);
    std::memcpy(out + 1, text.data(), n);
}

constexpr unsigned MW_BUILD_ONE = 3039;

}  // namespace

std::string UniqueTickId() {
    static std::uint32_t last = 0;
    static bool any = false;
    std::uint32_t tick = TickCount();
    // Not later than the previous one (the difference taken across the
    // counter's wrap): one more than the previous one.
    if (any && static_cast<std::int32_t>(tick - last) <= 0)
        tick = last + 1;
    last = tick;
    any = true;
    return std::to_string(tick);
}

PreviewTabBar::PreviewTabBar(TFrmEditor& owner, QWidget* parent) : QTabBar(parent), owner_(owner) {}

void PreviewTabBar::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    // The strip's background is the application-workspace colour.
    painter.fillRect(rect(), palette().color(QPalette::Dark));
    for (int i = 0; i < count(); ++i) {
        const bool selected = i == currentIndex();
        if (selected)
            painter.fillRect(tabRect(i), palette().color(QPalette::Window));
        owner_.preview().TabSet1DrawTab(painter, i, tabRect(i), selected);
    }
}

void EditorPreview::TabSet1DrawTab(QPainter& painter, int index, const QRect& rect, bool selected) const {
    QFont font = painter.font();
    font.setBold(selected);
    painter.setFont(font);
    painter.setPen(selected ? w_.palette().color(QPalette::WindowText) : QColor(Qt::white));
    painter.drawText(rect, Qt::AlignLeft | Qt::AlignTop, w_.TabSet1->tabText(index));
}

void EditorPreview::BuildIE() {
    LibraryHandle module = previewModule();
    auto create = module ? reinterpret_cast<PreviewCreateFn>(GetProcAddress(module, "PreviewCreate")) : nullptr;
    if (!create) {
        CloseIE();
        return;
    }
    w_.Browser = create(w_.OleContainer1);
    if (!w_.Browser) {
        CloseIE();
        return;
    }
    w_.TabSet1->show();
}

void EditorPreview::CloseIE() { w_.TabSet1->hide(); }

std::string EditorPreview::SubPath() const {
    LibraryHandle core = LoadLibrary("vlrcore.dll");
    if (!core)
        return {};
    std::string sub;
    if (auto doPathEx = reinterpret_cast<DoPathExFn>(GetProcAddress(core, "DoPathEx"))) {
        unsigned char src[256], dir[256], out[256], result[256];
        toShort(absolutePath(w_.SrcDir), src);
        toShort(folderOf(absolutePath(w_.FileName)), dir);
        toShort(absolutePath(w_.OutDir), out);
        result[0] = 0;
        doPathEx(src, dir, out, result);
        sub.assign(reinterpret_cast<const char*>(result + 1), result[0]);
    }
    FreeLibrary(core);
    return sub;
}

void EditorPreview::TabSet1Click(int index) {
    if (index == kPreviewPage)
        showPreview();
    else
        showSource();
}

void EditorPreview::showPreview() {
    const QByteArray text = w_.SyntaxMemo1->textCRLF();
    if (w_.OutDir.empty() || w_.OutDir == "none") {
        w_.PreviewFile = w_.TempDir + "~" + w_.TickId + ".htm";
        try {
            writeWhole(w_.PreviewFile, text);
        } catch (...) {
            backToSource();
            throw;
        }
    } else {
        std::string sub = SubPath();
        if (!sub.empty())
            sub = "/" + sub;
        std::string outDir = absolutePath(w_.OutDir);
        while (outDir.size() > 1 && outDir.back() == '/')
            outDir.pop_back();
        const std::string base = outDir + sub + "/~" + w_.TickId;
        w_.PreviewFile = base + ".htm";
        w_.PreviewSource = base + ".hts";
        try {
            writeWhole(w_.PreviewSource, text);
        } catch (...) {
            backToSource();
            throw;
        }
        RecordPtr r = MakeRecord(w_.PreviewSource, "true");
        const LResult built = SendMessage(w_.MainWnd, MW_BUILD_ONE, 0, reinterpret_cast<LParam>(r.release()));
        // The temporary source goes whatever the result: a failed build
        // must not leave it in the site's output folder.
        removeFile(w_.PreviewSource);
        if (built != 1) {
            removeFile(w_.PreviewFile);
            backToSource();
            return;
        }
    }
    w_.Notebook1->setCurrentIndex(kPreviewPage);
    if (LibraryHandle module = previewModule(); module && w_.Browser)
        if (auto navigate = reinterpret_cast<PreviewNavigateFn>(GetProcAddress(module, "PreviewNavigate")))
            navigate(w_.Browser, ("file://" + w_.PreviewFile).c_str());
}

void EditorPreview::showSource() {
    removeFile(w_.PreviewFile);
    w_.Notebook1->setCurrentIndex(kSourcePage);
}

// The tab strip selects the source again without a second round of Source
// handling; the page has not changed.
void EditorPreview::backToSource() {
    QSignalBlocker quiet(w_.TabSet1);
    w_.TabSet1->setCurrentIndex(kSourcePage);
    w_.TabSet1->update();
    w_.Notebook1->setCurrentIndex(kSourcePage);
}

}  // namespace vlr
