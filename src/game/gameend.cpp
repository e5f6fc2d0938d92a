// The end of a game: the bazooka's finale when it fired, releasing what the
// game made, the game-over picture and the statistics screen.
#include <cstdio>

#include "actors/anim.h"
#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/data/loader.h"
#include "app/platform/platform.h"
#include "app/settings.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "game/replay.h"
#include "screens/highscores.h"
#include "screens/intro.h"
#include "screens/screens.h"
#include "world/killer.h"
#include "world/moleholes.h"
#include "world/score.h"

namespace {

constexpr int kFinaleSteps = 20;  // 15 rack frames, then yellow flashes
constexpr int kRackFrames = 15;

void Show() {
    platform->ShowMouse(backBuffer);
    PresentFrame();
    platform->ShowMouse(nullptr);
}

// A picture that waits on the player: sent to the display when it is new
// or the pointer moved, else known to be on the display already.
struct StillPicture {
    bool shown = false;
    PointerMark pointer;
};

void ShowStill(StillPicture& still) {
    bool moved = still.pointer.Moved();
    if (still.shown && !moved) {
        PresentSameFrame();
        return;
    }
    still.shown = true;
    Show();
}

void PlayBazookaFinale() {
    BITMAP* rack = nullptr;
    for (int i = 0; i < kFinaleSteps; ++i) {
        blit(scratchBuffer, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
        if (rack) {
            destroy_bitmap(rack);
            rack = nullptr;
        }
        if (i < kRackFrames) {
            char name[32];
            std::snprintf(name, sizeof(name), "rack%04i.bmp", i);
            // A damaged frame is left out rather than ending the game badly.
            rack = TryLoadImage(name);
            if (rack) {
                masked_blit(rack, backBuffer, 0, 0, bazookaImage->w / 2 - 172 + bazookaEndX,
                            bazookaEndY - 82, rack->w, rack->h);
            }
        } else if (i % 2 == 1 || settings.reduceFlashing) {
            // Yellow in every other step, or held to the end for a player
            // who asked for fewer flashes.
            rectfill(backBuffer, 0, 0, kScreenW, kScreenH, game.flashYellow);
        }
        Show();
        platform->Rest(10);
    }
    if (rack) {
        destroy_bitmap(rack);
    }
}

// Everything one game made, so that nothing of it outlives the game.
void ReleaseGame() {
    for (Anim*& smoke : game.smokeAnims) {
        FreeAnim(smoke);
        smoke = nullptr;
    }
    walkerSiteCount = 0;
    FreeAllWalkers();
    FreeAllShooters();
    FreeAllBubbles();
    FreeAllPopups();
    FreeMoleHoles();
    FreeKiller(killer);
    killer = nullptr;
    // The flyers own nothing but themselves; the next game makes new ones.
    Flyer** flyers[] = {&game.flyingUfo, &game.plane, &game.carePackage, &game.castleUfo};
    for (Flyer** f : flyers) {
        delete *f;
        *f = nullptr;
    }
    for (Flyer*& ufo : game.squad) {
        delete ufo;
        ufo = nullptr;
    }
}

void ShowGameOver() {
    masked_blit(gameOverImage, backBuffer, 0, 0, (kScreenW - gameOverImage->w) / 2,
                (kScreenH - gameOverImage->h) / 2, gameOverImage->w, gameOverImage->h);
    StillPicture still;
    while (platform->KeyPressed() && !QuitRequested()) {
        platform->ReadKey();
        platform->PollKeyboard();
        ShowStill(still);
    }
    // A key ends the picture at once, a click only after its first second.
    for (int n = 200;
         !platform->KeyPressed() && n > 0 && (n >= 100 || !(mouse_b & 1)) && !QuitRequested();
         --n) {
        platform->PollMouse();
        platform->PollKeyboard();
        ShowStill(still);
        platform->Rest(10);
    }
    platform->ClearKeybuf();
}

void DrawStatRow(int px, int y, const char* label, const char* format, int value) {
    DrawEmbossed(backBuffer, gameFont, kAlignLeft, px + 50, y, game.dark, game.light, game.white,
                 "%s", label);
    DrawEmbossed(backBuffer, gameFont, kAlignLeft, px + 210, y, game.dark, game.light, game.white,
                 format, value);
}

void ShowStatistics() {
    masked_blit(scratchBuffer, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    int px = (kScreenW - statsPanelImage->w) / 2;
    int py = (kScreenH - statsPanelImage->h) / 2;
    masked_blit(statsPanelImage, backBuffer, 0, 0, px, py, statsPanelImage->w, statsPanelImage->h);
    int h = text_height(gameFont);
    int y0 = py + 66;
    const GameStats& st = gameStats;
    int accuracy = st.shotsFired ? st.shotsHit * 100 / st.shotsFired : 0;
    DrawEmbossed(backBuffer, gameFont, kAlignCentre, kScreenW / 2, y0, game.dark, game.light,
                 game.white, "%s", "Statistics");
    DrawStatRow(px, y0 + 2 * h, "Shots fired", ": %i", st.shotsFired);
    DrawStatRow(px, y0 + 3 * h, "Shots hit", ": %i", st.shotsHit);
    DrawStatRow(px, y0 + 4 * h, "Accuracy", ": %i%%", accuracy);
    DrawStatRow(px, y0 + 6 * h, "UFOs shot", ": %i", st.ufosShot);
    DrawStatRow(px, y0 + 7 * h, "Bubbles shot", ": %i", st.bubblesShot);
    DrawStatRow(px, y0 + 9 * h, "Best Combo", ": %i", st.bestCombo);
    DrawStatRow(px, y0 + 11 * h, "Final score", ": %i", score);

    StillPicture still;
    while ((mouse_b & 1) && !QuitRequested()) {
        platform->PollMouse();
        WaitForTick();
        ShowStill(still);
    }
    for (int n = 1200;
         !platform->KeyPressed() && n > 0 && (n >= 1100 || !(mouse_b & 1)) && !QuitRequested();
         --n) {
        platform->PollMouse();
        platform->PollKeyboard();
        ShowStill(still);
        platform->Rest(10);
    }
    platform->ClearKeybuf();
}

}  // namespace

int EndGame() {
    blit(backBuffer, scratchBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    if (bazookaFired) {
        PlayBazookaFinale();
    }
    ReleaseGame();
    // No gunfire loop outlives the game, whoever still held it.
    platform->StopSample(shootingSample);
    ResetShootingSound();

    platform->ClearKeybuf();
    while ((mouse_b & 7) && !QuitRequested()) {
        platform->PollMouse();
        platform->PollKeyboard();
        platform->Rest(1);
    }
    if (escaped) {
        return 0;
    }
    ShowGameOver();
    ShowStatistics();
    return 1;
}

int RunGame() {
    std::vector<int> carried = CarriedOver();
    platform->GameBegins(carried);
    SetUpGame(carried);
    // Kept in the window while playing, so that its edges scroll the view.
    pointerConfined = 1;
    do {
        HoldWhilePaused();
        RunFrame();
    } while (GameGoesOn());
    pointerConfined = 0;
    // The statistics are final: a recording of the game ends here.
    platform->GameFramesOver(GameSummary(escaped ? 0 : 1));
    return EndGame();
}
