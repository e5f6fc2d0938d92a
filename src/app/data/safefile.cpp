#include "app/data/safefile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/data/paths.h"

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

bool ReadWholeFile(const std::string& path, size_t limit, std::string& bytes, bool& missing,
                   std::string& error) {
    missing = false;
    bytes.clear();
    FILE* f = std::fopen(path.c_str(), "rb");
    if (!f) {
        missing = errno == ENOENT;
        error = "cannot read " + path + ": " + std::strerror(errno);
        return false;
    }
    char buf[4096];
    size_t n;
    while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) {
        if (bytes.size() + n > limit) {
            std::fclose(f);
            error = path + " is larger than " + std::to_string(limit) + " bytes";
            return false;
        }
        bytes.append(buf, n);
    }
    bool failed = std::ferror(f) != 0;
    std::fclose(f);
    if (failed) {
        error = "cannot read " + path;
        return false;
    }
    return true;
}
