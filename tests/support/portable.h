// The little the tests need of the machine that differs between Linux and
// Windows (where they run under Wine): fresh folders and linked files.
#pragma once

#ifdef _WIN32
#include <process.h>
#include <stdlib.h>
#else
#include <stdlib.h>
#endif

#include <cstdlib>
#include <filesystem>
#include <string>

// A new empty folder "fluff-NAME-" and a unique ending, in the system's
// folder for temporary files; its path in UTF-8 with forward slashes.
inline std::string MakeTempFolder(const char* name) {
#ifdef _WIN32
    static int made = 0;
    std::filesystem::path base = std::filesystem::temp_directory_path();
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::filesystem::path p = base / std::filesystem::u8path(std::string("fluff-") + name +
                                                                 "-" + std::to_string(_getpid()) +
                                                                 "-" + std::to_string(++made));
        if (std::filesystem::create_directory(p)) {
            return p.generic_u8string();
        }
    }
    std::abort();
#else
    std::string pattern = std::string("/tmp/fluff-") + name + "-XXXXXX";
    if (!mkdtemp(&pattern[0])) {
        std::abort();
    }
    return pattern;
#endif
}

// Sets or removes an environment variable for this process and the
// libraries in it.
inline void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value ? value : "");
#else
    if (value) {
        setenv(name, value, 1);
    } else {
        unsetenv(name);
    }
#endif
}

// `to` shows the file `from`: a symbolic link where every user may make
// one, a copy on Windows, where that takes a privilege.
inline void LinkFile(const std::filesystem::path& from, const std::filesystem::path& to) {
#ifdef _WIN32
    std::filesystem::copy_file(from, to);
#else
    std::filesystem::create_symlink(from, to);
#endif
}
