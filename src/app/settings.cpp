#include "app/settings.h"

#include <cctype>
#include <cstdlib>
#include <sstream>

#include "app/data/safefile.h"

Settings settings;

namespace {

// A settings file is a few hundred bytes; anything far larger is not one.
constexpr size_t kLargestFile = 64 * 1024;

const char* const kHeader =
    "# Fluffernauts settings. The game rewrites this file when you leave it\n"
    "# after changing how it is shown; lines it does not know make it start\n"
    "# with its defaults. Keys and their values:\n"
    "#   fullscreen       yes | no\n"
    "#   scale            auto | 1..8   (the window as a multiple of 800x600)\n"
    "#   scaling          sharp | smooth (smooth only with renderer gpu)\n"
    "#   renderer         auto | gpu | surface\n"
    "#   window           WIDTHxHEIGHT  (the window's size when last left)\n"
    "#   reduce-flashing  yes | no\n";

const char* YesNo(bool b) {
    return b ? "yes" : "no";
}

const char* RendererName(Renderer r) {
    switch (r) {
        case Renderer::kGpu:
            return "gpu";
        case Renderer::kSurface:
            return "surface";
        case Renderer::kAuto:
            break;
    }
    return "auto";
}

std::string Trim(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && std::isspace(static_cast<unsigned char>(s[b]))) {
        ++b;
    }
    while (e > b && std::isspace(static_cast<unsigned char>(s[e - 1]))) {
        --e;
    }
    return s.substr(b, e - b);
}

bool ParseYesNo(const std::string& v, bool& out) {
    if (v == "yes") {
        out = true;
    } else if (v == "no") {
        out = false;
    } else {
        return false;
    }
    return true;
}

// A decimal number in 1..max, digits only.
bool ParseCount(const std::string& v, int max, int& out) {
    if (v.empty() || v.size() > 6) {
        return false;
    }
    int n = 0;
    for (char c : v) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        n = n * 10 + (c - '0');
    }
    if (n < 1 || n > max) {
        return false;
    }
    out = n;
    return true;
}

bool ParseValue(const std::string& key, const std::string& v, Settings& s) {
    if (key == "fullscreen") {
        return ParseYesNo(v, s.fullscreen);
    }
    if (key == "reduce-flashing") {
        return ParseYesNo(v, s.reduceFlashing);
    }
    if (key == "scale") {
        if (v == "auto") {
            s.scale = 0;
            return true;
        }
        return ParseCount(v, kMaxScale, s.scale);
    }
    if (key == "scaling") {
        if (v != "sharp" && v != "smooth") {
            return false;
        }
        s.smooth = v == "smooth";
        return true;
    }
    if (key == "renderer") {
        for (Renderer r : {Renderer::kAuto, Renderer::kGpu, Renderer::kSurface}) {
            if (v == RendererName(r)) {
                s.renderer = r;
                return true;
            }
        }
        return false;
    }
    if (key == "window") {
        size_t x = v.find('x');
        if (v == "auto") {
            s.windowW = s.windowH = 0;
            return true;
        }
        return x != std::string::npos && ParseCount(v.substr(0, x), kMaxWindowSide, s.windowW) &&
               ParseCount(v.substr(x + 1), kMaxWindowSide, s.windowH);
    }
    return true;  // a key of a newer version
}

}  // namespace

bool Settings::operator==(const Settings& o) const {
    return fullscreen == o.fullscreen && scale == o.scale && smooth == o.smooth &&
           renderer == o.renderer && windowW == o.windowW && windowH == o.windowH &&
           reduceFlashing == o.reduceFlashing;
}

std::string FormatSettings(const Settings& s) {
    std::ostringstream out;
    out << kHeader << "fullscreen = " << YesNo(s.fullscreen) << "\n"
        << "scale = " << (s.scale > 0 ? std::to_string(s.scale) : std::string("auto")) << "\n"
        << "scaling = " << (s.smooth ? "smooth" : "sharp") << "\n"
        << "renderer = " << RendererName(s.renderer) << "\n";
    if (s.windowW > 0 && s.windowH > 0) {
        out << "window = " << s.windowW << "x" << s.windowH << "\n";
    } else {
        out << "window = auto\n";
    }
    out << "reduce-flashing = " << YesNo(s.reduceFlashing) << "\n";
    return out.str();
}

bool ParseSettings(const std::string& text, Settings& out, std::string& why) {
    Settings s = out;
    std::istringstream in(text);
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        std::string t = Trim(line);
        if (t.empty() || t[0] == '#') {
            continue;
        }
        size_t eq = t.find('=');
        std::string key = eq == std::string::npos ? "" : Trim(t.substr(0, eq));
        bool known = !key.empty() && ParseValue(key, Trim(t.substr(eq + 1)), s);
        if (!known) {
            why = "line " + std::to_string(number) + " (\"" + t.substr(0, 40) +
                  "\") is not a setting";
            return false;
        }
    }
    // A size of one side only means nothing.
    if ((s.windowW > 0) != (s.windowH > 0)) {
        s.windowW = s.windowH = 0;
    }
    out = s;
    return true;
}

std::string SettingsFile(const char* xdgConfigHome, const char* home) {
    std::string base;
    // The XDG rule: a relative $XDG_CONFIG_HOME is to be ignored.
    if (xdgConfigHome && xdgConfigHome[0] == '/') {
        base = xdgConfigHome;
    } else if (home && home[0]) {
        base = std::string(home) + "/.config";
    } else {
        return "";
    }
    return base + "/fluffernauts/settings.conf";
}

void LoadSettings(const std::string& path, Settings& out, std::string& warning) {
    warning.clear();
    std::string text, error;
    bool missing = false;
    if (path.empty()) {
        return;
    }
    if (!ReadWholeFile(path, kLargestFile, text, missing, error)) {
        if (!missing) {
            warning = "Fluffernauts: ignoring the settings: " + error;
        }
        return;
    }
    std::string why;
    if (!ParseSettings(text, out, why)) {
        warning = "Fluffernauts: ignoring the settings in " + path + ": " + why;
    }
}

bool SaveSettings(const std::string& path, const Settings& s, std::string& error) {
    if (path.empty()) {
        error = "neither XDG_CONFIG_HOME nor HOME is set";
        return false;
    }
    return ReplaceFileSafely(path, FormatSettings(s), error);
}
