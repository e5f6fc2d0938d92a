// The ground actors with the real pictures, in the frame loop's draw order
// over the landscape: a cuddling pair under its heart, a small shooter
// firing and a big one walking, the foreground killer risen and firing, a
// bazooka counting down. Saved for a person to look at.
#include <sys/stat.h>

#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/loader.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "ground_strips.h"
#include "support/harness.h"
#include "world/killer.h"
#include "world/moleholes.h"
#include "world/score.h"

class GroundSceneTest : public HeadlessTest {
  protected:
    // The picture slots are process-wide; the other tests put their own
    // strips there, so the real pictures go again.
    void TearDown() override {
        FreeAllWalkers();
        FreeAllShooters();
        FreeMoleHoles();
        FreeAllPopups();
        if (killer)
            FreeKiller(killer);
        FreeAnim(heartAnim);
        heartAnim = nullptr;
        auto forget = [](BITMAP** first, size_t n) {
            for (size_t i = 0; i < n; ++i) {
                destroy_bitmap(first[i]);
                first[i] = nullptr;
            }
        };
        forget(&walkerImages[0][0], sizeof walkerImages / sizeof(BITMAP*));
        forget(&shooterImages[0][0], sizeof shooterImages / sizeof(BITMAP*));
        forget(moleImages, sizeof moleImages / sizeof(BITMAP*));
        for (BITMAP** b : {&heartImage, &killerImage, &killerRiseImage, &killerExplodeImage,
                           &killerCasingImage, &moundImage})
            forget(b, 1);
        cuddleSample = cuddleSampleAlt = currentCuddleSample = shootingSample = nullptr;
        HeadlessTest::TearDown();
    }
    Killer* killer = nullptr;
};

TEST_F(GroundSceneTest, AllGroundActorsWithTheRealPictures) {
    if (!HaveRealData())
        GTEST_SKIP() << "the datafiles are not built";
    LoadWalkerImages();
    LoadShooterImages();
    LoadKillerImages();
    LoadMoleHoleImages();
    BITMAP* sky = Own(LoadImage("sky.bmp"));
    BITMAP* hills = Own(LoadImage("bg.bmp"));
    BITMAP* ground = Own(LoadImage("fg.bmp"));
    BITMAP* ufo = Own(LoadImage("ufo.bmp"));
    struct stat st;
    bool haveSounds = stat("data/snd.dat", &st) == 0;
    if (haveSounds) {
        LoadWalkerSounds();
        LoadShooterSounds();
    }
    ResetCuddleSound();
    ResetShootingSound();
    hp->sounds.clear();
    cameraX = 1200;
    life = 100;
    gameRunning = 1;
    walkerSiteCount = 0;

    Walker* male = CreateMaleWalker(1215);
    Walker* female = CreateFemaleWalker(1262);
    female->facing = 0;
    walkerList.Append(male);
    walkerList.Append(female);
    Shooter* small = SpawnShooterAt(false, 1920, 1);
    small->timer = 1;
    SpawnShooterAt(true, 1000, 1)->timer = 1000;
    killer = CreateKiller();
    ShowKiller(killer);
    killer->fireTimer = 1000;
    CreateMoleHoleAnims();
    moleHoleMax = 1;
    SpawnMoleHole();
    moleX[0] = cameraX + 560;  // clear of the killer
    moleKind[0] = kMoleBazooka;
    moleCountdown[0] = 35;
    moleWait[0] = 10;

    auto ready = [&] {
        return killer->state == kKillerFiring && moleRise[0] == moleImages[kMoleBazooka]->h &&
               moleCountdown[0] <= 22 && !small->walking && male->state == kWalkerCuddling;
    };
    int shotUsed = 0;
    for (int frame = 0; frame < 300 && !ready(); ++frame) {
        // The landscape as the layers show it: hills at half speed, the
        // ground strip and a landed saucer at full speed.
        rectfill(backBuffer, 0, 0, kScreenW, 300, makecol(0, 200, 255));
        blit(sky, backBuffer, 0, 0, 0, 100, kScreenW, 168);
        for (int x = 0; x < 3200; x += hills->w)
            masked_blit(hills, backBuffer, 0, 0, x - cameraX / 2, 244, hills->w, hills->h);
        for (int x = 0; x < 3200; x += ground->w)
            masked_blit(ground, backBuffer, 0, 0, x - cameraX, 237, ground->w, ground->h);
        masked_blit(ufo, backBuffer, 0, 0, 1150 - cameraX, 410 - ufo->h, ufo->w, ufo->h);

        UpdateWalkers(backBuffer, 0, &shotUsed);
        UpdateMoleHoles(backBuffer, 0, &shotUsed);
        UpdateShooterList(smallShooters, 0);
        UpdateShooterList(bigShooters, 0);
        UpdateKiller(killer);
        DrawKiller(killer, backBuffer);
        if (!small->walking)
            small->timer = 1000;  // keeps firing for the picture
    }
    ASSERT_TRUE(ready());
    EXPECT_EQ(female->partner, male);
    EXPECT_EQ(small->y, kSmallShooterY + kSmallFireShift);
    EXPECT_EQ(gameRunning, 1);
    EXPECT_LT(life, 100) << "the killer fires near the middle";
    if (haveSounds) {
        EXPECT_EQ(TryLoadSample("nosuch.wav"), nullptr) << "a missing sound is no reason to stop";
        EXPECT_NE(cuddleSampleAlt, cuddleSample);
        ASSERT_EQ(hp->sounds.size(), 2u) << "one cuddle loop and one gunfire loop";
        EXPECT_EQ(hp->sounds[0].sample, cuddleSample);
        EXPECT_EQ(hp->sounds[1].sample, shootingSample);
        for (const auto& e : hp->sounds)
            EXPECT_TRUE(e.play && e.loop && e.sample);
    }
    EXPECT_TRUE(HeadlessPlatform::SavePng(backBuffer, OutPath("ground_actors_scene.png")));
}
