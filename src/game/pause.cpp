// Holding a game: nothing of it moves while the player is away, and what
// brings them back (a click, P, a key) is not taken as play.
#include "app/platform/platform.h"
#include "app/system.h"
#include "game/game.h"
#include "screens/highscores.h"

namespace {

constexpr int kNoteW = 300;
constexpr int kNoteH = 70;

bool pWasDown = false;

bool PPressed() {
    bool down = key[KEY_P] != 0;
    bool pressed = down && !pWasDown;
    pWasDown = down;
    return pressed;
}

// A dark band over the frozen scene, so the note reads on sky and grass.
void DrawNote(bool byFocus) {
    int x0 = (kScreenW - kNoteW) / 2;
    int y0 = (kScreenH - kNoteH) / 2;
    set_trans_blender(0, 0, 0, 150);
    drawing_mode(DRAW_MODE_TRANS, nullptr, 0, 0);
    rectfill(backBuffer, x0, y0, x0 + kNoteW - 1, y0 + kNoteH - 1, makecol(10, 10, 30));
    solid_mode();
    int dark = makecol(15, 15, 15);
    int light = makecol(175, 175, 175);
    DrawEmbossed(backBuffer, gameFont, kAlignCentre, kScreenW / 2, y0 + 14, dark, light,
                 makecol(248, 211, 67), "%s", "Paused");
    DrawEmbossed(backBuffer, gameFont, kAlignCentre, kScreenW / 2, y0 + 40, dark, light,
                 makecol(255, 255, 255), "%s",
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
