// The set-up of a game: every picture and sound on the first game, the
// layers, and the random layout. The order of the random draws is part of
// the game: a game replays only when they come in exactly this order.
#include <cstring>

#include "actors/anim.h"
#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/data/loader.h"
#include "app/platform/platform.h"
#include "app/random.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "screens/intro.h"
#include "world/killer.h"
#include "world/moleholes.h"
#include "world/scenery.h"
#include "world/score.h"

BITMAP* sunImage = nullptr;
BITMAP* skyImage = nullptr;
BITMAP* flowerTarget = nullptr;
BITMAP* explosionImage = nullptr;
BITMAP* castleImage = nullptr;
BITMAP* smokeImages[4] = {};
BITMAP* landedUfoImage = nullptr;
BITMAP* gameOverImage = nullptr;
BITMAP* shellsImage = nullptr;
BITMAP* statsPanelImage = nullptr;
BITMAP* pauseImage = nullptr;
SAMPLE* playerGunSound = nullptr;

Game game;
Killer* killer = nullptr;

namespace {

constexpr int kLandedUfoLift = 190;  // rows between a landed UFO and the layer's bottom
constexpr int kStartCamera = 1200;

void Load(BITMAP*& slot, const char* member) {
    if (!slot)
        slot = LoadImage(member);
}

void LoadSound(SAMPLE*& slot, const char* member) {
    if (!slot)
        slot = LoadSample(member);
}

// Every picture of a game, in the order the first game loads them.
void LoadImages() {
    Load(groundImage, "fg.bmp");
    Load(backgroundTile, "bg.bmp");
    Load(sunImage, "sonne.bmp");
    Load(skyImage, "sky.bmp");
    LoadScoreImages();
    LoadFlowerImages();
    Load(flowerTarget, "blume.bmp");
    LoadTreeImages();
    LoadTowerImages();
    Load(explosionImage, "atomic.bmp");
    Load(castleImage, "castle.bmp");
    Load(smokeImages[0], "rauch0.bmp");
    Load(smokeImages[1], "rauch1.bmp");
    Load(smokeImages[2], "rauch_0.bmp");
    Load(smokeImages[3], "rauch_1.bmp");
    Load(landedUfoImage, "ufo.bmp");
    LoadBubbleImages();
    LoadWalkerImages();
    LoadShooterImages();
    Load(gameOverImage, "gameover.bmp");
    Load(shellsImage, "shells.bmp");
    shooterCount = 0;
    LoadKillerImages();
    Load(statsPanelImage, "panel.bmp");
    Load(pauseImage, "pause.bmp");
    LoadMoleHoleImages();
    LoadBazookaImage();
    CreateMoleHoleAnims();
    moleHoleMax = 0;
    killerDelay = 0;
}

void LoadSounds() {
    LoadSound(playerGunSound, "playergun.wav");
    if (!hitSound)
        hitSound = LoadSample("hit.wav");
    LoadWalkerSounds();
    LoadShooterSounds();
}

void ResetGameValues() {
    std::memset(&game, 0, sizeof(game));
    game.plane = nullptr;
    game.planeCountdown = 100;
    game.carePackageCountdown = 100;
    game.castleUfoCountdown = 1000;
    for (int j = 0; j < kTowerSegments; ++j) {
        game.explosionFrame[j] = -1;
    }
    game.flowersLeft = kFlowers;
    gameRunning = 1;
    escaped = 0;
    bazookaFired = 0;
    bazookaEndX = 0;
    bazookaEndY = 0;
}

}  // namespace

std::vector<int> CarriedOver() {
    return {walkerSpawnCountdown, shooterSpawnCountdown, heartAnim ? heartAnim->frame : 0,
            shakeFrames};
}

void SetUpGame(const std::vector<int>& carried) {
    const bool taken = carried.size() == CarriedOver().size();
    if (taken) {
        walkerSpawnCountdown = carried[0];
        shooterSpawnCountdown = carried[1];
        shakeFrames = carried[3];
    }
    ResetGameValues();
    ResetScoreState();
    game.dark = makecol(15, 15, 15);
    game.light = makecol(175, 175, 175);
    game.white = makecol(255, 255, 255);
    game.countdownWhite = makecol(255, 255, 255);
    game.flashYellow = makecol(255, 240, 0);
    timeLeft = kStartTimeLeft;
    spawnGate = timeLeft - 1000;

    SeedRandom(uint32_t(platform->SeedTime()));
    gameStats = GameStats{};
    walkerSiteCount = 0;

    LoadImages();
    LoadSounds();
    // The first game makes the heart.
    if (taken && carried[2] >= 0 && carried[2] < heartAnim->frameCount) {
        heartAnim->frame = carried[2];
    }
    timeLeft = kStartTimeLeft;

    BuildForegroundLayer();
    BuildBackgroundLayers();
    killer = CreateKiller();
    killerDelay = 40;

    int w = foregroundLayer->w;
    int q = (2 * w / 3) / 2;
    game.towerStripX[0] = Random() % q;
    game.towerStripX[1] = Random() % q + q;

    life = kStartLife;

    int m = 3 * w / 5;
    int c = Random() % m;
    if (c < 100) {
        c = 100;
    } else if (c > m - 100) {
        c = m - 100;
    }
    game.castleX = c;
    game.castleUfo = CreateUfo(nullptr);
    game.castleUfo->x = c + 28;
    game.castleUfo->y = 158;
    game.castleUfo->dx = 0;
    game.castleUfo->dy = 0;

    for (int k = 0; k < kSquad; ++k) {
        game.squad[k] = CreateUfo(nullptr);
        game.squad[k]->alive = 0;
    }

    for (int j = 0; j < kTowerSegments; ++j) {
        int r = Random() % 10;
        game.smokeAnims[j] = CreateAnim(r > 5 ? smokeImages[0] : smokeImages[1], 16);
        game.smokeAnims[j]->frame = Random() % game.smokeAnims[j]->frameCount;
    }

    walkerSiteCount = 3;
    int spacing = (w - 800) / 3;
    for (int i = 0; i < walkerSiteCount; ++i) {
        walkerSiteX[i] = Random() % 100 + spacing / 2 - 50 + i * spacing;
        masked_blit(landedUfoImage, foregroundLayer, 0, 0, walkerSiteX[i],
                    foregroundLayer->h - landedUfoImage->h - kLandedUfoLift, landedUfoImage->w,
                    landedUfoImage->h);
        walkerSiteUsage[i] = 0;
    }

    for (int i = 0; i < kFlowers; ++i) {
        game.flowerShot[i] = 0;
        game.flowerX[i] = Random() % w;
        game.flowerY[i] = Random() % 140 + 386;
    }

    ResetShootingSound();
    walkerList.head = nullptr;
    walkerList.tail = nullptr;

    skyColour = (31 << _rgb_b_shift_16) | (50 << _rgb_g_shift_16) | (0 << _rgb_r_shift_16);

    ChooseMoleHoleMax();
    moleHoleCount = 0;

    ResetCuddleSound();
    cameraX = kStartCamera;

    // The first picture: the left end of both layers, before any sky band.
    platform->ShowMouse(nullptr);
    rectfill(backBuffer, 0, 0, kScreenW, 300, skyColour);
    // Masked, as in every later frame: an opaque copy would show the layer's
    // transparent sky as magenta for this one picture.
    masked_blit(backgroundLayer, backBuffer, 0, 0, 0, 244, kScreenW, backgroundLayer->h);
    masked_blit(foregroundLayer, backBuffer, 0, 0, 0, 160, kScreenW, foregroundLayer->h);
    PresentFrame();
    platform->ShowMouse(backBuffer);

    spawnGate = timeLeft - 1000;
    ammo = 10;
    score = 0;
    planesShotThisGame = 0;
    // The click on Play is still down as the game starts: it chose the game
    // and is no shot. A button held now counts as held until it is let go.
    game.buttonWasDown = mouse_b & 1;
}
