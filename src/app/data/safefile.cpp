#include "app/data/safefile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "app/platform/os.h"

bool ReadWholeFile(const std::string& path, size_t limit, std::string& bytes, bool& missing,
                   std::string& error) {
    missing = false;
    bytes.clear();
    FILE* f = OpenFile(path, "rb");
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

void RemoveStaleTemps(const std::string& folder, const std::string& name) {
    const std::string prefix = name + ".new-";
    for (const std::string& entry : FolderEntries(folder)) {
        if (entry.size() == prefix.size() + kTempSuffixLength &&
            entry.compare(0, prefix.size(), prefix) == 0) {
            RemoveFile(folder + "/" + entry);
        }
    }
}
