// File access of the site build.
#include "project/build/FileIO.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vlr::build {
namespace {

// The system's reason for the last failure; callers name the file themselves.
bool fail(std::string* error) {
    if (error)
        *error = std::strerror(errno);
    return false;
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? std::string("/") : path.substr(0, slash);
}

mode_t currentUmask() {
    // umask can only be read by setting it; it is read once, on first use.
    static const mode_t mask = [] {
        mode_t m = ::umask(022);
        ::umask(m);
        return m;
    }();
    return mask;
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& contents, std::string* error) {
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return fail(error);
    struct stat info {};
    if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        if (S_ISDIR(info.st_mode))
            errno = EISDIR;
        int saved = errno;
        ::close(fd);
        errno = saved;
        return fail(error);
    }
    contents.clear();
    contents.resize(static_cast<std::size_t>(info.st_size));
    std::size_t have = 0;
    for (;;) {
        if (have == contents.size())
            contents.resize(contents.size() + 4096);
        ssize_t n = ::read(fd, contents.data() + have, contents.size() - have);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            int saved = errno;
            ::close(fd);
            errno = saved;
            return fail(error);
        }
        if (n == 0)
            break;
        have += static_cast<std::size_t>(n);
    }
    contents.resize(have);
    ::close(fd);
    return true;
}

bool MakeFolders(const std::string& path, std::string* error) {
    if (path.empty())
        return true;
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) {
        if (S_ISDIR(info.st_mode))
            return true;
        errno = ENOTDIR;
        return fail(error);
    }
    std::string parent = folderOf(path);
    if (parent != path && parent != "." && !MakeFolders(parent, error))
        return false;
    if (::mkdir(path.c_str(), 0777) != 0 && errno != EEXIST)
        return fail(error);
    return true;
}

bool WriteWholeFile(const std::string& path, const std::string& contents, std::string* error) {
    std::string temp = path + ".~XXXXXX";
    int fd = ::mkstemp(temp.data());
    if (fd < 0 && errno == ENOENT) {
        // The folder is missing: make it and try once more.
        if (!MakeFolders(folderOf(path), error))
            return false;
        temp = path + ".~XXXXXX";
        fd = ::mkstemp(temp.data());
    }
    if (fd < 0)
        return fail(error);
    struct stat old {};
    mode_t mode = ::stat(path.c_str(), &old) == 0 ? (old.st_mode & 07777) : (0666 & ~currentUmask());
    bool ok = ::fchmod(fd, mode) == 0;
    std::size_t done = 0;
    while (ok && done < contents.size()) {
        ssize_t n = ::write(fd, contents.data() + done, contents.size() - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            ok = false;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    int saved = errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        saved = errno;
    }
    if (ok && ::rename(temp.c_str(), path.c_str()) != 0) {
        ok = false;
        saved = errno;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        errno = saved;
        return fail(error);
    }
    return true;
}

FileStamp StampOf(const std::string& path) {
    struct stat info {};
    FileStamp s;
    if (::stat(path.c_str(), &info) != 0)
        return s;
    s.exists = true;
    s.mtimeNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    s.size = static_cast<std::int64_t>(info.st_size);
    s.inode = static_cast<std::uint64_t>(info.st_ino);
    return s;
}

std::int64_t SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace vlr::build
