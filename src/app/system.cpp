#include "app/system.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "app/data/loader.h"
#include "app/platform/os.h"
#include "app/platform/platform.h"
#include "app/random.h"

BITMAP* backBuffer = nullptr;
BITMAP* scratchBuffer = nullptr;
BITMAP* cursorImage = nullptr;
DATAFILE* fontData = nullptr;
FONT* gameFont = nullptr;
BITMAP* backdrop = nullptr;
SAMPLE* hitSound = nullptr;

volatile int tickCount = 0;
volatile std::sig_atomic_t quitRequest = 0;
volatile int windowFocused = 1;
volatile int pointerConfined = 0;
int shakeFrames = 0;
int musicVolume = 255;

Platform* platform = nullptr;

namespace {

std::atomic<bool> machineTicksHeld{false};
std::atomic<int> heldTicks{0};

}  // namespace

void TimerTick() {
    if (machineTicksHeld.load(std::memory_order_relaxed)) {
        heldTicks.fetch_add(1, std::memory_order_relaxed);
        return;
    }
    tickCount = tickCount + 1;
}
END_OF_FUNCTION(TimerTick)

void HoldMachineTicks(bool held) {
    machineTicksHeld = held;
    heldTicks = 0;
}

int TakeMachineTicks() {
    return heldTicks.exchange(0);
}

int QuitStatus() {
    if (quitRequest == kQuitByError) {
        return 1;
    }
    return quitRequest > 0 ? 128 + int(quitRequest) : 0;
}

void InitSystem() {
    std::string error;
    if (!platform->Startup(error)) {
        // Nowhere to show a message box: one line on the terminal.
        std::fprintf(stderr, "%s\n", error.c_str());
        EndProgram(1);
    }
    LOCK_VARIABLE(tickCount);
    LOCK_FUNCTION(TimerTick);

    if (platform->SetGfxMode(16) < 0 && platform->SetGfxMode(15) < 0) {
        platform->Message("Sorry, but you need a Hicolor mode (16 bit color depth) for this game.");
        EndProgram(1);
    }
    platform->StartTimer();

    backBuffer = create_bitmap(kScreenW, kScreenH);
    // Kept to the end of the process, so made only once.
    if (!scratchBuffer) {
        scratchBuffer = create_bitmap(kScreenW, kScreenH);
    }
    // Pixel value 1 rather than 0: practically black.
    rectfill(screen, 0, 0, kScreenW, kScreenH, 1);
    platform->SetVolume(255, musicVolume);

    if (!cursorImage) {
        cursorImage = LoadImage("cursor.bmp");
    }
    platform->SetMouseSprite(cursorImage, 40, 36);
}

void ShutdownSystem() {
    platform->PlayMidi(nullptr, 0);
    // The menu leaves the pointer on the back buffer; Allegro would still
    // restore its background there at exit, after the buffer is gone.
    platform->ShowMouse(nullptr);
    if (backBuffer) {
        destroy_bitmap(backBuffer);
        backBuffer = nullptr;
    }
}

namespace {

// Frames presented unchanged in a row: once a screen has stood still for a
// few, its waits end at the player's next move rather than every tick, so
// that a menu left alone costs next to nothing.
int stillFrames = 0;
constexpr int kStillFramesBeforeIdle = 3;
constexpr unsigned kIdleWaitMs = 50;

}  // namespace

void PresentFrame() {
    stillFrames = 0;
    if (shakeFrames > 0) {
        --shakeFrames;
        int dy = Random() % 6 - 3;
        int dx = Random() % 6 - 3;
        platform->Present(backBuffer, dx, dy);
    } else {
        platform->Present(backBuffer, 0, 0);
    }
}

void PresentSameFrame() {
    // A shaken frame moves, and it draws its offsets from the generator.
    if (shakeFrames > 0) {
        PresentFrame();
    } else {
        platform->PresentAgain(backBuffer);
        ++stillFrames;
    }
}

void WaitForClickOrKey() {
    // The page is still; only the pointer changes what is shown.
    PointerMark pointer;
    auto show = [&] {
        platform->PollMouse();
        WaitForTick();
        if (pointer.Moved()) {
            PresentFrame();
        } else {
            PresentSameFrame();
        }
    };
    // A button still held from the click that opened the page must be let
    // go first; a click counts only once it is released again.
    while (mouse_b && !QuitRequested()) {
        show();
    }
    while (!platform->KeyPressed() && !mouse_b && !QuitRequested()) {
        show();
    }
    while (mouse_b && !QuitRequested()) {
        show();
    }
    platform->ClearKeybuf();
}

void BeginPacedFrame() {
    tickCount = 0;
}

void PaceFrame() {
    int ticks = tickCount;
    if (ticks < 3) {
        platform->Rest(unsigned(3 - ticks) * 10);
    }
}

void WaitForTick() {
    // Loops reset tickCount at will, so only a change of value counts. A
    // whole tick's rest ends in the next tick: one wake-up a frame, where
    // short rests would wake the machine ten times as often.
    static int lastTick = -1;
    if (stillFrames >= kStillFramesBeforeIdle && !QuitRequested()) {
        platform->AwaitInput(kIdleWaitMs);
    }
    while (tickCount == lastTick && !QuitRequested()) {
        platform->Rest(10);
    }
    lastTick = tickCount;
}
