// One frame of a game: input, scrolling, the scene back to front with every
// target family taking its turn at the shot, the counters, then the shot's
// accounting and the clock. The order is the game: a shot that no target
// after the foreground took reaches the targets before it one frame late.
#include "actors/anim.h"
#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/draw/blit.h"
#include "app/platform/platform.h"
#include "app/random.h"
#include "app/settings.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "world/killer.h"
#include "world/moleholes.h"
#include "world/scenery.h"
#include "world/score.h"

namespace {

constexpr int kScrollStep = 16;
constexpr int kScrollEdgeRight = 750;
constexpr int kScrollEdgeLeft = 50;
constexpr int kSunFrames = 8;
constexpr int kSunW = 220;
constexpr int kSunH = 180;
constexpr int kShellFrameW = 106;
constexpr int kMissPenalty = 10;
constexpr int kRunLength = 5;  // every fifth hit in a row gives a bonus

void ReadInput() {
    platform->PollMouse();
    platform->PollKeyboard();
    // Closing the window or a signal ends a game as Escape does.
    if (key[KEY_ESC] || QuitRequested()) {
        gameRunning = 0;
        escaped = 1;
    }
    // Right wins when both apply.
    if (mouse_x > kScrollEdgeRight || key[KEY_RIGHT]) {
        cameraX = cameraX + kScrollStep > kCameraMax ? kCameraMax : cameraX + kScrollStep;
    } else if (mouse_x < kScrollEdgeLeft || key[KEY_LEFT]) {
        cameraX = cameraX - kScrollStep < 0 ? 0 : cameraX - kScrollStep;
    }
    lifeAtFrameStart = life;
}

void DrawSkyAndBackground() {
    rectfill(backBuffer, 0, 0, kScreenW, 300, skyColour);
    blit(skyImage, backBuffer, 0, 0, 0, 100, kScreenW, 168);
    DrawBackgroundLayer(backBuffer, cameraX / 2, 244);
}

void DrawCastle() {
    int cs = cameraX * 3 / 5;
    int sx = game.castleX - cs;
    if (sx > -castleImage->w && sx < kScreenW) {
        MaskedBlit(castleImage, backBuffer, 0, 0, sx, 186, castleImage->w, castleImage->h);
        // While the castle is off screen its UFO is neither moved, drawn nor tested.
        game.castleUfo->x = cameraX + sx + 38;
        UpdateFlyer(game.castleUfo, game.shotFired, &game.shotUsed, &game.castleUfoCountdown,
                    kFlyerUfo);
    }
}

void DrawSun() {
    MaskedBlit(sunImage, backBuffer, game.sunFrame * kSunW, 0, -40, -20, kSunW, kSunH);
}

void UpdatePlaneAndCarePackage() {
    UpdateFlyer(game.plane, game.shotFired, &game.shotUsed, &game.planeCountdown, kFlyerPlane);
    Flyer* p = game.plane;
    if (p && p->x < p->aux && p->image == planeImage) {
        game.carePackage = CreateCarePackage(game.carePackage, p->x, p->y);
        p->aux = kPlaneDropped;
    }
    UpdateFlyer(game.carePackage, game.shotFired, &game.shotUsed, &game.carePackageCountdown,
                kFlyerCarePackage);
}

void Fire() {
    game.shotFired = (mouse_b & 1) && !game.buttonWasDown && ammo > 0 ? 1 : 0;
    game.shotUsed = 0;
    if (game.shotFired) {
        platform->PlaySample(playerGunSound, 255, 64, 1000, 0);
    }
    game.scoreAtFrameStart = score;
}

void DrawShells() {
    for (int i = 0; i < kShells; ++i) {
        int f = game.shellFrames[i];
        if (f < 10) {
            MaskedBlit(shellsImage, backBuffer, f * kShellFrameW, 0, 700 + 8 * f, 505 - 16 * i,
                       kShellFrameW, shellsImage->h);
        }
        if (f > 0) {
            game.shellFrames[i] = f + 2;
        }
    }
}

void Present() {
    PaceFrame();
    platform->ShowMouse(backBuffer);
    PresentFrame();
    platform->ShowMouse(nullptr);
    game.sunFrame = (game.sunFrame + 1) % kSunFrames;
}

// The four edges of the picture that the calm warning's frame covers.
void CopyEdges(BITMAP* from, BITMAP* to) {
    const int w = kWarningFrameWidth;
    blit(from, to, 0, 0, 0, 0, kScreenW, w);
    blit(from, to, 0, kScreenH - w, 0, kScreenH - w, kScreenW, w);
    blit(from, to, 0, w, 0, w, w, kScreenH - 2 * w);
    blit(from, to, kScreenW - w, w, kScreenW - w, w, w, kScreenH - 2 * w);
}

// The flying UFO and the pop-ups, over the counters and the flash, then the
// calm warning's frame over everything. A warning is shown but is no part
// of the scene: what it covers is kept in scratchBuffer, and comes back
// once the frame is shown (RestoreScene), so that a pause or the end of the
// game holds the scene itself.
void DrawTopLayer(LifeWarning warning) {
    const bool flash = warning == kWarningFlash;
    if (flash) {
        blit(backBuffer, scratchBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
        DrawFlash(backBuffer);
        DrawFlyer(game.flyingUfo, scratchBuffer);
    }
    UpdateFlyer(game.flyingUfo, game.shotFired, &game.shotUsed, &game.flyingUfoCountdown,
                kFlyerUfo);
    if (flash) {
        DrawPopups(scratchBuffer);
    }
    UpdatePopups(backBuffer);
    if (warning == kWarningFrame) {
        CopyEdges(backBuffer, scratchBuffer);
        DrawWarningFrame(backBuffer);
    }
}

void RestoreScene(LifeWarning warning) {
    if (warning == kWarningFlash) {
        blit(scratchBuffer, backBuffer, 0, 0, 0, 0, kScreenW, kScreenH);
    } else if (warning == kWarningFrame) {
        CopyEdges(scratchBuffer, backBuffer);
    }
}

void AccountForShot() {
    if (!game.shotFired) {
        return;
    }
    --ammo;
    ++game.shellFrames[ammo];
    ++gameStats.shotsFired;
    // Before this shot counts: a run that the game's end cuts off is one short.
    if (gameStats.bestCombo < game.combo) {
        gameStats.bestCombo = game.combo;
    }
    if (score == game.scoreAtFrameStart) {
        game.combo = 0;
        score = score - kMissPenalty >= 1 ? score - kMissPenalty : 0;
        return;
    }
    ++gameStats.shotsHit;
    ++game.combo;
    if (game.combo % kRunLength == 0) {
        score += game.bonusMode ? 1000 : 500;
        timeLeft += game.bonusMode ? 200 : 100;
        SpawnBonusPopup(cameraX + (kScreenW - BonusPopupWidth()) / 2, 260, game.combo / kRunLength);
    }
}

void Reload() {
    if ((mouse_b & 6) && ammo < 3) {
        ammo = kShells;
        for (int& f : game.shellFrames)
            f = 0;
    }
}

void RespawnFlyers() {
    if (--game.flyingUfoCountdown <= 0) {
        game.flyingUfoCountdown = 260;
        game.flyingUfo = CreateUfo(game.flyingUfo);
    }
    if (--game.planeCountdown <= 0) {
        game.planeCountdown = Random() % 600 + 560;
        game.plane = CreatePlane(game.plane);
    }
}

void ReadKeys() {
    if (key[KEY_Q]) {
        shakeFrames = 20;
    } else if (key[KEY_V]) {
        // Holding V restarts the loop in every frame, as players hear it.
        SwitchCuddleSample();
    }
}

}  // namespace

void RunFrame() {
    BeginPacedFrame();
    ReadInput();
    DrawSkyAndBackground();
    DrawCastle();
    UpdateBubbles(backBuffer, game.shotFired, &game.shotUsed);
    DrawSun();
    UpdatePlaneAndCarePackage();
    UpdateTowers();
    UpdateSquad();
    DrawForegroundLayer(backBuffer, cameraX, 160);
    Fire();
    DrawFlowers();
    UpdateWalkers(backBuffer, game.shotFired, &game.shotUsed);
    UpdateMoleHoles(backBuffer, game.shotFired, &game.shotUsed);
    UpdateShooterList(smallShooters, game.shotFired);
    UpdateShooterList(bigShooters, game.shotFired);
    if (shooterCount < kMaxShooters) {
        SpawnShooter();
    }
    UpdateKiller(killer);
    if (DrawKiller(killer, backBuffer)) {
        HitKiller(killer, game.shotFired, &game.shotUsed);
    }
    DrawShells();
    HitFlowers();
    DrawHud(backBuffer);
    LifeWarning warning = NextLifeWarning(settings.reduceFlashing);
    DrawTopLayer(warning);
    Present();
    RestoreScene(warning);
    AccountForShot();
    game.buttonWasDown = mouse_b & 1;
    Reload();
    RespawnFlyers();
    ReadKeys();
    timeLeft -= tickCount;
}

bool GameGoesOn() {
    return timeLeft >= 0 && life > 0 && gameRunning;
}
