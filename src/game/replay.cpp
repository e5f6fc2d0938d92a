#include "game/replay.h"

#include <allegro.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <sstream>

#include "app/data/safefile.h"
#include "game/gamestate.h"
#include "world/score.h"

const ReplayKey kReplayKeys[kReplayKeyCount] = {
    {KEY_LEFT, "left"}, {KEY_RIGHT, "right"}, {KEY_ESC, "esc"},
    {KEY_P, "p"},       {KEY_Q, "q"},         {KEY_V, "v"},
};

namespace {

constexpr const char* kHeader = "fluffernauts recording ";
constexpr size_t kMaxLine = 256;
constexpr size_t kMaxSummaryText = 100;
constexpr int kMaxSummaryLines = 32;
constexpr long long kMaxCalls = 1LL << 62;
constexpr size_t kMaxCarried = 16;

// How each kind of note is written after its position.
struct KindRule {
    const char* name;  // the line's first word
    int numbers;       // numbers after the position; -1: key names
    int lo, hi;        // the range of each (a mouse's buttons: 0..7)
};
const KindRule kKinds[kReplayKinds] = {
    {"ticks", 1, 1, INT_MAX}, {"mouse", 3, -32768, 32767}, {"keys", -1, 0, 0},
    {"focus", 1, 0, 1},       {"quit", 1, -2, 64},         {"switch", 0, 0, 0},
    {"pressed", 0, 0, 0},     {"readkey", 1, 1, INT_MAX},
};

// The words of a line, which are separated by single spaces.
bool Words(const std::string& line, std::vector<std::string>& words) {
    words.clear();
    size_t start = 0;
    for (;;) {
        size_t space = line.find(' ', start);
        std::string w = line.substr(start, space == std::string::npos ? space : space - start);
        if (w.empty()) {
            return false;
        }
        words.push_back(w);
        if (space == std::string::npos) {
            return true;
        }
        start = space + 1;
    }
}

// A decimal number in lo..hi, written as the game writes it: an optional
// '-', then digits without a leading zero.
bool Number(const std::string& w, long long lo, long long hi, long long& v) {
    size_t i = w[0] == '-' ? 1 : 0;
    if (i == w.size() || w.size() - i > 19 || (w[i] == '0' && w.size() > i + 1) ||
        (w[i] == '0' && i == 1)) {
        return false;
    }
    unsigned long long u = 0;
    for (size_t k = i; k < w.size(); ++k) {
        if (w[k] < '0' || w[k] > '9') {
            return false;
        }
        u = u * 10 + unsigned(w[k] - '0');
    }
    if (u > (1ULL << 63) - 1) {
        return false;
    }
    v = i ? -static_cast<long long>(u) : static_cast<long long>(u);
    return v >= lo && v <= hi;
}

bool Event(const std::vector<std::string>& w, ReplayEvent& e) {
    int kind = 0;
    while (kind < kReplayKinds && w[0] != kKinds[kind].name) {
        ++kind;
    }
    long long frame, call;
    if (kind == kReplayKinds || w.size() < 3 || !Number(w[1], 0, INT_MAX, frame) ||
        !Number(w[2], 0, INT_MAX, call)) {
        return false;
    }
    const KindRule& rule = kKinds[kind];
    e = ReplayEvent{int(frame), int(call), ReplayKind(kind)};
    if (rule.numbers < 0) {
        // Each key once, in the table's order.
        int next = 0;
        for (size_t i = 3; i < w.size(); ++i) {
            while (next < kReplayKeyCount && w[i] != kReplayKeys[next].name) {
                ++next;
            }
            if (next == kReplayKeyCount) {
                return false;
            }
            e.a |= 1 << next++;
        }
        return true;
    }
    if (w.size() != size_t(3 + rule.numbers)) {
        return false;
    }
    int* values[] = {&e.a, &e.b, &e.c};
    for (int i = 0; i < rule.numbers; ++i) {
        bool buttons = e.kind == ReplayKind::kMouse && i == 2;
        long long v;
        if (!Number(w[size_t(3 + i)], buttons ? 0 : rule.lo, buttons ? 7 : rule.hi, v)) {
            return false;
        }
        *values[i] = int(v);
    }
    return true;
}

bool Before(const ReplayEvent& a, const ReplayEvent& b) {
    if (a.frame != b.frame) {
        return a.frame < b.frame;
    }
    return a.call != b.call ? a.call < b.call : a.kind < b.kind;
}

std::string Hex(uint64_t v) {
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(v));
    return text;
}

bool ParseVersion2(const std::string& bytes, Replay& out, std::string& error) {
    enum { kSeed, kCarried, kEvents, kSummary, kEnd } part = kSeed;
    int summaryLines = 0;
    size_t start = bytes.find('\n') + 1;  // past the header
    std::vector<std::string> w;
    for (int n = 2;; ++n) {
        size_t newline = bytes.find('\n', start);
        if (part == kEnd) {
            if (start != bytes.size()) {
                error = "it goes on after its end line";
                return false;
            }
            return true;
        }
        if (newline == std::string::npos) {
            error = "it is cut short (it has no end line)";
            return false;
        }
        const std::string line = bytes.substr(start, newline - start);
        auto damaged = [&] {
            error = "line " + std::to_string(n) + " is damaged";
            return false;
        };
        if (line.size() > kMaxLine || !Words(line, w)) {
            return damaged();
        }
        long long v;
        if (part == kSeed) {
            if (w.size() != 2 || w[0] != "seed" || !Number(w[1], 0, LLONG_MAX, v)) {
                return damaged();
            }
            out.seed = long(v);
            part = kCarried;
        } else if (part == kCarried) {
            if (w[0] != "carry" || w.size() > 1 + kMaxCarried) {
                return damaged();
            }
            for (size_t i = 1; i < w.size(); ++i) {
                if (!Number(w[i], INT_MIN, INT_MAX, v)) {
                    return damaged();
                }
                out.carried.push_back(int(v));
            }
            part = kEvents;
        } else if (w[0] == "summary" && w.size() > 1) {
            std::string text = line.substr(8);
            for (char c : text) {
                if (c < 0x20 || c > 0x7e) {
                    return damaged();
                }
            }
            if (text.size() > kMaxSummaryText || ++summaryLines > kMaxSummaryLines) {
                return damaged();
            }
            out.summary += text + "\n";
            part = kSummary;
        } else if (w[0] == "end") {
            long long frames, calls;
            if (w.size() != 4 || !Number(w[1], 0, INT_MAX, frames) ||
                !Number(w[2], 0, kMaxCalls, calls) || w[3].size() != 16 ||
                (!out.events.empty() && out.events.back().frame > frames)) {
                return damaged();
            }
            if (w[3] != Hex(ReplayChecksum(bytes.substr(0, start)))) {
                error = "it is damaged (its checksum does not match)";
                return false;
            }
            out.frames = int(frames);
            out.calls = long(calls);
            part = kEnd;
        } else {
            ReplayEvent e;
            if (part != kEvents || !Event(w, e) ||
                (!out.events.empty() && !Before(out.events.back(), e))) {
                return damaged();
            }
            out.events.push_back(e);
        }
        start = newline + 1;
    }
}

// The tests' recordings, as they have always been read.
bool ParseVersion1(const std::string& bytes, Replay& out, std::string& error) {
    std::istringstream in(bytes);
    bool seeded = false;
    std::string line;
    for (int n = 1; std::getline(in, line); ++n) {
        std::istringstream ls(line);
        std::string what;
        if (!(ls >> what) || what[0] == '#') {
            continue;
        }
        std::string rest;
        bool ok = false;
        if (what == "seed" && !seeded) {
            ok = bool(ls >> out.seed) && !(ls >> rest);
            seeded = ok;
        } else if (what == "mouse") {
            ReplayInput e;
            ok = bool(ls >> e.frame >> e.x >> e.y >> e.buttons) && !(ls >> rest) && e.frame >= 0 &&
                 e.x >= 0 && e.x < 800 && e.y >= 0 && e.y < 600 && e.buttons >= 0 &&
                 e.buttons <= 7 && (out.inputs.empty() || out.inputs.back().frame <= e.frame);
            out.inputs.push_back(e);
        }
        if (!ok) {
            error = "line " + std::to_string(n) + " is damaged";
            return false;
        }
    }
    if (!seeded) {
        error = "it holds no seed line";
        return false;
    }
    return true;
}

}  // namespace

uint64_t ReplayChecksum(const std::string& bytes) {
    uint64_t h = 14695981039346656037ULL;
    for (unsigned char c : bytes) {
        h = (h ^ c) * 1099511628211ULL;
    }
    return h;
}

bool ParseReplay(const std::string& bytes, Replay& out, std::string& error) {
    out = Replay{};
    error.clear();
    if (bytes.size() > kMaxReplayBytes) {
        error = "it is larger than any recording";
        return false;
    }
    if (bytes.compare(0, std::strlen(kHeader), kHeader) != 0) {
        return ParseVersion1(bytes, out, error);
    }
    const size_t h = std::strlen(kHeader);
    const size_t newline = bytes.find('\n');
    const std::string number =
        newline == std::string::npos ? std::string() : bytes.substr(h, newline - h);
    long long version = 0;
    if (number.empty() || !Number(number, 1, 999999, version)) {
        error = "line 1 is damaged";
        return false;
    }
    if (version != kReplayVersion) {
        error = version > kReplayVersion
                    ? "it was made by a newer version of the game (format " + number + ")"
                    : "line 1 is damaged";
        return false;
    }
    out.version = kReplayVersion;
    if (!ParseVersion2(bytes, out, error)) {
        out = Replay{};
        return false;
    }
    return true;
}

bool ReadReplay(const std::string& path, Replay& out, std::string& error) {
    out = Replay{};
    std::string bytes;
    bool missing = false;
    if (!ReadWholeFile(path, kMaxReplayBytes, bytes, missing, error)) {
        if (missing) {
            error = "there is no such file";
        }
        return false;
    }
    return ParseReplay(bytes, out, error);
}

std::string FormatReplay(const Replay& r) {
    std::string s = kHeader + std::to_string(kReplayVersion) + "\nseed " + std::to_string(r.seed);
    s += "\ncarry";
    for (int v : r.carried) {
        s += " " + std::to_string(v);
    }
    s += "\n";
    for (const ReplayEvent& e : r.events) {
        const KindRule& rule = kKinds[int(e.kind)];
        s += std::string(rule.name) + " " + std::to_string(e.frame) + " " + std::to_string(e.call);
        const int values[] = {e.a, e.b, e.c};
        for (int i = 0; i < rule.numbers; ++i) {
            s += " " + std::to_string(values[i]);
        }
        for (int k = 0; rule.numbers < 0 && k < kReplayKeyCount; ++k) {
            if (e.a & (1 << k)) {
                s += std::string(" ") + kReplayKeys[k].name;
            }
        }
        s += "\n";
    }
    std::istringstream lines(r.summary);
    for (std::string line; std::getline(lines, line);) {
        s += "summary " + line + "\n";
    }
    s += "end " + std::to_string(r.frames) + " " + std::to_string(r.calls) + " ";
    return s + Hex(ReplayChecksum(s.substr(0, s.rfind('\n') + 1))) + "\n";
}

std::string GameSummary(int result) {
    const GameStats& st = gameStats;
    const char* end = bazookaFired   ? "bazooka"
                      : life <= 0    ? "life"
                      : timeLeft < 0 ? "time"
                                     : "escape";
    std::ostringstream out;
    out << "Result: " << result << "\n"
        << "Ended by: " << end << "\n"
        << "Shots fired: " << st.shotsFired << "\n"
        << "Shots hit: " << st.shotsHit << "\n"
        << "Accuracy: " << (st.shotsFired ? st.shotsHit * 100 / st.shotsFired : 0) << "%\n"
        << "UFOs shot: " << st.ufosShot << "\n"
        << "Bubbles shot: " << st.bubblesShot << "\n"
        << "Best Combo: " << st.bestCombo << "\n"
        << "Final score: " << score << "\n"
        << "Life: " << life << "\n";
    return out.str();
}
