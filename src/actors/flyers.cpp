#include "actors/flyers.h"

#include <algorithm>

#include "actors/bubbles.h"
#include "app/data/loader.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "world/score.h"

BITMAP* ufoImage = nullptr;
BITMAP* planeImage = nullptr;
BITMAP* wreckImage = nullptr;
BITMAP* careImage = nullptr;

namespace {

constexpr int kUfoFrames = 4;
constexpr int kPlaneFrames = 4;
constexpr int kCareFrames = 9;
constexpr int kCareFrameDelay = 4;  // the package turns every fifth update

constexpr int kUfoY = 20;
constexpr int kUfoSpeed = 4;
constexpr int kUfoRightX = 4000;  // entering from the right
constexpr int kUfoLeftX = -800;   // entering from the left
constexpr int kPlaneY = 30;
constexpr int kPlaneDx = -4;
constexpr int kWreckDx = -2;
constexpr int kWreckDy = 4;
constexpr int kWreckRaise = 20;
constexpr int kCareRaise = 20;
constexpr int kCareDy = 4;

constexpr int kUfoPoints = 1000;
constexpr int kPlanePoints = -1000;
constexpr int kRespawnNow = -10;
constexpr int kCrateHeal = 25;
constexpr int kTimeBonusPlane = 2;  // only this plane shot gives time
constexpr int kPlaneTimeBonus = 3000;
constexpr int kTimeBonusPopupDrop = 100;

// Points for the crate by life before healing: the healthier, the more.
struct CratePoints {
    int minLife;
    int points;
};
constexpr CratePoints kCratePoints[] = {
    {96, 1000},
    {76, 500},
};
constexpr int kCrateLeastPoints = 100;

BITMAP* Loaded(BITMAP*& slot, const char* member) {
    if (!slot)
        slot = LoadImage(member);
    return slot;
}

void SetStrip(Flyer* f, BITMAP* image, int frames) {
    f->image = image;
    f->frameCount = frames;
    f->frameWidth = image->w / frames;
}

// Score pop-ups are centred on the flyer's left half, in landscape x.
int PopupX(const Flyer* f) {
    return f->x - f->frameWidth / 2 - ScorePopupWidth() / 2;
}

bool Touched(const Flyer* f, int mx, int my) {
    return 0 <= mx && mx < f->frameWidth && 0 <= my && my < f->image->h &&
           getpixel(f->image, f->frame * f->frameWidth + mx, my) != bitmap_mask_color(f->image);
}

int CratePointsFor(int lifeBefore) {
    for (const CratePoints& c : kCratePoints)
        if (lifeBefore >= c.minLife)
            return c.points;
    return kCrateLeastPoints;
}

}  // namespace

void LoadFlyerImages() {
    Loaded(ufoImage, "ufodreh.bmp");
    Loaded(planeImage, "flieger.bmp");
    Loaded(wreckImage, "flieger_.bmp");
    Loaded(careImage, "care.bmp");
}

Flyer* CreateUfo(Flyer* flyer) {
    Flyer* f = flyer ? flyer : new Flyer();
    SetStrip(f, Loaded(ufoImage, "ufodreh.bmp"), kUfoFrames);
    f->y = kUfoY;
    f->dy = 0;
    f->alive = 1;
    if (Random() % 100 <= 50) {
        f->x = kUfoRightX;
        f->dx = -kUfoSpeed;
    } else {
        f->x = kUfoLeftX;
        f->dx = kUfoSpeed;
    }
    return f;
}

Flyer* CreatePlane(Flyer* flyer) {
    Flyer* f = flyer ? flyer : new Flyer();
    SetStrip(f, Loaded(planeImage, "flieger.bmp"), kPlaneFrames);
    f->y = kPlaneY;
    f->x = kLandscapeW + kScreenW;
    f->dx = kPlaneDx;
    f->dy = 0;
    f->alive = 1;
    f->aux = Random() % (kLandscapeW - kScreenW) + kScreenW / 2;
    return f;
}

Flyer* CrashPlane(Flyer* flyer) {
    if (!flyer)
        return nullptr;
    SetStrip(flyer, Loaded(wreckImage, "flieger_.bmp"), kPlaneFrames);
    flyer->alive = 1;
    flyer->dx = kWreckDx;
    flyer->dy = kWreckDy;
    flyer->y -= kWreckRaise;
    return flyer;
}

Flyer* CreateCarePackage(Flyer* flyer, int x, int y) {
    Flyer* f = flyer ? flyer : new Flyer();
    SetStrip(f, Loaded(careImage, "care.bmp"), kCareFrames);
    f->x = x;
    f->y = y - kCareRaise;
    f->dx = 0;
    f->dy = kCareDy;
    f->alive = 1;
    return f;
}

namespace {
bool FlyerShown(const Flyer* f) {
    int sx = f->x - cameraX;
    return sx + f->frameWidth >= 0 && sx < kScreenW;
}
}  // namespace

void DrawFlyer(const Flyer* flyer, BITMAP* target) {
    if (flyer && flyer->alive && FlyerShown(flyer))
        DrawAnimFrame(flyer, target, flyer->x - cameraX, flyer->y);
}

void UpdateFlyer(Flyer* flyer, int firing, int* hitFlag, int* respawnCount, int kind) {
    if (!flyer || !flyer->alive)
        return;
    int unused = 0;
    int& respawn = respawnCount ? *respawnCount : unused;
    Flyer* f = flyer;

    int sx = f->x - cameraX;
    if (FlyerShown(f)) {
        DrawFlyer(f, backBuffer);
        if (kind == kFlyerCarePackage) {
            if (--f->aux < 0) {
                f->aux = kCareFrameDelay;
                AdvanceAnim(f);
            }
        } else {
            AdvanceAnim(f);
        }

        // The frame tested is the one just advanced to: the one the next
        // update draws.
        int mx = mouse_x - sx;
        int my = mouse_y - f->y;
        if (firing && hitFlag && !*hitFlag && Touched(f, mx, my)) {
            if (kind == kFlyerUfo) {
                BurstBubbles(f);
                AddScore(kUfoPoints, PopupX(f), f->y);
                respawn = kRespawnNow;
                *hitFlag = 1;
                f->alive = 0;
                gameStats.ufosShot++;
            } else if (kind == kFlyerPlane && f->image == planeImage) {
                CrashPlane(f);
                AddScore(kPlanePoints, PopupX(f), f->y);
                *hitFlag = 1;
                if (++planesShotThisGame == kTimeBonusPlane) {
                    timeLeft += kPlaneTimeBonus;
                    SpawnBonusPopup(cameraX + (kScreenW - BonusPopupWidth()) / 2,
                                    f->y + kTimeBonusPopupDrop, 0);
                }
            } else if (kind == kFlyerCarePackage && my >= kCrateTopRow) {
                AddScore(CratePointsFor(life), PopupX(f), f->y);
                life = std::min(life + kCrateHeal, kMaxLife);
                *hitFlag = 1;
                f->alive = 0;
            }
        }
    }

    f->x += f->dx;
    f->y += f->dy;
    if (f->y > kFlyerGroundY) {
        respawn = kRespawnNow;
        f->alive = 0;
    } else if (f->dy > 0 && kind == kFlyerPlane) {
        f->dy++;  // the wreck falls ever faster
    }

    if (f->x + f->frameWidth > 0 && f->x < kLandscapeW)
        respawn++;
}
