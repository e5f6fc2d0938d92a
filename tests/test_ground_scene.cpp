// The ground actors with the real pictures, in the frame loop's draw order
// over the landscape: a cuddling pair under its heart, a small shooter
// firing and a big one walking, the foreground killer risen and firing, a
// bazooka counting down. Saved for a person to look at.
#include <sys/stat.h>

#include <initializer_list>
#include <vector>

#include "actors/shooters.h"
#include "actors/walkers.h"
#include "app/loader.h"
#include "app/random.h"
#include "app/system.h"
#include "game/gamestate.h"
#include "support/harness.h"
#include "world/killer.h"
#include "world/moleholes.h"
#include "world/scenery.h"
#include "world/score.h"

namespace {

bool HaveMembers(std::initializer_list<const char*> members) {
    for (const char* m : members) {
        BITMAP* b = TryLoadImage(m);
        if (!b)
            return false;
        destroy_bitmap(b);
    }
    return true;
}

void LoadInto(BITMAP*& slot, const char* member) {
    if (!slot)
        slot = LoadImage(member);
}

// A shooter of the given size, beamed down and walking at landscape x.
Shooter* MakeShooter(bool big, int x) {
    uint32_t seed = 1;
    for (;; ++seed) {
        SeedRandom(seed);
        if ((Random() % 10 > 5) == big)
            break;
    }
    SeedRandom(seed);
    shooterSpawnCountdown = 1;
    SpawnShooter();
    Shooter* s = big ? bigShooters.tail : smallShooters.tail;
    s->x = x;
    s->facing = 1;
    s->beaming = 0;
    s->frame = 0;
    return s;
}

// Every process-wide picture slot this scene fills, so that it can give them
// back empty: the other tests put their own synthetic strips there.
std::vector<BITMAP**> PictureSlots() {
    std::vector<BITMAP**> slots = {
        &groundImage, &backgroundTile,  &foregroundLayer,    &backgroundLayer,   &heartImage,
        &killerImage, &killerRiseImage, &killerExplodeImage, &killerCasingImage, &moundImage};
    for (BITMAP*& b : flowerImages)
        slots.push_back(&b);
    for (BITMAP** group :
         {treeImages, towerImages, towerHitImages, towerStrip, towerHitStrip, moleImages})
        for (int i = 0; i < (group == moleImages ? kMoleFigures : 2); ++i)
            slots.push_back(&group[i]);
    for (auto& row : walkerImages)
        for (BITMAP*& b : row)
            slots.push_back(&b);
    for (auto& row : shooterImages)
        for (BITMAP*& b : row)
            slots.push_back(&b);
    return slots;
}

}  // namespace

class GroundSceneTest : public HeadlessTest {
  protected:
    void TearDown() override {
        FreeAllWalkers();
        FreeAllShooters();
        FreeMoleHoles();
        FreeAllPopups();
        if (killer)
            FreeKiller(killer);
        FreeAnim(heartAnim);
        heartAnim = nullptr;
        for (BITMAP** slot : PictureSlots()) {
            if (*slot)
                destroy_bitmap(*slot);
            *slot = nullptr;
        }
        cuddleSample = cuddleSampleAlt = currentCuddleSample = nullptr;
        shootingSample = nullptr;
        HeadlessTest::TearDown();
    }
    Killer* killer = nullptr;
};

TEST_F(GroundSceneTest, AllGroundActorsWithTheRealPictures) {
    if (!HaveRealData() ||
        !HaveMembers({"mpwalkl.bmp", "fpwalkl.bmp", "herz.bmp", "shooterwalkl.bmp",
                      "shooterbigwl.bmp", "killer.bmp", "huelsee1.bmp", "haufen256.bmp",
                      "bazooka.bmp", "luemmel256.bmp", "mole_exp.bmp", "fg.bmp", "bg.bmp",
                      "sky.bmp", "ufo.bmp"}))
        GTEST_SKIP() << "the actors' pictures are not in data/gfx.dat yet";

    LoadInto(groundImage, "fg.bmp");
    LoadInto(backgroundTile, "bg.bmp");
    LoadFlowerImages();
    LoadTreeImages();
    LoadTowerImages();
    LoadWalkerImages();
    LoadShooterImages();
    LoadKillerImages();
    LoadMoleHoleImages();
    BITMAP* sky = Own(LoadImage("sky.bmp"));
    BITMAP* ufo = Own(LoadImage("ufo.bmp"));
    SeedRandom(7);
    BuildForegroundLayer();
    BuildBackgroundLayers();
    const int siteX = 1150;  // a landed saucer just left of the view's middle
    masked_blit(ufo, foregroundLayer, 0, 0, siteX, foregroundLayer->h - ufo->h - 190, ufo->w,
                ufo->h);

    cameraX = 1200;
    life = 100;
    timeLeft = 9000;
    gameRunning = 1;
    struct stat st;
    bool haveSounds = stat("data/snd.dat", &st) == 0;
    if (haveSounds) {
        LoadWalkerSounds();
        LoadShooterSounds();
    }
    ResetCuddleSound();
    ResetShootingSound();
    hp->sounds.clear();
    walkerSiteCount = 0;

    Walker* male = CreateMaleWalker(1215);
    Walker* female = CreateFemaleWalker(1262);
    female->facing = 0;
    walkerList.Append(male);
    walkerList.Append(female);
    Shooter* small = MakeShooter(false, 1920);
    small->timer = 1;
    Shooter* big = MakeShooter(true, 1000);
    big->timer = 1000;
    killer = CreateKiller();
    ShowKiller(killer);
    killer->fireTimer = 1000;
    CreateMoleHoleAnims();
    moleHoleMax = 1;
    SpawnMoleHole();
    moleX[0] = cameraX + 560;
    moleKind[0] = kMoleBazooka;
    moleCountdown[0] = 35;
    moleWait[0] = 10;

    int skyFill = makecol(0, 200, 255);
    int shotUsed = 0;
    auto ready = [&] {
        return killer->state == kKillerFiring && moleRise[0] == moleImages[kMoleBazooka]->h &&
               moleCountdown[0] <= 22 && !small->walking && male->state == kWalkerCuddling;
    };
    int frames = 0;
    for (; frames < 300 && !ready(); ++frames) {
        rectfill(backBuffer, 0, 0, kScreenW, 300, skyFill);
        blit(sky, backBuffer, 0, 0, 0, 100, kScreenW, 168);
        masked_blit(backgroundLayer, backBuffer, cameraX / 2, 0, 0, 244, kScreenW,
                    backgroundLayer->h);
        masked_blit(foregroundLayer, backBuffer, cameraX, 0, 0, 160, kScreenW, foregroundLayer->h);
        UpdateWalkers(backBuffer, 0, &shotUsed);
        UpdateMoleHoles(backBuffer, 0, &shotUsed);
        UpdateShooterList(smallShooters, 0);
        UpdateShooterList(bigShooters, 0);
        UpdateKiller(killer);
        DrawKiller(killer, backBuffer);
        if (!small->walking)
            small->timer = 1000;  // keeps firing for the picture
    }
    EXPECT_EQ(male->state, kWalkerCuddling);
    EXPECT_EQ(female->partner, male);
    EXPECT_EQ(killer->state, kKillerFiring);
    EXPECT_FALSE(small->walking);
    EXPECT_EQ(small->y, kSmallShooterY + kSmallFireShift);
    EXPECT_EQ(moleRise[0], moleImages[kMoleBazooka]->h);
    EXPECT_LT(moleCountdown[0], 35);
    EXPECT_EQ(gameRunning, 1);
    EXPECT_LT(life, 100) << "the killer and the small shooter fire near the middle";
    if (haveSounds) {
        EXPECT_EQ(TryLoadSample("nosuch.wav"), nullptr) << "a missing sound is no reason to stop";
        ASSERT_NE(cuddleSample, nullptr);
        EXPECT_NE(cuddleSampleAlt, cuddleSample);
        ASSERT_NE(shootingSample, nullptr);
        EXPECT_EQ(hp->sounds.size(), 2u) << "one cuddle loop and one gunfire loop";
        for (const auto& e : hp->sounds)
            EXPECT_TRUE(e.play && e.loop);
    }
    EXPECT_TRUE(HeadlessPlatform::SavePng(backBuffer, OutPath("ground_actors_scene.png")));
}
