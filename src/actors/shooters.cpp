#include "actors/shooters.h"

#include "app/data/loader.h"
#include "app/draw/blit.h"
#include "app/platform/platform.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "world/score.h"

List<Shooter> smallShooters;
List<Shooter> bigShooters;
int shooterCount = 0;
int shooterSpawnCountdown = kShooterFirstSpawn;
int shootingSoundCount = 0;

BITMAP* shooterImages[2][kShooterImages] = {};
SAMPLE* shootingSample = nullptr;

namespace {

// Members per size, in ShooterStrip order, then the casings.
constexpr const char* kShooterMembers[2][kShooterImages] = {
    {"shooterwalkl.bmp", "shooterwalkr.bmp", "shootershoot.bmp", "ballexpl.bmp", "beam2.bmp",
     "huelsee2.bmp"},
    {"shooterbigwl.bmp", "shooterbigwr.bmp", "shooterbigshoot.bmp", "ballbigexok.bmp", "beam3.bmp",
     "shooterbighuelse.bmp"},
};

constexpr int kShooterFrameCounts[kShooterStrips] = {12, 12, 10, 17, 7};
constexpr int kCasingFrames = 11;

constexpr int kSpawnXRange = 2800;  // x = rand mod this - 56
constexpr int kSpawnXShift = 56;
constexpr int kLandscapeMid = 1600;
constexpr int kTurnRight = 0;
constexpr int kTurnLeft = 3120;
constexpr int kShooterStep = 5;

// Where the beam is drawn relative to the shooter, per size.
constexpr int kBeamDx[2] = {-117, -170};
constexpr int kBeamDy[2] = {-20, -24};
constexpr int kExplodeDy = 10;  // the explosion sits a little lower
constexpr int kCasingDy = 90;   // casings fly out below the blaster

// Fire only hurts while the shooter stands well inside the view.
constexpr int kDamageLeft = 200;
constexpr int kDamageRight = 600;

int FireShift(const Shooter* s) {
    return s->big ? kBigFireShift : kSmallFireShift;
}

int WalkStrip(const Shooter* s) {
    return s->facing ? kShooterWalkRight : kShooterWalkLeft;
}

BITMAP* StripImage(const Shooter* s, int strip) {
    switch (strip) {
        case kShooterWalkLeft:
            return s->walkLeftImage;
        case kShooterWalkRight:
            return s->walkRightImage;
        case kShooterFire:
            return s->shootImage;
        case kShooterExplode:
            return s->explodeImage;
        default:
            return s->beamImage;
    }
}

int ShownStrip(const Shooter* s) {
    if (s->beaming)
        return kShooterBeam;
    if (s->dying)
        return kShooterExplode;
    if (s->walking)
        return WalkStrip(s);
    return kShooterFire;
}

void Blit(const Shooter* s, BITMAP* target, int strip, int x, int y) {
    BITMAP* image = StripImage(s, strip);
    int w = s->frameWidths[strip];
    MaskedBlit(image, target, s->frame * w, 0, x, y, w, image->h);
}

// Pixel-exact against the walking strip, whatever the shooter is doing.
bool ShotHits(const Shooter* s, int* fw) {
    int mx = mouse_x + cameraX;
    int my = mouse_y;
    BITMAP* image = StripImage(s, WalkStrip(s));
    *fw = s->frameWidths[WalkStrip(s)];
    if (!(s->x < mx && mx < s->x + *fw && s->y < my && my < s->y + image->h))
        return false;
    int px = getpixel(image, s->frame * *fw + (mx - s->x), my - s->y);
    return px != bitmap_mask_color(image);
}

List<Shooter>& ListOf(const Shooter* s) {
    return s->big ? bigShooters : smallShooters;
}

}  // namespace

void LoadShooterImages() {
    for (int b = 0; b < 2; ++b)
        for (int i = 0; i < kShooterImages; ++i)
            if (!shooterImages[b][i])
                shooterImages[b][i] = LoadImage(kShooterMembers[b][i]);
}

void LoadShooterSounds() {
    if (!shootingSample)
        shootingSample = TryLoadSample("shootings.wav");
}

void SpawnShooter() {
    if (--shooterSpawnCountdown > 0)
        return;
    shooterSpawnCountdown = kShooterSpawnEvery;
    Shooter* s = new Shooter();
    s->big = Random() % 10 > 5 ? 1 : 0;
    BITMAP* const* img = shooterImages[s->big];
    s->x = Random() % kSpawnXRange - kSpawnXShift;
    s->facing = s->x <= kLandscapeMid ? 1 : 0;
    s->y = s->big ? kBigShooterBase - img[kShooterWalkLeft]->h : kSmallShooterY;
    s->walking = 1;
    s->dying = 0;
    s->beaming = 1;
    s->frame = 0;
    s->timer = 1;
    for (int i = 0; i < kShooterStrips; ++i) {
        s->frameCounts[i] = kShooterFrameCounts[i];
        s->frameWidths[i] = img[i]->w / kShooterFrameCounts[i];
    }
    s->walkLeftImage = img[kShooterWalkLeft];
    s->walkRightImage = img[kShooterWalkRight];
    s->shootImage = img[kShooterFire];
    s->explodeImage = img[kShooterExplode];
    s->beamImage = img[kShooterBeam];
    s->casingImage = img[kCasingSlot];
    s->casingFrameCount = kCasingFrames;
    s->casingFrameWidth = s->casingImage->w / kCasingFrames;
    s->casingFrame = Random() % kCasingFrames;
    ListOf(s).Append(s);
    ++shooterCount;
}

void FreeShooter(Shooter* s) {
    ListOf(s).Unlink(s);
    --shooterCount;
    delete s;
}

void FreeAllShooters() {
    smallShooters.FreeAll(FreeShooter);
    bigShooters.FreeAll(FreeShooter);
    ResetShootingSound();
}

bool ShooterOnScreen(const Shooter* s) {
    int strip = s->dying ? kShooterExplode : s->walking ? WalkStrip(s) : kShooterFire;
    int sx = s->x - cameraX;
    return s->frameWidths[strip] + sx > 0 && sx < kScreenW;
}

bool DrawShooter(Shooter* s, BITMAP* target) {
    int strip = ShownStrip(s);
    int sx = s->x - cameraX;
    if (s->frameWidths[strip] + sx <= 0 || sx >= kScreenW)
        return false;
    // A frame index carried over from walking may lie beyond the firing
    // strip for one frame; the blit clips it to nothing.
    if (s->beaming) {
        Blit(s, target, strip, sx + kBeamDx[s->big], s->y + kBeamDy[s->big]);
    } else if (s->dying) {
        Blit(s, target, strip, sx, s->y + kExplodeDy);
    } else if (s->walking) {
        Blit(s, target, strip, sx, s->y);
    } else {
        Blit(s, target, strip, sx, s->y);
        MaskedBlit(s->casingImage, target, s->casingFrame * s->casingFrameWidth, 0, sx,
                   s->y + kCasingDy, s->casingFrameWidth, s->casingImage->h);
        s->casingFrame = (s->casingFrame + 1) % s->casingFrameCount;
        if (kDamageLeft < sx && sx < kDamageRight) {
            bool hurt = Random() % 100 > 50;
            if (hurt && life > 0)
                --life;
        }
    }
    return true;
}

bool UpdateShooter(Shooter* s) {
    if (s->beaming) {
        // Each beam frame shows for two updates.
        if (--s->timer >= 0)
            return true;
        s->timer = 1;
        s->frame = (s->frame + 1) % s->frameCounts[kShooterBeam];
        if (s->frame != 0)
            return true;
        s->beaming = 0;
        s->timer = Random() % 80 + 10;
        return true;
    }
    if (s->dying) {
        s->frame = (s->frame + 1) % s->frameCounts[kShooterExplode];
        return s->frame != 0;
    }
    if (!s->walking) {
        s->frame = (s->frame + 1) % s->frameCounts[kShooterFire];
        if (--s->timer > 0)
            return true;
        s->walking = 1;
        s->timer = Random() % 90 + 130;
        s->y -= FireShift(s);
        StopShootingSound();
        return true;
    }
    s->x += s->facing ? kShooterStep : -kShooterStep;
    if (s->x <= kTurnRight && !s->facing) {
        s->x = kTurnRight + 1;
        s->facing = 1;
    } else if (s->x >= kTurnLeft && s->facing) {
        s->x = kTurnLeft - 1;
        s->facing = 0;
    }
    s->frame = (s->frame + 1) % s->frameCounts[WalkStrip(s)];
    --s->timer;
    if (!ShooterOnScreen(s)) {
        // Never starts firing off screen: a new walk time instead.
        if (s->timer < 0)
            s->timer = Random() % 90 + 130;
        return true;
    }
    if (s->timer <= 0) {
        s->walking = 0;
        s->timer = Random() % 30 + 20;
        s->y += FireShift(s);
        StartShootingSound();
    }
    return true;
}

void UpdateShooterList(List<Shooter>& list, int firing) {
    bool hitInThisList = false;
    list.Walk([&](Shooter* s) {
        bool drawn = DrawShooter(s, backBuffer);
        int fw = 0;
        if (drawn && firing && !hitInThisList && !s->dying && ShotHits(s, &fw)) {
            if (!s->walking)
                StopShootingSound();
            s->dying = 1;
            s->frame = 0;
            if (hitSound)
                platform->PlaySample(hitSound, 255, 64, 1000, 0);
            AddScore(kShooterPoints, s->x + fw / 2 - ScorePopupWidth() / 2, s->y);
            hitInThisList = true;
        }
        if (!UpdateShooter(s))
            FreeShooter(s);
    });
}

void UpdateShooters(int firing) {
    UpdateShooterList(smallShooters, firing);
    UpdateShooterList(bigShooters, firing);
    if (shooterCount < kMaxShooters)
        SpawnShooter();
}

void StartShootingSound() {
    if (shootingSoundCount == 0 && shootingSample)
        platform->PlaySample(shootingSample, 255, 64, 1000, 1);
    ++shootingSoundCount;
}

void StopShootingSound() {
    if (shootingSoundCount <= 0)
        return;
    if (--shootingSoundCount == 0 && shootingSample)
        platform->StopSample(shootingSample);
}

void ResetShootingSound() {
    if (shootingSample)
        platform->StopSample(shootingSample);
    shootingSoundCount = 0;
}
