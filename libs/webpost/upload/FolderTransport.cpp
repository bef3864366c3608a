#include "libs/webpost/upload/FolderTransport.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr::upload {
namespace {

std::string SystemError(const std::string& what) { return what + ": " + std::strerror(errno); }

struct Fd {
    int fd = -1;
    ~Fd() {
        if (fd >= 0)
            ::close(fd);
    }
};

}  // namespace

std::string TemporaryNameFor(const std::string& remotePath) {
    const std::size_t slash = remotePath.rfind('/');
    const std::string dir = slash == std::string::npos ? std::string() : remotePath.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? remotePath : remotePath.substr(slash + 1);
    return dir + "." + name + ".part";
}

bool FolderTransport::open(std::string& error) {
    std::error_code ec;
    std::filesystem::create_directories(folder_, ec);
    if (ec || !std::filesystem::is_directory(folder_)) {
        error = "Cannot use the folder " + folder_ + ": " + (ec ? ec.message() : "it is not a folder");
        return false;
    }
    return true;
}

bool FolderTransport::put(const std::string& localFile, const std::string& remotePath, std::uint64_t size,
                          TransferProgress& progress, bool& cancelled, std::string& error) {
    cancelled = false;
    const std::string target = folder_ + remotePath;
    const std::string temp = folder_ + TemporaryNameFor(remotePath);
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(target).parent_path(), ec);
    if (ec) {
        error = "Cannot create the folder of " + target + ": " + ec.message();
        return false;
    }
    Fd in, out;
    in.fd = ::open(localFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (in.fd < 0) {
        error = SystemError("Cannot read " + localFile);
        return false;
    }
    // The temporary name is made new: whatever lies there already (the rest of
    // an interrupted upload, or a link planted to have the file written
    // through it) is removed, never opened.
    constexpr int kCreate = O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC;
    out.fd = ::open(temp.c_str(), kCreate, 0644);
    if (out.fd < 0 && errno == EEXIST && ::unlink(temp.c_str()) == 0)
        out.fd = ::open(temp.c_str(), kCreate, 0644);
    if (out.fd < 0) {
        error = SystemError("Cannot write " + temp);
        return false;
    }
    auto abandon = [&](const std::string& why) {
        error = why;
        ::close(out.fd);
        out.fd = -1;
        ::unlink(temp.c_str());
        return false;
    };
    std::uint64_t done = 0;
    char buffer[65536];
    if (!progress.bytesSent(0, size)) {
        cancelled = true;
        return abandon(kCancelled);
    }
    for (;;) {
        ssize_t n = ::read(in.fd, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return abandon(SystemError("Cannot read " + localFile));
        if (n == 0)
            break;
        for (ssize_t off = 0; off < n;) {
            ssize_t w = ::write(out.fd, buffer + off, static_cast<std::size_t>(n - off));
            if (w < 0 && errno == EINTR)
                continue;
            if (w < 0)
                return abandon(SystemError("Cannot write " + temp));
            off += w;
        }
        done += static_cast<std::uint64_t>(n);
        if (!progress.bytesSent(done, size)) {
            cancelled = true;
            return abandon(kCancelled);
        }
    }
    if (::fsync(out.fd) != 0)
        return abandon(SystemError("Cannot write " + temp));
    int fd = out.fd;
    out.fd = -1;
    if (::close(fd) != 0) {
        error = SystemError("Cannot write " + temp);
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        error = SystemError("Cannot rename " + temp + " to " + target);
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool FolderTransport::remove(const std::string& remotePath, std::string& error) {
    const std::string target = folder_ + remotePath;
    if (::unlink(target.c_str()) != 0 && errno != ENOENT) {
        error = SystemError("Cannot delete " + target);
        return false;
    }
    return true;
}

}  // namespace vlr::upload
