// Whole-file saves: a new text replaces a file completely or not at all, and
// the file stays what it was. The text goes to a temporary file beside it,
// which gets the old file's mode, owner and group (where permitted), is
// flushed and renamed over it; then the folder is flushed. A file with several
// hard links (or an owner that cannot be given back) is written in place
// after a backup copy, so its names stay one file. A read-only file (by its
// mode, even for root) and anything but a regular file are refused unchanged.
// A new file gets the umask, which is never changed to be read.
#include "platform/IniFile.h"
#include "platform/PrivateTempDir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

namespace vlr {
namespace {

bool setError(std::string* error, const std::string& what, int err) {
    if (error)
        *error = what + ": " + std::strerror(err);
    errno = err;
    return false;
}

bool writeAll(int fd, const char* p, std::size_t left) {
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

bool readAll(int fd, std::string& into) {
    char buf[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buf, sizeof buf);
        if (n == 0)
            return true;
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        into.append(buf, static_cast<std::size_t>(n));
    }
}

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// Flushes the folder's entries, so that a rename in it survives a power cut.
// A file system that cannot do this has nothing more to flush.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

// Creates a new file "<base><suffix>XXXXXX" that did not exist, never through
// a link: the kernel applies the umask (and a default ACL) to `mode`.
int createUnique(const std::string& base, const char* suffix, mode_t mode, std::string& name) {
    static constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = base + suffix;
        for (int i = 0; i < 8; ++i)
            name += kLetters[random() % (sizeof kLetters - 1)];
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    return -1;
}

// Read-only by its mode, or not writable for this process. The mode bits are
// checked even when the process could write anyway (as root can): a file the
// user made read-only is never replaced behind their back.
bool isReadOnly(const std::string& target, const struct stat& info) {
    if ((info.st_mode & 0222) == 0)
        return true;
    if (info.st_uid == ::geteuid() && (info.st_mode & S_IWUSR) == 0)
        return true;
    return ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0 && (errno == EACCES || errno == EROFS);
}

// A file with more than one hard link (or whose owner this process cannot
// give back) is written in place, so every name keeps showing the same file.
// A backup copy is made first; if the write fails the old text is put back
// from it, and when even that fails the backup is kept and named.
bool writeInPlace(const std::string& target, const std::string& contents, std::string* error) {
    std::string old;
    {
        const int in = ::open(target.c_str(), O_RDONLY | O_CLOEXEC);
        if (in < 0)
            return setError(error, "Cannot read " + target, errno);
        const bool ok = readAll(in, old);
        const int err = errno;
        ::close(in);
        if (!ok)
            return setError(error, "Cannot read " + target, err);
    }
    std::string backup;
    int fd = createUnique(target, ".vlrbak-", 0600, backup);
    if (fd < 0) {
        // The folder may be closed to us while the file is not.
        const std::string slash = target.substr(target.rfind('/') + 1);
        const std::string privateDir = PrivateTempDir();
        if (!privateDir.empty())
            fd = createUnique(privateDir + slash, ".vlrbak-", 0600, backup);
    }
    if (fd < 0)
        return setError(error, "Cannot make a backup copy of " + target, errno);
    if (!writeAll(fd, old.data(), old.size()) || ::fsync(fd) != 0) {
        const int err = errno;
        ::close(fd);
        ::unlink(backup.c_str());
        return setError(error, "Cannot make a backup copy of " + target, err);
    }
    ::close(fd);

    auto overwrite = [&target](const std::string& text) {
        const int out = ::open(target.c_str(), O_WRONLY | O_CLOEXEC);
        if (out < 0)
            return false;
        bool ok = writeAll(out, text.data(), text.size()) && ::ftruncate(out, static_cast<off_t>(text.size())) == 0 &&
                  ::fsync(out) == 0;
        const int err = errno;
        ok = ::close(out) == 0 && ok;
        if (!ok)
            errno = err;
        return ok;
    };
    if (overwrite(contents)) {
        ::unlink(backup.c_str());
        return true;
    }
    const int err = errno;
    if (overwrite(old)) {
        ::unlink(backup.c_str());
        return setError(error, "Cannot write " + target, err);
    }
    return setError(error, "Cannot write " + target + " (the old text is kept in " + backup + ")", err);
}

}  // namespace

bool WriteFileAtomically(const std::string& path, const std::string& contents, std::string* error) {
    if (path.empty()) {
        if (error)
            *error = "Cannot write a file without a name";
        errno = ENOENT;
        return false;
    }
    // Save through a symbolic link to its target, so the link stays a link.
    std::string target = path;
    char resolved[PATH_MAX];
    struct stat linkInfo {};
    if (::lstat(path.c_str(), &linkInfo) == 0 && S_ISLNK(linkInfo.st_mode) && ::realpath(path.c_str(), resolved))
        target = resolved;

    struct stat info {};
    const bool existed = ::stat(target.c_str(), &info) == 0;
    if (existed) {
        if (!S_ISREG(info.st_mode)) {
            if (error)
                *error = "Cannot replace " + target + ": it is not a regular file";
            errno = EINVAL;
            return false;
        }
        if (isReadOnly(target, info)) {
            if (error)
                *error = "Cannot write " + target + ": the file is read-only";
            errno = EACCES;
            return false;
        }
        if (info.st_nlink > 1)
            return writeInPlace(target, contents, error);
    }

    // A new file gets the usual mode less the umask; a replaced one starts
    // private and is given the old file's owner, group and mode before its
    // name is taken over.
    std::string temp;
    const int fd = createUnique(target, ".vlrtmp-", existed ? 0600 : 0666, temp);
    if (fd < 0)
        return setError(error, "Cannot create " + target + ".vlrtmp-*", errno);
    auto abandon = [&](const std::string& what, int err) {
        ::close(fd);
        ::unlink(temp.c_str());
        return setError(error, what, err);
    };
    if (existed) {
        if (::fchown(fd, info.st_uid, info.st_gid) != 0) {
            if (info.st_uid != ::geteuid()) {
                // Someone else's file that we may write: replacing it would
                // make it ours, so it is written in place.
                ::close(fd);
                ::unlink(temp.c_str());
                return writeInPlace(target, contents, error);
            }
            // Our own file in a group we are not in: the group cannot be kept.
            (void)!::fchown(fd, static_cast<uid_t>(-1), info.st_gid);
        }
        if (::fchmod(fd, info.st_mode & 07777) != 0)
            return abandon("Cannot write " + target, errno);
    }
    if (!writeAll(fd, contents.data(), contents.size()) || ::fsync(fd) != 0)
        return abandon("Cannot write " + target, errno);
    if (::close(fd) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return setError(error, "Cannot write " + target, err);
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        const int err = errno;
        ::unlink(temp.c_str());
        return setError(error, "Cannot replace " + target, err);
    }
    syncFolder(folderOf(target));
    return true;
}

}  // namespace vlr
