#include "actors/walkers.h"

#include <cstdlib>

#include "app/data/loader.h"
#include "app/draw/blit.h"
#include "app/platform/platform.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "world/score.h"

List<Walker> walkerList;
int walkerCount = 0;
int maleWalkerCount = 0;
int femaleWalkerCount = 0;
int walkerSpawnCountdown = kWalkerSpawnEvery;
int cuddleSoundCount = 0;

int walkerSiteCount = 0;
int walkerSiteX[kMaxWalkerSites] = {};
int walkerSiteUsage[kMaxWalkerSites] = {};

BITMAP* walkerImages[2][kWalkerStrips] = {};
BITMAP* heartImage = nullptr;
Anim* heartAnim = nullptr;
SAMPLE* cuddleSample = nullptr;
SAMPLE* cuddleSampleAlt = nullptr;
SAMPLE* currentCuddleSample = nullptr;

namespace {

// Members per gender, in WalkerStrip order.
constexpr const char* kWalkerMembers[2][kWalkerStrips] = {
    {"mpwalkl.bmp", "mpwalkr.bmp", "mpschml.bmp", "mpschmr.bmp", "mpexp.bmp"},
    {"fpwalkl.bmp", "fpwalkr.bmp", "fpschml.bmp", "fpschmr.bmp", "fpexp.bmp"},
};

// Frames per state: walking, cuddling, exploding.
constexpr int kWalkerFrameCounts[kWalkerStates] = {12, 12, 15};

constexpr int kLandscapeMid = 1600;  // new walkers head for the middle
constexpr int kTurnRight = 0;        // reaching this x turns a walker right
constexpr int kTurnLeft = 3120;      // reaching this x turns it left
constexpr int kSiteOffset = 60;      // a walker steps out this far right of its site's x
constexpr int kNoUsage = 32000;      // above any site's usage

// Heart over the male of a pair: its x relative to the male's screen x.
constexpr int kHeartLeftX = -34;   // male facing left
constexpr int kHeartRightX = -72;  // male facing right, added to the cuddle frame width
constexpr int kHeartAboveY = 50;

Walker* CreateWalker(int x, uint8_t gender) {
    BITMAP* const* img = walkerImages[gender];
    Walker* w = new Walker();
    w->x = x;
    w->y = kWalkerY;
    w->state = kWalkerWalking;
    w->frame = 0;
    w->gender = gender;
    w->leftImages[kWalkerWalking] = img[kWalkLeftStrip];
    w->leftImages[kWalkerCuddling] = img[kCuddleLeftStrip];
    w->leftImages[kWalkerExploding] = img[kExplodeStrip];
    w->rightImages[kWalkerWalking] = img[kWalkRightStrip];
    w->rightImages[kWalkerCuddling] = img[kCuddleRightStrip];
    w->rightImages[kWalkerExploding] = img[kExplodeStrip];
    for (int s = 0; s < kWalkerStates; ++s) {
        w->frameCounts[s] = kWalkerFrameCounts[s];
        w->frameWidths[s] = w->leftImages[s]->w / kWalkerFrameCounts[s];
    }
    w->facing = x <= kLandscapeMid ? 1 : 0;
    w->next = w->prev = w->partner = nullptr;
    ++walkerCount;
    return w;
}

// The female's leftward walk is painted back to front.
int ShownFrame(const Walker* w) {
    if (w->gender == kWalkerFemale && w->state == kWalkerWalking && w->facing == 0)
        return w->frameCounts[kWalkerWalking] - w->frame - 1;
    return w->frame;
}

BITMAP* ShownImage(const Walker* w) {
    return w->facing ? w->rightImages[w->state] : w->leftImages[w->state];
}

bool OnScreen(const Walker* w) {
    int sx = w->x - cameraX;
    return sx + w->frameWidths[w->state] > 0 && sx < kScreenW;
}

// Pixel-exact and strict on all four edges of the frame.
bool ShotHits(const Walker* w) {
    int mx = mouse_x + cameraX;
    int my = mouse_y;
    BITMAP* image = ShownImage(w);
    int fw = w->frameWidths[w->state];
    if (!(w->x < mx && mx < w->x + fw && w->y < my && my < w->y + image->h))
        return false;
    int px = getpixel(image, ShownFrame(w) * fw + (mx - w->x), my - w->y);
    return px != bitmap_mask_color(image);
}

void TakeShot(Walker* w, int* hitFlag) {
    int fw = w->frameWidths[w->state];
    w->state = kWalkerExploding;
    w->frame = 0;
    if (hitSound)
        platform->PlaySample(hitSound, 255, 64, 1000, 0);
    AddScore(kWalkerPoints, w->x + fw / 2 - ScorePopupWidth() / 2, w->y);
    *hitFlag = 1;
}

// Starts a cuddle with the first free walker of the other kind in reach.
void LookForPartner(Walker* w) {
    Walker* p = walkerList.head;
    while (p && !(p->gender != w->gender && !p->partner && p->state == kWalkerWalking &&
                  std::abs(p->x - w->x) < kWalkerReach))
        p = p->next;
    if (!p)
        return;
    p->state = w->state = kWalkerCuddling;
    p->frame = w->frame = 0;
    w->partner = p;
    p->partner = w;
    // They turn to each other; at equal x the walker being updated looks right.
    bool partnerRight = p->x >= w->x;
    p->facing = partnerRight ? 0 : 1;
    w->facing = partnerRight ? 1 : 0;
    StartCuddleSound();
}

void DrawHeart(const Walker* w, BITMAP* target) {
    int sx = w->x - cameraX;
    int hx = w->facing ? sx + w->frameWidths[kWalkerCuddling] + kHeartRightX : sx + kHeartLeftX;
    DrawAnimFrame(heartAnim, target, hx, w->y - kHeartAboveY);
}

}  // namespace

void LoadWalkerImages() {
    for (int g = 0; g < 2; ++g)
        for (int s = 0; s < kWalkerStrips; ++s)
            if (!walkerImages[g][s])
                walkerImages[g][s] = LoadImage(kWalkerMembers[g][s]);
    if (!heartImage)
        heartImage = LoadImage("herz.bmp");
    if (!heartAnim)
        heartAnim = CreateAnim(heartImage, kHeartFrames);
}

void LoadWalkerSounds() {
    if (!cuddleSample)
        cuddleSample = TryLoadSample("schmusen.wav");
    if (!cuddleSampleAlt || cuddleSampleAlt == cuddleSample)
        cuddleSampleAlt = TryLoadSample("schmusen_.wav");
    if (!cuddleSampleAlt)
        cuddleSampleAlt = cuddleSample;
}

Walker* CreateMaleWalker(int x) {
    ++maleWalkerCount;
    return CreateWalker(x, kWalkerMale);
}

Walker* CreateFemaleWalker(int x) {
    ++femaleWalkerCount;
    return CreateWalker(x, kWalkerFemale);
}

bool DrawWalker(Walker* w, BITMAP* target) {
    int fw = w->frameWidths[w->state];
    int sx = w->x - cameraX;
    if (sx + fw <= 0 || sx > kScreenW)
        return false;
    BITMAP* image = ShownImage(w);
    MaskedBlit(image, target, ShownFrame(w) * fw, 0, sx, w->y, fw, image->h);
    return true;
}

bool UpdateWalker(Walker* w) {
    if (++w->frame >= w->frameCounts[w->state]) {
        w->frame = 0;
        if (w->state == kWalkerExploding)
            return false;
    }
    if (w->state != kWalkerWalking)
        return true;
    w->x += w->facing ? kWalkerStep : -kWalkerStep;
    if (w->x <= kTurnRight) {
        w->x = kTurnRight + 1;
        w->facing = 1;
    } else if (w->x >= kTurnLeft) {
        w->x = kTurnLeft - 1;
        w->facing = 0;
    }
    LookForPartner(w);
    return true;
}

void SpawnWalker() {
    if (--walkerSpawnCountdown > 0)
        return;
    walkerSpawnCountdown = kWalkerSpawnEvery;
    if (walkerSiteCount <= 0)
        return;
    // Least used site; ties go to the highest index.
    int site = 0;
    int least = kNoUsage;
    for (int i = 0; i < walkerSiteCount && i < kMaxWalkerSites; ++i) {
        if (walkerSiteUsage[i] <= least) {
            least = walkerSiteUsage[i];
            site = i;
        }
    }
    ++walkerSiteUsage[site];
    int x = walkerSiteX[site] + kSiteOffset;
    Walker* w = femaleWalkerCount < maleWalkerCount ? CreateFemaleWalker(x) : CreateMaleWalker(x);
    walkerList.Append(w);
}

void FreeWalker(Walker* w) {
    if (w->gender == kWalkerMale)
        --maleWalkerCount;
    else
        --femaleWalkerCount;
    --walkerCount;
    if (Walker* p = w->partner) {
        // The survivor walks on the way it faced; an exploding one keeps exploding.
        if (p->state == kWalkerCuddling) {
            p->state = kWalkerWalking;
            p->frame = 0;
        }
        p->partner = nullptr;
        StopCuddleSound();
    }
    walkerList.Unlink(w);
    delete w;
}

void FreeAllWalkers() {
    walkerList.FreeAll(FreeWalker);
}

void StartCuddleSound() {
    if (cuddleSoundCount == 0 && currentCuddleSample)
        platform->PlaySample(currentCuddleSample, 255, 64, 1000, 1);
    ++cuddleSoundCount;
}

void StopCuddleSound() {
    if (cuddleSoundCount <= 0)
        return;
    if (--cuddleSoundCount == 0 && currentCuddleSample)
        platform->StopSample(currentCuddleSample);
}

void ResetCuddleSound() {
    cuddleSoundCount = 0;
    currentCuddleSample = cuddleSample;
}

void SwitchCuddleSample() {
    if (cuddleSoundCount > 0) {
        if (currentCuddleSample)
            platform->StopSample(currentCuddleSample);
        if (cuddleSampleAlt)
            platform->PlaySample(cuddleSampleAlt, 255, 64, 1000, 1);
    }
    currentCuddleSample = cuddleSampleAlt;
}

void UpdateWalkers(BITMAP* target, int firing, int* hitFlag) {
    walkerList.Walk([&](Walker* w) {
        bool visible = DrawWalker(w, target);
        if (visible && firing && !*hitFlag && w->state < kWalkerExploding && ShotHits(w))
            TakeShot(w, hitFlag);
        if (!UpdateWalker(w))
            FreeWalker(w);
    });
    // One heart for every pair, over its male; the shared strip advances
    // once per walker whether or not a heart is drawn for it.
    if (heartAnim) {
        walkerList.Walk([&](Walker* w) {
            if (OnScreen(w) && w->state == kWalkerCuddling && w->gender == kWalkerMale)
                DrawHeart(w, target);
            AdvanceAnim(heartAnim);
        });
    }
    if (walkerCount < walkerSiteCount)
        SpawnWalker();
}
