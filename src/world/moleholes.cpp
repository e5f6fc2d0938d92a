#include "world/moleholes.h"

#include <algorithm>

#include "app/data/loader.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "world/score.h"

int moleHoleCount = 0;
int moleHoleMax = 0;
int moleKind[kMaxMoleHoles] = {};
int moleRise[kMaxMoleHoles] = {};
int moleCountdown[kMaxMoleHoles] = {};
int moleX[kMaxMoleHoles] = {};
int moleWait[kMaxMoleHoles] = {};
Anim* moleMound[kMaxMoleHoles] = {};
Anim* moleAnims[kMoleFigures] = {};

BITMAP* moundImage = nullptr;
BITMAP* moleImages[kMoleFigures] = {};

namespace {

struct MoleFigure {
    const char* member;
    int frames;
    int xOffset;  // from the mound's left edge, less half a Lout frame
    int baseY;    // the rim the figure climbs out of
};
constexpr MoleFigure kFigures[kMoleFigures] = {
    {"luemmel256.bmp", 9, 46, 466},  // Lout
    {"peace.bmp", 17, 26, 460},      // Peace
    {"bazooka.bmp", 1, 41, 461},     // Bazooka
    {"mole_exp.bmp", 15, 36, 461},   // explosion of a shot Lout or Bazooka
};
constexpr int kMoundFrames = 7;

constexpr int kRiseStep = 5;           // rows per frame
constexpr int kBazookaCountdown = 35;  // frames; shows 7 first
constexpr int kCountdownShown = 5;     // frames per shown number
constexpr int kCountdownAboveY = 20;   // rows between the number and the figure
constexpr int kSpawnChance = 500;      // rand mod this ...
constexpr int kSpawnBelow = 5;         // ... below this spawns: 1 in 100
constexpr int kSpawnGateStep = 2000;   // ticks until the next hole may come

// Half a Lout frame: every figure is centred with it, whatever its kind.
int HalfLout() {
    return moleAnims[kMoleLout]->frameWidth / 2;
}

int FigureX(int kind, int sx) {
    return sx + kFigures[kind].xOffset - HalfLout();
}

void ShootPeace(int i) {
    int r = Random() % 10;
    if (r <= 1) {
        moleRise[i] = 0;
        moleKind[i] = kMoleBazooka;
        moleCountdown[i] = Random() % 15 + 10;
        moleWait[i] = Random() % 100 + 50;
    } else if (r >= 8) {
        // Ducks and comes back later.
        moleRise[i] = 0;
        moleWait[i] = Random() % 500 + 400;
    } else {
        moleKind[i] = kMoleEmpty;
    }
}

// Strict on all four edges; the figure's current frame after its advance.
bool FigureHit(const Anim* a, int drawX, int top, int baseY) {
    if (!(drawX < mouse_x && mouse_x < drawX + a->frameWidth && top < mouse_y && mouse_y < baseY))
        return false;
    int px = getpixel(a->image, a->frame * a->frameWidth + mouse_x - drawX, mouse_y - top);
    return px != bitmap_mask_color(a->image);
}

void TakeShot(int i, const Anim* a, int top) {
    int kind = moleKind[i];
    int px = moleX[i] - a->frameWidth / 2 + kFigures[kind].xOffset - HalfLout();
    switch (kind) {
        case kMoleLout:
            AddScore(kMolePoints, px, top);
            moleKind[i] = kMoleExploding;
            break;
        case kMolePeace:
            AddScore(-kMolePoints, px, top);
            ShootPeace(i);
            break;
        case kMoleBazooka:
            AddScore(kMolePoints, px, top);
            timeLeft += kBazookaTimeBonus;
            moleKind[i] = kMoleExploding;
            break;
    }
}

void UpdateFigure(int i, int sx, BITMAP* target, int shotFired, int* shotUsed) {
    int kind = moleKind[i];
    Anim* a = moleAnims[kind];
    int h = a->image->h;
    if (moleRise[i] < h)
        moleRise[i] = std::min(moleRise[i] + kRiseStep, h);
    int drawX = FigureX(kind, sx);
    int baseY = kFigures[kind].baseY;
    DrawAnimRising(a, target, drawX, baseY, moleRise[i]);
    if (kind == kMoleBazooka && moleRise[i] >= h) {
        if (gameFont)
            textprintf_ex(target, gameFont, sx + a->frameWidth / 2, baseY - h - kCountdownAboveY,
                          makecol(255, 255, 255), -1, "%i", moleCountdown[i] / kCountdownShown);
        if (moleCountdown[i] > 0) {
            --moleCountdown[i];
        } else {
            bazookaEndX = drawX;
            bazookaEndY = baseY - moleRise[i];
            bazookaFired = 1;
            gameRunning = 0;
        }
    }
    AdvanceAnim(a);
    if (shotFired && !*shotUsed) {
        int top = baseY - moleRise[i];
        if (FigureHit(a, drawX, top, baseY)) {
            *shotUsed = 1;
            TakeShot(i, a, top);
        }
    }
}

void UpdateExplosion(int i, int sx, BITMAP* target) {
    Anim* a = moleAnims[kMoleExploding];
    DrawAnimRising(a, target, FigureX(kMoleExploding, sx), kFigures[kMoleExploding].baseY,
                   moleRise[i]);
    if (++a->frame >= a->frameCount) {
        a->frame = 0;
        moleKind[i] = kMoleEmpty;
    }
}

}  // namespace

void LoadMoleHoleImages() {
    if (!moundImage)
        moundImage = LoadImage("haufen256.bmp");
    // The figures in the game's loading order.
    constexpr int kLoadOrder[kMoleFigures] = {kMoleBazooka, kMolePeace, kMoleLout, kMoleExploding};
    for (int kind : kLoadOrder)
        if (!moleImages[kind])
            moleImages[kind] = LoadImage(kFigures[kind].member);
}

void CreateMoleHoleAnims() {
    for (int k = 0; k < kMoleFigures; ++k) {
        FreeAnim(moleAnims[k]);
        moleAnims[k] = CreateAnim(moleImages[k], kFigures[k].frames);
    }
}

void ChooseMoleHoleMax() {
    int r = Random() % 10;
    moleHoleMax = r <= 2 ? 1 : r == 3 ? 2 : r == 4 ? 3 : 0;
    moleHoleCount = 0;
}

void FreeMoleHoles() {
    for (Anim*& a : moleAnims) {
        FreeAnim(a);
        a = nullptr;
    }
    for (int i = 0; i < moleHoleCount; ++i) {
        FreeAnim(moleMound[i]);
        moleMound[i] = nullptr;
    }
    moleHoleCount = 0;
}

void SpawnMoleHole() {
    if (moleHoleCount >= moleHoleMax || moleHoleCount >= kMaxMoleHoles)
        return;
    int i = moleHoleCount++;
    moleMound[i] = CreateAnim(moundImage, kMoundFrames);
    moleX[i] = cameraX + kScreenW / 2;
    int r = Random() % 10;
    if (r <= 2) {
        moleKind[i] = kMolePeace;
    } else if (r == 3) {
        moleKind[i] = kMoleBazooka;
        moleCountdown[i] = kBazookaCountdown;
    } else {
        moleKind[i] = kMoleLout;
    }
    moleRise[i] = 0;
    moleWait[i] = Random() % 100 + 100;
}

void UpdateMoleHoles(BITMAP* target, int shotFired, int* shotUsed) {
    bool seen = false;
    for (int i = 0; i < moleHoleCount; ++i) {
        Anim* mound = moleMound[i];
        // Out of view a hole stands still in every respect.
        if (!(moleX[i] > cameraX - mound->frameWidth && moleX[i] < cameraX + kScreenW))
            continue;
        seen = true;
        int sx = moleX[i] - cameraX;
        bool growing = mound->frame < mound->frameCount - 1;
        if (!growing) {
            if (moleWait[i] > 0) {
                --moleWait[i];
            } else if (moleKind[i] == kMoleExploding) {
                UpdateExplosion(i, sx, target);
            } else if (moleKind[i] != kMoleEmpty) {
                UpdateFigure(i, sx, target, shotFired, shotUsed);
            }
        }
        // The mound covers the figure's lowest rows.
        DrawAnimFrame(mound, target, sx, kMoundY);
        if (growing)
            ++mound->frame;
    }
    if (!seen && moleHoleCount < moleHoleMax && spawnGate < timeLeft &&
        Random() % kSpawnChance < kSpawnBelow) {
        SpawnMoleHole();
        spawnGate = timeLeft - kSpawnGateStep;
    }
}
