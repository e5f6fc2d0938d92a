// What the fuzz targets share: Allegro started as the game starts it, and a
// file of the fuzzer's bytes for the readers that take a path.
#pragma once

#include <allegro.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "app/data/datacheck.h"
#include "app/platform/allegro_lib.h"
#include "support/datafiles.h"

inline void StartFuzzAllegro() {
    std::string error;
    if (!StartAllegroLibrary("", error))
        std::abort();
}

// A file of this process's own, written whole. Each write stamps it with a
// new time, so that a reader which remembers a file by its inode, size and
// time (CheckedDatafile) sees another file every time.
inline std::string FuzzFile(const char* ext, const void* bytes, size_t n) {
    static const std::string path =
        std::string(std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "/tmp") + "/fluff-fuzz-" +
        std::to_string(getpid()) + "." + ext;
    static long stamp = 0;
    int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0 || (n && write(fd, bytes, n) != ssize_t(n)))
        std::abort();
    timespec times[2] = {{++stamp, 0}, {stamp, 0}};
    futimens(fd, times);
    close(fd);
    return path;
}

// `bytes` as the one object of a datafile, of Allegro's type `type`, named;
// when the check passes it, loaded by Allegro, which must then take it.
// Null when the check refuses it.
inline DATAFILE* CheckedObject(int type, const uint8_t* bytes, size_t n, const char* name) {
    std::string file = Datafile(
        Object(uint32_t(type), name, std::string(reinterpret_cast<const char*>(bytes), n)));
    const std::string path = FuzzFile("dat", file.data(), file.size());
    if (!CheckDatafile(path).empty())
        return nullptr;
    DATAFILE* loaded = load_datafile(path.c_str());
    if (!loaded || loaded[0].type != type)
        std::abort();  // the check passed what Allegro cannot load
    return loaded;
}
