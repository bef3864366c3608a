// File access of the site build.
#include "project/build/FileIO.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <chrono>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <fcntl.h>
#include <random>
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

// Why a file that is not a regular one is not read.
std::string notAFile(mode_t mode) {
    if (S_ISDIR(mode))
        return std::strerror(EISDIR);
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "it is a device, not a file";
    if (S_ISFIFO(mode))
        return "it is a named pipe, not a file";
    if (S_ISSOCK(mode))
        return "it is a socket, not a file";
    return "it is not a regular file";
}

bool refuse(std::string* error, std::string reason) {
    if (error)
        *error = std::move(reason);
    return false;
}

std::string tooLarge(std::size_t limit) {
    return limit >= (std::size_t{1} << 20) ? "larger than " + std::to_string(limit >> 20) + " MB"
                                           : "larger than " + std::to_string(limit) + " bytes";
}

}  // namespace

bool ReadWholeFile(const std::string& path, std::string& contents, std::string* error, std::size_t limit) {
    // Looked at before opening: opening a device can act on it, opening a
    // named pipe waits for a writer.
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        return fail(error);
    if (!S_ISREG(info.st_mode))
        return refuse(error, notAFile(info.st_mode));
    if (static_cast<std::uint64_t>(info.st_size) > limit)
        return refuse(error, tooLarge(limit));
    // Non-blocking and checked again: the file may have been swapped since.
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0)
        return fail(error);
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        const int saved = errno;
        ::close(fd);
        errno = saved;
        return S_ISREG(info.st_mode) ? fail(error) : refuse(error, notAFile(info.st_mode));
    }
    contents.clear();
    // One byte more than the size tells a file that grew while being read.
    contents.resize(std::min(static_cast<std::size_t>(info.st_size), limit) + 1);
    std::size_t have = 0;
    for (;;) {
        if (have == contents.size()) {
            if (have > limit)
                break;
            contents.resize(std::min(have + std::max<std::size_t>(have, 4096), limit + 1));
        }
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
    ::close(fd);
    if (have > limit) {
        contents.clear();
        return refuse(error, tooLarge(limit));
    }
    contents.resize(have);
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

namespace {

// Opens a new temporary file beside `path` with `mode` (less the umask), its
// name in `temp`; -1 with errno when none can be made.
int openTemporary(const std::string& path, mode_t mode, std::string& temp) {
    static std::atomic<std::uint64_t> counter{0};
    thread_local std::uint64_t seed = [] {
        std::random_device device;
        return (std::uint64_t{device()} << 32) ^ device();
    }();
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        // splitmix64 of a per-thread seed and a shared counter: distinct
        // names without a system call per name.
        std::uint64_t x = seed + 0x9e3779b97f4a7c15ULL * ++counter;
        x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
        x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
        x ^= x >> 31;
        temp = path + ".~";
        for (int i = 0; i < 6; ++i, x /= 62)
            temp += kLetters[x % 62];
        const int fd = ::open(temp.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

}  // namespace

bool WriteWholeFile(const std::string& path, const std::string& contents, std::string* error, FileStamp* written) {
    // A replaced file keeps its mode, set on the temporary file before any
    // byte is in it; a new one is created with the usual 0666 less the umask.
    struct stat old {};
    const bool replacing = ::stat(path.c_str(), &old) == 0;
    std::string temp;
    int fd = openTemporary(path, replacing ? 0600 : 0666, temp);
    if (fd < 0 && errno == ENOENT) {
        // The folder is missing: make it and try once more.
        if (!MakeFolders(folderOf(path), error))
            return false;
        fd = openTemporary(path, replacing ? 0600 : 0666, temp);
    }
    if (fd < 0)
        return fail(error);
    bool ok = !replacing || ::fchmod(fd, old.st_mode & 07777) == 0;
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
    // The stamp of the file as written: renaming it changes neither its
    // modification time, nor its size, nor its inode.
    struct stat now {};
    if (ok && written)
        ok = ::fstat(fd, &now) == 0;
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
    if (written)
        *written = StampOf(now);
    return true;
}

FileStamp StampOf(const struct stat& info) {
    FileStamp s;
    s.exists = true;
    s.mtimeNs = static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec;
    s.size = static_cast<std::int64_t>(info.st_size);
    s.inode = static_cast<std::uint64_t>(info.st_ino);
    return s;
}

FileStamp StampOf(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 ? StampOf(info) : FileStamp{};
}

FileIdentity IdentityOf(const std::string& path, bool followLast) {
    struct stat info {};
    FileIdentity id;
    if ((followLast ? ::stat(path.c_str(), &info) : ::lstat(path.c_str(), &info)) != 0)
        return id;
    id.exists = true;
    id.device = static_cast<std::uint64_t>(info.st_dev);
    id.inode = static_cast<std::uint64_t>(info.st_ino);
    return id;
}

std::string ResolvedPath(const std::string& path) {
    if (path.empty())
        return {};
    std::string start = path;
    if (start.front() != '/') {
        std::string cwd(PATH_MAX, '\0');
        if (!::getcwd(cwd.data(), cwd.size()))
            return {};
        cwd.resize(cwd.find('\0'));
        start = cwd + "/" + start;
    }
    // The path parts still to walk, links expanded in place as they are met.
    std::deque<std::string> pending;
    auto pushFront = [&pending](const std::string& text) {
        std::deque<std::string> parts;
        std::size_t pos = 0;
        while (pos <= text.size()) {
            std::size_t slash = text.find('/', pos);
            if (slash == std::string::npos)
                slash = text.size();
            if (slash > pos)
                parts.push_back(text.substr(pos, slash - pos));
            pos = slash + 1;
        }
        pending.insert(pending.begin(), parts.begin(), parts.end());
    };
    pushFront(start);
    std::string done;  // resolved so far, without a trailing "/"; "" is the root
    bool missing = false;
    int links = 0;
    while (!pending.empty()) {
        const std::string part = std::move(pending.front());
        pending.pop_front();
        if (part == ".")
            continue;
        if (part == "..") {
            done.resize(done.rfind('/') == std::string::npos ? 0 : done.rfind('/'));
            continue;
        }
        std::string next = done + "/" + part;
        if (!missing) {
            struct stat info {};
            if (::lstat(next.c_str(), &info) != 0) {
                // The rest is taken as written: it does not exist (yet).
                missing = true;
            } else if (S_ISLNK(info.st_mode)) {
                if (++links > 40)
                    return {};
                std::string target(PATH_MAX, '\0');
                const ssize_t n = ::readlink(next.c_str(), target.data(), target.size());
                if (n <= 0 || static_cast<std::size_t>(n) >= target.size())
                    return {};
                target.resize(static_cast<std::size_t>(n));
                if (target.front() == '/')
                    done.clear();
                pushFront(target);
                continue;
            }
        }
        done = std::move(next);
    }
    return done.empty() ? std::string("/") : done;
}

bool IsWithin(const std::string& folder, const std::string& path) {
    if (folder.empty() || path.empty())
        return false;
    if (folder == "/")
        return path.front() == '/';
    return path.compare(0, folder.size(), folder) == 0 && (path.size() == folder.size() || path[folder.size()] == '/');
}

std::int64_t SteadyMilliseconds() {
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

}  // namespace vlr::build
