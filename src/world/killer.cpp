#include "world/killer.h"

#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/data/loader.h"
#include "app/draw/blit.h"
#include "app/platform/platform.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "world/score.h"

int killerDelay = 0;

BITMAP* killerImage = nullptr;
BITMAP* killerRiseImage = nullptr;
BITMAP* killerExplodeImage = nullptr;
BITMAP* killerCasingImage = nullptr;

namespace {

constexpr int kKillerFrameCounts[kKillerStates] = {
    1,   // rising: one still picture
    10,  // firing
    18,  // exploding
    10,  // leaving: the firing strip, held on frame 0
};
constexpr int kCasingFrames = 11;

constexpr int kRiseStep = 10;     // rows per frame coming up
constexpr int kLeaveStep = 55;    // rows per frame going down
constexpr int kCasingDy = 120;    // casings fly out below the guns
constexpr int kHitShiftX = -50;   // the explosion is painted wider to the left
constexpr int kDamageLeft = 200;  // fire only hurts near the middle of the view
constexpr int kDamageRight = 600;

BITMAP* StateImage(int state) {
    switch (state) {
        case kKillerRising:
            return killerRiseImage;
        case kKillerExploding:
            return killerExplodeImage;
        default:
            return killerImage;
    }
}

}  // namespace

void LoadKillerImages() {
    if (!killerImage)
        killerImage = LoadImage("killer.bmp");
    if (!killerRiseImage)
        killerRiseImage = LoadImage("killer_.bmp");
    if (!killerExplodeImage)
        killerExplodeImage = LoadImage("killerexpl.bmp");
    if (!killerCasingImage)
        killerCasingImage = LoadImage("huelsee1.bmp");
}

Killer* CreateKiller() {
    Killer* k = new Killer();
    k->x = 0;
    k->y = kKillerParkedY;
    k->state = kKillerRising;
    k->frame = 0;
    for (int s = 0; s < kKillerStates; ++s) {
        k->frameCounts[s] = kKillerFrameCounts[s];
        k->images[s] = StateImage(s);
    }
    k->casingImage = killerCasingImage;
    k->casingFrameCount = kCasingFrames;
    k->casingFrameWidth = killerCasingImage->w / kCasingFrames;
    k->casingFrame = Random() % kCasingFrames;
    for (int s = 0; s < kKillerStates; ++s)
        k->frameWidths[s] = k->images[s]->w / k->frameCounts[s];
    return k;
}

void ShowKiller(Killer* k) {
    k->state = kKillerRising;
    k->x = (kScreenW - k->frameWidths[kKillerRising]) / 2 + cameraX;
    k->y = kKillerParkedY - 1;  // only its top row shows at first
    k->frame = 0;
    k->fireTimer = Random() % 70 + 50;
    killerDelay = Random() % 120 + 130;
}

void ParkKiller(Killer* k) {
    k->state = kKillerRising;
    k->y = kKillerParkedY;
}

void UpdateKiller(Killer* k) {
    if (k->y >= kKillerParkedY) {
        // The delay only runs while a pair cuddles.
        if (cuddleSoundCount > 0 && --killerDelay <= 0)
            ShowKiller(k);
        return;
    }
    switch (k->state) {
        case kKillerRising: {
            k->y -= kRiseStep;
            int top = kKillerParkedY - k->images[kKillerRising]->h;
            if (k->y <= top) {
                k->y = top;
                k->state = kKillerFiring;
                StartShootingSound();
            }
            break;
        }
        case kKillerFiring:
            k->frame = (k->frame + 1) % k->frameCounts[kKillerFiring];
            if (--k->fireTimer <= 0) {
                k->state = kKillerLeaving;
                k->frame = 0;
                StopShootingSound();
            }
            break;
        case kKillerExploding:
            k->frame = (k->frame + 1) % k->frameCounts[kKillerExploding];
            if (k->frame == 0)
                ParkKiller(k);
            break;
        case kKillerLeaving:
            k->y += kLeaveStep;
            if (k->y >= kKillerParkedY)
                ParkKiller(k);
            break;
    }
}

bool DrawKiller(Killer* k, BITMAP* target) {
    int fw = k->frameWidths[k->state];
    int sx = k->x - cameraX;
    if (fw + sx <= 0 || sx > kScreenW || k->y >= kKillerParkedY)
        return false;
    BITMAP* image = k->images[k->state];
    MaskedBlit(image, target, k->frame * fw, 0, sx, k->y, fw, image->h);
    if (k->state == kKillerFiring) {
        MaskedBlit(k->casingImage, target, k->casingFrame * k->casingFrameWidth, 0, sx,
                   k->y + kCasingDy, k->casingFrameWidth, k->casingImage->h);
        if (--k->casingFrame < 0)
            k->casingFrame = k->casingFrameCount - 1;
        if (kDamageLeft < sx && sx < kDamageRight) {
            bool hurt = Random() % 100 > 50;
            if (hurt && life > 0)
                --life;
        }
    }
    return true;
}

bool HitKiller(Killer* k, int shotFired, int* shotUsed) {
    if (!shotFired || *shotUsed || k->state == kKillerExploding)
        return false;
    int mx = mouse_x + cameraX;
    int my = mouse_y;
    int fw = k->frameWidths[k->state];
    BITMAP* image = k->images[k->state];
    if (!(k->x < mx && mx < k->x + fw && k->y < my && my < k->y + image->h))
        return false;
    if (getpixel(image, k->frame * fw + (mx - k->x), my - k->y) == bitmap_mask_color(image))
        return false;
    if (hitSound)
        platform->PlaySample(hitSound, 255, 64, 1000, 0);
    bool wasFiring = k->state == kKillerFiring;
    k->state = kKillerExploding;
    k->frame = 0;
    k->x += kHitShiftX;
    if (wasFiring)
        StopShootingSound();
    AddScore(kKillerPoints, k->x + fw / 2 - ScorePopupWidth() / 2, k->y);
    *shotUsed = 1;
    return true;
}

void FreeKiller(Killer* k) {
    delete k;
}
