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

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr {
namespace {

enum PreviewPage { kSourcePage = 0, kPreviewPage = 1 };

void removeFile(const std::string& path) {
    std::error_code ec;
    if (!path.empty() && std::filesystem::exists(path, ec))
        std::filesystem::remove(path, ec);
}

// A folder of this user's that nobody else can enter: a real folder (not a
// link), owned by the user, with no rights for group and others.
bool privateFolder(const std::string& path) {
    struct stat st {};
    return ::lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::geteuid() &&
           (st.st_mode & 077) == 0;
}

// Where this program keeps its private folders: $XDG_RUNTIME_DIR when it is
// private, otherwise "velora" in the user's cache folder, made 0700.
std::string privateBase() {
    if (const char* run = std::getenv("XDG_RUNTIME_DIR"); run && *run == '/' && privateFolder(run))
        return run;
    std::string cache;
    if (const char* xdg = std::getenv("XDG_CACHE_HOME"); xdg && *xdg == '/')
        cache = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home == '/')
        cache = std::string(home) + "/.cache";
    else
        return {};
    std::error_code ec;
    std::filesystem::create_directories(cache, ec);
    const std::string base = cache + "/velora";
    if (::mkdir(base.c_str(), 0700) != 0 && errno != EEXIST)
        return {};
    struct stat st {};
    if (::lstat(base.c_str(), &st) != 0 || !S_ISDIR(st.st_mode) || st.st_uid != ::geteuid())
        return {};
    if ((st.st_mode & 077) != 0 && ::chmod(base.c_str(), 0700) != 0)
        return {};
    return base;
}

// The folder of this process's preview pages (mode 0700, made on first use),
// removed with everything in it when the program ends.
class PreviewFolder {
public:
    const std::string& path() {
        if (path_.empty()) {
            const std::string base = privateBase();
            if (base.empty())
                throw std::runtime_error("There is no private folder for the preview pages");
            std::string name = base + "/velora-preview-XXXXXX";
            if (!::mkdtemp(name.data()))
                throw std::runtime_error("Cannot make a folder for the preview pages in " + base + ": " +
                                         std::strerror(errno));
            path_ = name;
        }
        return path_;
    }
    ~PreviewFolder() {
        std::error_code ec;
        if (!path_.empty())
            std::filesystem::remove_all(path_, ec);
    }

private:
    std::string path_;
};

const std::string& previewFolder() {
    static PreviewFolder folder;
    return folder.path();
}

// Writes a new file only this user can read; nothing already at the name
// (a file or a link) is written through: with `replace` it is removed first,
// otherwise the write fails. False with the reason in *error.
bool writeNew(const std::string& path, const QByteArray& text, std::string* error, bool replace = true) {
    if (replace)
        ::unlink(path.c_str());
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
    if (fd < 0) {
        *error = std::strerror(errno);
        return false;
    }
    const char* data = text.constData();
    std::size_t left = std::size_t(text.size());
    while (left > 0) {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            *error = std::strerror(errno);
            ::close(fd);
            ::unlink(path.c_str());
            return false;
        }
        data += n;
        left -= std::size_t(n);
    }
    if (::close(fd) != 0) {
        *error = std::strerror(errno);
        ::unlink(path.c_str());
        return false;
    }
    return true;
}

// Writes the preview text whole; a failure reaches the exception report
// through the caller.
void writeWhole(const std::string& path, const QByteArray& text) {
    std::string error;
    if (!writeNew(path, text, &error))
        throw std::runtime_error("Cannot write the preview page " + path + ": " + error);
}

// Moves a built page into the preview folder (copied when it lies on another
// file system) and removes it where it was built.
void moveInto(const std::string& from, const std::string& to) {
    std::error_code ec;
    std::filesystem::rename(from, to, ec);
    if (!ec) {
        ::chmod(to.c_str(), 0600);
        return;
    }
    std::string text;
    const bool read = ReadFileBytes(from, text);
    removeFile(from);
    if (!read)
        throw std::runtime_error("Cannot read the built preview page " + from);
    writeWhole(to, QByteArray::fromStdString(text));
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

// The preview module stays loaded once a browser was made: the web engine
// cannot be unloaded safely while the program runs.
LibraryHandle PreviewModule() {
    static LibraryHandle module = LoadLibrary("preview.dll");
    return module;
}

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
    LibraryHandle module = PreviewModule();
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
    const std::string page = "~" + w_.TickId + ".htm";
    std::string site, pathInSite = "/" + page;
    try {
        w_.PreviewFile = previewFolder() + "/" + page;
        if (w_.OutDir.empty() || w_.OutDir == "none") {
            writeWhole(w_.PreviewFile, text);
        } else {
            // The page stands where the document's page goes in the output
            // folder, so that its relative links work; its file is private.
            std::string sub = SubPath();
            if (!sub.empty())
                pathInSite = "/" + sub + pathInSite;
            site = absolutePath(w_.OutDir);
            while (site.size() > 1 && site.back() == '/')
                site.pop_back();
            if (!buildPreview(text))
                return backToSource();
        }
    } catch (...) {
        backToSource();
        throw;
    }
    w_.Notebook1->setCurrentIndex(kPreviewPage);
    if (LibraryHandle module = PreviewModule(); module && w_.Browser)
        if (auto show = reinterpret_cast<PreviewShowFn>(GetProcAddress(module, "PreviewShow")))
            show(w_.Browser, w_.PreviewFile.c_str(), site.c_str(), pathInSite.c_str());
}

// The build reads the text from a hidden file beside the document (in the
// source folder for a document without a file), so that its includes are
// found where the document's are; failing that, from the preview folder.
// The file lives only while the build runs; the page it gives is moved into
// the preview folder. False (nothing left behind) when the build failed.
bool EditorPreview::buildPreview(const QByteArray& text) {
    std::string folder = w_.FileName == kUntitled ? absolutePath(w_.SrcDir) : folderOf(absolutePath(w_.FileName));
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    const std::string name = ".~" + w_.TickId;
    std::string error;
    w_.PreviewSource = folder + "/" + name + ".hts";
    if (folder.empty() || !writeNew(w_.PreviewSource, text, &error, false)) {
        w_.PreviewSource = previewFolder() + "/" + name + ".hts";
        writeWhole(w_.PreviewSource, text);
    }
    const std::string built = folderOf(w_.PreviewSource) + "/" + name + ".htm";
    RecordPtr r = MakeRecord(w_.PreviewSource, "true");
    const LResult result = SendMessage(w_.MainWnd, MW_BUILD_ONE, 0, reinterpret_cast<LParam>(r.release()));
    // The temporary source goes whatever the result.
    removeFile(w_.PreviewSource);
    if (result != 1) {
        removeFile(built);
        return false;
    }
    moveInto(built, w_.PreviewFile);
    return true;
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
