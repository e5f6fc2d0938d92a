#include "app/platform/recorder.h"

#include <algorithm>
#include <climits>
#include <cstdio>

#include "app/data/safefile.h"
#include "app/settings.h"
#include "app/system.h"

namespace {

// A game noted at more than this could not be read back: it is not kept.
constexpr size_t kMaxEvents = kMaxReplayBytes / 16;

int Clamp(int v, int lo, int hi) {
    return std::min(std::max(v, lo), hi);
}

}  // namespace

std::string NumberedRecording(const std::string& path, int n) {
    if (n <= 1) {
        return path;
    }
    const std::string suffix = "-" + std::to_string(n);
    size_t slash = path.rfind('/');
    size_t name = slash == std::string::npos ? 0 : slash + 1;
    size_t dot = path.rfind('.');
    // A name that only begins with a dot has no extension.
    if (dot == std::string::npos || dot <= name) {
        return path + suffix;
    }
    return path.substr(0, dot) + suffix + path.substr(dot);
}

RecordingPlatform::RecordingPlatform(Platform* real, const std::string& path)
    : ForwardingPlatform(real), path_(path) {
    HoldMachineTicks(true);
}

RecordingPlatform::~RecordingPlatform() {
    HoldMachineTicks(false);
}

RecordingPlatform::View RecordingPlatform::Seen() {
    View v;
    v.x = Clamp(mouse_x, -32768, 32767);
    v.y = Clamp(mouse_y, -32768, 32767);
    // The game reads no other buttons.
    v.buttons = mouse_b & 7;
    for (int k = 0; k < kReplayKeyCount; ++k) {
        v.keys |= key[kReplayKeys[k].scancode] ? 1 << k : 0;
    }
    v.focus = windowFocused ? 1 : 0;
    v.quit = Clamp(int(quitRequest), -2, 64);
    v.fullscreen = settings.fullscreen;
    return v;
}

void RecordingPlatform::Note(const Position& at, ReplayKind kind, int a, int b, int c) {
    if (replay_.events.size() >= kMaxEvents) {
        tooLong_ = true;
        return;
    }
    replay_.events.push_back(ReplayEvent{at.frame, at.call, kind, a, b, c});
}

// In the order the notes of one position come. `all`: the view the game
// begins with, as far as it differs from a machine at rest.
void RecordingPlatform::NoteChanges(const Position& at, const View& now, bool all) {
    if (all || now.x != last_.x || now.y != last_.y || now.buttons != last_.buttons) {
        Note(at, ReplayKind::kMouse, now.x, now.y, now.buttons);
    }
    if (all ? now.keys != 0 : now.keys != last_.keys) {
        Note(at, ReplayKind::kKeys, now.keys);
    }
    if (all ? now.focus != 1 : now.focus != last_.focus) {
        Note(at, ReplayKind::kFocus, now.focus);
    }
    if (all ? now.quit != 0 : now.quit != last_.quit) {
        Note(at, ReplayKind::kQuit, now.quit);
    }
    if (!all && now.fullscreen != last_.fullscreen) {
        Note(at, ReplayKind::kSwitch);
    }
    last_ = now;
}

void RecordingPlatform::Left(const Position& after) {
    int ticks = ticks_ + TakeMachineTicks();
    ticks_ = 0;
    tickCount = tickCount + ticks;
    if (recording_) {
        if (ticks > 0) {
            Note(after, ReplayKind::kTicks, ticks);
        }
        NoteChanges(after, Seen(), false);
        if (pressed_) {
            Note(after, ReplayKind::kPressed);
        }
        if (readKey_) {
            Note(after, ReplayKind::kReadKey, readKey_);
        }
    }
    pressed_ = false;
    readKey_ = 0;
}

int RecordingPlatform::KeyPressed() {
    Call c(this);
    pressed_ = real_->KeyPressed() != 0;
    return pressed_ ? 1 : 0;
}

int RecordingPlatform::ReadKey() {
    Call c(this);
    readKey_ = std::max(real_->ReadKey(), 0);
    return readKey_;
}

// The ticks that went by since the last call have not reached the game
// yet, so it asks for a wait as if they had not come: the wait is shorter
// by them, and the frames keep their pace. What is left of `ms`.
unsigned RecordingPlatform::LeftOfWait(unsigned ms) {
    int early = TakeMachineTicks();
    ticks_ += early;
    unsigned gone = unsigned(std::min(early, 1000)) * 10;
    return ms > gone ? ms - gone : 0;
}

void RecordingPlatform::Rest(unsigned ms) {
    Call c(this);
    if (unsigned left = LeftOfWait(ms)) {
        real_->Rest(left);
    }
}

// The same for the wait of a screen that stands still, which may end early
// at the player's move; the ticks it took are noted as any others.
void RecordingPlatform::AwaitInput(unsigned ms) {
    Call c(this);
    if (unsigned left = LeftOfWait(ms)) {
        real_->AwaitInput(left);
    }
}

long RecordingPlatform::SeedTime() {
    Call c(this);
    long seed = real_->SeedTime();
    // The game draws one seed a game.
    if (recording_ && !seeded_) {
        replay_.seed = seed;
        seeded_ = true;
    }
    return seed;
}

void RecordingPlatform::GameBegins(std::vector<int>& carried) {
    recording_ = true;
    seeded_ = false;
    tooLong_ = false;
    replay_ = Replay{};
    replay_.version = kReplayVersion;
    replay_.carried = carried;
    ResetPosition();
    NoteChanges(at(), Seen(), true);
}

void RecordingPlatform::GameFramesOver(const std::string& summary) {
    if (!recording_) {
        return;
    }
    recording_ = false;
    replay_.summary = summary;
    replay_.frames = at().frame;
    replay_.calls = at().total;
    const std::string file = NumberedRecording(path_, ++games_);
    std::string error;
    if (tooLong_) {
        error = "it went on too long to keep";
    } else {
        const std::string text = FormatReplay(replay_);
        if (text.size() > kMaxReplayBytes) {
            error = "it went on too long to keep";
        } else if (ReplaceFileSafely(file, text, error)) {
            ++written_;
        }
    }
    if (!error.empty()) {
        std::fprintf(stderr, "Fluffernauts: the game is not recorded in %s: %s\n", file.c_str(),
                     error.c_str());
    }
    replay_ = Replay{};
}
