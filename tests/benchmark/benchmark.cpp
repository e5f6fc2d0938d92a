// Frames as multiples of the floor every frame pays (sky fill, sky band, both
// layers, one present), in the thread's CPU time so that a busy machine gives
// comparable figures: a recorded game's frames, and the heaviest load a game
// can have (every family on screen at its most), timed in turn with the floor.
// A program of its own (`cmake --build build --target benchmark`), not a
// test: it prints the figures and passes whatever they are, since a timing
// depends on the machine and on what else runs there.
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <numeric>
#include <vector>

#include "actors/bubbles.h"
#include "actors/flyers.h"
#include "app/data/loader.h"
#include "app/system.h"
#include "game/game.h"
#include "game/gamestate.h"
#include "screens/screens.h"
#include "support/harness.h"
#include "support/replay.h"
#include "world/killer.h"
#include "world/moleholes.h"
#include "world/scenery.h"
#include "world/score.h"

namespace {

double CpuMs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

// Eight shooters, twelve walkers, the UFO with 48 bubbles, 38 pop-ups, the
// plane, the squad and six exploding towers, topped up every frame.
void Crowd() {
    life = 100;  // the shooters would end the game otherwise
    timeLeft = 5000;
    if (ammo < 3)
        ammo = 10;
    for (; shooterCount < kMaxShooters; SpawnShooter())
        shooterSpawnCountdown = 1;
    for (; walkerList.Count() < 12; SpawnWalker())
        walkerSpawnCountdown = 1;
    if (!game.flyingUfo)
        game.flyingUfo = CreateUfo(nullptr);
    game.flyingUfo->alive = 1;
    game.flyingUfo->x = cameraX + 300;
    game.flyingUfo->dx = 0;
    while (bubbleList.Count() < 48)
        BurstBubbles(game.flyingUfo);
    while (popupList.Count() < 38)
        AddScore(100, cameraX + 20 * popupList.Count(), 300);
    if (!game.plane)
        game.plane = CreatePlane(nullptr);
    game.plane->x = cameraX + 500;
    game.squadActive = 1;
    for (int k = 0; k < kSquad; ++k) {
        Flyer* s = game.squad[k];
        if (!s->alive || s->y < 60) {
            s->alive = 1;
            s->x = cameraX + 100 + 130 * k;
            s->y = 260;
            s->dy = -1;
        }
    }
    for (int j = 0; j < kTowerSegments; ++j) {
        if (game.explosionFrame[j] < 0) {
            game.explosionFrame[j] = 0;
            game.explosionAge[j] = 1;
        }
    }
}

// Mean, p99 and max of `ms` as multiples of `floor`.
void Report(const char* what, std::vector<double> ms, double floor) {
    std::sort(ms.begin(), ms.end());
    double mean = std::accumulate(ms.begin(), ms.end(), 0.0) / double(ms.size()) / floor;
    std::printf("%s: mean %.2fx, p99 %.2fx, max %.2fx the floor (%.3f ms) over %zu frames\n", what,
                mean, ms[ms.size() * 99 / 100] / floor, ms.back() / floor, floor, ms.size());
}

}  // namespace

TEST_F(HeadlessTest, BenchmarkFramesAgainstTheFloor) {
    ASSERT_TRUE(HaveRealData());
    backdrop = Own(LoadImage("tlebg.bmp"));
    ASSERT_TRUE(LoadRecordedGame("duel", hp));
    StartOfRun();
    std::vector<double> played, floor, heaviest;
    double last = 0;
    hp->onFrame = [&](int f) {  // the frame loop's work since the last present
        if (f > 1 && GameGoesOn())
            played.push_back(CpuMs() - last);
        last = CpuMs();
    };
    RunGame();
    hp = StartHeadless();
    hp->workMsPerFrame = 0;
    hp->MouseAt(0, 400, 300);
    SetUpGame();
    moleHoleMax = kMaxMoleHoles;
    for (int i = 0; i < kMaxMoleHoles; ++i, SpawnMoleHole())
        cameraX = 600 + 500 * i;
    cameraX = 1200;
    ShowKiller(killer);
    for (int f = 0; f < 400; ++f) {
        Crowd();
        // Fire now and then so shells fly and every target tests the shot.
        hp->MouseAt(hp->frame(), 380 + f % 40, 300, f % 6 == 0 ? 1 : 0);
        double t0 = CpuMs();
        // The floor, drawn as the frame loop draws it.
        rectfill(backBuffer, 0, 0, kScreenW, 300, skyColour);
        blit(skyImage, backBuffer, 0, 0, 0, 100, kScreenW, 168);
        DrawBackgroundLayer(backBuffer, cameraX / 2, 244);
        DrawForegroundLayer(backBuffer, cameraX, 160);
        PresentFrame();
        double t1 = CpuMs();
        RunFrame();
        floor.push_back(t1 - t0);
        heaviest.push_back(CpuMs() - t1);
    }
    EXPECT_EQ(shooterCount, kMaxShooters);
    double floorMs = std::accumulate(floor.begin(), floor.end(), 0.0) / double(floor.size());
    Report("heaviest scene", heaviest, floorMs);
    Report("recorded game", played, floorMs);
    gameRunning = 0;
    escaped = 1;
    EndGame();
}
