// Holding a game: nothing of it moves while the player is away, and what
// brings them back (a click, P, a key) is not taken as play.
#include "app/draw/blit.h"
#include "app/platform/platform.h"
#include "app/system.h"
#include "game/game.h"
#include "screens/highscores.h"

namespace {

// Where the hint stands on "pause.bmp": centred on a band painted for it.
constexpr int kHintRow = 84;

bool pWasDown = false;

bool PPressed() {
    bool down = key[KEY_P] != 0;
    bool pressed = down && !pWasDown;
    pWasDown = down;
    return pressed;
}

// The note is a panel of its own, opaque like the game's other panels:
// "Paused" is painted in it, the hint printed on it says how to go on.
void DrawNote(bool byFocus) {
    int x0 = (kScreenW - pauseImage->w) / 2;
    int y0 = (kScreenH - pauseImage->h) / 2;
    MaskedBlit(pauseImage, backBuffer, 0, 0, x0, y0, pauseImage->w, pauseImage->h);
    DrawEmbossed(backBuffer, gameFont, kAlignCentre, kScreenW / 2, y0 + kHintRow, game.dark,
                 game.light, game.white, "%s",
                 byFocus ? "Click or press a key to play on" : "Click or press P to play on");
}

// The paused scene only changes where the pointer moves or the note does.
void Show(PointerMark& pointer) {
    WaitForTick();
    if (!pointer.Moved()) {
        PresentSameFrame();
        return;
    }
    platform->ShowMouse(backBuffer);
    PresentFrame();
    platform->ShowMouse(nullptr);
}

void Pause(bool byFocus) {
    platform->PauseSounds(true);
    // The player may leave the window while the game waits.
    int wasConfined = pointerConfined;
    pointerConfined = 0;
    blit(backBuffer, scratchBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    DrawNote(byFocus);
    platform->ClearKeybuf();
    // Buttons already held when the pause began do not end it.
    int buttonsWereDown = mouse_b & 7;
    PointerMark pointer;
    while (!QuitRequested()) {
        Show(pointer);
        platform->PollMouse();
        platform->PollKeyboard();
        bool click = (mouse_b & 7) && !buttonsWereDown;
        buttonsWereDown = mouse_b & 7;
        bool p = PPressed();
        if (!windowFocused) {
            if (!byFocus) {
                byFocus = true;
                blit(scratchBuffer, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
                DrawNote(byFocus);
                pointer = PointerMark{};
            }
            platform->ClearKeybuf();
            continue;
        }
        if (p || click || (byFocus && platform->KeyPressed())) {
            break;
        }
    }
    // The click that resumed must be let go before the game sees the button.
    while ((mouse_b & 7) && !QuitRequested()) {
        Show(pointer);
        platform->PollMouse();
    }
    platform->ClearKeybuf();
    blit(scratchBuffer, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    pointerConfined = wasConfined;
    platform->PauseSounds(false);
}

}  // namespace

void HoldWhilePaused() {
    bool pressed = PPressed();
    if (pressed || !windowFocused) {
        Pause(!windowFocused);
    }
}
