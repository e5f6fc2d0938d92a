// Synthetic sprite strips for the ground actors' tests: every frame is one
// solid colour that tells the frame (and the strip) apart, so a test can read
// back from the back buffer which frame of which strip was drawn.
#pragma once

#include <allegro.h>

#include <vector>

#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/platform.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "support/harness.h"
#include "world/score.h"

// Frame k of strip `tag`; never the mask colour for k < 20 and tag < 8.
inline int FrameColour(int tag, int k) {
    return makecol(16 + 12 * k, 20 + 28 * tag, 200);
}

// `frames` frames of frameW x h, frame k filled with FrameColour(tag, k).
inline BITMAP* Strip(int tag, int frames, int frameW, int h) {
    BITMAP* b = create_bitmap(frames * frameW, h);
    for (int k = 0; k < frames; ++k)
        rectfill(b, k * frameW, 0, (k + 1) * frameW - 1, h - 1, FrameColour(tag, k));
    return b;
}

// Which frame of strip `tag` shows at (x, y) of bmp, or -1.
inline int FrameAt(BITMAP* bmp, int tag, int x, int y) {
    int c = getpixel(bmp, x, y);
    for (int k = 0; k < 20; ++k)
        if (c == FrameColour(tag, k))
            return k;
    return -1;
}

// A shooter of the given size, beamed down and walking at landscape x: the
// size is the spawn's first draw, so a seed is found that gives it.
inline Shooter* SpawnShooterAt(bool big, int x, int facing) {
    uint32_t seed = 1;
    while (SeedRandom(seed), (Random() % 10 > 5) != big)
        ++seed;
    SeedRandom(seed);
    shooterSpawnCountdown = 1;
    SpawnShooter();
    Shooter* s = big ? bigShooters.tail : smallShooters.tail;
    s->x = x;
    s->facing = uint8_t(facing);
    s->beaming = 0;
    return s;
}

// The ground families' common set-up: the view at 1200, a fresh score and
// life, no loop playing, and stand-in sounds whose plays the log records.
class GroundTest : public HeadlessTest {
  protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        hitSound = &fakeHit;
        shootingSample = &fakeGunfire;
        cuddleSample = &fakeCuddle;
        cuddleSampleAlt = &fakeCuddleAlt;
        ResetShootingSound();
        ResetCuddleSound();
        hp->sounds.clear();
        cameraX = 1200;
        score = 0;
        life = 100;
    }
    void TearDown() override {
        FreeAllPopups();
        hitSound = shootingSample = nullptr;
        cuddleSample = cuddleSampleAlt = currentCuddleSample = nullptr;
        HeadlessTest::TearDown();
    }
    SAMPLE fakeHit{}, fakeGunfire{}, fakeCuddle{}, fakeCuddleAlt{};
};

// Play and stop events of one sample in a headless sound log.
template <typename Log>
inline std::vector<bool> SoundsOf(const Log& log, SAMPLE* s) {
    std::vector<bool> plays;
    for (const auto& e : log)
        if (e.sample == s)
            plays.push_back(e.play);
    return plays;
}
