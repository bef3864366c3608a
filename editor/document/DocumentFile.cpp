// Reading and writing editor documents as files.
#include "editor/document/DocumentFile.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "memo/engine/LineBreaks.h"
#include "platform/IniFile.h"

namespace vlr {

namespace {

namespace memo = velora::memo;

memo::BreakStyle ToStoreStyle(BreakStyle style) noexcept {
    switch (style) {
        case BreakStyle::CRLF: return memo::BreakStyle::CRLF;
        case BreakStyle::CR: return memo::BreakStyle::CR;
        case BreakStyle::LF: break;
    }
    return memo::BreakStyle::LF;
}

// Reads the whole file, reporting errno on any failure, including one in the
// middle of the file: a silently shortened document would be saved over the
// original later.
bool ReadAll(const std::string& path, std::string& out, int& err) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        err = errno;
        return false;
    }
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        err = S_ISDIR(info.st_mode) ? EISDIR : errno;
        ::close(fd);
        return false;
    }
    out.clear();
    if (S_ISREG(info.st_mode) && info.st_size > 0)
        out.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[1 << 16];
    for (;;) {
        ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            err = errno;
            ::close(fd);
            return false;
        }
        if (n == 0)
            break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

}  // namespace

std::string_view BreakBytes(BreakStyle style) noexcept {
    switch (style) {
        case BreakStyle::CRLF: return "\r\n";
        case BreakStyle::CR: return "\r";
        case BreakStyle::LF: break;
    }
    return "\n";
}

BreakStyle DetectBreakStyle(std::string_view bytes) noexcept {
    switch (memo::detectBreakStyle(bytes)) {
        case memo::BreakStyle::CRLF:
        case memo::BreakStyle::LFCR: return BreakStyle::CRLF;
        case memo::BreakStyle::CR: return BreakStyle::CR;
        case memo::BreakStyle::LF: break;
    }
    return BreakStyle::LF;
}

LoadedDocument LoadDocument(const std::string& path) {
    LoadedDocument doc;
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0 && (errno == ENOENT || errno == ENOTDIR)) {
        doc.error = "Unable to find file " + path;
        return doc;
    }
    std::string bytes;
    int err = 0;
    if (!ReadAll(path, bytes, err)) {
        doc.error = "Unable to read file " + path + ": " + std::strerror(err);
        return doc;
    }
    doc.style = DetectBreakStyle(bytes);
    doc.text = memo::normaliseBreaks(bytes);
    doc.ok = true;
    return doc;
}

bool SaveDocument(const std::string& path, std::string_view storeText, BreakStyle style,
                  std::string* error) {
    std::string reason;
    if (WriteFileAtomically(path, memo::exportBreaks(storeText, ToStoreStyle(style)), &reason))
        return true;
    if (error)
        *error = "Unable to save file " + path + ": " + reason;
    return false;
}

}  // namespace vlr
