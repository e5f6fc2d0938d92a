// UTF-8 inside the game, UTF-16 at every Windows call. Only the Windows
// files include this.
#pragma once

#include <windows.h>

#include <string>

inline std::wstring Wide(const std::string& utf8) {
    if (utf8.empty()) {
        return std::wstring();
    }
    int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), nullptr, 0);
    std::wstring out(size_t(n > 0 ? n : 0), L'\0');
    if (n > 0) {
        MultiByteToWideChar(CP_UTF8, 0, utf8.data(), int(utf8.size()), &out[0], n);
    }
    return out;
}

inline std::string Utf8(const std::wstring& wide) {
    if (wide.empty()) {
        return std::string();
    }
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), nullptr, 0, nullptr,
                                nullptr);
    std::string out(size_t(n > 0 ? n : 0), '\0');
    if (n > 0) {
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), int(wide.size()), &out[0], n, nullptr,
                            nullptr);
    }
    return out;
}

// Windows takes both; the game's own paths and messages use '/'.
inline std::string ForwardSlashes(std::string path) {
    for (char& c : path) {
        c = c == '\\' ? '/' : c;
    }
    return path;
}
