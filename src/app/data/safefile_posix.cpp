// Replacing and locking files on Linux and the other Unix desktops.
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/data/paths.h"
#include "app/data/safefile.h"

namespace {

constexpr mode_t kNewFileMode = 0644;

std::string Folder(const std::string& path) {
    size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool WriteAll(int fd, const char* bytes, size_t count) {
    while (count > 0) {
        ssize_t n = write(fd, bytes, count);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        bytes += n;
        count -= size_t(n);
    }
    return true;
}

}  // namespace

bool ReplaceFileSafely(const std::string& path, const std::string& bytes, std::string& error) {
    const std::string folder = Folder(path);
    if (!MakeFolders(folder)) {
        error = "cannot make the folder " + folder + ": " + std::strerror(errno);
        return false;
    }
    std::string temp = path + ".new-XXXXXX";
    int fd = mkostemp(&temp[0], O_CLOEXEC);
    if (fd < 0) {
        error = "cannot write in " + folder + ": " + std::strerror(errno);
        return false;
    }
    // mkstemp makes the file private; a file that was there keeps its mode.
    struct stat old;
    fchmod(fd, stat(path.c_str(), &old) == 0 ? old.st_mode & 07777 : kNewFileMode);
    bool ok = WriteAll(fd, bytes.data(), bytes.size());
    ok = fsync(fd) == 0 && ok;
    int saved = errno;
    ok = close(fd) == 0 && ok;
    if (!ok || std::rename(temp.c_str(), path.c_str()) != 0) {
        saved = ok ? errno : saved;
        unlink(temp.c_str());
        error = "cannot write " + path + ": " + std::strerror(saved ? saved : EIO);
        return false;
    }
    // The rename itself reaches the disk only with the folder.
    int dir = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        fsync(dir);
        close(dir);
    }
    return true;
}

FileLock::FileLock(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CREAT | O_CLOEXEC, 0644);
    while (fd >= 0 && flock(fd, LOCK_EX) != 0 && errno == EINTR) {
    }
    handle_ = fd;
}

FileLock::~FileLock() {
    if (handle_ >= 0) {
        close(int(handle_));
    }
}
